# SPDX-License-Identifier: MIT
# ---- Form1 over the recording fakes: start-up, run control, editing, files, clipboard ----
kaleidomat_test(app_run_tests app_run_tests.cpp)
target_link_libraries(app_run_tests PRIVATE kaleidomat_app)
kaleidomat_test(app_files_tests app_files_board_tests.cpp app_files_pattern_tests.cpp)
target_link_libraries(app_files_tests PRIVATE kaleidomat_app)
kaleidomat_test(app_clipboard_tests app_clipboard_tests.cpp)
target_link_libraries(app_clipboard_tests PRIVATE kaleidomat_app)
kaleidomat_test(app_editing_tests app_editing_mouse_tests.cpp app_editing_patterns_tests.cpp)
target_link_libraries(app_editing_tests PRIVATE kaleidomat_app)
set_tests_properties(app_editing_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# ---- The real Qt window (offscreen): its menus and toolbar, files dropped onto it; the real file ----
# ---- system, clipboard and file-type lists ----
# The menus, keys, mouse and clipboard of the real window are driven end to
# end under Xvfb (e2e.cmake).
add_executable(app_window_tests app_window_main.cpp app_drop_tests.cpp platform_file_system_tests.cpp
               platform_board_view_tests.cpp platform_clipboard_dialog_tests.cpp platform_main_window_tests.cpp
               platform_graph_window_tests.cpp)
target_include_directories(app_window_tests PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(app_window_tests PRIVATE kaleidomat_app kaleidomat_platform_qt GTest::gtest)
add_test(NAME app_window_tests COMMAND app_window_tests)
set_tests_properties(app_window_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# ---- Drawing only what changed, against full drawings, through Form1 ----
kaleidomat_test(display_incremental_tests display_incremental_tests.cpp)
target_link_libraries(display_incremental_tests PRIVATE kaleidomat_app)

# ---- Repeatable runs and the graph of a run, against kaleidomat-cli ----
if(KALEIDOMAT_CLI)
  kaleidomat_test(app_graph_tests app_graph_tests.cpp)
  target_link_libraries(app_graph_tests PRIVATE kaleidomat_app kaleidomat_cli_commands)
endif()
