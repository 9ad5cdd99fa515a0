# SPDX-License-Identifier: MIT
# Worked examples of the step, the colour rule and seeding.
kaleidomat_test(engine_tests engine_tests.cpp)
target_link_libraries(engine_tests PRIVATE kaleidomat_engine)

# The engine's step against the literal one on many random boards.
kaleidomat_test(engine_differential_tests engine_differential_tests.cpp)
target_link_libraries(engine_differential_tests PRIVATE kaleidomat_engine)

# Lineage against a plain tracker of the rule; bounded records; exact copies.
kaleidomat_test(engine_lineage_tests engine_lineage_tests.cpp)
target_link_libraries(engine_lineage_tests PRIVATE kaleidomat_engine)
