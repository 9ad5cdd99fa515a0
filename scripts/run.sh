#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and starts Kaleidomat.
# Usage: scripts/run.sh [board.hxa]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
kaleidomat_install_missing run
# Only the program: tests and benchmarks need what test.sh installs.
kaleidomat_build "$kaleidomat_root/build" -DCMAKE_BUILD_TYPE=Release -DKALEIDOMAT_TESTS=OFF -DKALEIDOMAT_BENCH=OFF
exec "$kaleidomat_root/build/bin/kaleidomat" "$@"
