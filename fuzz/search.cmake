# The content search's scan over the bytes of the files it reads.
folvane_add_fuzzer(search_content SOURCES ${CMAKE_CURRENT_LIST_DIR}/search/ContentMatcherFuzz.cpp LIBS folvane_search)
