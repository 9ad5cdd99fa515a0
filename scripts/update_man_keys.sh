#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Rewrites the MENUS AND KEYS section of data/kaleidomat.1 to what the help
# of the built program generates from the command registry and its help lines
# (app_help_tests compares the two). Run it after adding a command and its
# help line, with the tests built.
#   Usage: scripts/update_man_keys.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
page=$root/data/kaleidomat.1
# The test fails (and prints the section) exactly when the page is out of date.
section=$(QT_QPA_PLATFORM=offscreen "$build/bin/app_help_tests" --gtest_filter=Help.ManualPageCarriesTheSameLists 2>&1 |
  sed -n '/should hold this section:/,/^\[  FAILED/p' | sed '1d;$d' || true)
if [ -z "$section" ]; then
  echo "data/kaleidomat.1 is up to date"
  exit 0
fi
printf '%s\n' "$section" >"$page.section"
awk -v file="$page.section" '
  /^\.SH MENUS AND KEYS$/ { while ((getline line < file) > 0) print line; skip = 1; next }
  skip && /^\.SH / { skip = 0 }
  !skip { print }' "$page" >"$page.new"
rm -f "$page.section"
mv "$page.new" "$page"
echo "data/kaleidomat.1: MENUS AND KEYS rewritten"
