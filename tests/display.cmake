# SPDX-License-Identifier: MIT
# Board rendering and the panel number format.
kaleidomat_test(display_tests display_renderer_tests.cpp)
target_link_libraries(display_tests PRIVATE kaleidomat_display)
