#!/usr/bin/env bash
# Photos taken upright or mirrored (EXIF orientation 1 to 8) get thumbnails
# and clones that stand as browsers show the original: the goexif letters
# f1..f8 all look like f1, and copies of a real camera photo with each
# orientation set by exiftool look like ImageMagick's -auto-orient of it.
# Processed clones carry the metadata with the orientation reset to 1; clones
# copied unchanged keep theirs, and thumbnails made from them stand upright
# too. A second run over the same photos rewrites nothing. (Deliberately so:
# taken as stored, a photo shot with the camera turned would lie on its side
# in the gallery while browsers show the original upright.)
source "$(dirname "$0")/batch_support.sh" "$1"
testdata=$(cd "$(dirname "$galvora")/.." && pwd)/testdata

photos=$tmp/photos
mkdir -p "$photos"
for n in 1 2 3 4 5 6 7 8; do
  f=$testdata/goexif/samples/f$n-exif.jpg
  [ -f "$f" ] || { echo "FAILED: $f is missing (scripts/fetch-testdata.sh fetches it)"; exit 1; }
  cp "$f" "$photos/"
  cp "$testdata/exif-npm/test1.jpg" "$photos/photo-$n.jpg"
  exiftool -q -q -overwrite_original "-Orientation#=$n" "$photos/photo-$n.jpg"
done

# Root mean square difference of two pictures, 0 to 1.
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
similar() { awk -v d="$(rmse "$1" "$2")" 'BEGIN { exit !(d < 0.06) }'; }
size() { identify -format '%wx%h' "$1"; }
stat_line() { grep -c "^0 $1 wurden erstellt" "$tmp/err"; }

run() {  # output folder, switches...
  local out=$1
  shift
  "$galvora" /Profile=Voreinstellung "/Basedir=$photos" /Level=0 /GENERATE_CLONES=1 "/CLONE_PATH=$out" \
    /THUMB_SIZE=60 "$@" >"$tmp/out" 2>"$tmp/err"; rc=$?
}

# --- processed clones (resized, metadata copied) and thumbnails from the originals
out=$tmp/processed
run "$out" /CLONE_SELECTED_SIDE=1 /CLONE_SIZE=160 /CLONE_METADATA=1
check "processed: status 0" '[ $rc -eq 0 ] || { tail -5 "$tmp/err"; false; }'
convert "$photos/f1-exif.jpg" -resize '30x60!' "$tmp/f-upright.png"
for n in 1 2 3 4 5 6 7 8; do
  thumb=$out/thumbs/./f$n-exif.jpg
  check "f$n: thumbnail 30x60" '[ "$(size "$thumb")" = 30x60 ]'
  check "f$n: thumbnail looks like f1" 'similar "$thumb" "$tmp/f-upright.png"'
  check "f$n: clone 80x160" '[ "$(size "$out/f$n-exif.jpg")" = 80x160 ]'

  photo=$photos/photo-$n.jpg
  if [ $n -ge 5 ]; then thumb_size=45x60 clone_size=120x160; else thumb_size=60x45 clone_size=160x120; fi
  convert "$photo" -auto-orient -resize "$thumb_size!" "$tmp/thumb-ref.png"
  convert "$photo" -auto-orient -resize "$clone_size!" "$tmp/clone-ref.png"
  thumb=$out/thumbs/./photo-$n.jpg clone=$out/photo-$n.jpg
  check "photo $n: thumbnail $thumb_size" '[ "$(size "$thumb")" = "$thumb_size" ]'
  check "photo $n: thumbnail stands as the original is shown" 'similar "$thumb" "$tmp/thumb-ref.png"'
  check "photo $n: clone $clone_size" '[ "$(size "$clone")" = "$clone_size" ]'
  check "photo $n: clone stands as the original is shown" 'similar "$clone" "$tmp/clone-ref.png"'
  check "photo $n: clone's metadata says upright" '[ "$(exiftool -s3 -n -Orientation "$clone")" = 1 ]'
  check "photo $n: clone keeps the camera's metadata" '[ "$(exiftool -s3 -Model "$clone")" = "iPhone 4S" ]'
  w=${thumb_size%x*} h=${thumb_size#*x}
  check "photo $n: its cell gives the upright size" \
    'tr -d "\r" <"$out/html/default.html" | grep -q "photo-$n.jpg\" style=\"border-style:none\" width=\"$w\" height=\"$h\""'
done
run "$out" /CLONE_SELECTED_SIDE=1 /CLONE_SIZE=160 /CLONE_METADATA=1
check "processed, second run: status 0" '[ $rc -eq 0 ]'
check "processed, second run: no clone and no thumbnail rewritten" \
  '[ "$(stat_line Clones)" = 1 ] && [ "$(stat_line Thumbnails)" = 1 ]'

# --- clones copied unchanged, thumbnails made from the clones
out=$tmp/copied
run "$out" /CLONE_SELECTED_SIDE=0 /THUMB_CLONE=1
check "copied: status 0" '[ $rc -eq 0 ] || { tail -5 "$tmp/err"; false; }'
for n in 1 2 3 4 5 6 7 8; do
  check "photo $n: clone is the original, byte for byte" 'cmp -s "$out/photo-$n.jpg" "$photos/photo-$n.jpg"'
  if [ $n -ge 5 ]; then thumb_size=45x60; else thumb_size=60x45; fi
  convert "$photos/photo-$n.jpg" -auto-orient -resize "$thumb_size!" "$tmp/thumb-ref.png"
  check "photo $n: thumbnail from the copied clone stands upright" \
    '[ "$(size "$out/thumbs/./photo-$n.jpg")" = "$thumb_size" ] && similar "$out/thumbs/./photo-$n.jpg" "$tmp/thumb-ref.png"'
done
run "$out" /CLONE_SELECTED_SIDE=0 /THUMB_CLONE=1
check "copied, second run: no clone and no thumbnail rewritten" \
  '[ $rc -eq 0 ] && [ "$(stat_line Clones)" = 1 ] && [ "$(stat_line Thumbnails)" = 1 ]'

exit $fail
