# The TIFF reader: header, directory chain, strip tables and every decoder behind them.
folvane_add_fuzzer(tiff SOURCES ${CMAKE_CURRENT_LIST_DIR}/TiffFuzz.cpp LIBS folvane_viewers)
