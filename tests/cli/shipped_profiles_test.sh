#!/usr/bin/env bash
# Every shipped profile end to end, as a new user runs it: a batch run with
# nothing but /Profile, /Basedir and /Level over real camera photos (folder
# and file names with blanks, umlauts, "&", quotes and "<") at levels 0, 1 and
# 2. Headless Chromium then loads every page at 390x844 and 1280x800
# (scripts/gallery-browser.py): pictures and links resolve, nothing scrolls
# sideways, the picture pages show a clone and not the original, and the
# arrow key opens the next picture. A second run over the unchanged tree
# must rewrite no file.
set -u
galvora=$1
root=${GALVORA_SOURCE_DIR:?the test runs from CTest}
data=${GALVORA_TESTDATA_DIR:?the test runs from CTest}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
# Headless: the run must not wait for a window or open a browser itself.
unset DISPLAY WAYLAND_DISPLAY
# Fontconfig keeps a little of its parsed configuration for good when the
# first text stamp looks for its font; that is the library's, not ours.
printf 'leak:libfontconfig.so\n' >"$tmp/lsan.supp"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$tmp/lsan.supp"
fail=0
check() { if ! eval "$2"; then echo "FAILED: $1"; fail=1; fi; }

python=$(command -v python3 || true)
[ -n "$python" ] || { echo "FAILED: python3 is not installed (scripts/install-deps.sh installs it)"; exit 1; }
command -v exiftool >/dev/null || { echo "FAILED: exiftool is not installed (scripts/install-deps.sh installs it)"; exit 1; }
command -v tidy >/dev/null || { echo "FAILED: tidy is not installed (scripts/install-deps.sh installs it)"; exit 1; }

# Real photos of the test data: a 24-megapixel camera JPEG of 6.5 MB, a
# 13-megapixel phone photo, smaller camera and phone JPEGs, one without EXIF.
sony=$data/exif-npm/sony-alpha-6000.jpg
xiaomi=$data/exif-npm/short-ascii-II.jpg
canon=$data/exif-npm/short-ascii-MM.jpg
iphone=$data/exif-npm/test1.jpg
nikon=$data/goexif/sample1.jpg
plain=$(find "$data/images/pkg/libsdl2-image-tests" -name sample.jpg | head -n 1)
for f in "$sony" "$xiaomi" "$canon" "$iphone" "$nikon" "$plain"; do
  [ -f "$f" ] || { echo "FAILED: test picture missing: $f (make testdata fetches it)"; exit 1; }
done

# A photo whose IPTC title, caption and keywords carry markup: the pages
# must show it as text.
tagged=$tmp/tagged.jpg
cp "$canon" "$tagged"
exiftool -q -overwrite_original -charset iptc=UTF8 \
  '-IPTC:ObjectName=Abendlicht & Düne' '-IPTC:Caption-Abstract=Abend am "Meer" <b>fett</b> & mehr' \
  '-IPTC:Keywords=Düne' '-IPTC:Keywords=<i>Meer</i>' "$tagged" ||
  { echo "FAILED: exiftool could not write the IPTC test data"; exit 1; }

put() {  # source destination
  mkdir -p "$(dirname "$2")" && cp "$1" "$2"
}

make_tree() {  # level folder
  local base=$2
  case $1 in
    0)
      put "$sony" "$base/Sony Alpha 6000.jpg"
      put "$nikon" "$base/Größe Nikon.jpg"
      put "$tagged" "$base/Strand & Düne.jpg"
      put "$plain" "$base/ohne \"Daten\" <1>.jpg"
      ;;
    1)
      put "$nikon" "$base/Reise Süd/a b.jpg"
      put "$iphone" "$base/Reise Süd/Ärger.jpg"
      put "$xiaomi" "$base/zwei & drei/Telefon.jpg"
      put "$tagged" "$base/zwei & drei/Strand & Düne.jpg"
      ;;
    2)
      put "$nikon" "$base/Jahr 1/Reise Süd/a b.jpg"
      put "$iphone" "$base/Jahr 1/Reise Süd/c.jpg"
      put "$canon" "$base/Jahr 1/zwei/x.jpg"
      put "$tagged" "$base/Öl/drei/Strand & Düne.jpg"
      put "$plain" "$base/Öl/drei/y z.jpg"
      ;;
  esac
}

snapshot() {  # folder -> "mtime size path" of every file but the decoration copies
  find "$1" -type f -not -path '*/deco/*' -printf '%T@ %s %p\n' | sort
}

mapfile -t profiles < <(find "$root/resources/profiles" -name '*.qvp' -printf '%f\n' | sed 's/\.qvp$//' | sort)
check "profiles are shipped" '[ ${#profiles[@]} -ge 2 ]'

for profile in "${profiles[@]}"; do
  for level in 0 1 2; do
    name="$profile, level $level"
    base=$tmp/$profile$level/Bilder
    make_tree "$level" "$base"
    "$galvora" "/Profile=$profile" "/Basedir=$base" "/Level=$level" >"$tmp/run.out" 2>&1
    rc=$?
    check "$name: the batch run ends with status 0" '[ $rc -eq 0 ]'
    [ $rc -eq 0 ] || cat "$tmp/run.out"
    # The profile names its own output folder below the pictures.
    mapfile -t roots < <(find "$base" -mindepth 1 -maxdepth 1 -type d -exec test -d '{}/html' ';' -print)
    check "$name: one output folder with pages" '[ ${#roots[@]} -eq 1 ]'
    [ ${#roots[@]} -eq 1 ] || continue
    out=${roots[0]}
    check "$name: no side file is left" '[ -z "$(find "$out" -name "*.html_")" ]'
    # Well-formed HTML5: tidy finds nothing to mend. Its HTML5 tables are
    # older than the attributes aria-current and loading.
    while IFS= read -r -d '' page; do
      tidy -q -e "$page" 2>&1 | grep -vE 'proprietary attribute "(aria-current|loading)"' | sed "s|^|  ${page#"$out"/}: |"
    done < <(find "$out" -name '*.html' -print0) >"$tmp/tidy.out"
    check "$name: tidy finds nothing to mend in the pages" '[ ! -s "$tmp/tidy.out" ]'
    cat "$tmp/tidy.out"

    "$python" "$root/scripts/gallery-browser.py" check --details "$base" "$out" "$level" >"$tmp/check.out" 2>&1
    rc=$?
    check "$name: every page passes in the browser" '[ $rc -eq 0 ]'
    sed "s|^|  $name: |" "$tmp/check.out"
    check "$name: the browser saw picture pages and used the arrow key" \
      'grep -qE "^CHECKED .* [1-9][0-9]* picture pages, [1-9][0-9]* keys" "$tmp/check.out"'

    before=$(snapshot "$base")
    "$galvora" "/Profile=$profile" "/Basedir=$base" "/Level=$level" >"$tmp/again.out" 2>&1
    rc=$?
    check "$name: the second run ends with status 0" '[ $rc -eq 0 ]'
    check "$name: the second run makes no clone or thumbnail and writes no page" \
      'grep -q "^0 Clones wurden erstellt" "$tmp/again.out" && grep -q "^0 Thumbnails wurden erstellt" "$tmp/again.out" &&
       grep -q "^0 HTML-Dateien wurden erstellt" "$tmp/again.out"'
    after=$(snapshot "$base")
    check "$name: the second run over the unchanged tree rewrites no file" '[ "$before" = "$after" ]'
    [ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after") | head -20
  done
done

exit $fail
