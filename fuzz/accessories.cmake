# Bytes from outside the program read by the accessories and the program's start: the
# kernel's meminfo text of the about box, and the "open" message another start sends over the
# single-instance socket.
folvane_add_fuzzer(accessories_meminfo SOURCES ${CMAKE_CURRENT_LIST_DIR}/accessories_meminfo.cpp LIBS folvane_accessories)
folvane_add_fuzzer(app_openmessage SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_openmessage.cpp LIBS folvane_app)
