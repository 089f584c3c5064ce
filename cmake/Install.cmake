# `make install`: zentrap, its clipboard keeper, ztp.chm and the example skins side by side in <prefix>/lib/zentrap (the
# program finds its help file beside itself) with a link in <prefix>/bin, zentrap-cli in <prefix>/bin, and a desktop
# entry with its icon so that menus list the program.
include(GNUInstallDirs)
install(TARGETS zentrap zentrap-keeper RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/zentrap)
# The prefix is read when installing, so `cmake --install --prefix` and DESTDIR both hold.
install(CODE "set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(CREATE_LINK ../${CMAKE_INSTALL_LIBDIR}/zentrap/zentrap \"\${bin}/zentrap\" SYMBOLIC)")
install(FILES ${ZENTRAP_EXAMPLE_SKIN_FILES} DESTINATION ${CMAKE_INSTALL_LIBDIR}/zentrap)
install(TARGETS zentrap-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/zentrap.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/zentrap.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
