#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kaleidomat.
# Usage: scripts/run.sh [board.hxa]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
kaleidomat_install_missing
kaleidomat_build "$kaleidomat_root/build" -DCMAKE_BUILD_TYPE=Release
exec "$kaleidomat_root/build/bin/kaleidomat" "$@"
