# The file lists other programs put on the system clipboard (text/uri-list and
# x-special/gnome-copied-files), read by Paste.
folvane_add_fuzzer(fileops_droplist SOURCES ${CMAKE_CURRENT_LIST_DIR}/fileops_droplist.cpp LIBS folvane_fileops)
# The attribute tool's edit of a folder's ".hidden" file.
folvane_add_fuzzer(fileops_hidden_edit SOURCES ${CMAKE_CURRENT_LIST_DIR}/fileops_hidden_edit.cpp LIBS folvane_fileops)
