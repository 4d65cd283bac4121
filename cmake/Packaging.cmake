# What an installation adds besides the program, the plug-in and the templates (the desktop
# entry, the icons, the manual page), and the Debian package made of it all:
# `cpack -G DEB` in the build folder writes tarnwick_<version>_<arch>.deb there.

# `tarnwick --version` and the package take their version from project().
target_compile_definitions(tarnwick PRIVATE TARNWICK_VERSION="${PROJECT_VERSION}")

# The icon is laid out as an icon theme. Installed, it joins the hicolor theme; compiled in
# under :/icons, where Qt also looks for themes, it gives the window its icon before then.
set(TARNWICK_ICON_SIZES 16 32 48 256)
set(TARNWICK_ICON_FILES resources/icons/hicolor/index.theme)
foreach(size IN LISTS TARNWICK_ICON_SIZES)
  set(file resources/icons/hicolor/${size}x${size}/apps/tarnwick.png)
  list(APPEND TARNWICK_ICON_FILES ${file})
  install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
qt_add_resources(tarnwick tarnwick_icon PREFIX /icons BASE resources/icons FILES ${TARNWICK_ICON_FILES})
install(FILES resources/icons/hicolor/scalable/apps/tarnwick.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages are installed compressed; -n keeps the file the same from build to build.
set(TARNWICK_MANPAGE "${CMAKE_CURRENT_BINARY_DIR}/man/tarnwick.1")
add_custom_command(OUTPUT "${TARNWICK_MANPAGE}.gz"
  COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_CURRENT_SOURCE_DIR}/resources/tarnwick.1" "${TARNWICK_MANPAGE}"
  COMMAND gzip -9nf "${TARNWICK_MANPAGE}"
  DEPENDS resources/tarnwick.1
  VERBATIM)
add_custom_target(tarnwick_manpage ALL DEPENDS "${TARNWICK_MANPAGE}.gz")
install(FILES "${TARNWICK_MANPAGE}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR "Velmora Software")
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <dev@tarnwick.local>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML source editor for web pages, in Polish")
set(CPACK_PACKAGE_DESCRIPTION "Tarnwick is a desktop editor for the HTML source of web pages, with a
Polish user interface: a syntax-coloured source editor, markup from menus,
toolbars and a quick-insert panel, page and table wizards, ready templates,
a preview in an embedded browser and FTP publishing.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_STRIP_FILES ON)
# The libraries come from the binaries (dpkg-shlibdeps). Named here are what the program
# loads without linking it: libcurl (opened when the FTP panel first connects), the X11
# platform plug-in (libqt6gui6 only recommends it), the Polish Qt texts and the fonts the windows are laid out for (MS Sans Serif and Tahoma metrics),
# plus DejaVu Sans, which stands in for Verdana.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.68), qt6-qpa-plugins, qt6-translations-l10n, fonts-wine, fonts-dejavu-core")
include(CPack)
