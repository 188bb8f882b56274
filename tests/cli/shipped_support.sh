# Shared by the tests of the shipped profiles: the real camera photos of the
# test data, the trees they are sorted into, what the pages of each language
# say, and the checks of one batch run of a shipped profile over one tree, as
# a new user runs it: with nothing but /Profile, /Basedir and /Level.
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
command -v identify >/dev/null || { echo "FAILED: ImageMagick is not installed (scripts/install-deps.sh installs it)"; exit 1; }

# Real photos of the test data: a 24-megapixel camera JPEG of 6.5 MB, a
# 13-megapixel phone photo, smaller camera and phone JPEGs (500x375, 480x360,
# 180x135), one without EXIF.
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

# The shipped profiles and the language of their pages.
declare -A language=([album]=de [album-english]=en [galerie]=de [gallery-english]=en)
# What the templates of each language write, as extended patterns: the pages
# of a profile show every text of its language and none of the other's.
texts_de=('<html lang="de"' '>Alben</(a|li)>' '[0-9] Bilder?</' '</span> Zurück</a>' '>Weiter <span'
  '>Übersicht</a>' 'aria-label="Pfad"' 'aria-label="Blättern"' 'aria-label="Bildangaben"'
  'aria-label="Stichwörter"' '>Mit Galvora erstellt<' 'title="Nächstes Bild"' 'title="Zur Übersicht"'
  '>[0-9]+\. (Februar|Dezember) [0-9]{4}, [0-9]{2}:[0-9]{2}<')
texts_en=('<html lang="en"' '>Albums</(a|li)>' '[0-9] pictures?</' '</span> Previous</a>' '>Next <span'
  '>Overview</a>' 'aria-label="Breadcrumb"' 'aria-label="Pictures"' 'aria-label="Picture details"'
  'aria-label="Keywords"' '>Made with Galvora<' 'title="Next picture"' 'title="To the overview"'
  '>[0-9]+ (February|December) [0-9]{4}, [0-9]{2}:[0-9]{2}<')

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
    many)
      # An album longer than two screens, and more albums than a phone shows.
      for i in $(seq 1 24); do put "$iphone" "$base/Viele Bilder/Bild $i.jpg"; done
      for i in 1 2 3 4 5 6; do put "$canon" "$base/Reise $i/Bild.jpg"; done
      ;;
  esac
}

snapshot() {  # folder -> "mtime size path" of every file but the decoration copies
  find "$1" -type f -not -path '*/deco/*' -printf '%T@ %s %p\n' | sort
}

# The profiles beside the program's sources, by name.
mapfile -t profiles < <(find "$root/resources/profiles" -name '*.qvp' -printf '%f\n' | sed 's/\.qvp$//' | sort)

# One profile over one tree (0, 1, 2: that level; many: level 1): the run, the
# pages' form and language, the browser's check and a second run.
check_run() {  # profile tree
  local profile=$1 tree=$2
  local level=${tree/many/1} name="$1, level ${tree/many/1, many pictures}" lang=${language[$1]:-}
  local base=$tmp/$profile$tree/Bilder out rc text page src width height size details before after
  local -a own other roots
  check "$profile: its pages have a language" '[ -n "$lang" ]'
  [ -n "$lang" ] || return
  if [ "$lang" = de ]; then own=("${texts_de[@]}") other=("${texts_en[@]}"); else own=("${texts_en[@]}") other=("${texts_de[@]}"); fi
  make_tree "$tree" "$base"
  "$galvora" "/Profile=$profile" "/Basedir=$base" "/Level=$level" >"$tmp/run.out" 2>&1
  rc=$?
  check "$name: the batch run ends with status 0" '[ $rc -eq 0 ]'
  [ $rc -eq 0 ] || cat "$tmp/run.out"
  # The profile names its own output folder below the pictures.
  mapfile -t roots < <(find "$base" -mindepth 1 -maxdepth 1 -type d -exec test -d '{}/html' ';' -print)
  check "$name: one output folder with pages" '[ ${#roots[@]} -eq 1 ]'
  [ ${#roots[@]} -eq 1 ] || return
  out=${roots[0]}
  check "$name: no side file is left" '[ -z "$(find "$out" -name "*.html_")" ]'
  # Well-formed HTML5: tidy finds nothing to mend. Its HTML5 tables are
  # older than the attributes aria-current and loading.
  while IFS= read -r -d '' page; do
    tidy -q -e "$page" 2>&1 | grep -vE 'proprietary attribute "(aria-current|loading)"' | sed "s|^|  ${page#"$out"/}: |"
  done < <(find "$out" -name '*.html' -print0) >"$tmp/tidy.out"
  check "$name: tidy finds nothing to mend in the pages" '[ ! -s "$tmp/tidy.out" ]'
  cat "$tmp/tidy.out"

  # The pages speak the profile's language.
  check "$name: every page says its language" \
    '[ -z "$(find "$out" -name "*.html" -exec grep -L "<html lang=\"$lang\"" {} +)" ]'
  find "$out" -name '*.html' -print0 | xargs -0 cat >"$tmp/pages.txt"
  if [ "$tree" != many ]; then
    for text in "${own[@]}"; do
      check "$name: the pages show $text" 'grep -qE -- "$text" "$tmp/pages.txt"'
    done
  fi
  for text in "${other[@]}"; do
    check "$name: the pages show no $text" '! grep -qE -- "$text" "$tmp/pages.txt"'
  done

  # A picture page names its clone at the size the clone has.
  while IFS= read -r -d '' page; do
    src='' width='' height='' size=''
    read -r src width height < <(sed -nE 's/.*<figure class="buehne"[^>]*>.*<img src="([^"]*)" width="([0-9]+)" height="([0-9]+)".*/\1 \2 \3/p' "$page")
    [ -n "$src" ] && size=$(identify -format '%w %h' "$(dirname "$page")/$(printf '%b' "${src//%/\\x}")" 2>/dev/null)
    check "$name: ${page#"$out"/} names its clone at its size" '[ -n "$src" ] && [ "$size" = "$width $height" ]'
  done < <(grep -rlZ --include='*.html' '<figure class="buehne"' "$out")

  details=--details
  [ "$tree" = many ] && details=
  "$python" "$root/scripts/gallery-browser.py" check $details "$base" "$out" "$level" >"$tmp/check.out" 2>&1
  rc=$?
  check "$name: every page passes in the browser" '[ $rc -eq 0 ]'
  sed "s|^|  $name: |" "$tmp/check.out"
  check "$name: the browser saw picture pages and used the arrow key" \
    'grep -qE "^CHECKED .* [1-9][0-9]* picture pages, [1-9][0-9]* keys" "$tmp/check.out"'
  [ "$tree" = many ] && check "$name: the browser saw pictures that load lazily" \
    'grep -qE "^CHECKED .* [1-9][0-9]* lazy pictures" "$tmp/check.out"'

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
}
