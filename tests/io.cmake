# SPDX-License-Identifier: MIT
# The byte formats, the Life text formats, and reading and replacing files.
kaleidomat_test(io_tests io_formats_tests.cpp io_life_text_tests.cpp io_safe_files_tests.cpp)
target_link_libraries(io_tests PRIVATE kaleidomat_io)
