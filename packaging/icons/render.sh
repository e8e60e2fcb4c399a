#!/bin/sh
# Renders the PNG icons from the SVG sources (rsvg-convert, package librsvg2-bin). The PNGs
# are kept in the tree, so the build does not need the renderer.
set -e
cd "$(dirname "$0")"
rsvg-convert -w 16 -h 16 kestrilane-16.svg -o jp.harrowfen.kestrilane-16.png
for size in 32 48 128; do
  rsvg-convert -w $size -h $size jp.harrowfen.kestrilane.svg -o jp.harrowfen.kestrilane-$size.png
done
