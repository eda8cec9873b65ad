# The view commands' readers of outside bytes: "[Section] Key=Value" files (.URL shortcuts,
# mimeapps.list, desktop entries) and the Run dialog's word splitting.
folvane_add_fuzzer(viewers_keyfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_keyfile.cpp LIBS folvane_viewers)
folvane_add_fuzzer(viewers_runargs SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_runargs.cpp LIBS folvane_viewers)
