# Parsers of the platform layer that read bytes from outside the program: the kernel's mount
# table and fstab, .trashinfo files of the Trash, and shortcut desktop entries.
folvane_add_fuzzer(platform_mountinfo SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_mountinfo.cpp LIBS folvane_platform)
folvane_add_fuzzer(platform_trashinfo SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_trashinfo.cpp LIBS folvane_platform)
folvane_add_fuzzer(platform_desktopentry SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_desktopentry.cpp LIBS folvane_platform)
# inotify records and the pairing of renames (the kernel's bytes, checked all the same).
folvane_add_fuzzer(platform_inotify SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_inotify.cpp LIBS folvane_platform)
