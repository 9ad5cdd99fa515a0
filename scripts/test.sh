#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs the whole test suite:
#   build/        the program, its tests (window tests under the offscreen
#                 platform, end-to-end tests under Xvfb) and benchmarks
#   build/asan/   the window-free parts and their tests under AddressSanitizer
#                 and UndefinedBehaviorSanitizer
#   build/fuzz/   libFuzzer targets for every decoder, each run briefly
# Exits non-zero when anything fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
kaleidomat_install_missing test

cd "$kaleidomat_root"
kaleidomat_build build -DCMAKE_BUILD_TYPE=Release -DKALEIDOMAT_TESTS=ON -DKALEIDOMAT_BENCH=ON
kaleidomat_build build/asan -DCMAKE_BUILD_TYPE=Debug -DKALEIDOMAT_GUI=OFF -DKALEIDOMAT_BENCH=OFF \
  -DKALEIDOMAT_SANITIZE=ON
kaleidomat_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKALEIDOMAT_GUI=OFF -DKALEIDOMAT_BENCH=OFF -DKALEIDOMAT_CLI=OFF -DKALEIDOMAT_TESTS=OFF -DKALEIDOMAT_FUZZ=ON

status=0
for dir in build build/asan build/fuzz; do
  echo "== ctest in $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" || status=1
done
exit $status
