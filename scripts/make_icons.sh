#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the PNG sizes of the application and file-type icons from their
# SVG pictures in data/icons/hicolor/scalable/. The PNGs are kept in the
# repository so building needs no SVG renderer; run this after changing an
# SVG (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../data/icons/hicolor"
for svg in scalable/*/*.svg; do
  context=$(basename "$(dirname "$svg")")
  name=$(basename "$svg" .svg)
  for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}/$context"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/$context/$name.png"
  done
done
