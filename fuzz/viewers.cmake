# The editor's reading of a text file's bytes (encoding, line ends, byte order mark): every
# input must come back byte for byte when the text is written untouched.
folvane_add_fuzzer(viewers_textcodec SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_textcodec.cpp LIBS folvane_viewers)

# Picture files as the image viewer loads them (JPEG at its four scales with the Exif
# orientation, BMP, ICO, GIF, TIFF): a picture or a clear failure, within the size limit.
folvane_add_fuzzer(viewers_picture SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_picture.cpp LIBS folvane_viewers)
# WMF and EMF files through our own record players: every record bounds-checked.
folvane_add_fuzzer(viewers_metafile SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewers_metafile.cpp LIBS folvane_viewers)
