# The saved pair lists of the folder synchroniser (FV3_SYNC1, FV3_SYNC2).
folvane_add_fuzzer(sync_pairlist SOURCES ${CMAKE_CURRENT_LIST_DIR}/sync_pairlist.cpp LIBS folvane_sync)
