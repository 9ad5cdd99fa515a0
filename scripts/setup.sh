#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building and running (run.sh), or also
# testing (test.sh), need, and only those that are missing. Quiet when nothing
# is missing; says what it installs otherwise. Sourced by run.sh and test.sh.

# Building and running the program.
kaleidomat_run_packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libxcb1-dev
  libpng-dev libwebp-dev libcli11-dev
  libzstd-dev
  zlib1g-dev
  fonts-ipafont-gothic
)

# What the tests, fuzzers and benchmarks need besides.
kaleidomat_test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev golly
  clang libclang-rt-14-dev
  xvfb xauth xdotool xclip x11-utils
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin
  parallel slurm-wlm munge iproute2
)

# The window's English: lupdate and lrelease build the .qm from
# translations/kaleidomat_en.ts; python3 lists ui/texts.h's texts for lupdate.
# The tests (translations_complete) use the same tools.
kaleidomat_run_packages+=(qt6-l10n-tools qt6-tools-dev python3)
kaleidomat_test_packages+=(qt6-l10n-tools python3)

# Usage: kaleidomat_install_missing [run|test]   (default: test, everything)
kaleidomat_install_missing() {
  local wanted=("${kaleidomat_run_packages[@]}")
  [ "${1:-test}" = run ] || wanted+=("${kaleidomat_test_packages[@]}")
  local missing=() p
  for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds one build folder quietly; prints the compiler's
# output only when something fails.
kaleidomat_build() {
  local dir=$1; shift
  local log="$dir.log"
  mkdir -p "$(dirname "$dir")"
  if ! { cmake -S "$kaleidomat_root" -B "$dir" "$@" && cmake --build "$dir" -j "$(nproc)"; } >"$log" 2>&1; then
    cat "$log"
    echo "Build failed in $dir" >&2
    return 1
  fi
}

kaleidomat_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
