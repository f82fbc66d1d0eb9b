#!/usr/bin/env bash
# Redraws mirravel.ico (32x32 and 16x16): a magnifier over a "#", the program's search-a-constant idea.
# Drawn large and reduced, so both sizes come from one shape. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 256x256 xc:none \
  -stroke '#5a3a12' -strokewidth 34 -draw 'line 160,160 236,236' \
  -stroke '#8a5a1e' -strokewidth 22 -draw 'line 165,165 230,230' \
  -stroke '#1d3f7a' -strokewidth 20 -fill '#e8f1ff' -draw 'circle 100,100 100,14' \
  -stroke '#1d3f7a' -strokewidth 16 \
  -draw 'line 80,52 72,148' -draw 'line 124,52 116,148' \
  -draw 'line 50,82 146,82' -draw 'line 46,118 142,118' \
  "$work/big.png"
convert "$work/big.png" -filter Lanczos -resize 32x32 "$work/32.png"
convert "$work/big.png" -filter Lanczos -resize 16x16 -unsharp 0x0.6 "$work/16.png"
convert "$work/32.png" "$work/16.png" mirravel.ico
