#!/usr/bin/env bash
# Renders the application icon data/icons/ravlet.svg into the committed bitmaps: the hicolor
# PNGs for the Linux desktop entry and the multi-size ravlet.ico for the Windows programs.
# Builds take the committed files, so only whoever changes the picture needs these tools:
#   bash scripts/install-deps.sh librsvg2-bin imagemagick   (ImageMagick's convert)
#   bash scripts/make-icons.sh
set -euo pipefail
cd "$(dirname "$0")/../data/icons"

for tool in rsvg-convert convert; do
  command -v "$tool" >/dev/null || { echo "make-icons.sh: $tool is missing" >&2; exit 1; }
done

for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" ravlet.svg -o "ravlet-$size.png"
done

# The .ico takes 24 px too (small icons at 150 %); that one is not a hicolor size.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rsvg-convert -w 24 -h 24 ravlet.svg -o "$scratch/ravlet-24.png"
# -strip: no timestamps in the PNG chunks, so the same picture gives the same bytes.
convert -strip ravlet-16.png "$scratch/ravlet-24.png" ravlet-32.png ravlet-48.png ravlet-256.png ravlet.ico
for size in 16 32 48 64 128 256; do
  convert -strip "ravlet-$size.png" "$scratch/stripped.png" && mv "$scratch/stripped.png" "ravlet-$size.png"
done
