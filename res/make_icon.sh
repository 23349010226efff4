#!/usr/bin/env bash
# Draws Kelvo's icon (a keycap with a lightning-like "K") at 256 px and scales it to the icon
# sizes. The .ico is committed; run this only to change the design.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
/usr/bin/convert -size 256x256 xc:none \
  -fill '#1f3a5f' -draw 'roundrectangle 8,14 248,250 40,40' \
  -fill '#3d6fa8' -draw 'roundrectangle 8,6 248,222 40,40' \
  -fill '#5b8fd0' -draw 'roundrectangle 36,26 220,196 28,28' \
  -stroke white -strokewidth 30 -fill none \
  -draw 'line 92,54 92,170' -draw 'line 96,116 166,54' -draw 'line 112,104 170,170' \
  "$tmp/kelvo256.png"
for s in 16 20 24 32 48; do
  /usr/bin/convert "$tmp/kelvo256.png" -resize ${s}x${s} "$tmp/k$s.png"
done
/usr/bin/convert "$tmp"/k16.png "$tmp"/k20.png "$tmp"/k24.png "$tmp"/k32.png "$tmp"/k48.png kelvo.ico
cp "$tmp/kelvo256.png" /tmp/kelvo-icon-preview.png
rm -rf "$tmp"
