# The audio information readers: each reads hostile bytes from a file.
folvane_add_fuzzer(id3v2 SOURCES ${CMAKE_CURRENT_LIST_DIR}/media/FuzzId3.cpp LIBS folvane_media)
folvane_add_fuzzer(mpeg SOURCES ${CMAKE_CURRENT_LIST_DIR}/media/FuzzMpeg.cpp LIBS folvane_media)
folvane_add_fuzzer(wav SOURCES ${CMAKE_CURRENT_LIST_DIR}/media/FuzzWav.cpp LIBS folvane_media)
folvane_add_fuzzer(asf SOURCES ${CMAKE_CURRENT_LIST_DIR}/media/FuzzAsf.cpp LIBS folvane_media)
folvane_add_fuzzer(m3u SOURCES ${CMAKE_CURRENT_LIST_DIR}/media/FuzzM3u.cpp LIBS folvane_playlist)
