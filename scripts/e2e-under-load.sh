#!/usr/bin/env bash
# Runs the end-to-end tests over and over while two other processes keep
# both cores busy, and stops at the first failure (the failing test leaves a
# picture of the whole screen in build/e2e/).
#   scripts/e2e-under-load.sh [ROUNDS]     (default 30)
# Builds build/ first, as scripts/test.sh does.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
kaleidomat_install_missing
cd "$kaleidomat_root"
kaleidomat_build build -DCMAKE_BUILD_TYPE=Release

rounds=${1:-30}
load=()
stop_load() { [ ${#load[@]} -eq 0 ] || kill "${load[@]}" 2>/dev/null || true; }
trap stop_load EXIT
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  load+=($!)
done
echo "== ctest -R e2e, $rounds rounds, with $(nproc) cores kept busy by two other processes"
ctest --test-dir build -R e2e --output-on-failure --repeat "until-fail:$rounds"
