# Internet shortcut files and page titles: any bytes give an address or none, an address
# passes the rules or not, and a favourite's file name is safe or refused, never a crash.
folvane_add_fuzzer(internet_shortcut SOURCES ${CMAKE_CURRENT_LIST_DIR}/internet_shortcut.cpp LIBS folvane_internet)
