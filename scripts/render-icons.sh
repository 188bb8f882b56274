#!/usr/bin/env bash
# Renders the program's icon from its drawing into the PNG sizes the desktop
# asks for. The PNGs are kept in the tree, so a build needs no SVG renderer;
# run this after a change of the drawing and commit what it wrote.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
icons=$here/desktop/icons/hicolor
svg=$icons/scalable/apps/org.mervadon.Galvora.svg
command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert (librsvg2-bin) is needed" >&2; exit 1; }
for size in 16 32 48 64 128 256; do
  mkdir -p "$icons/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" "$svg" -o "$icons/${size}x${size}/apps/org.mervadon.Galvora.png"
done
