# SPDX-License-Identifier: MIT
# ---- The window's controller over the recording fakes: start-up, run control, editing, files, clipboard ----
kaleidomat_test(app_run_tests app_run_tests.cpp app_session_tests.cpp)
target_link_libraries(app_run_tests PRIVATE kaleidomat_app)
kaleidomat_test(app_files_tests app_files_board_tests.cpp app_files_pattern_tests.cpp app_keep_tests.cpp)
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
               platform_user_files_tests.cpp platform_graph_window_tests.cpp)
target_include_directories(app_window_tests PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(app_window_tests PRIVATE kaleidomat_app kaleidomat_platform_qt GTest::gtest)
add_test(NAME app_window_tests COMMAND app_window_tests)
set_tests_properties(app_window_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# The board on a screen of two device pixels per logical pixel: drawn at device pixels.
add_test(NAME app_window_tests_dpr2 COMMAND app_window_tests --gtest_filter=BoardView.*:BoardLayout.*)
set_tests_properties(app_window_tests_dpr2 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")

# ---- Drawing only what changed, against full drawings, through the controller ----
kaleidomat_test(display_incremental_tests display_incremental_tests.cpp)
target_link_libraries(display_incremental_tests PRIVATE kaleidomat_app)
kaleidomat_test(app_history_tests app_history_tests.cpp)
target_link_libraries(app_history_tests PRIVATE kaleidomat_app)
target_sources(app_run_tests PRIVATE app_speed_tests.cpp)
target_sources(app_window_tests PRIVATE platform_settings_tests.cpp platform_window_geometry_tests.cpp
                                       platform_x11_clipboard_tests.cpp)
# The clipboard against another program's (xclip) on an X server of its own.
add_test(NAME app_window_tests_x11
         COMMAND sh -c "command -v xvfb-run >/dev/null && command -v xclip >/dev/null || exit 77; \
                        exec xvfb-run -a -s '-screen 0 800x600x24' \"$0\" --gtest_filter=X11Clipboard.*"
                 $<TARGET_FILE:app_window_tests>)
set_tests_properties(app_window_tests_x11 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" SKIP_RETURN_CODE 77)

# --help and --version are answered before any window, without a display.
if(TARGET kaleidomat)
  add_test(NAME app_help_without_display
           COMMAND sh -c "out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \"$0\" --help) && \
                          echo \"$out\" | grep -q -- '--seed S' && \
                          [ \"$(env -u DISPLAY QT_QPA_PLATFORM=xcb \"$0\" --version)\" = \"kaleidomat ${PROJECT_VERSION}\" ] && \
                          [ \"$(\"$1\" --version)\" = \"kaleidomat-cli ${PROJECT_VERSION}\" ]"
                   $<TARGET_FILE:kaleidomat> $<TARGET_FILE:kaleidomat-cli>)
  # A wrong --seed is refused the same way, with status 2 and a message of its own.
  add_test(NAME app_wrong_seed_without_display
           COMMAND sh -c "out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \"$0\" --seed x 2>&1); \
                          [ $? = 2 ] && echo \"$out\" | grep -q '^kaleidomat: --seed needs a whole number'"
                   $<TARGET_FILE:kaleidomat>)
endif()

# ---- Life text patterns (RLE, plaintext) opened and pasted, through the controller ----
kaleidomat_test(app_import_tests app_import_tests.cpp)
target_link_libraries(app_import_tests PRIVATE kaleidomat_app)
# Golly's formats among them, gzipped ones too.
find_package(ZLIB REQUIRED)
target_link_libraries(app_import_tests PRIVATE ZLIB::ZLIB)

# ---- The help menu and the manual page's lists ----
kaleidomat_test(app_help_tests app_help_tests.cpp)
target_link_libraries(app_help_tests PRIVATE kaleidomat_app)
target_compile_definitions(app_help_tests PRIVATE KALEIDOMAT_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                                  KALEIDOMAT_VERSION="${PROJECT_VERSION}")

# ---- Repeatable runs and the graph of a run, against kaleidomat-cli ----
if(KALEIDOMAT_CLI)
  kaleidomat_test(app_graph_tests app_graph_tests.cpp)
  target_link_libraries(app_graph_tests PRIVATE kaleidomat_app kaleidomat_cli_commands)
endif()

# ---- Everyday comforts over the fakes: speed readout, calm mode, selection keys, recent files, dialogs ----
kaleidomat_test(app_everyday_tests app_everyday_tests.cpp)
target_link_libraries(app_everyday_tests PRIVATE kaleidomat_app)
# ---- The lineage view and the ancestry tracer, against the plain tracker ----
target_sources(app_history_tests PRIVATE app_lineage_tests.cpp)

# ---- Boards over 200 a side: the size dialog, the clipboard's RLE, registration, undo ----
kaleidomat_test(app_large_board_tests app_large_board_tests.cpp)
target_link_libraries(app_large_board_tests PRIVATE kaleidomat_app)
# ---- The window's language: English through the fakes with the real translator; the .ts against ui/texts.h ----
target_sources(app_window_tests PRIVATE app_language_tests.cpp)
add_test(NAME translations_complete COMMAND ${PROJECT_SOURCE_DIR}/scripts/update_translations.sh --check)
# ---- The keyboard cursor and screen readers ----
target_sources(app_editing_tests PRIVATE app_keyboard_tests.cpp)
# ---- The view: zoom, moving the view, grid ----
target_sources(app_everyday_tests PRIVATE app_view_tests.cpp)
