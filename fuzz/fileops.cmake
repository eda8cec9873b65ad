# The file lists other programs put on the system clipboard (text/uri-list and
# x-special/gnome-copied-files), read by Paste.
folvane_add_fuzzer(fileops_droplist SOURCES ${CMAKE_CURRENT_LIST_DIR}/fileops_droplist.cpp LIBS folvane_fileops)
