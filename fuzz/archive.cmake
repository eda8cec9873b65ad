# Zip reader (end records, Zip64 records, central directory, local headers, entry data
# through decryption and inflation) and the repair scanner.
folvane_add_fuzzer(zip_reader SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipReaderFuzzer.cpp LIBS folvane_archive)
folvane_add_fuzzer(zip_repair SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipRepairFuzzer.cpp LIBS folvane_archive)
# The deflate block walker that joins block-parallel deflate output, against zlib's inflate.
folvane_add_fuzzer(deflate_blocks SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeflateBlockWalkerFuzzer.cpp LIBS folvane_archive)
