# SPDX-License-Identifier: MIT
# The commands in-process and the binary's exit statuses; pictures read back
# with libpng and libwebp's demuxer.
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WEBP_DEMUX REQUIRED IMPORTED_TARGET libwebpdemux)
kaleidomat_test(cli_tests cli_tests.cpp cli_file_writer_tests.cpp cli_formats_tests.cpp cli_tournament_tests.cpp)
target_link_libraries(cli_tests PRIVATE kaleidomat_cli_commands PNG::PNG PkgConfig::WEBP_DEMUX)
target_compile_definitions(cli_tests PRIVATE KALEIDOMAT_CLI_BINARY="$<TARGET_FILE:kaleidomat-cli>")
add_dependencies(cli_tests kaleidomat-cli)
