#!/usr/bin/env bash
# Pictures processed ahead of their turn on worker threads (GALVORA_SERIAL=0:
# every picture that can be) give the gallery, the log and the messages of
# the run that processes one picture after the other (GALVORA_SERIAL=1): the
# same trees at levels 0, 1 and 2 (real photos in several formats, a broken
# picture, two pictures whose clones share a name, photos stored on their side
# or upside down with an IPTC caption, an empty folder) with the
# default profile, clones with effects, a frame, an image stamp and a plain
# text stamp, a scripted text stamp with a "_clone" hook that draws, clones
# copied unchanged, a second run over existing output, and a run stopped by a
# folder it cannot make. The pages name each picture's camera and caption, so
# the metadata the scripts read must be that of the picture in its turn.
# Outputs are compared with diff -r.
source "$(dirname "$0")/batch_support.sh" "$1"
data=${GALVORA_TESTDATA:-$(dirname "$galvora")/../testdata}
go=$data/images/pkg/golang-golang-x-image-dev/root/usr/share/gocode/src/golang.org/x/image/testdata
exif=$data/images/pkg/exif/package/test
goexif=$data/images/pkg/golang-github-rwcarlsen-goexif-dev/root/usr/share/gocode/src/github.com/rwcarlsen/goexif/exif
for f in "$go/go-turns-two-280x360.jpeg" "$go/blue-purple-pink-large.png" "$go/testpattern.png" "$go/video-001.bmp" \
         "$go/video-001-strip-64.tiff" "$exif/sony-alpha-6000.jpg" "$goexif/sample1.jpg"; do
  [ -f "$f" ] || { echo "FAILED: test picture missing: $f (run scripts/fetch-testdata.sh)"; exit 1; }
done
# Worker threads even where the machine gives this test one processor.
export GALVORA_THREADS=4
# fontconfig keeps its caches to the end of the process (text stamps).
echo 'leak:libfontconfig.so' >"$tmp/lsan-suppressions"
export LSAN_OPTIONS="suppressions=$tmp/lsan-suppressions:print_suppressions=0"

# The trees, made once; every run starts from a copy with the same dates.
master=$tmp/master
pictures() {  # pictures <folder> <which ...>
  local dir=$1; shift
  mkdir -p "$dir"
  for p in "$@"; do
    case $p in
      photo) cp "$goexif/sample1.jpg" "$dir/photo.jpg" ;;
      camera) cp "$exif/sony-alpha-6000.jpg" "$dir/camera.jpg" ;;
      gopher) cp "$go/go-turns-two-280x360.jpeg" "$dir/gopher.jpg" ;;
      png) cp "$go/blue-purple-pink-large.png" "$dir/pink.png" ;;
      pattern) cp "$go/testpattern.png" "$dir/pattern.png" ;;
      bmp) cp "$go/video-001.bmp" "$dir/video.bmp" ;;
      tiff) cp "$go/video-001-strip-64.tiff" "$dir/video.tif" ;;
      broken) head -c 2000 "$goexif/sample1.jpg" >"$dir/broken.jpg" ;;
      same) jpeg "$dir/same.jpg"; cp "$go/testpattern.png" "$dir/same.png" ;;
      small) jpeg "$dir/small1.jpg"; jpeg "$dir/small2.jpg"; jpeg "$dir/small3.jpg" ;;
      turned) cp "$goexif/sample1.jpg" "$dir/turned.jpg"; cp "$exif/sony-alpha-6000.jpg" "$dir/upside.jpg"
              exiftool -q -q -overwrite_original -Orientation#=6 -IPTC:Caption-Abstract='Turned' "$dir/turned.jpg"
              exiftool -q -q -overwrite_original -Orientation#=3 -IPTC:Caption-Abstract='Upside' "$dir/upside.jpg" ;;
    esac
  done
}
pictures "$master/l0" photo camera gopher png pattern bmp tiff broken same small turned
pictures "$master/l1/alpha" photo gopher broken small turned
pictures "$master/l1/beta" png pattern bmp tiff same
mkdir -p "$master/l1/empty"
pictures "$master/l2/g1/a" photo small
pictures "$master/l2/g1/b" gopher png broken turned
pictures "$master/l2/g2/c" tiff same small
# The second directory's clone folder cannot be made: a file stands there.
mkdir -p "$master/blocked/out"
cp -a "$master/l1" "$master/blocked/base"
echo "not a folder" >"$master/blocked/out/beta"
find "$master" -exec touch -h -d '2021-03-04 05:06:07' {} +

