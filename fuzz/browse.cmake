# The two readers of bytes that the browse panes take from the browsed folder.
folvane_add_fuzzer(dosattrib SOURCES ${CMAKE_CURRENT_LIST_DIR}/browse/DosAttribFuzz.cpp LIBS folvane_browse)
folvane_add_fuzzer(hidden_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/browse/HiddenListFuzz.cpp LIBS folvane_browse)
