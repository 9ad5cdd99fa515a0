# SPDX-License-Identifier: MIT
# Board rendering and the panel number format.
kaleidomat_test(display_tests display_renderer_tests.cpp)
target_link_libraries(display_tests PRIVATE kaleidomat_display)
# The view: zoom, moving over the torus, the cell under a pixel, its pictures.
kaleidomat_test(display_viewport_tests display_viewport_tests.cpp)
target_link_libraries(display_viewport_tests PRIVATE kaleidomat_display)
