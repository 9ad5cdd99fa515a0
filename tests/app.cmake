# ---- Form1 start-up, drawing and run control over the fakes ----
kaleidomat_test(app_run_tests app_run_tests.cpp)
target_link_libraries(app_run_tests PRIVATE kaleidomat_app)
