# SPDX-License-Identifier: MIT
# ---- Installing: the layout in a temporary DESTDIR, and the Debian package ----
add_test(NAME install_layout
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/install_layout.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/install-test)
# 77: a desktop tool is missing. The package test is slower (dpkg-shlibdeps,
# lintian): ctest -L package runs it alone, -LE package leaves it out.
add_test(NAME package_deb
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/package_deb.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/package-test)
set_tests_properties(install_layout PROPERTIES SKIP_RETURN_CODE 77 LABELS install)
set_tests_properties(package_deb PROPERTIES SKIP_RETURN_CODE 77 LABELS package TIMEOUT 600)
