# Installs Veltrin as a Linux desktop program and packages it for Debian:
#   bin/veltrin, share/veltrin/ (fonts, icon, symbols), share/applications/veltrin.desktop,
#   share/icons/hicolor/<size>/apps/veltrin.png, share/metainfo/ (what software centres list),
#   share/doc/veltrin/ (the font licence).
include(GNUInstallDirs)

install(TARGETS veltrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/AppIcon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrin)
install(DIRECTORY resources/Fonts/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrin/Fonts
  FILES_MATCHING PATTERN "*.ttf")
install(DIRECTORY resources/Symbols/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrin/Symbols
  FILES_MATCHING PATTERN "*.png")
# The desktop entry names the installed program by its absolute path, known only as it is
# installed (--prefix, or /usr in the Debian package): KWin trusts the program at that path.
install(CODE "
  set(VELTRIN_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/veltrin\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/packaging/veltrin.desktop.in\"
    \"${CMAKE_CURRENT_BINARY_DIR}/packaging/veltrin.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
    TYPE FILE FILES \"${CMAKE_CURRENT_BINARY_DIR}/packaging/veltrin.desktop\")")
install(FILES packaging/org.veltrin.veltrin.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 48 64 128 256 512)
  install(FILES packaging/icons/${size}x${size}/veltrin.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/Fonts/OFL.txt resources/Fonts/README.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME veltrin)
set(CPACK_PACKAGE_VERSION 0.1.0)
set(CPACK_PACKAGE_CONTACT "Veltrin developers <veltrin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keeps chosen windows visible above all others")
set(CPACK_PACKAGE_DESCRIPTION
  "A tray utility for X11 desktops: a global shortcut pins the active window, and a \
floating panel shows its live picture above every other window in a coloured frame.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
# dpkg-shlibdeps names the Qt 6 and xcb libraries the program links against; Qt's platform
# plugins are loaded at run time, and Debian's Qt only recommends them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Users get the program without its debugging information: a few MB instead of forty.
set(CPACK_STRIP_FILES ON)
include(CPack)
