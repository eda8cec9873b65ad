# Internet shortcut files and page titles: any bytes give an address or none, an address
# passes the rules or not, and a favourite's file name is safe or refused, never a crash.
folvane_add_fuzzer(internet_shortcut SOURCES ${CMAKE_CURRENT_LIST_DIR}/internet_shortcut.cpp LIBS folvane_internet)
# Parsers of outside text in the internet parts and the options dialog: the ripper's list of
# links, and the listings of gio mounts and xrandr modes.
folvane_add_fuzzer(internet_linklist SOURCES ${CMAKE_CURRENT_LIST_DIR}/internet_linklist.cpp LIBS folvane_internet)
folvane_add_fuzzer(app_desktoplistings SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_desktoplistings.cpp LIBS folvane_app)
# Bookmark files of desktop browsers (Import Favorites): a tree within the limits or a
# refusal, and what was read writes back the same.
folvane_add_fuzzer(internet_bookmarks SOURCES ${CMAKE_CURRENT_LIST_DIR}/internet_bookmarks.cpp LIBS folvane_internet)
# Replies of HTTP servers to the plain HTTP client: response heads and chunked bodies.
folvane_add_fuzzer(internet_http SOURCES ${CMAKE_CURRENT_LIST_DIR}/internet_http.cpp LIBS folvane_internet)
