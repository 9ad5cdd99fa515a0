# ---- End to end: the real program under Xvfb, driven with xdotool ----
# The helper that saves the X screen as a PNG.
add_executable(grab_screen ${CMAKE_CURRENT_SOURCE_DIR}/e2e/grab_screen.cpp)
target_link_libraries(grab_screen PRIVATE Qt6::Gui)

if(TARGET kaleidomat)
  add_test(NAME e2e_run_control
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_control.sh $<TARGET_FILE:kaleidomat>
                   $<TARGET_FILE:grab_screen> ${CMAKE_BINARY_DIR}/e2e)
  # 77: Xvfb or xdotool is missing.
  set_tests_properties(e2e_run_control PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
endif()

# ---- Files and clipboard: two running copies exchange a selection ----
if(TARGET kaleidomat)
  add_test(NAME e2e_clipboard_exchange
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/clipboard_exchange.sh $<TARGET_FILE:kaleidomat>
                   $<TARGET_FILE:grab_screen> ${CMAKE_BINARY_DIR}/e2e)
  # 77: Xvfb, xdotool or xclip is missing.
  set_tests_properties(e2e_clipboard_exchange PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
endif()
