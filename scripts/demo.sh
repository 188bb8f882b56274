#!/usr/bin/env bash
# The main job on real photos (scripts/sample-pictures.sh): batch gallery
# runs with the shipped profiles "album" (pages in German) and
# "gallery-english" (pages in English) over the photos sorted into three
# albums (build/demo/Fotoalbum/), and one with the built-in default profile
# over the same photos in one folder (build/demo/pictures/). Prints the first
# page of each and writes screenshots of the album's first page and of a
# picture page at phone and desktop size, and of a picture page of the
# English gallery at desktop size, into build/demo/.
#   scripts/demo.sh [build folder]   (default build/release)
set -euo pipefail
# The batch job without windows, also on a desktop.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/release}")
galvora=$build/bin/galvora
[ -x "$galvora" ] || { echo "galvora is not built in $build (run: make demo)" >&2; exit 1; }

demo=$root/build/demo
pictures=$demo/pictures
albums=$demo/Fotoalbum
rm -rf "$pictures" "$albums"
"$here/sample-pictures.sh" "$pictures"

# The albums, by the photos' names; a photo not named here goes to "Natur".
album_of() {
  case $1 in
    FreshFlower* | Garden* | LadyBird* | TwoWings* | YellowFlower*) echo "Blüten" ;;
    Aqua* | Blinds* | GreenMeadow* | RainDrops* | Wood*) echo "Grün & Wasser" ;;
    Dune* | Storm* | sony-alpha-6000*) echo "Unterwegs" ;;
    *) echo "Natur" ;;
  esac
}
for photo in "$pictures"/*; do
  name=$(basename "$photo")
  mkdir -p "$albums/$(album_of "$name")"
  cp "$photo" "$albums/$(album_of "$name")/$name"
done

# A user of its own, so that the runs start from the shipped and built-in
# settings whatever this machine's user has chosen.
user=$demo/user
rm -rf "$user"
export XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_STATE_HOME=$user/state
unset DISPLAY WAYLAND_DISPLAY

run() {  # label log switches... -> prints the first page; progress goes to the log
  local label=$1 log=$2 start end first
  shift 2
  start=$(date +%s.%N)
  first=$("$galvora" "/Logfile=$demo/$log.log" "$@" 2>"$demo/$log.err") ||
    { cat "$demo/$log.err" >&2; echo "the $label run failed (log: $demo/$log.log)" >&2; exit 1; }
  end=$(date +%s.%N)
  [ -f "$first" ] || { echo "the $label run wrote no page (log: $demo/$log.log)" >&2; exit 1; }
  awk -v l="$label" -v a="$start" -v b="$end" 'BEGIN { printf "%s: %.1f s\n", l, b - a }' >&2
  echo "$first"
}

count=$(find "$pictures" -maxdepth 1 -type f | wc -l)
echo "$count photos"
album_first=$(run "profile album, 3 albums (level 1)" album /Profile=album "/Basedir=$albums" /Level=1)
gallery_first=$(run "profile gallery-english, 3 albums (level 1)" gallery /Profile=gallery-english "/Basedir=$albums" /Level=1)
default_first=$(run "default profile, one folder (level 0)" default /Profile=Voreinstellung "/Basedir=$pictures" /Level=0)

# Screenshots of the album's first page and of a picture page with its
# camera data, at phone and desktop size, and of the same picture page of
# the English gallery.
picture_page() {  # first page of a gallery
  local page=$(dirname "$1")/Unterwegs/sony-alpha-6000.html
  [ -f "$page" ] || page=$(find "$(dirname "$1")" -mindepth 2 -name '*.html' | sort | head -n 1)
  echo "$page"
}
album_picture=$(picture_page "$album_first")
gallery_picture=$(picture_page "$gallery_first")
shots=(album-first-page-desktop album-first-page-phone album-picture-page-desktop album-picture-page-phone
       gallery-english-picture-page-desktop)
python3 "$here/gallery-browser.py" shoot \
  "$album_first" "$demo/${shots[0]}.png" 1280x800 "$album_first" "$demo/${shots[1]}.png" 390x844m \
  "$album_picture" "$demo/${shots[2]}.png" 1280x800 "$album_picture" "$demo/${shots[3]}.png" 390x844m \
  "$gallery_picture" "$demo/${shots[4]}.png" 1280x800 ||
  { echo "no screenshots: headless chromium failed" >&2; exit 1; }
for shot in "${shots[@]}"; do echo "screenshot: $demo/$shot.png"; done

echo "first page (album profile): $album_first"
echo "first page (gallery-english profile): $gallery_first"
echo "first page (default profile): $default_first"
