#!/usr/bin/env bash
# Faults a photographer meets in the first batch runs, each through the real
# program: a relative base folder, the program's own output taken for
# pictures, clones with frames and effects remade on every run, a side choice
# that gives no scale factor, unreadable pictures, overrides that name no
# setting or give a switch no number, pictures sharing a base name, the page
# reference of a renamed page, script modules that begin with empty lines,
# month and weekday names of the user's locale, a mosaic cell larger than 99,
# and the default profile's name and a script's limit after a change of
# language.
source "$(dirname "$0")/batch_support.sh" "$1"
galvora=$(realpath "$galvora")
testdata=$(cd "$(dirname "$galvora")/.." && pwd)/testdata
# glibc keeps the locale path list it builds for LOCPATH for the life of the process
printf 'leak:libfontconfig.so\nleak:__argz_add_sep\n' >"$tmp/lsan.supp"
export LSAN_OPTIONS="suppressions=$tmp/lsan.supp"

run() {  # switches...; status in rc, messages in $tmp/err
  "$galvora" "$@" >"$tmp/out" 2>"$tmp/err"; rc=$?
}
stat_count() { tr -d '\r' <"$tmp/err" | sed -n "s/^\([0-9,]*\) $1 wurden .*/\1/p" | tail -1; }
picture() {  # path width height colour
  mkdir -p "$(dirname "$1")"
  convert -size "$2x$3" "xc:$4" -fill white -draw "circle 6,6 9,9" "$1"
}
profile() {  # name; the profile text on stdin
  mkdir -p "$XDG_DATA_HOME/galvora/profiles"
  cat >"$XDG_DATA_HOME/galvora/profiles/$1.qvp"
}

# --- a relative base folder is taken from the current folder
for given in R1 ./R1 R1/; do
  rm -rf "$tmp/R1"
  jpeg "$tmp/R1/a.jpg"
  (cd "$tmp" && "$galvora" /Profile=Voreinstellung "/Basedir=$given" /Level=0 >"$tmp/out" 2>"$tmp/err"); rc=$?
  check "base folder '$given': status 0" '[ $rc -eq 0 ] || { tail -3 "$tmp/err"; false; }'
  check "base folder '$given': the gallery is in R1" '[ -f "$tmp/R1/html/a.html" ] && [ -f "$tmp/R1/thumbs/a.jpg" ]'
done

# --- the program's output folders are never picture directories, at any
# level and with the output inside the base folder or the base folder itself
# as the output; the navigation icons (GIF) would match the file filter.
outputs() {  # level base switches...
  local level=$1 base=$2
  shift 2
  run /Profile=Voreinstellung "/Basedir=$base" "/Level=$level" /GIF=1 "$@"
  first=$(stat_count Verzeichnisse)/$(stat_count Bilder)/$(pages_in "$base")
  first_rc=$rc
  cp "$tmp/err" "$tmp/err.first"
  run /Profile=Voreinstellung "/Basedir=$base" "/Level=$level" /GIF=1 "$@"
  second=$(stat_count Verzeichnisse)/$(stat_count Bilder)/$(pages_in "$base")
}
level1_base() {
  rm -rf "$tmp/o"
  jpeg "$tmp/o/top.jpg"; jpeg "$tmp/o/alpha/a1.jpg"; jpeg "$tmp/o/alpha/a2.jpg"; jpeg "$tmp/o/beta/b1.jpg"
}
level1_base
outputs 1 "$tmp/o"
check "level 1, output in the base folder: the second run takes the same 2 folders, 3 pictures ($first, then $second)" \
  '[ "$rc" -eq 0 ] && [ "$first" = "$second" ] && [ "${first%/*}" = 2/3 ]'
# A level-0 run puts clones into web/ itself; a level-1 run then must not take web/ for an album.
level1_base
run /Profile=Voreinstellung "/Basedir=$tmp/o" /Level=0 /GIF=1 /GENERATE_CLONES=1 /CLONE_PATH=web
outputs 1 "$tmp/o" /GENERATE_CLONES=1 /CLONE_PATH=web
check "level 1, clones in web/: only alpha and beta ($first, then $second)" \
  '[ "$rc" -eq 0 ] && [ "$first" = "$second" ] && [ "${first%/*}" = 2/3 ]'
