#!/usr/bin/env bash
# Takes a screenshot of the real main window under a virtual X server, over
# the demo's photos at level 1, for the README.
#   scripts/window-screenshot.sh <galvora binary> <picture.png>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
galvora=$(realpath "${1:?galvora binary}")
target=$(realpath -m "${2:?picture.png}")
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
mkdir -p "$HOME" "$XDG_DATA_HOME/galvora/profiles" "$XDG_CONFIG_HOME/galvora"

# Two picture folders: the wallpapers and the camera photo.
bash "$here/sample-pictures.sh" "$tmp/pictures" >/dev/null
mkdir -p "$HOME/Fotos/Landschaften" "$HOME/Fotos/Kamera"
find "$tmp/pictures" -maxdepth 1 -type f ! -name 'sony-*' -exec mv {} "$HOME/Fotos/Landschaften/" \;
mv "$tmp/pictures"/sony-* "$HOME/Fotos/Kamera/"

# A profile at level 1 and a window of 750 x 560 pixels with a wider tree.
printf 'VERSION=2.11.02\r\nDIR_LEVEL=1\r\n' >"$XDG_DATA_HOME/galvora/profiles/Galerie.qvp"
printf '[Administration]\r\nfwidth=11250\r\nfheigth=8400\r\npwidth=5250\r\n' >"$XDG_CONFIG_HOME/galvora/registry.ini"

# The window runs the gallery as a batch run with the control picture on and
# closes at its end; the screen is taken once a few thumbnails are made.
export tmp galvora HOME
xvfb-run -a -s "-screen 0 1024x720x24" bash -c '
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  "$galvora" /Profile=Galerie "/Basedir=$HOME/Fotos" /Level=1 /Controlimage=1 /LAUNCH_BROWSER=0 \
    >"$tmp/galvora.log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    made=$(find "$HOME/Fotos/thumbs" -name "*.jpg" 2>/dev/null | wc -l)
    if [ "$made" -ge 4 ]; then import -window root "$tmp/shot.png"; break; fi
    sleep 0.05
  done
  wait "$pid" || true
'
[ -s "$tmp/shot.png" ] || { echo "the run ended before the screen was taken" >&2; cat "$tmp/galvora.log" >&2; exit 1; }
mkdir -p "$(dirname "$target")"
# The screen around the window is black; a palette of 64 colours keeps the picture small.
convert "$tmp/shot.png" -trim +repage -strip -colors 64 "$target"
echo "screenshot: $target"