# Profiles of the user.
profiles=$XDG_DATA_HOME/galvora/profiles
mkdir -p "$profiles"
shipped=$(dirname "$galvora")/profiles/galerie.qvp
[ -f "$shipped" ] || { echo "FAILED: shipped profile missing: $shipped"; exit 1; }
# galerie.qvp up to its clone-effect list, with the given settings changed.
profile_head() {
  local text
  text=$(sed -n '1,/^IMAGE_EFFECT_DESCRIPTION/p' "$shipped" | sed '$d')
  for change in "$@"; do text=$(printf '%s\n' "$text" | sed "s/^${change%%=*}=.*/$change/"); done
  printf '%s\n' "$text"
}
effect() {  # effect <type> <long values 1..6> <double values 1..3>
  echo "IMAGE_EFFECT_DESCRIPTION=kind $1"
  echo "IMAGE_EFFECT_TYPE=$1"
  local i=1
  for v in $2 $3 $4 $5 $6 $7; do printf 'IMAGE_EFFECT_LONGVALUE_%02d=%s\n' $i "$v"; i=$((i + 1)); done
  i=1
  for v in $8 $9 ${10}; do printf 'IMAGE_EFFECT_DOUBLEVALUE_%02d=%s\n' $i "$v"; i=$((i + 1)); done
}
frame_and_stamps() {  # frame_and_stamps <stamp text>
  sed -n '/^BORDER_DESCRIPTION/,/^BORDER_IMAGE_ARRANGEMENT/p' "$shipped"
  printf '%s\n' "STAMP_IMAGE_DESCRIPTION=pattern" "STAMP_IMAGE=$go/testpattern.png" "STAMP_IMAGE_POSITION=3" \
    "STAMP_IMAGE_OPACITY=70" "STAMP_IMAGE_STRETCH=0"
  sed -n '/^STAMP_TEXT_DESCRIPTION/,/^STAMP_TEXT_BORDER_WIDTH/p' "$shipped" | sed "s|^STAMP_TEXT=.*|STAMP_TEXT=$1|"
}
{
  profile_head CLONE_SIZE=160 CLONE_SELECTED_SIDE=1 THUMB_CLONE=1 CLONE_PRESERVE_DATE=1
  effect 3 9 7 0 0 0 0 0.8 0 0
  effect 5 10 7 0 0 0 0 0.6 2 0
  effect 21 1 0 0 0 0 0 0.4 0 0
  effect 20 3 16 0 0 0 0 0 0 0
  effect 16 500 1 7 0 0 0 0 0 0
  effect 25 2 20 0 0 0 0 0 0 0
  effect 13 0 0 0 0 0 0 0 0 0
  effect 15 6 135 16777215 0 0 4 0 0 0
  effect 22 0 0 0 0 0 0 1.0 0 0
  frame_and_stamps Galvora
} >"$profiles/effekte.qvp"
{
  profile_head CLONE_SIZE=200 CLONE_SELECTED_SIDE=1
  effect 0 50 7 0 0 0 0 0 0 0
  frame_and_stamps '{file} {dimx} {exif(272)}'
  printf '%s\n' '!*haken' '!+function _clone()' '!+{' '!+  drawline(rgb(255, 0, 0), 0, 0, 20, 20);' '!+}'
} >"$profiles/skript.qvp"

# A picture page footer that reads the record of the next picture, which a
# picture processed ahead must not have filled before its turn, and the
# picture's own camera model and caption.
footer='/HTML_PIC_FOOTER=<p>{dimx} {dimy} {thumb_dimx} {size_byte} {imageinfo(count_next_file, @DIMX)} {imageinfo(count_next_file, @THUMBDIMX)} {exif(272)} {iptc(120)}</p>'
filters=(/JPG=1 /PNG=1 /BMP=1 /TIF=1 /LAUNCH_BROWSER=0)

