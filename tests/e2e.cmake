# SPDX-License-Identifier: MIT
# ---- End to end: the real program under Xvfb, driven with xdotool ----
# Each test starts its own Xvfb, makes its board file with kaleidomat-cli and
# keeps its screenshots (and a picture of the screen when it fails) in
# build/e2e/. They run one at a time: both drive the pointer and keyboard.
add_executable(grab_screen ${CMAKE_CURRENT_SOURCE_DIR}/e2e/grab_screen.cpp)
target_link_libraries(grab_screen PRIVATE Qt6::Gui)

if(TARGET kaleidomat AND TARGET kaleidomat-cli)
  foreach(scenario run_control clipboard_exchange keep_board speed_ladder life_patterns seeded_steps size_limit
                   recent_files lineage_trace)
    add_test(NAME e2e_${scenario}
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${scenario}.sh $<TARGET_FILE:kaleidomat>
                     $<TARGET_FILE:grab_screen> $<TARGET_FILE:kaleidomat-cli> ${CMAKE_BINARY_DIR}/e2e)
    # 77: Xvfb, xdotool, xclip, xprop or xwininfo is missing.
    set_tests_properties(e2e_${scenario} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
  endforeach()
endif()

# Drawing with Shift+drag, saved and read back with kaleidomat-cli.
if(TARGET kaleidomat AND TARGET kaleidomat-cli)
  add_test(NAME e2e_shift_drawing
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/shift_drawing.sh $<TARGET_FILE:kaleidomat>
                   $<TARGET_FILE:grab_screen> $<TARGET_FILE:kaleidomat-cli> ${CMAKE_BINARY_DIR}/e2e)
  set_tests_properties(e2e_shift_drawing PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
endif()

# Editing with the keyboard alone: the cursor, Space, Shift+arrows, copy and
# paste, and the save dialog; the file read back with kaleidomat-cli.
if(TARGET kaleidomat AND TARGET kaleidomat-cli)
  add_test(NAME e2e_keyboard_editing
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/keyboard_editing.sh $<TARGET_FILE:kaleidomat>
                   $<TARGET_FILE:grab_screen> $<TARGET_FILE:kaleidomat-cli> ${CMAKE_BINARY_DIR}/e2e)
  set_tests_properties(e2e_keyboard_editing PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
endif()

# ---- Zoom with the wheel, moving the view with the arrow keys across the
# torus's edge, Shift+clicks there, saved and read back with kaleidomat-cli ----
if(TARGET kaleidomat AND TARGET kaleidomat-cli)
  add_test(NAME e2e_zoom_pan
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/zoom_pan.sh $<TARGET_FILE:kaleidomat>
                   $<TARGET_FILE:grab_screen> $<TARGET_FILE:kaleidomat-cli> ${CMAKE_BINARY_DIR}/e2e)
  set_tests_properties(e2e_zoom_pan PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
endif()
