# Installs the built tree into a fresh temporary prefix and checks that the program, its
# stubs, help, sounds, desktop entry and icon land where the desktop and the program look for them,
# and that the desktop entry passes desktop-file-validate.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
set(expected
  bin/folvane3
  bin/folvane3-ctl
  lib/folvane3/folvane3
  lib/folvane3/fvtool
  lib/folvane3/fvtool-light
  lib/folvane3/fvtool-full
  lib/folvane3/fv3smallstub.exe
  lib/folvane3/fv3selfstub.exe
  lib/folvane3/help/fvhelp.html
  lib/folvane3/help/fvhelp.css
  lib/folvane3/sounds/fv3start.wav
  lib/folvane3/sounds/fv3end.wav
  lib/folvane3/sounds/fv3plop.wav
  lib/folvane3/sounds/fvplop.wav
  share/applications/folvane3.desktop
  share/icons/hicolor/scalable/apps/folvane3.svg)
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${PREFIX}/share/dbus-1)
  message(FATAL_ERROR "a D-Bus activation file was installed without being asked for")
endif()
# The installed fvtool finds fvtool-full beside itself: its command list holds the commands
# only fvtool-full runs (watch).
execute_process(COMMAND ${PREFIX}/lib/folvane3/fvtool --help ERROR_VARIABLE usage OUTPUT_QUIET)
if(NOT usage MATCHES "fvtool watch DIR")
  message(FATAL_ERROR "the installed fvtool does not reach fvtool-full:\n${usage}")
endif()
file(READ_SYMLINK ${PREFIX}/bin/folvane3 link)
if(NOT link STREQUAL "../lib/folvane3/folvane3")
  message(FATAL_ERROR "bin/folvane3 points to ${link}")
endif()
file(STRINGS ${PREFIX}/share/applications/folvane3.desktop entry)
foreach(line "Exec=folvane3 %U" "MimeType=inode/directory;" "Icon=folvane3")
  list(FIND entry "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/folvane3.desktop RESULT_VARIABLE valid)
  if(NOT valid EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejects the desktop entry")
  endif()
endif()
file(REMOVE_RECURSE ${PREFIX})
