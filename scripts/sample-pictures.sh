#!/usr/bin/env bash
# Real photos for the demo and the benchmark, fetched by package name and
# cached in build/demo/cache: the "nature" wallpapers of Debian's
# mate-backgrounds and the 24-megapixel camera JPEG of npm exif@0.6.0.
#   scripts/sample-pictures.sh <folder>   copies the photos into the folder
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
dest=$(realpath -m "${1:?folder}")
cache=$root/build/demo/cache
mkdir -p "$cache"

# apt fetches as its own user, so the folder is open to it; a machine whose
# package lists are still empty gets them once.
if [ ! -e "$cache/mate-backgrounds.done" ]; then
  rm -rf "$cache/mate-backgrounds" && mkdir -p "$cache/mate-backgrounds"
  (
    cd "$cache/mate-backgrounds"
    chmod 0777 .
    apt-get download mate-backgrounds >/dev/null 2>&1 ||
      { apt-get update -q >/dev/null && apt-get download mate-backgrounds >/dev/null; }
    dpkg-deb -x ./*.deb root && rm -f ./*.deb
  )
  touch "$cache/mate-backgrounds.done"
fi
if [ ! -e "$cache/exif.done" ]; then
  rm -rf "$cache/exif" && mkdir -p "$cache/exif"
  ( cd "$cache/exif" && npm pack exif@0.6.0 --silent >/dev/null && tar -xzf ./*.tgz && rm -f ./*.tgz )
  touch "$cache/exif.done"
fi

nature=$(find "$cache/mate-backgrounds/root" -type d -name nature | head -n 1)
[ -n "$nature" ] || { echo "mate-backgrounds has no nature folder" >&2; exit 1; }
mkdir -p "$dest"
find "$nature" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -exec cp {} "$dest/" \;
cp "$cache/exif/package/test/sony-alpha-6000.jpg" "$dest/"
