# The Debian package: `cpack -G DEB` in the build directory makes
# quizzlebox_<version>_<arch>.deb from what install.cmake installs, under /usr.
# Its run-time dependencies are read from the game's binary (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quizzlebox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${QB_DEVELOPER})
set(CPACK_PACKAGE_CONTACT ${QB_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "box-pushing puzzle game with 200 levels")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QB_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; its first line is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Walk the figure over a grid of 16 by 11 cells and push every box onto a
target. The 200 levels are played in order; from level 100 on they are the
hellish half. A solved level earns a step bonus and a time bonus, and the
score pays for taking moves back, saving and loading the position and
skipping a level.
.
After each level the game shows a nine-digit password for the next one that
also carries the score, so a game can be resumed later. The game is played
with the keyboard in a window of its own, and draws everything on screen
with its own pictures and bitmap fonts.")
include(CPack)
