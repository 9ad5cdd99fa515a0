#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the end-to-end tests over and over while other processes keep the
# cores busy, and stops at the first failure (the failing test leaves a
# picture of the whole screen in build/e2e/).
#   scripts/e2e-under-load.sh [ROUNDS [LOOPS]]   (default 30 rounds, 2 busy loops)
# LOOPS, or the environment variable LOAD, is the number of busy loops; three
# on a two-core machine leave the tests less than a core.
# Builds build/ first, as scripts/test.sh does.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

rounds=${1:-30}
loops=${2:-${LOAD:-2}}
for n in "$rounds" "$loops"; do
  [[ $n =~ ^[0-9]+$ ]] || { echo "usage: $0 [ROUNDS [LOOPS]] (whole numbers)" >&2; exit 2; }
done

kaleidomat_install_missing
cd "$kaleidomat_root"
kaleidomat_build build -DCMAKE_BUILD_TYPE=Release

load=()
stop_load() { [ ${#load[@]} -eq 0 ] || kill "${load[@]}" 2>/dev/null || true; }
trap stop_load EXIT
for ((i = 0; i < loops; i++)); do
  bash -c 'while :; do :; done' &
  load+=($!)
done
echo "== ctest -R e2e, $rounds rounds, $loops busy loops on $(nproc) cores"
start=$SECONDS
status=0
ctest --test-dir build -R e2e --output-on-failure --repeat "until-fail:$rounds" || status=$?
echo "== $((SECONDS - start)) s"
exit "$status"
