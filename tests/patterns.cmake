# SPDX-License-Identifier: MIT
# Built-in patterns and the block operations on the board (window-free).
kaleidomat_test(patterns_tests patterns_tests.cpp)
target_link_libraries(patterns_tests PRIVATE kaleidomat_patterns)
