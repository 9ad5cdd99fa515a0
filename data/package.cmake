# SPDX-License-Identifier: MIT
# The Debian package: `cmake --build build --target package` (or cpack in the
# build folder) makes kaleidomat_<version>_<arch>.deb from what
# `cmake --install` installs, under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kaleidomat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # kaleidomat_<version>_<arch>.deb
set(CPACK_PACKAGE_CONTACT "Kaleidomat developers <kaleidomat@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Conway's Game of Life on a board of coloured cells")
# The extended description, one line of the control file per line here.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Kaleidomat runs Conway's Game of Life on a square board that wraps"
       "around at its edges. Every live cell has a colour of its own: a"
       "survivor keeps it, and a newborn cell takes red, green and blue from"
       "its three parents, so colonies inherit and mix their colours as they"
       "evolve. The window's menus and messages are in Japanese."
       "."
       "kaleidomat-cli steps, converts and renders boards without the window.")
# The libraries the programs link come from dpkg-shlibdeps. Qt finds its
# window-system plugins and translations at run time, so those are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_checks.cmake)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-japanese-gothic, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
