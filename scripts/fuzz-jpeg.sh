#!/usr/bin/env bash
# Builds the differential libFuzzer target of reduced JPEG reads (libjpeg
# alone against the threaded decoders, at scale 1/8 and at the scaled
# decoder's scales: both must fail, or give the same pixels) with clang and
# runs it for a bounded time (FUZZ_SECONDS, default 20) over a seed corpus of
# the fetched JPEG test pictures and generated files of every sampling. Exits
# non-zero when the two disagree, or on a crash, a leak, an over-read or a
# hang; the input that did it is left in the build folder (crash-*, leak-*,
# timeout-*); once mended, make it a case of tests/image/jpeg_eighth_test.cpp.
#   scripts/fuzz-jpeg.sh [build folder]      (default build/fuzz-jpeg)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=fuzz-common.sh
source "$root/scripts/fuzz-common.sh"
out=$(realpath -m "${1:-$root/build/fuzz-jpeg}")
seconds=${FUZZ_SECONDS:-20}
testdata=${GALVORA_TESTDATA:-$root/build/test/testdata}
mkdir -p "$out"

CXX=${FUZZ_CXX:-clang++}
image=$root/src/image
echo "fuzz: building jpeg"
"$CXX" -std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
  -fno-sanitize-recover=undefined -I"$root/src" \
  "$root/fuzz/codecs/jpeg_eighth_fuzzer.cpp" "$image"/codecs/jpeg_*.cpp \
  "$image/picture_buffer.cpp" "$image/large_block.cpp" $(pkg-config --cflags --libs libjpeg) -lpthread -o "$out/jpeg_fuzzer"

# Seeds: the fetched JPEG test pictures that are small enough, and small
# files of every sampling the threaded decoders take.
corpus=$out/corpus-jpeg
mkdir -p "$corpus"
if [ ! -x "$out/make_jpeg_seeds" ]; then
  "${SEED_CXX:-c++}" -std=c++20 -O1 "$root/fuzz/codecs/make_jpeg_seeds.cpp" \
    $(pkg-config --cflags --libs libjpeg) -o "$out/make_jpeg_seeds"
fi
"$out/make_jpeg_seeds" "$corpus"
find "$testdata/images/pkg" -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -size -200001c \
     -exec cp -n {} "$corpus/" \; 2>/dev/null || true

run_fuzz_target jpeg "$out/jpeg_fuzzer" "$corpus" "$out" "$seconds" -max_len=200000