check "level 1, clones in web/: no album of the clone folder or the icons" \
  '[ ! -e "$tmp/o/web/html/web.html" ] && [ ! -e "$tmp/o/web/html/deco.html" ] && [ ! -e "$tmp/o/web/web" ]'
rm -rf "$tmp/o"
jpeg "$tmp/o/2024/sommer/s1.jpg"; jpeg "$tmp/o/2024/sommer/s2.jpg"; jpeg "$tmp/o/2024/winter/w1.jpg"
outputs 2 "$tmp/o" /GENERATE_CLONES=1 /CLONE_PATH=web
# On a failure the runs' own messages say which picture was not counted.
check "level 2, clones in web/: the second run takes the same 2 folders, 3 pictures ($first, then $second)" \
  '[ "$rc" -eq 0 ] && [ "$first" = "$second" ] && [ "${first%/*}" = 2/3 ] ||
   { echo "  status $first_rc, then $rc"; tr -d "\r" <"$tmp/err.first" | grep -v "wurden" | tail -8
     tr -d "\r" <"$tmp/err" | grep -v "wurden" | tail -8; false; }'
check "level 2, clones in web/: no page for web/deco, web/thumbs or web/html" \
  '[ "$(ls "$tmp/o/web/html")" = 2024 ] && [ "$(ls "$tmp/o/web/html/2024" | tr "\n" " ")" = "sommer sommer.html winter winter.html " ]'

