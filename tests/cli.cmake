kaleidomat_test(cli_tests cli_tests.cpp)
target_link_libraries(cli_tests PRIVATE kaleidomat_cli_commands)
target_compile_definitions(cli_tests PRIVATE KALEIDOMAT_CLI_BINARY="$<TARGET_FILE:kaleidomat-cli>")
add_dependencies(cli_tests kaleidomat-cli)
