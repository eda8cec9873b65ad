# The settings file parser and the tool-band layout record: both read bytes from disk.
folvane_add_fuzzer(settings SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsFuzzer.cpp LIBS folvane_app)