# --- "only if newer": a second run over unchanged originals rewrites no clone
# and no thumbnail, with frames, drop shadow, a quarter turn and stamps
# (deliberately: the design compares a clone with the size before frames,
# shadows and turns, finds it wrong every time and makes every clone again)
picture "$tmp/stamp.png" 16 16 '#ff0000'
profile effekte <<EOF
VERSION=2.11.02
GENERATE_CLONES=1
CLONE_PATH=web
CLONE_ONLY_IF_NEWER=1
CLONE_SELECTED_SIDE=1
CLONE_SIZE=120
THUMB_CLONE=1
BORDER_DESCRIPTION=Rahmen
BORDER_TYPE=1
BORDER_POSITION=15
BORDER_COLOR=16777215
BORDER_WIDTH=6
BORDER_OPACITY=100
IMAGE_EFFECT_DESCRIPTION=Schatten
IMAGE_EFFECT_TYPE=15
IMAGE_EFFECT_LONGVALUE_01=8
IMAGE_EFFECT_LONGVALUE_02=135
IMAGE_EFFECT_LONGVALUE_03=16777215
IMAGE_EFFECT_LONGVALUE_05=0
IMAGE_EFFECT_LONGVALUE_06=5
IMAGE_EFFECT_DESCRIPTION=Drehen
IMAGE_EFFECT_TYPE=13
IMAGE_EFFECT_LONGVALUE_01=0
STAMP_TEXT_DESCRIPTION=Schriftzug
STAMP_TEXT={file}
STAMP_TEXT_FONT=DejaVu Sans
STAMP_TEXT_HEIGHT=10
STAMP_TEXT_POSITION=9
STAMP_TEXT_OPACITY=60
STAMP_IMAGE_DESCRIPTION=Marke
STAMP_IMAGE=$tmp/stamp.png
STAMP_IMAGE_POSITION=1
STAMP_IMAGE_OPACITY=50
EOF
for case in "galerie" "effekte"; do
  rm -rf "$tmp/e"
  picture "$tmp/e/wide.jpg" 300 200 '#3366aa'; picture "$tmp/e/tall.jpg" 200 300 '#aa6633'
  touch -d '2020-01-01 12:00' "$tmp/e"/*.jpg
  run "/Profile=$case" "/Basedir=$tmp/e" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_ONLY_IF_NEWER=1 /THUMB_CLONE=1
  made=$(stat_count Clones)/$(stat_count Thumbnails)
  before=$(stat -c '%n %Y %i' "$tmp/e/web"/*.jpg "$tmp/e/web/thumbs"/*.jpg)
  sleep 1
  run "/Profile=$case" "/Basedir=$tmp/e" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_ONLY_IF_NEWER=1 /THUMB_CLONE=1
  check "$case: first run makes 2 clones and 2 thumbnails ($made)" '[ "$made" = 2/2 ]'
  check "$case: the second run makes none" '[ $rc -eq 0 ] && [ "$(stat_count Clones)/$(stat_count Thumbnails)" = 0/0 ]'
  check "$case: no file rewritten" '[ "$before" = "$(stat -c "%n %Y %i" "$tmp/e/web"/*.jpg "$tmp/e/web/thumbs"/*.jpg)" ]'
  touch "$tmp/e/wide.jpg"
  run "/Profile=$case" "/Basedir=$tmp/e" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_ONLY_IF_NEWER=1 /THUMB_CLONE=1
  check "$case: a newer original is made again" '[ "$(stat_count Clones)" = 1 ]'
  run "/Profile=$case" "/Basedir=$tmp/e" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_ONLY_IF_NEWER=1 /THUMB_CLONE=1 /CLONE_SELECTED_SIDE=1 /CLONE_SIZE=150
  check "$case: another clone size makes every clone again" '[ "$(stat_count Clones)" = 2 ]'
done
check "effekte: frame, shadow and quarter turn give the clone its size" \
  '[ "$(identify -format %wx%h "$tmp/e/web/wide.jpg")" = "$(identify -format %wx%h "$tmp/e/web/tall.jpg" | awk -Fx "{print \$2 \"x\" \$1}")" ]'

# --- a side choice that gives no scale factor (a 5 in a profile edited by
# hand) keeps the picture's size (deliberately: multiplied by the factor 0,
# as the design does, the clone and the thumbnail would be 0 x 0 pixels)
rm -rf "$tmp/z"
picture "$tmp/z/a.jpg" 60 40 '#3366aa'
run /Profile=Voreinstellung "/Basedir=$tmp/z" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=web \
  /CLONE_SELECTED_SIDE=5 /THUMB_SELECTED_SIDE=5
check "side choice 5: status 0, clone and thumbnail of the picture's size" \
  '[ $rc -eq 0 ] && [ "$(identify -format %wx%h "$tmp/z/web/a.jpg")" = 60x40 ] &&
   [ "$(identify -format %wx%h "$tmp/z/web/thumbs/a.jpg")" = 60x40 ] || { echo "status $rc"; tail -3 "$tmp/err"; false; }'

# --- pictures that cannot be read are left out of pages and counts, named on
# stderr and in the log, and the run ends with status 4 (deliberately: a page
# for them would show a broken picture and count a photo that is not there)
rm -rf "$tmp/u"
mkdir -p "$tmp/u"
cp "$testdata/exif-npm/test1.jpg" "$testdata/exif-npm/test3.jpg" "$tmp/u/"
cp "$testdata/goexif/samples/2004-01-11-22-45-15-sep-2004-01-11-22-45-15a.jpg" "$tmp/u/exif-only.jpg"
: >"$tmp/u/empty.jpg"
echo "no picture" >"$tmp/u/text.jpg"
head -c 1000 "$testdata/exif-npm/test2.jpg" >"$tmp/u/cut-head.jpg"
head -c 3000000 "$testdata/exif-npm/sony-alpha-6000.jpg" >"$tmp/u/cut-data.jpg"
# Damaged data inside a complete file shows only while it is decoded: named
# and counted as failed, not as made.
cp "$testdata/exif-npm/test2.jpg" "$tmp/u/damaged.jpg"
printf '\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377\377' | dd of="$tmp/u/damaged.jpg" bs=1 seek=8000 conv=notrunc 2>/dev/null
run /Profile=Voreinstellung "/Basedir=$tmp/u" /Level=0 "/Logfile=$tmp/u.log"
check "unreadable: status 4" '[ $rc -eq 4 ]'
for bad in exif-only empty text cut-head cut-data; do
  check "unreadable: $bad named on stderr and in the log" \
    'grep -q "Image-Error .*$tmp/u/\./$bad.jpg" "$tmp/err" && grep -q "Image-Error .*$tmp/u/\./$bad.jpg" "$tmp/u.log"'
  check "unreadable: $bad has no page, no thumbnail and no cell" \
    '[ ! -e "$tmp/u/html/$bad.html" ] && [ ! -e "$tmp/u/thumbs/$bad.jpg" ] && ! grep -q "$bad\.jpg" "$tmp/u/html/default.html"'
done
check "unreadable: damaged named on stderr and in the log" \
  'grep -q "Image-Error .*$tmp/u/\./damaged.jpg" "$tmp/err" && grep -q "Image-Error .*$tmp/u/\./damaged.jpg" "$tmp/u.log"'
check "unreadable: 2 pictures counted as made, 2 thumbnails" '[ "$(stat_count Bilder)" = 2 ] && [ "$(stat_count Thumbnails)" = 2 ]'
check "unreadable: the good pictures have their pages" '[ -f "$tmp/u/html/test1.html" ] && [ -f "$tmp/u/html/test3.html" ]'
check "the README names status 4" 'grep -q "^| 4 | the gallery is complete, but some pictures could not be read" "$(dirname "$0")/../../README.md"'

# --- overrides that name no setting, or give a setting that holds a number
# something else: a message naming the key, status 2, nothing written
# (deliberately refused: a mistyped switch would otherwise be ignored without
# a word, or a number setting taken as 0)
make_base
for case in "/THUMB_SIZ=200|THUMB_SIZ" "/PNG=abc|PNG = \"abc\" is not a number" "/JPG=|JPG = \"\" is not a number" \
            "/GENERATE_CLONES=yes|GENERATE_CLONES = \"yes\" is not a number" \
            "/THUMB_SIZE=abc|THUMB_SIZE = \"abc\" is not a number" "/\$THUMB_SIZE=x|THUMB_SIZE = \"x120\" is not a number"; do
  switch=${case%%|*} message=${case#*|}
  run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 "$switch"
  check "$switch: status 2" '[ $rc -eq 2 ]'
  check "$switch: message" 'grep -qF "$message" "$tmp/err"'
  check "$switch: nothing written" '[ "$(pages_in "$tmp/base")" -eq 0 ] && [ ! -e "$tmp/base/thumbs" ]'
done
run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 /THUMB_SIZ=200
check "unknown key: the message names it" 'grep -qx "THUMB_SIZ" "$tmp/err" && grep -q "im Profil nicht vorhanden" "$tmp/err"'

# --- originals sharing a base name each get their own thumbnail and page
# (deliberately: named by the base name alone, as the design names them,
# a.jpg, a.bmp and a.tif would write one page and one thumbnail over another,
# and every page would show the last picture)
rm -rf "$tmp/s"
picture "$tmp/s/a.jpg" 40 30 '#ff0000'; picture "$tmp/s/a.bmp" 40 30 '#00ff00'; picture "$tmp/s/a.tif" 40 30 '#0000ff'
picture "$tmp/s/a_bmp.jpg" 40 30 '#ffff00'
red() { convert "$1" -format '%[fx:int(255*mean.r)],%[fx:int(255*mean.g)],%[fx:int(255*mean.b)]' info:; }
dominant() { red "$1" | awk -F, '{ if ($1 > 150 && $2 > 150) print "yellow"; else if ($1 > 150) print "red"; else if ($2 > 150) print "green"; else print "blue" }'; }
for clones in "/GENERATE_CLONES=0" "/GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_CONVERT=1"; do
  root=$tmp/s
  [ "${clones#*CLONE_PATH}" != "$clones" ] && root=$tmp/s/web
  # shellcheck disable=SC2086
  run /Profile=Voreinstellung "/Basedir=$tmp/s" /Level=0 /BMP=1 /TIF=1 $clones
  check "$clones: status 0" '[ $rc -eq 0 ] || { tail -3 "$tmp/err"; false; }'
  colours=""
  for page in "$root"/html/*.html; do
    [ "$(basename "$page")" = default.html ] && continue
    src=$(tr -d '\r' <"$page" | grep -o '<img src="[^"]*"' | grep -v '\.gif"$' | head -1 | sed 's/<img src="\([^"]*\)"/\1/')
    colours="$colours $(dominant "$(dirname "$page")/$src")"
  done
  thumbs=""
  for t in "$root"/thumbs/*.jpg; do thumbs="$thumbs $(dominant "$t")"; done
  check "$clones: four pages, each showing its own picture ($colours)" \
    '[ "$(echo $colours | tr " " "\n" | sort | tr "\n" " ")" = "blue green red yellow " ]'
  check "$clones: four thumbnails of four colours ($thumbs)" \
    '[ "$(echo $thumbs | tr " " "\n" | sort | tr "\n" " ")" = "blue green red yellow " ]'
  check "$clones: the thumbnail page links four pages and four thumbnails" \
    '[ "$(tr -d "\r" <"$root/html/default.html" | grep -o "href=\"[^\"]*\.html\"" | sort -u | wc -l)" -ge 4 ] &&
     [ "$(tr -d "\r" <"$root/html/default.html" | grep -o "src=\"[^\"]*thumbs/[^\"]*\"" | sort -u | wc -l)" -eq 4 ]'
done

# --- @DOCREF names the page as it was written, also with the "_pic" suffix a
# clash with the thumbnail page's name gives it at level 0
rm -rf "$tmp/d"
jpeg "$tmp/d/default.jpg"; jpeg "$tmp/d/other.jpg"
run /Profile=Voreinstellung "/Basedir=$tmp/d" /Level=0 \
  '/HTML_THUMB_PIC_TAG=<a class="docref" href="{imageinfo(0, count_cur_all_files, @DOCREF)}">{file}</a>'
check "docref: status 0" '[ $rc -eq 0 ]'
refs=$(tr -d '\r' <"$tmp/d/html/default.html" | grep -o 'class="docref" href="[^"]*"' | sed 's/.*href="\(.*\)"/\1/')
check "docref: two references" '[ "$(echo "$refs" | wc -l)" -eq 2 ]'
check "docref: the clashing picture's page is default_pic.html" 'echo "$refs" | grep -q "default_pic.html$"'
for ref in $refs; do check "docref: $ref reaches its page" '[ -f "$tmp/d/html/$ref" ]'; done

# --- a script module that begins with empty lines keeps them, in a profile
# and in a script file alike, so a compile error names the line the file
# shows (deliberately: dropped, every later line would move up and the
# message point at a line above the faulty one)
make_base
profile fuehrend <<'EOF'
VERSION=2.11.02
!*eigen
!+
!+
!+function g( {
EOF
run /Profile=fuehrend "/Basedir=$tmp/base" /Level=1
check "profile module with leading empty lines: the error is on line 3" \
  'tr -d "\r" <"$tmp/err" | grep -qx "in Zeile: 3" || { tr -d "\r" <"$tmp/err" | grep -B3 "Zeile"; false; }'
printf '!*werkzeug\r\n!+\r\n!+\r\n!+function f( {\r\n' >"$tmp/fuehrend.zsf"
run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 "/ZANTOSCRIPT_FILE=$tmp/fuehrend.zsf"
check "script-file module with leading empty lines: the error is on line 3" \
  'tr -d "\r" <"$tmp/err" | grep -q "werkzeug" && tr -d "\r" <"$tmp/err" | grep -qx "in Zeile: 3" ||
   { tr -d "\r" <"$tmp/err" | grep -B3 "Zeile"; false; }'

# --- month and weekday names follow the user's regional settings
mkdir -p "$tmp/locale"
localedef -i de_DE -f UTF-8 "$tmp/locale/de_DE.UTF-8" 2>/dev/null
check "a German locale can be built (packages libc-bin, locales)" '[ -d "$tmp/locale/de_DE.UTF-8" ]'
rm -rf "$tmp/t"
jpeg "$tmp/t/a.jpg"
for case in "de_DE.UTF-8|Donnerstag 4. Januar 2024, Do, Jan" "C|Thursday 4. January 2024, Thu, Jan"; do
  env -u LC_ALL LOCPATH="$tmp/locale" LC_TIME="${case%%|*}" "$galvora" /Profile=Voreinstellung "/Basedir=$tmp/t" /Level=0 \
    '/HTML_PIC_PIC=<p class="tag">{datepart(date("2024-01-04"), "dddd d. mmmm yyyy, ddd, mmm")}</p>' \
    >"$tmp/out" 2>"$tmp/err"; rc=$?
  check "LC_TIME=${case%%|*}: ${case#*|}" \
    '[ $rc -eq 0 ] && grep -q "<p class=\"tag\">${case#*|}</p>" "$tmp/t/html/a.html"'
done

# --- a mosaic cell larger than 99 pixels: 150 x 150 cells on 300 x 200 give two
rm -rf "$tmp/m"
mkdir -p "$tmp/m"
convert -size 200x300 gradient:blue-yellow -rotate 90 "$tmp/m/src.png"
profile mosaik <<EOF
VERSION=2.11.02
PNG=1
JPG=0
GENERATE_CLONES=1
CLONE_PATH=web
CLONE_CONVERT=0
IMAGE_EFFECT_DESCRIPTION=Mosaik
IMAGE_EFFECT_TYPE=12
IMAGE_EFFECT_LONGVALUE_01=150
IMAGE_EFFECT_LONGVALUE_02=150
EOF
run /Profile=mosaik "/Basedir=$tmp/m" /Level=0
check "mosaic: status 0" '[ $rc -eq 0 ] || { tail -3 "$tmp/err"; false; }'
check "mosaic: 150-pixel cells give two colours" \
  '[ "$(identify -format %wx%h "$tmp/m/web/src.png")" = 300x200 ] && [ "$(convert "$tmp/m/web/src.png" -unique-colors -format %w info:)" = 2 ]'

# --- an interrupted run says so, and its statistics count what it made
make_base
# The messages of the row before go first: until the new run has opened the
# file, the wait below would find their " Bytes" line and interrupt the run
# before it has begun.
rm -f "$tmp/err"
"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 \
  "/HTML_PIC_FOOTER={while (!exist(\"$tmp/never\"));}" >"$tmp/out" 2>"$tmp/err" &
pid=$!
wait_until 'grep -qs " Bytes$" "$tmp/err"' "$pid"  # the first picture is made
kill -TERM "$pid"
wait "$pid"; rc=$?
stopped_bytes=$(tr -d '\r' <"$tmp/err" | sed -n 's/^\([0-9.,]*\) Bytes umfassen .*/\1/p' | tail -1)
check "interrupted: status 1" '[ $rc -eq 1 ]'
check "interrupted: the statistics say that the run stopped" 'grep -q "^Der Lauf wurde vor seinem Ende angehalten." "$tmp/err"'
check "interrupted: one picture of one directory counted" \
  '[ "$(stat_count Bilder)" = 1 ] && [ "$(stat_count Verzeichnisse)" = 1 ] && [ "$(stat_count Thumbnails)" = 1 ]'
