# The editor's reading of a text file's bytes (encoding, line ends, byte order mark): every
# input must come back byte for byte when the text is written untouched.
folvane_add_fuzzer(viewers_textcodec SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_textcodec.cpp LIBS folvane_viewers)
