#!/usr/bin/env bash
# EXIF, IPTC and comments of real camera photos on the pages of a batch run.
# A profile prints make, model, date taken, exposure time, f-number, ISO and
# focal length through exif and exifnice, the IPTC caption and keywords and
# the first comment on every picture page, and the model and caption in every
# thumbnail cell; the "_clone" and "_initpic" hooks and a text stamp keep the
# model they read. Every value must agree with Debian's exiftool, file by
# file and tag by tag; a tag exiftool does not report shows as @error.
source "$(dirname "$0")/batch_support.sh" "$1"
testdata=$(cd "$(dirname "$galvora")/.." && pwd)/testdata
# fontconfig keeps its caches to the end; the text stamp loads it.
echo "leak:libfontconfig.so" >"$tmp/lsan.supp"
export LSAN_OPTIONS="suppressions=$tmp/lsan.supp"

photos=$tmp/photos
mkdir -p "$photos"
for f in exif-npm/evil1.jpg exif-npm/short-ascii-II.jpg exif-npm/short-ascii-MM.jpg exif-npm/sony-alpha-6000.jpg \
         exif-npm/test1.jpg exif-npm/test2.jpg exif-npm/test3.jpg goexif/sample1.jpg \
         goexif/samples/has-lens-info.jpg goexif/samples/geodegrees_as_string.jpg goexif/samples/f1-exif.jpg; do
  if [ ! -f "$testdata/$f" ]; then
    echo "FAILED: $testdata/$f is missing (scripts/fetch-testdata.sh fetches it)"
    exit 1
  fi
  cp "$testdata/$f" "$photos/"
done
# IPTC caption, repeated keywords, a byline and a comment, written into
# copies of two camera photos by exiftool.
cp "$photos/evil1.jpg" "$photos/strand.jpg"
exiftool -q -q -overwrite_original -IPTC:Caption-Abstract='Möwe am Strand, Sylt' -IPTC:Keywords=Meer \
  -IPTC:Keywords=Möwe -IPTC:Keywords=Düne -IPTC:By-line='Jana Weiß' -Comment='Aufnahme vom Deich' "$photos/strand.jpg"
cp "$photos/sample1.jpg" "$photos/nikon-iptc.jpg"
exiftool -q -q -overwrite_original -IPTC:Caption-Abstract='Abend über der Elbe' -Comment='2003, ohne Stativ' \
  "$photos/nikon-iptc.jpg"

mkdir -p "$XDG_DATA_HOME/galvora/profiles"
cat >"$XDG_DATA_HOME/galvora/profiles/metadaten.qvp" <<'EOF'
VERSION=2.11.02
GENERATE_CLONES=1
CLONE_PATH=web
CLONE_SELECTED_SIDE=1
CLONE_SIZE=200
HTML_PIC_PIC=<pre class="meta">
+make={exif(271)}
+model={exif("Modell")}
+date={exif(36867)}
+exposure={exif(33434)}|{exifnice(33434)}
+fnumber={exif(33437)}|{exifnice(33437)}
+iso={exif(34855)}
+focal={exif(37386)}|{exifnice(37386)}
+caption={iptc(120)}
+keywords={iptc("Stichwörter")}
+byline={iptc(80)}
+comment={imagecomment(1)}
+hooks={clone_kamera}|{initpic_kamera}|{stempel_kamera}
+</pre>
HTML_THUMB_PIC_TAG=<span class="cell">{file}|{exif(272)}|{iptc(120)}</span>
STAMP_TEXT_DESCRIPTION=Kamera
STAMP_TEXT={stempel()}
STAMP_TEXT_FONT=DejaVu Sans
STAMP_TEXT_HEIGHT=12
STAMP_TEXT_POSITION=9
!*haken
!+function _clone()
!+{
!+  global clone_kamera;
!+  clone_kamera = exif(272);
!+}
!+function _initpic()
!+{
!+  global initpic_kamera;
!+  initpic_kamera = exif(272);
!+}
!+function stempel()
!+{
!+  global stempel_kamera;
!+  stempel_kamera = exif(272);
!+  return "Galvora";
!+}
EOF

"$galvora" /Profile=metadaten "/Basedir=$photos" /Level=0 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "run: status 0" '[ $rc -eq 0 ] || { tail -5 "$tmp/err"; false; }'

