# Bytes from outside the program read by the accessories: the kernel's meminfo text of the
# about box.
folvane_add_fuzzer(accessories_meminfo SOURCES ${CMAKE_CURRENT_LIST_DIR}/accessories_meminfo.cpp LIBS folvane_accessories)
