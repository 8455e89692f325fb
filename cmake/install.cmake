# Installation and the Debian package: the real program in a private folder,
# a launcher in games/ that runs it from the player's own folder, the shared
# data, a desktop entry and an icon.

set(SKITTERBAT_INSTALL_LIBDIR lib/skitterbat)
set(SKITTERBAT_INSTALL_DATADIR share/games/skitterbat/data)
set(SKITTERBAT_INSTALL_BINDIR games)
# From the launcher's folder back to the prefix.
set(SKITTERBAT_LAUNCHER_UP ..)

if(TARGET skitterbat AND TARGET data)
  install(TARGETS skitterbat RUNTIME DESTINATION ${SKITTERBAT_INSTALL_LIBDIR})

  configure_file(${CMAKE_CURRENT_LIST_DIR}/skitterbat-launcher.sh.in
                 ${CMAKE_BINARY_DIR}/install/skitterbat @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/install/skitterbat DESTINATION ${SKITTERBAT_INSTALL_BINDIR})

  # The data folder is generated at build time; a package without it would not run.
  install(DIRECTORY ${SKITTERBAT_DATA_DIR}/ DESTINATION ${SKITTERBAT_INSTALL_DATADIR})
  install(FILES ${SKITTERBAT_ICON} DESTINATION share/icons/hicolor/256x256/apps RENAME skitterbat.png)

  # The desktop entry names the launcher by its final path, which is only
  # known at install time (cpack installs under its own prefix).
  install(CODE "
    set(SKITTERBAT_LAUNCHER_PATH \"\${CMAKE_INSTALL_PREFIX}/${SKITTERBAT_INSTALL_BINDIR}/skitterbat\")
    configure_file(\"${CMAKE_CURRENT_LIST_DIR}/skitterbat.desktop.in\"
                   \"${CMAKE_BINARY_DIR}/install/skitterbat.desktop\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\"
         TYPE FILE FILES \"${CMAKE_BINARY_DIR}/install/skitterbat.desktop\")
  ")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skitterbat)
set(CPACK_PACKAGE_VENDOR "Skitterbat developers")
set(CPACK_PACKAGE_CONTACT "Skitterbat developers <skitterbat@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: keep the balls in play and break up the centipedes")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer the paddle at the foot of the screen and keep your balls in play; the balls
break up centipedes that wind down through a field of mushrooms. Struck
segments turn into coloured pods, and pods bounced off the paddle score points
and earn badges. Plays with keyboard, mouse, joystick or an iCade controller.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Software rendering when no other GL driver is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
