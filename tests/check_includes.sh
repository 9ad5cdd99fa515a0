#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The build holds every module to the include rule (see docs/architecture.md
# and cmake/modules.cmake): a module's sources see only the include folders of
# the modules its target links. Two ways round that the compiler would not
# notice, checked here over every folder but tests/ and bench/ (which may
# include anything):
#   - a quoted #include that climbs out of the including file's folder
#     ("../app/window_controller.h") or names an absolute path: the compiler looks for it
#     beside the including file first, before any include folder;
#   - a build file that puts a source folder (the source root, say) on an
#     include path instead of going through kaleidomat_module.
# Prints each offending line; exits 1 if any.
#   Usage: tests/check_includes.sh SOURCE_ROOT
set -uo pipefail
root=${1:?usage: check_includes.sh SOURCE_ROOT}
exempt=" tests bench "

status=0
complain() {
  echo "$1"
  status=1
}

for dir in "$root"/*/; do
  module=$(basename "$dir")
  [[ $exempt == *" $module "* ]] && continue
  [ -e "$dir/CMakeCache.txt" ] && continue  # a build folder inside the sources
  while IFS= read -r hit; do
    complain "${hit#"$root"/}: a quoted #include may not climb out of its folder or name an absolute path"
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(/|\.\./|[^"]*/\.\./|\.\.")' \
             --include='*.h' --include='*.cpp' "$dir")
  # Each include_directories call whole (it may span lines), with its file and line.
  while IFS= read -r build_file; do
    while IFS= read -r call; do
      complain "${build_file#"$root"/}:$call: a source folder on an include path (use kaleidomat_module)"
    done < <(awk '/include_directories[[:space:]]*\(/ { start = FNR; text = "" }
                  start { text = text $0 }
                  start && /\)/ { if (text ~ /SOURCE_DIR|LIST_DIR/) print start; start = 0 }' "$build_file")
  done < <(find "$dir" \( -name CMakeLists.txt -o -name '*.cmake' \) -type f)
done
[ -f "$root/CMakeLists.txt" ] && grep -nE 'include_directories[[:space:]]*\(' "$root/CMakeLists.txt" |
  while IFS= read -r hit; do echo "CMakeLists.txt:${hit%%:*}: an include path for every target (use kaleidomat_module)"; done |
  grep . && status=1
exit $status
