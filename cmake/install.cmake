# What `cmake --install` puts in place: setup-pack on the PATH and the Windows setup.exe where
# setup-pack looks for it when no --stub is given (PREFIX/share/setup-pack/setup.exe, found
# relative to PREFIX/bin/setup-pack, so the tree can be moved). `cpack` packs the same as a
# Debian package.
include(GNUInstallDirs)
# Installing and packing take what is built and never build themselves: a test that packs the
# tree must not rebuild the setup.exe the other tests are using.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
install(TARGETS setup-pack RUNTIME DESTINATION bin)
if(SETUP_EXE)
  install(PROGRAMS ${SETUP_EXE} DESTINATION share/setup-pack)
  # setup-pack for Windows, when it was built: copied with setup.exe, it finds it beside itself.
  install(PROGRAMS ${CMAKE_BINARY_DIR}/windows/setup-pack.exe DESTINATION share/setup-pack OPTIONAL)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/tools/pack/README.md DESTINATION share/doc/setup-pack)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME setup-pack)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Setup runtime developers")
set(CPACK_PACKAGE_CONTACT "Setup runtime developers <setup@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Builds Windows setup files from product folders")
set(CPACK_PACKAGE_DESCRIPTION
  "setup-pack packs a product folder (setup script, language files, wizard pictures, licence and readme texts, the files to install) onto the Windows setup runtime setup.exe, which ships with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
