# The Debian package, made in a build folder by "cpack -G DEB" (scripts/package.sh
# builds it from a clean folder and checks it): everything the install rules
# put under the prefix, installed to /usr, with the dependencies that
# dpkg-shlibdeps finds from the programs' libraries.
include(GNUInstallDirs)

# Debian wants the copyright and a compressed changelog in the package's
# documentation folder.
set(QUAVERN_PACKAGE_DOCS ${CMAKE_INSTALL_DATADIR}/doc/quavern)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
    OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the package's changelog")
add_custom_target(quavern_package_docs ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION ${QUAVERN_PACKAGE_DOCS})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quavern)
set(CPACK_PACKAGE_VENDOR "The Quavern developers")
set(CPACK_PACKAGE_CONTACT "The Quavern developers <quavern@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find, highlight and transpose the chords of a song")
set(CPACK_PACKAGE_DESCRIPTION
    "Quavern is a tool for guitarists. Give it a chord sheet, as plain text or
as an HTML page, and it finds every chord name in it, shows the song with the
chords highlighted and a picture of each fingering, and moves all chords up
or down by up to six half-tones. It finds the easiest key for your own
difficulty levels of the 85 chords it knows, suggests where to put the capo,
and saves the song as you wrote it, only the chord names changed.

The package holds the desktop program, quavern, and the command-line tool,
quavern-cli, which transposes songs from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# quavern_<version>_<architecture>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
