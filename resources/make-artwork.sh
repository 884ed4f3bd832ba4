#!/usr/bin/env bash
# Draws the window's background picture (a silver optical disc seen from its label side) and
# the 32 x 32, 256-colour application icon with ImageMagick. Run it to remake disc.jpg and
# Quenlith.ico; the results are committed.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

W=595 H=601
cx=297 cy=300   # the centre of the ellipse (1, 1)-(595, 600)

# The silver surface: a soft radial sheen, cut to the disc's outline with a dark rim.
convert -size ${W}x${H} radial-gradient:'#fbfbfc'-'#b9bcc2' "$tmp/sheen.png"
convert -size ${W}x${H} xc:black -fill white -draw "ellipse $cx,$cy 296,299 0,360" "$tmp/mask.png"
convert -size ${W}x${H} xc:white "$tmp/sheen.png" "$tmp/mask.png" -composite "$tmp/disc.png"

# Fine concentric grooves of the label print, a darker outer edge, the clear inner ring,
# the grey hub ring and the centre hole.
draw=()
for r in 288 272 256 240 224 208 192 176 160 144 128 112 96; do
  draw+=(-draw "ellipse $cx,$cy $r,$((r + 3)) 0,360")
done
convert "$tmp/disc.png" \
  -fill none -stroke '#8d9096' -strokewidth 3 -draw "ellipse $cx,$cy 294,297 0,360" \
  -stroke '#d5d7db' -strokewidth 1 "${draw[@]}" \
  -stroke '#a3a6ac' -strokewidth 1 -fill '#dfe1e4' -draw "ellipse $cx,$cy 78,79 0,360" \
  -stroke '#7c7f85' -strokewidth 2 -fill '#9fa2a8' -draw "ellipse $cx,$cy 58,59 0,360" \
  -stroke '#b9bcc1' -strokewidth 1 -fill '#c8cacf' -draw "ellipse $cx,$cy 42,43 0,360" \
  -stroke '#6f7278' -strokewidth 2 -fill '#ffffff' -draw "ellipse $cx,$cy 16,16 0,360" \
  "$tmp/disc-full.png"

# Baseline JFIF, 8-bit colour in three components, 4:2:0, 96 dots per inch.
convert "$tmp/disc-full.png" -strip -interlace none -sampling-factor 2x2,1x1,1x1 \
  -units PixelsPerInch -density 96 -quality 90 -type TrueColor jpeg:disc.jpg

# The icon: the same disc, 32 x 32, reduced to a 256-colour palette (8 bits per pixel).
convert "$tmp/disc-full.png" -resize 32x32\! -background white -alpha remove \
  -colors 256 -type Palette -compress None BMP3:"$tmp/icon.bmp"
python3 make-icon.py "$tmp/icon.bmp" Quenlith.ico
