# `cpack -G DEB` in the build folder makes rkedit_VERSION_ARCH.deb from the install rules.
# Its dependencies come from dpkg-shlibdeps (Qt, libjpeg-turbo, libdeflate, ...).
set(CPACK_PACKAGE_NAME rkedit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}) # all four parts, as the changelog has it
set(CPACK_PACKAGE_VENDOR "the rkedit authors")
set(CPACK_PACKAGE_CONTACT "the rkedit authors <rkedit@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stage editor for a block-breaking ball game")
# Lines under 80 columns: Debian's description format.
set(CPACK_PACKAGE_DESCRIPTION
    "rkedit opens, shows, edits and saves the stage files of a block-breaking
ball game played in a web page: the stage picture with the block grid over it
and the paddle area below it, the ball, paddle and option settings, and the
stage's event script. It writes the HTML page that embeds the game.

The package also holds rkstage, a command-line tool that reads, converts and
renders stage files, and the file manager thumbnailer that uses it.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
