# SPDX-License-Identifier: MIT
# Read by cpack before it makes a package. Without dpkg-shlibdeps CPack would
# quietly leave the libraries out of Depends and make a package that installs
# without what it needs; stop instead.
if(CPACK_GENERATOR STREQUAL "DEB")
  find_program(KALEIDOMAT_SHLIBDEPS dpkg-shlibdeps)
  if(NOT KALEIDOMAT_SHLIBDEPS)
    message(FATAL_ERROR "dpkg-shlibdeps (Debian package dpkg-dev) is needed to compute the package's dependencies")
  endif()
endif()