check "interrupted: the bytes of that picture" '[ "$stopped_bytes" = "$(stat -c %s "$tmp/base/alpha/one.jpg")" ]'
[ $rc -eq 1 ] || show_run "$rc" "$tmp/err"
# The same run to its end counts every chosen picture and says nothing of a stop.
make_base
run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1
check "whole run: status 0, four pictures of two directories" \
  '[ $rc -eq 0 ] && [ "$(stat_count Bilder)" = 4 ] && [ "$(stat_count Verzeichnisse)" = 2 ]'
check "whole run: no word of a stop" '! grep -q "angehalten" "$tmp/err"'

# --- an index over thumbnail pages split one picture each: a run that makes no
# thumbnail pages links only those the run before left in place
index_links() { grep -o 'href="[^"]*"' "$1" | sed 's/^href="//; s/"$//' | sort -u; }
missing_links() {  # index page; prints each link that reaches no file
  local ref
  for ref in $(index_links "$1"); do [ -f "$(dirname "$1")/$ref" ] || echo "$ref"; done
}
split=(/Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 /GENERATE_INDEX=1 /HTML_SPLIT=1 /THUMBS_PER_LINE=1 /LINES_PER_PAGE=1)
make_base
rm -rf "$tmp/base/html"
run "${split[@]}" /GENERATE_THUMBPAGES=0
index=$(find "$tmp/base" -name 'index.html' | head -1)
check "index, no thumbnail pages made or left: status 0, an index" '[ $rc -eq 0 ] && [ -n "$index" ]'
check "index, no thumbnail pages made or left: no link to a missing page" '[ -z "$(missing_links "$index")" ] || { missing_links "$index"; false; }'
run "${split[@]}"
check "index, thumbnail pages made: four of them linked" '[ "$(index_links "$index" | grep -c -- "-[0-9]*\.html$")" -eq 4 ] && [ -z "$(missing_links "$index")" ]'
run "${split[@]}" /GENERATE_THUMBPAGES=0
check "index, thumbnail pages of the run before: still linked" '[ "$(index_links "$index" | grep -c -- "-[0-9]*\.html$")" -eq 4 ]'

