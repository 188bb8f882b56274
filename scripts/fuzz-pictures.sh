#!/usr/bin/env bash
# Builds the libFuzzer target of the generic picture reader on the formats it
# reads through libraries (PNG, TIFF, GIF, camera RAW) with clang and runs it
# for a bounded time (FUZZ_SECONDS, default 20) over a seed corpus of the
# fetched test pictures; PNG texts go on through the metadata reader. Exits
# non-zero when the target finds a crash, a leak, an over-read, a hang or an
# allocation above the memory limit; the input that did it is left in the
# build folder (crash-*, leak-*, timeout-*, oom-*); once mended, make it in a
# test of tests/image/hostile_library_files_test.cpp.
#   scripts/fuzz-pictures.sh [build folder]      (default build/fuzz-pictures)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=fuzz-common.sh
source "$root/scripts/fuzz-common.sh"
out=$(realpath -m "${1:-$root/build/fuzz-pictures}")
seconds=${FUZZ_SECONDS:-20}
testdata=${GALVORA_TESTDATA:-$root/build/test/testdata}
mkdir -p "$out"

CXX=${FUZZ_CXX:-clang++}
image=$root/src/image
sources=("$image"/{picture_io,file_source,picture_type,picture_buffer,large_block,jpeg_quality_search}.cpp
         "$image"/codecs/*.cpp "$image"/owncodecs/*.cpp
         "$image"/metadata/{exif_reader,iptc_reader,picture_metadata,read_image_metadata,metadata_text,metadata_definition}.cpp
         "$root"/src/foundation/{output_file,text_codec,bounded_read,worker_threads}.cpp)
echo "fuzz: building picture"
"$CXX" -std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root/src" -I"$root/fuzz" \
  "$root/fuzz/codecs/picture_fuzzer.cpp" "${sources[@]}" \
  $(pkg-config --cflags --libs libjpeg libpng libtiff-4 libraw zlib libwmf) -lgif -o "$out/picture_fuzzer"

# Seeds: the fetched PNG, GIF and TIFF test pictures that are small enough.
corpus=$out/corpus-picture
mkdir -p "$corpus"
find "$testdata/images/pkg" "$testdata/owncodecs/libsdl2-image-tests" -type f \
     \( -iname '*.png' -o -iname '*.gif' -o -iname '*.tif' -o -iname '*.tiff' -o -iname '*.dng' \) \
     -size -70001c -exec cp -n {} "$corpus/" \; 2>/dev/null || true
# A small DNG (a camera RAW the RAW library decodes), made here.
if [ ! -e "$corpus/small.dng" ]; then
  python3 - "$corpus/small.dng" <<'PY'
import struct, sys
w, h = 32, 24
pixels = b"".join(struct.pack("<H", ((x * 97 + y * 131) % 4096)) for y in range(h) for x in range(w))
entries = []
def tag(code, typ, count, value):
    entries.append((code, typ, count, value))
# type: 1 BYTE, 2 ASCII, 3 SHORT, 4 LONG, 10 SRATIONAL
model = b"Galvora Test\0"
cm = [(1, 1), (0, 1), (0, 1), (0, 1), (1, 1), (0, 1), (0, 1), (0, 1), (1, 1)]
header = 8
n = 17
ifd_size = 2 + n * 12 + 4
extra_off = header + ifd_size
extra = bytearray()
def put(data):
    off = extra_off + len(extra)
    extra.extend(data)
    if len(extra) % 2: extra.append(0)
    return off
model_off = put(model)
cm_off = put(b"".join(struct.pack("<ii", a, b) for a, b in cm))
data_off = put(pixels)
tag(254, 4, 1, struct.pack("<I", 0))
tag(256, 4, 1, struct.pack("<I", w))
tag(257, 4, 1, struct.pack("<I", h))
tag(258, 3, 1, struct.pack("<HH", 16, 0))
tag(259, 3, 1, struct.pack("<HH", 1, 0))
tag(262, 3, 1, struct.pack("<HH", 32803, 0))
tag(271, 2, 4, b"Gal\0")
tag(273, 4, 1, struct.pack("<I", data_off))
tag(277, 3, 1, struct.pack("<HH", 1, 0))
tag(278, 4, 1, struct.pack("<I", h))
tag(279, 4, 1, struct.pack("<I", len(pixels)))
tag(33421, 3, 2, struct.pack("<HH", 2, 2))
tag(33422, 1, 4, bytes([0, 1, 1, 2]))
tag(50706, 1, 4, bytes([1, 4, 0, 0]))
tag(50708, 2, len(model), struct.pack("<I", model_off))
tag(50717, 4, 1, struct.pack("<I", 4095))
tag(50721, 10, 9, struct.pack("<I", cm_off))
assert len(entries) == n
ifd = struct.pack("<H", n) + b"".join(struct.pack("<HHI", c, t, k) + v.ljust(4, b"\0") for c, t, k, v in sorted(entries)) + b"\0\0\0\0"
open(sys.argv[1], "wb").write(b"II*\0" + struct.pack("<I", 8) + ifd + bytes(extra))
PY
fi

# The reader writes each input to a scratch folder below TMPDIR.
rm -rf "$out/tmp"
mkdir -p "$out/tmp"
status=0
TMPDIR="$out/tmp" run_fuzz_target picture "$out/picture_fuzzer" "$corpus" "$out" "$seconds" \
  -malloc_limit_mb=1024 -max_len=70000 || status=1
rm -rf "$out/tmp"
exit $status
