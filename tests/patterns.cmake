# Built-in patterns and the block operations on the board (window-free).
kaleidomat_test(patterns_tests
  patterns_builtin_test.cpp
  patterns_transformations_test.cpp
  patterns_board_tools_test.cpp)
target_link_libraries(patterns_tests PRIVATE kaleidomat_patterns)
