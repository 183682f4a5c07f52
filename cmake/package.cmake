# The Debian package, made by `cpack` in the build folder: lumera8_<version>_<arch>.deb,
# installing under /usr, its library dependencies worked out from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumera8)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumera")
set(CPACK_PACKAGE_CONTACT "Lumera <support@lumera.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cryptogram game: restore scrambled quotations")
set(CPACK_PACKAGE_DESCRIPTION "Lumera 8.0 lays a quotation out on a 30 x 9 grid, scrambles it with a random
letter-for-letter key and lets the player restore it by exchanging letters.
It comes with a collection of quotations, a hint, a jump to any puzzle, other
puzzle files, a solver-aid mode, and lumera8-check, a checker for puzzle files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Install with DESTDIR, so that install-time code sees the real prefix /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lumera.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial is drawn with Liberation Sans. The menus and dialogs take fontconfig's sans-serif,
# which with fonts-liberation2 alone is Liberation Mono: DejaVu Sans serves it instead. The
# window needs a platform plugin, which the Qt libraries only recommend.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core, qt6-qpa-plugins")
# Help and the web links are opened with xdg-open; the game runs without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