# --- GPS coordinates with the shipped metadata definitions: one part of a
# coordinate alone is a format error (13), whatever display mode the
# definitions give that part; the whole coordinate in degrees
make_base
exiftool -q -q -overwrite_original -GPSLatitude=39.5 -GPSLatitudeRef=N "$tmp/base/alpha/one.jpg"
run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 \
  '/HTML_PIC_FOOTER=GPS {exifnice(2, 1, @GPS)}|{ERRN_LAST}|{format("%.4!", exifnice(2, 0, 2, @GPS))} Ende'
gps_line=$(grep -rh -o "GPS [^<]* Ende" "$tmp/base" --include="one*.html" | head -1)
check "GPS latitude: one part is error 13, the whole in degrees" \
  '[ "$gps_line" = "GPS @error|13|39.5000 Ende" ] || { echo "got: $gps_line"; false; }'

# --- a gallery of more pages than the program may hold files open: pages
# wait for their places until the run's end without holding a descriptor each
rm -rf "$tmp/many"
for i in $(seq 1 120); do jpeg "$tmp/many/p$i.jpg"; done
(ulimit -n 48; exec "$galvora" /Profile=Voreinstellung "/Basedir=$tmp/many" /Level=0 >"$tmp/out" 2>"$tmp/err"); rc=$?
check "more pages than open files: status 0, a page for each picture" \
  '[ $rc -eq 0 ] && [ "$(find "$tmp/many/html" -name "p*.html" | wc -l)" -eq 120 ] || { echo "status $rc"; tail -3 "$tmp/err"; false; }'

