#!/usr/bin/env bash
# What a run leaves behind when its switches, its picture names or its disk
# work against it, through the batch binary with the shipped album profile:
# a log switch that names a photo or another binary file, a disk that runs
# full while a third photo is added, names as long as a file name may be, a
# picture its encoder cannot make, and control characters in names.
source "$(dirname "$0")/batch_support.sh" "$1"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/full_disk_support.sh"
command -v python3 >/dev/null || { echo "FAILED: python3 is missing"; exit 1; }
mounted=""
trap 'for m in $mounted; do umount "$m" 2>/dev/null; done; rm -rf "$tmp"' EXIT

rc=0
album() {  # album BASE [switches...]
  local base=$1; shift
  "$galvora" /Profile=album "/Basedir=$base" /Level=1 "$@" >"$tmp/out.txt" 2>"$tmp/err.txt"
  rc=$?
}
pages_whole() { python3 "$here/check_pages.py" "$@"; }
temporaries() { find "$1" -name '.galvora-*.tmp' | wc -l; }

# png FILE WIDTH HEIGHT [noise]: an RGB PNG, grey or of random pixels (which
# give large clones).
png() {
  mkdir -p "$(dirname "$1")"
  python3 - "$@" <<'PY'
import os, struct, sys, zlib
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
noise = len(sys.argv) > 4
rows = b''.join(b'\0' + (os.urandom(3 * w) if noise else b'\x80\x60\x40' * w) for _ in range(h))
chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
with open(path, 'wb') as f:
    f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
PY
}

# --- a log switch that names a picture or another binary file: refused with
# status 2 before anything is written; the file stays byte for byte. A text
# file there (an old log) is replaced by the new log.
base=$tmp/logs
jpeg "$base/a/p1.jpg"; jpeg "$base/a/p2.jpg"
png "$base/a/p3.png" 4 4
printf 'data\000\001\002' >"$tmp/binary.dat"
for target in "$base/a/p1.jpg" "$base/a/p3.png" "$tmp/binary.dat"; do
  sum=$(sha256sum <"$target")
  album "$base" "/Logfile=$target"
  check "log over $(basename "$target"): status 2" '[ "$rc" -eq 2 ] || { echo "status $rc"; false; }'
  check "log over $(basename "$target"): message" 'grep -q "würde ein Bild oder eine andere Binärdatei ersetzen" "$tmp/err.txt"'
  check "log over $(basename "$target"): the file is as it was" '[ "$(sha256sum <"$target")" = "$sum" ]'
  check "log over $(basename "$target"): nothing written" '[ ! -e "$base/album" ]'
done
printf 'an old log\r\n' >"$tmp/old.log"
album "$base" "/Logfile=$tmp/old.log"
check "log over an old log: status 0" '[ "$rc" -eq 0 ] || { echo "status $rc"; tail -3 "$tmp/err.txt"; false; }'
check "log over an old log: the new log replaced it" '! grep -q "an old log" "$tmp/old.log" && grep -q "Initialization START" "$tmp/old.log"'

