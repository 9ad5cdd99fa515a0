# SPDX-License-Identifier: MIT
# The byte formats and the Life text formats.
kaleidomat_test(io_tests io_formats_tests.cpp io_life_text_tests.cpp)
target_link_libraries(io_tests PRIVATE kaleidomat_io)