# run <label> <serial> <tree> <level> <switches...>: the pictures and the
# output (below the pictures, or in out/ beside them where clones are made)
# go to $tmp/<label>, the log without its times to $tmp/<label>.log, the
# messages without the run time to $tmp/<label>.err. With <tree> "again" the
# run goes over what the run labelled <label>-first left.
run() {
  local label=$1 serial=$2 tree=$3 level=$4
  shift 4
  rm -rf "$tmp/work"
  if [ "$tree" = again ]; then
    cp -a "$tmp/$label-first" "$tmp/work"
  elif [ -d "$master/$tree/base" ]; then
    cp -a "$master/$tree" "$tmp/work"
  else
    mkdir -p "$tmp/work" && cp -a "$master/$tree" "$tmp/work/base"
  fi
  GALVORA_SERIAL=$serial "$galvora" /Profile="$profile" "/Basedir=$tmp/work/base" "/Level=$level" \
    "/Logfile=$tmp/run.log" "/CLONE_PATH=$tmp/work/out" "$@" >"$tmp/out" 2>"$tmp/err"
  echo "status $?" >"$tmp/$label.err"
  grep -v 'Laufzeit' "$tmp/err" >>"$tmp/$label.err"
  sed -E 's/^[0-9.]+ [0-9:]+ //' "$tmp/run.log" >"$tmp/$label.log"
  rm -rf "${tmp:?}/$label" && mv "$tmp/work" "$tmp/$label"
}
compare() {  # compare <what> <tree> <level> <switches...>
  local what=$1
  shift
  run "serial" 1 "$@"
  run "pipeline" 0 "$@"
  check "$what: same files" 'diff -r "$tmp/serial" "$tmp/pipeline"'
  check "$what: same log" 'diff "$tmp/serial.log" "$tmp/pipeline.log"'
  check "$what: same messages and status" 'diff "$tmp/serial.err" "$tmp/pipeline.err"'
  check "$what: pictures made" '[ -n "$(find "$tmp/pipeline" -path "*/thumbs/*" -type f)" ] && grep -q "^status [04]" "$tmp/pipeline.err"'
}

profile=Voreinstellung
for level in 0 1 2; do compare "default profile, level $level" "l$level" "$level" "${filters[@]}" "$footer"; done
check "default profile: the broken picture is reported" 'grep -q "Image-Error.*broken.jpg" "$tmp/pipeline.log"'
check "default profile: pages name the camera and caption" \
  'grep -rq "NIKON D2H Turned" "$tmp/pipeline" && grep -rq "ILCE-6000 Upside" "$tmp/pipeline"'
check "default profile: the turned photo's thumbnail stands upright" \
  '[ "$(identify -format %wx%h "$(find "$tmp/pipeline" -path "*/thumbs/*" -name turned.jpg)")" = 90x120 ]'
compare "copied clones, thumbnails from them" l2 2 "${filters[@]}" "$footer" /GENERATE_CLONES=1 /CLONE_CONVERT=0 \
  /CLONE_SELECTED_SIDE=0 /THUMB_CLONE=1

profile=effekte
for mode in serial pipeline; do
  run "$mode-first" "$([ $mode = serial ] && echo 1 || echo 0)" l1 1 "${filters[@]}" "$footer"
done
check "effects: same files" 'diff -r "$tmp/serial-first" "$tmp/pipeline-first"'
check "effects: same log" 'diff "$tmp/serial-first.log" "$tmp/pipeline-first.log"'
check "effects: clones made" '[ "$(find "$tmp/pipeline-first/out/alpha" -maxdepth 1 -name "*.jpg" | wc -l)" -ge 5 ]'
# Over the existing output: clones up to date are kept, the rest remade.
run serial 1 again 1 "${filters[@]}" "$footer" /CLONE_ONLY_IF_NEWER=1
run pipeline 0 again 1 "${filters[@]}" "$footer" /CLONE_ONLY_IF_NEWER=1
check "effects again: same files" 'diff -r "$tmp/serial" "$tmp/pipeline"'
check "effects again: same log" 'diff "$tmp/serial.log" "$tmp/pipeline.log"'
check "effects again: same messages and status" 'diff "$tmp/serial.err" "$tmp/pipeline.err"'
compare "effects, level 2" l2 2 "${filters[@]}" "$footer"
# A run that stops at a folder it cannot make leaves nothing of the pictures
# taken ahead beyond that point.
run serial 1 blocked 1 "${filters[@]}" "$footer"
run pipeline 0 blocked 1 "${filters[@]}" "$footer"
check "stopped run: same files" 'diff -r "$tmp/serial" "$tmp/pipeline"'
check "stopped run: same log" 'diff "$tmp/serial.log" "$tmp/pipeline.log"'
check "stopped run: same messages and status" 'diff "$tmp/serial.err" "$tmp/pipeline.err"'
check "stopped run: stopped" 'grep -q "^status 1" "$tmp/pipeline.err" && [ -z "$(find "$tmp/pipeline" -path "*beta*" -name "*.jpg" -not -path "*/base/*")" ]'

profile=skript
compare "hook and scripted stamp" l0 0 "${filters[@]}" "$footer"

exit $fail
