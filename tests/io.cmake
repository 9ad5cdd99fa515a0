# SPDX-License-Identifier: MIT
# The byte formats, the Life text formats, Golly's formats, and reading and replacing files.
kaleidomat_test(io_tests io_formats_tests.cpp io_life_text_tests.cpp io_golly_formats_tests.cpp io_safe_files_tests.cpp)
find_package(ZLIB REQUIRED)
target_link_libraries(io_tests PRIVATE kaleidomat_io ZLIB::ZLIB)