# The page's lines "key=value" and exiftool's lines "Tag: value" (-n: numbers
# as stored; of a tag stored twice the first in the file's order, as exif()
# takes it), each read once per photo.
declare -A page_value reported
read_page() {
  page_value=()
  local key value
  while IFS='=' read -r key value; do page_value[$key]=$value; done < <(tr -d '\r' <"$1" | grep '^[a-z]*=')
}
read_photo() {
  reported=()
  local tag value
  while IFS= read -r line; do
    tag=${line%%: *} value=${line#*: }
    value=${value%"${value##*[![:space:]]}"}
    [ -n "${reported[$tag]+set}" ] || reported[$tag]=$value
  done < <(exiftool -a -q -q -s -s -n -sep , -EXIF:Make -EXIF:Model -EXIF:DateTimeOriginal -EXIF:ISO \
             -EXIF:ExposureTime -EXIF:FNumber -EXIF:FocalLength -IPTC:Caption-Abstract -IPTC:Keywords \
             -IPTC:By-line -File:Comment "$1")
}
# The page shows what exiftool reports, or @error when it reports nothing.
expected() { local v=${reported[$1]:-}; echo "${v:-@error}"; }
# a/b or a number, as a number.
num() { awk -v t="$1" 'BEGIN { n = split(t, p, "/"); printf "%.10g", (n == 2 ? p[1] / p[2] : t) }'; }
close_to() { awk -v a="$1" -v b="$2" -v e="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= e) }'; }

pages=$photos/web/html
cells=$(tr -d '\r' <"$pages/default.html" | grep -o '<span class="cell">[^<]*' | sed 's/<span class="cell">//')
count=0
for photo in "$photos"/*.jpg; do
  name=$(basename "$photo" .jpg)
  page=$pages/$name.html
  check "$name: page" '[ -f "$page" ]' || continue
  count=$((count + 1))
  read_page "$page"
  read_photo "$photo"
  for pair in make:Make model:Model date:DateTimeOriginal iso:ISO caption:Caption-Abstract keywords:Keywords \
              byline:By-line comment:Comment; do
    key=${pair%%:*} want=$(expected "${pair#*:}") got=${page_value[${pair%%:*}]:-}
    check "$name: $key '$got' is '$want'" '[ "$got" = "$want" ]'
  done
  model=$(expected Model)
  check "$name: the hooks and the text stamp read this picture's model" '[ "${page_value[hooks]}" = "$model|$model|$model" ]'
  check "$name: its thumbnail cell shows its model and caption" \
    'printf "%s\n" "$cells" | grep -qxF "$name|$model|$(expected Caption-Abstract)"'

  # Rationals: the stored value, and the display form exifnice gives.
  for pair in exposure:ExposureTime fnumber:FNumber focal:FocalLength; do
    key=${pair%%:*} want=${reported[${pair#*:}]:-} line=${page_value[${pair%%:*}]:-}
    raw=${line%%|*} nice=${line#*|}
    if [ -z "$want" ]; then
      check "$name: no $key" '[ "$line" = "@error|@error" ]'
      continue
    fi
    check "$name: $key $raw is $want" 'close_to "$(num "$raw")" "$want" "$(awk -v w="$want" "BEGIN { print w * 1e-9 }")"'
    case $key in
      exposure)
        # 1/n with n the rounded reciprocal, or seconds with one decimal.
        if [ "${nice#1/}" != "$nice" ]; then
          check "$name: exposure $nice for $want" 'close_to "${nice#1/}" "$(awk -v w="$want" "BEGIN { print 1 / w }")" 0.5'
        else
          check "$name: exposure $nice for $want" 'close_to "$nice" "$want" 0.05'
        fi
        ;;
      fnumber) check "$name: f-number $nice for $want" '[ "$nice" = "$(awk -v w="$want" "BEGIN { printf \"f%.1f\", w }")" ]' ;;
      focal) check "$name: focal length $nice for $want" '[ "$nice" = "$(awk -v w="$want" "BEGIN { printf \"%.1fmm\", w }")" ]' ;;
    esac
  done
done
check "every photo has its page" '[ $count -eq 13 ]'
# The reader must have had something to compare on each kind of value.
check "the photos carry IPTC and comments" 'grep -q "^caption=Möwe am Strand, Sylt" <(tr -d "\r" <"$pages/strand.html") &&
  grep -q "^keywords=Meer,Möwe,Düne" <(tr -d "\r" <"$pages/strand.html") && grep -q "^comment=Created with GIMP" <(tr -d "\r" <"$pages/f1-exif.html")'

exit $fail
