#!/usr/bin/env bash
# What a page template shows of unusual and hostile values, through a batch
# run of the default profile over small JPEGs whose EXIF segment is built
# here byte by byte:
# - make and model written as bytes rather than text still name the camera,
#   so its maker note is read;
# - unsigned values of 2^31 and more are shown whole (read as 0 they would
#   show a wrong number, and a directory offset read as 0 would send the
#   reader to the TIFF header, read as a directory);
# - values that lie past the end of the segment read as 0 and the directory
#   goes on; only byte values there end it;
# - GPS coordinates stored as text (as some phones write them, the HTC One
#   photo among them) give degrees in every display mode;
# - trim and convert take their arguments by value: 15 names @LEADING, and
#   a symbol converts as its number.
source "$(dirname "$0")/batch_support.sh" "$1"
testdata=$(cd "$(dirname "$galvora")/.." && pwd)/testdata
command -v python3 >/dev/null || { echo "FAILED: python3 is missing"; exit 1; }
htc=$testdata/goexif/samples/geodegrees_as_string.jpg
[ -f "$htc" ] || { echo "FAILED: $htc is missing (scripts/fetch-testdata.sh fetches it)"; exit 1; }

base=$tmp/base
jpeg "$base/plain.jpg"
cp "$htc" "$base/htc.jpg"
# hostile.jpg: the small JPEG with an APP1 segment of one little-endian TIFF
# structure: IFD0, an EXIF directory with a Canon maker note, a GPS directory.
python3 - "$base/plain.jpg" "$base/hostile.jpg" <<'EOF'
import struct, sys
FAR = 0x7FFFFFF0  # an offset past the end of any segment

def directory(offset, entries, extra_start):
    """entries: (tag, type, count, bytes or None for a raw field, raw field)."""
    head = struct.pack('<H', len(entries))
    extra = b''
    data_at = offset + 2 + 12 * len(entries) + 4 + extra_start
    for tag, typ, count, data, field in entries:
        head += struct.pack('<HHI', tag, typ, count)
        if data is None:
            head += struct.pack('<I', field)
        elif len(data) <= 4:
            head += data.ljust(4, b'\0')
        else:
            head += struct.pack('<I', data_at + len(extra))
            extra += data + (b'\0' if len(data) % 2 else b'')
    return head + struct.pack('<I', 0), extra

def ifd_bytes(offset, entries):
    head, extra = directory(offset, entries, 0)
    return head + extra

# Sizes first (offsets do not change the lengths), then the real layout.
def layout(exif_at, gps_at, note_at):
    ifd0 = [
        (271, 7, 6, b'Canon\0', 0),                      # make as undefined bytes
        (272, 1, 21, b'Canon PowerShot S400\0', 0),      # model as bytes
        (700, 4, 2, struct.pack('<II', 3000000000, 2147483648), 0),
        (34665, 4, 1, None, exif_at),
        (34853, 4, 1, None, gps_at),
        (701, 3, 3, None, FAR),                          # three shorts past the end
        (702, 5, 1, None, FAR),                          # a rational past the end
        (703, 3, 1, struct.pack('<H', 7), 0),
        (704, 1, 8, None, FAR),                          # bytes past the end: IFD0 ends
        (705, 3, 1, struct.pack('<H', 5), 0),            # never read
    ]
    note = struct.pack('<H', 1) + struct.pack('<HHIHH', 7, 3, 1, 77, 0) + struct.pack('<I', 0)
    exif = [(37500, 7, len(note), None, note_at)]
    gps = [(1, 2, 2, b'N\0', 0), (2, 2, 27, b'52,00000,50,00000,34,01180\0', 0),
           (4, 2, 14, b'11 10 58.2836\0', 0)]
    b0 = ifd_bytes(8, ifd0)
    b1 = ifd_bytes(8 + len(b0), exif)
    b2 = ifd_bytes(8 + len(b0) + len(b1), gps)
    return b0, b1, b2, note

b0, b1, b2, note = layout(0, 0, 0)
exif_at = 8 + len(b0)
gps_at = exif_at + len(b1)
note_at = gps_at + len(b2)
b0, b1, b2, note = layout(exif_at, gps_at, note_at)
tiff = b'II*\0' + struct.pack('<I', 8) + b0 + b1 + b2 + note
payload = b'Exif\0\0' + tiff
plain = open(sys.argv[1], 'rb').read()
app1 = b'\xff\xe1' + struct.pack('>H', len(payload) + 2) + payload
open(sys.argv[2], 'wb').write(plain[:2] + app1 + plain[2:])
EOF

footer='<pre class="values">
make={exif(7, @MAKERNOTE)}
big={exif(700, 1)}|{exif(700, 2)}
past={exif(701)}|{exif(702)}|{exif(703)}|{exif(705)}
lat={exifnice(2, 0, 0, @GPS)}|{format("%.6!", exifnice(2, 0, 2, @GPS))}
lon={exifnice(4, 0, 1, @GPS)}|{format("%.6!", exifnice(4, 0, 2, @GPS))}
trim=[{trim("  a  ", 15)}]|[{trim("  a  ", 16)}]|[{trim("  a  ", "17")}]|{trim("a", 18)}
convert={convert(@TRUE, 10)}|{convert(@HEX, 16)}|{convert(x, 10)}
</pre>'
"$galvora" /Profile=Voreinstellung "/Basedir=$base" /Level=0 "/HTML_PIC_FOOTER=$footer" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "run: status 0" '[ $rc -eq 0 ] || { tail -5 "$tmp/err"; false; }'

# line <picture> <key>: the value the picture's page shows for the key.
line() { tr -d '\r' <"$base/html/$1.html" | sed -n "s/^$2=//p"; }
# Each row: picture, key, expected value.
while IFS='|' read -r picture key want; do
  got=$(line "$picture" "$key")
  check "$picture: $key '$got' is '$want'" '[ "$got" = "$want" ]'
done <<'EOF'
hostile|make|77
hostile|big|3000000000.0|2147483648.0
hostile|past|0,0,0|0/0|7|@error
hostile|lat|52 50' 34.01"|52.842781
hostile|lon|11&deg; 10' 58.28"|11.182857
htc|lat|52 50' 34.01"|52.842781
htc|lon|11&deg; 10' 58.28"|11.182857
plain|make|@error
plain|lat|@error|@error
plain|trim|[a  ]|[  a]|[a]|@error
plain|convert|2|1C|@error
EOF

exit $fail
