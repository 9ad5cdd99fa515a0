# SPDX-License-Identifier: MIT
# The commands in-process and the binary's exit statuses; pictures read back
# with libpng and libwebp's demuxer.
find_package(PNG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WEBP_DEMUX REQUIRED IMPORTED_TARGET libwebpdemux)
kaleidomat_test(cli_tests cli_tests.cpp cli_formats_tests.cpp cli_tournament_tests.cpp)
target_link_libraries(cli_tests PRIVATE kaleidomat_cli_commands PNG::PNG PkgConfig::WEBP_DEMUX)
find_package(ZLIB REQUIRED)
target_link_libraries(cli_tests PRIVATE ZLIB::ZLIB)  # gzipped patterns
target_compile_definitions(cli_tests PRIVATE KALEIDOMAT_CLI_BINARY="$<TARGET_FILE:kaleidomat-cli>")
add_dependencies(cli_tests kaleidomat-cli)
# Holds the first fsync of a program it is preloaded into (see the file).
add_library(slow_fsync MODULE support/slow_fsync.cpp)
target_link_libraries(slow_fsync PRIVATE ${CMAKE_DL_LIBS})
target_compile_definitions(cli_tests PRIVATE SLOW_FSYNC_LIBRARY="$<TARGET_FILE:slow_fsync>")
add_dependencies(cli_tests slow_fsync)

# The cluster scripts with the engines they drive: GNU parallel here, and a
# one-node Slurm cluster started for the test (skipped when it cannot be).
add_test(NAME tournament_parallel
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tournament_parallel_test.sh $<TARGET_FILE:kaleidomat-cli>
                 ${PROJECT_SOURCE_DIR}/scripts/tournament-parallel.sh)
add_test(NAME tournament_slurm
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tournament_slurm_test.sh $<TARGET_FILE:kaleidomat-cli>
                 ${PROJECT_SOURCE_DIR}/scripts/tournament-slurm.sh)
set_tests_properties(tournament_slurm PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
set_tests_properties(tournament_parallel PROPERTIES TIMEOUT 300)

# Golly's pattern collection, every file read by kaleidomat-cli and by bgolly
# (skipped when Debian's golly package is not installed).
add_test(NAME golly_collection
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/golly-collection.sh --cli $<TARGET_FILE:kaleidomat-cli>)
set_tests_properties(golly_collection PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
