# Installation and the Debian package: the real program in a private folder,
# a launcher in games/ that runs it from the player's own folder, the shared
# data, a desktop entry, an icon, AppStream metadata, the manual page and the
# copyright and changelog a Debian package carries.

set(SKITTERBAT_INSTALL_LIBDIR lib/skitterbat)
set(SKITTERBAT_INSTALL_DATADIR share/games/skitterbat/data)
set(SKITTERBAT_INSTALL_BINDIR games)
set(SKITTERBAT_INSTALL_DOCDIR share/doc/skitterbat)
# From the launcher's folder back to the prefix.
set(SKITTERBAT_LAUNCHER_UP ..)

# Who answers for the package and where the project is published (the AppStream
# screenshots are fetched from there); a distributor sets the real ones.
set(SKITTERBAT_MAINTAINER "Skitterbat developers <skitterbat@example.org>"
    CACHE STRING "Maintainer of the Debian package, as Name <address>")
set(SKITTERBAT_HOMEPAGE "https://skitterbat.example.org/"
    CACHE STRING "Project web site, ending in /, holding the docs/ screenshots")
set(SKITTERBAT_APP_ID org.example.skitterbat)
# The release this tree is: the manual page, the changelog and the AppStream
# release entry all carry it.
set(SKITTERBAT_RELEASE_DATE 2026-12-09)
set(SKITTERBAT_RELEASE_TIME "Wed, 09 Dec 2026 12:00:00 +0000")

# Debian wants 0755 directories whatever the packager's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(TARGET skitterbat AND TARGET data)
  install(TARGETS skitterbat RUNTIME DESTINATION ${SKITTERBAT_INSTALL_LIBDIR})

  configure_file(${CMAKE_CURRENT_LIST_DIR}/skitterbat-launcher.sh.in
                 ${CMAKE_BINARY_DIR}/install/skitterbat @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/install/skitterbat DESTINATION ${SKITTERBAT_INSTALL_BINDIR})

  # The data folder is generated at build time; a package without it would not run.
  install(DIRECTORY ${SKITTERBAT_DATA_DIR}/ DESTINATION ${SKITTERBAT_INSTALL_DATADIR})
  install(FILES ${SKITTERBAT_ICON} DESTINATION share/icons/hicolor/256x256/apps RENAME skitterbat.png)

  configure_file(${CMAKE_CURRENT_LIST_DIR}/skitterbat.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/install/${SKITTERBAT_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/install/${SKITTERBAT_APP_ID}.metainfo.xml DESTINATION share/metainfo)

  # The manual page and the changelog go compressed, without name or time in
  # the gzip header so that a rebuild gives the same bytes.
  find_program(SKITTERBAT_GZIP gzip REQUIRED)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/skitterbat.6.in ${CMAKE_BINARY_DIR}/install/skitterbat.6 @ONLY)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/install/changelog @ONLY)
  foreach(page skitterbat.6 changelog)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/install/${page}.gz
                       COMMAND ${SKITTERBAT_GZIP} -9nf -k ${CMAKE_BINARY_DIR}/install/${page}
                       DEPENDS ${CMAKE_BINARY_DIR}/install/${page} VERBATIM)
  endforeach()
  add_custom_target(install_pages ALL
                    DEPENDS ${CMAKE_BINARY_DIR}/install/skitterbat.6.gz ${CMAKE_BINARY_DIR}/install/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/install/skitterbat.6.gz DESTINATION share/man/man6)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/install/changelog.gz
          DESTINATION ${SKITTERBAT_INSTALL_DOCDIR})

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
set(CPACK_PACKAGE_CONTACT "${SKITTERBAT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: keep the balls in play and break up the centipedes")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer the paddle at the foot of the screen and keep your balls in play;
the balls break up centipedes that wind down through a field of mushrooms.
Struck segments turn into coloured pods, and pods bounced off the paddle
score points and earn badges. Plays with keyboard, mouse, gamepad or an
iCade controller.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SKITTERBAT_HOMEPAGE}")
# Debian ships stripped programs; the symbols stay in the build tree.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Software rendering when no other GL driver is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
