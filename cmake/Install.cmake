# `cmake --install build --prefix PREFIX` (or `make install PREFIX=...`): the program and
# what it finds beside itself (the self-extractor stubs, the help, folvane3-ctl) go to
# PREFIX/lib/folvane3/, with PREFIX/bin/folvane3 a link to the program; the desktop entry
# (the folder handler, MimeType=inode/directory) and the icon go to the XDG data folders.
# The D-Bus activation file for org.freedesktop.FileManager1 is installed only on request
# (FOLVANE_INSTALL_DBUS_SERVICE): without it the bus never starts this program in place of
# the desktop's own file manager.
include(GNUInstallDirs)
option(FOLVANE_INSTALL_DBUS_SERVICE "Install a D-Bus activation file for org.freedesktop.FileManager1" OFF)

set(FOLVANE_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/folvane3)
# fvtool runs fvtool-light and fvtool-full from beside itself for the commands it hands over.
install(TARGETS folvane3 folvane3-ctl fvtool fvtool-light fvtool-full RUNTIME DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR})
foreach(stub fv3smallstub fv3selfstub)
  if(TARGET ${stub})
    install(TARGETS ${stub} RUNTIME DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR})
  endif()
endforeach()
# The web pane's engine module, loaded from beside the program on the first entry into web mode.
if(TARGET folvane3-web)
  install(TARGETS folvane3-web LIBRARY DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR})
endif()
# TagLib's module, loaded from beside the program on the first Ogg, Opus, FLAC or M4A file.
if(TARGET folvane3-taglib)
  install(TARGETS folvane3-taglib LIBRARY DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/accessories/help/fvhelp.html ${PROJECT_SOURCE_DIR}/accessories/help/fvhelp.css
        DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR}/help)
# The sound effects the build synthesised (app/sounds).
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/sounds/ DESTINATION ${FOLVANE_INSTALL_PROGRAM_DIR}/sounds
        FILES_MATCHING PATTERN "*.wav")
# bin/folvane3 points into the program folder: the program finds its help and stubs beside
# its own resolved path.
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  foreach(program folvane3 folvane3-ctl)
    file(CREATE_LINK \"../${FOLVANE_INSTALL_PROGRAM_DIR}/\${program}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\" SYMBOLIC)
  endforeach()
")
install(FILES ${PROJECT_SOURCE_DIR}/data/folvane3.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/folvane3.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
if(FOLVANE_INSTALL_DBUS_SERVICE)
  set(FOLVANE_INSTALLED_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}/folvane3)
  configure_file(${PROJECT_SOURCE_DIR}/data/folvane3-filemanager1.service.in
                 ${CMAKE_BINARY_DIR}/folvane3-filemanager1.service @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/folvane3-filemanager1.service
          DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/services RENAME org.folvane.Folvane3.FileManager1.service)
endif()