# --- a script's input box without a window answers with its preset, as every
# box of a batch run takes its default answer
make_base
run /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 '/HTML_PIC_FOOTER=Antwort {input("Frage", 42)} Ende'
check "input without a window: status 0" '[ $rc -eq 0 ]'
check "input without a window: the question is shown with its preset" 'grep -q "Frage: 42" "$tmp/err"'
check "input without a window: the page holds the preset" 'grep -rq "Antwort 42 Ende" "$tmp/base" --include="*.html"'

# --- the built-in default profile answers to its name in every language
make_base
mkdir -p "$XDG_CONFIG_HOME/galvora"
printf '[Administration]\r\nlanguage=en\r\n' >"$XDG_CONFIG_HOME/galvora/registry.ini"
for name in Voreinstellung Default; do
  make_base
  run "/Profile=$name" "/Basedir=$tmp/base" /Level=1
  check "English, /Profile=$name: status 0, no message" \
    '[ $rc -eq 0 ] && ! grep -q "profile list" "$tmp/err" && [ "$(pages_in "$tmp/base")" -ge 4 ]'
  check "English, /Profile=$name: the run speaks English" 'grep -q "pictures processed" "$tmp/err"'
done
# A script stopped at a limit is named in the run's language too.
make_base
run /Profile=Default "/Basedir=$tmp/base" /Level=1 '/HTML_PIC_FOOTER={s="x"; n=0; while (n<40) {s=s+s; n=n+1;} s}'
check "English, a script at its memory limit: status 5, the message in English" \
  '[ $rc -eq 5 ] && grep -q "html_pic_footer.*Script stopped: out of memory" "$tmp/err" || { echo "status $rc"; grep -i "script\|skript" "$tmp/err" | head -3; false; }'

exit $fail
