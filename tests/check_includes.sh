#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every module includes only from the modules it may use (see the
# include rules in docs/architecture.md): each #include "module/..." line of a module's
# sources against the table below, and that only app/ and platform/ include Qt.
# Every top-level folder with C++ sources needs an entry here (tests/ and
# bench/ may include anything). Prints each offending line; exits 1 if any.
#   Usage: tests/check_includes.sh SOURCE_ROOT
set -uo pipefail
root=${1:?usage: check_includes.sh SOURCE_ROOT}

# What each module may include besides itself: whole modules, or single
# headers given by path.
declare -A allowed=(
  [engine]=""
  [io]="engine"
  [patterns]="engine"
  [display]="engine"
  [analysis]="engine"
  [cli]="analysis io patterns display engine"
  [ui]=""
  [platform]="ui display/pixel_image.h analysis/graph_series.h io/formats.h"
  [app]="platform analysis display patterns io engine ui"
  [fuzz]="io engine"
)
exempt=" tests bench "
qt_allowed=" app platform "

status=0
complain() {
  echo "$1"
  status=1
}

for dir in "$root"/*/; do
  module=$(basename "$dir")
  [[ $exempt == *" $module "* ]] && continue
  [ -e "$dir/CMakeCache.txt" ] && continue  # a build folder inside the sources
  if [[ -z ${allowed[$module]+set} ]]; then
    if [ -n "$(find "$dir" -name '*.cpp' -o -name '*.h' | head -1)" ]; then
      complain "$module/: C++ sources in a folder the include table does not know (add it to $0)"
    fi
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}; text=${rest#*:}
    header=${text#*\"}; header=${header%%\"*}
    top=${header%%/*}
    [ "$top" = "$module" ] && continue
    ok=0
    for entry in ${allowed[$module]}; do
      [ "$entry" = "$top" ] || [ "$entry" = "$header" ] && ok=1
    done
    ((ok)) || complain "${file#"$root"/}:$line: $module/ may not include \"$header\""
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' --include='*.h' --include='*.cpp' "$dir")
  if [[ $qt_allowed != *" $module "* ]]; then
    while IFS= read -r hit; do
      complain "${hit#"$root"/}: $module/ may not use Qt"
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' --include='*.h' --include='*.cpp' "$dir")
  fi
done
exit $status