# --- a disk that runs full. A run over two photos, a third photo added, the
# disk filled until its clone no longer fits, a second run: status 1, and
# every page is the one of the first run (none links to a clone or thumbnail
# that was not written). A small file system of its own when the test may
# mount one; otherwise a preloaded library makes writes below the folder fail
# the way a full disk does.
full=$tmp/full
small_disk "$full" 2m
on_disk() { on_small_disk album "$full/b" "$@"; }
png "$full/b/a/p1.png" 200 150 noise
png "$full/b/a/p2.png" 200 150 noise
fill 1000000
on_disk
check "disk with room: status 0" '[ "$rc" -eq 0 ] || { echo "status $rc"; tail -3 "$tmp/err.txt"; false; }'
page_hashes() { (cd "$full/b" && find . -name '*.html' -print0 | sort -z | xargs -0 sha256sum); }
old_pages=$(page_hashes)
png "$full/b/a/p3.png" 200 150 noise
# The stand-in counts every byte a run writes, also the decoration files it
# copies again each run: those get their room on top.
room=12288
[ -n "$small_disk_mounted" ] || room=$(( room + $(find "$full/b/album/deco" -type f -printf '%s+')0 ))
fill "$room"
on_disk
check "nearly full disk: status 1" '[ "$rc" -eq 1 ] || { echo "status $rc"; tail -3 "$tmp/err.txt"; false; }'
check "nearly full disk: the failed write is named" 'grep -Eq "Image-Error .*WriteImage.*p3|konnte nicht erzeugt werden" "$tmp/err.txt" || { tail -5 "$tmp/err.txt"; false; }'
check "nearly full disk: every page is the one of the run before" '[ "$(page_hashes)" = "$old_pages" ]'
check "nearly full disk: no page for the new photo" '[ -z "$(find "$full/b/album" -name "p3*.html")" ]'
check "nearly full disk: every link reaches a file" 'pages_whole "$full/b/album"'
check "nearly full disk: no temporary file left" '[ "$(temporaries "$full")" -eq 0 ]'
fill 1000000
on_disk
check "disk with room again: status 0 and the new photo's page" \
  '[ "$rc" -eq 0 ] && [ -n "$(find "$full/b/album" -name "p3*.html")" ] && pages_whole "$full/b/album"'

# --- one picture that cannot be made does not fail the run: a name as long
# as a file name may be beside a picture of the same name (the clone and
# thumbnail names get the extension added and are shortened like page
# names), and a picture too wide for the JPEG encoder (status 4, the picture
# named).
long=$(printf 'x%.0s' $(seq 249))
row_long_name() { jpeg "$base/a/$long.jpg"; png "$base/a/$long.png" 24 16; expect=0; }
row_too_wide_for_jpeg() { jpeg "$base/a/p1.jpg"; png "$base/a/wide.png" 70000 1; expect=4; }
for row in row_long_name row_too_wide_for_jpeg; do
  base=$tmp/$row
  $row
  album "$base"
  check "$row: status $expect" '[ "$rc" -eq "$expect" ] || { echo "status $rc"; tail -3 "$tmp/err.txt"; false; }'
  # The picture that failed keeps its cell and page, without its thumbnail.
  links=(); [ "$expect" = 4 ] && links=(--no-links)
  check "$row: every page whole, every link reaches a file" 'pages_whole "${links[@]}" "$base/album"'
  check "$row: no name above 255 bytes" \
    '[ -z "$(find "$base/album" -printf "%f\n" | awk "length(\$0) > 255")" ]'
  [ "$expect" = 4 ] && check "$row: the picture is named" 'grep -q "Image-Error .*wide" "$tmp/err.txt"'
done

# --- control characters in names reach stderr and the log escaped: an ESC
# that would clear the screen, a BEL, and the C1 control U+009B.
base=$tmp/controls
esc=$(printf '\033'); bel=$(printf '\a'); csi=$(printf '\302\233')
jpeg "$base/a/p${esc}[2J${bel}.jpg"
printf 'no picture' >"$base/a/bad${csi}31m.jpg"
album "$base" "/Logfile=$tmp/controls.log"
check "control characters: status 4" '[ "$rc" -eq 4 ] || { echo "status $rc"; false; }'
for f in "$tmp/err.txt" "$tmp/controls.log"; do
  check "control characters: none raw in $(basename "$f")" \
    '! LC_ALL=C grep -q "[$esc$bel]" "$f" && ! grep -q "$csi" "$f"'
  check "control characters: the unreadable picture shown escaped in $(basename "$f")" \
    'grep -qF "bad\u009b31m.jpg" "$f"'
done
# The progress text names every picture (on stderr only).
check "control characters: the picture's progress text shown escaped" 'grep -qF "p\x1b[2J\x07" "$tmp/err.txt"'

exit $fail
