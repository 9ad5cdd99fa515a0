#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One fence of the include rule, as the build draws it: with exactly the
# include folders a module's sources are compiled with, a header the module
# may use is found and one it may not use is not.
#   Usage: tests/include_fence.sh FOUND_HEADER FENCED_HEADER COMPILER [-Idir...]
set -uo pipefail
found=${1:?usage: include_fence.sh FOUND_HEADER FENCED_HEADER COMPILER [-Idir...]}
fenced=${2:?}
compiler=${3:?}
shift 3
# The probe sits alone in a folder of its own: nothing beside it to find.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

probe() {
  printf '#include "%s"\n' "$1" >"$dir/probe.cpp"
  shift
  "$compiler" -std=c++20 -fsyntax-only "$@" "$dir/probe.cpp" 2>&1
}

if ! out=$(probe "$found" "$@"); then
  echo "$found should be found, but:"
  echo "$out"
  exit 1
fi
if out=$(probe "$fenced" "$@"); then
  echo "$fenced was found: the fence is open"
  exit 1
fi
if ! grep -qE "$fenced(: No such file|' file not found)" <<<"$out"; then
  echo "$fenced failed for another reason than not being found:"
  echo "$out"
  exit 1
fi
echo "found $found; $fenced not found"
