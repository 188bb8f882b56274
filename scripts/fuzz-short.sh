#!/usr/bin/env bash
# Builds the libFuzzer targets of the EXIF and IPTC readers with clang and runs
# each for a short while (FUZZ_SECONDS, default 30). Exits non-zero when a
# target finds a crash, a leak, an over-read or a hang.
#   scripts/fuzz-short.sh [build folder]      (default build/fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=fuzz-common.sh
source "$root/scripts/fuzz-common.sh"
out=$(realpath -m "${1:-$root/build/fuzz}")
seconds=${FUZZ_SECONDS:-30}
testdata=${GALVORA_TESTDATA:-$root/build/test/testdata}
mkdir -p "$out"

CXX=${FUZZ_CXX:-clang++}
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root/src" -I"$root/fuzz")
sources=("$root"/src/image/metadata/{exif_reader,iptc_reader,picture_metadata,read_image_metadata,metadata_text,metadata_definition}.cpp
         "$root"/src/foundation/{text_codec,bounded_read,output_file,worker_threads}.cpp)

status=0
for target in exif iptc; do
  bin="$out/${target}_fuzzer"
  echo "fuzz: building $target"
  "$CXX" "${flags[@]}" "$root/fuzz/${target}_fuzzer.cpp" "${sources[@]}" -o "$bin"
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  # Seeds: real pictures with EXIF, IPTC and broken EXIF, when the test data is there.
  for seed in "$testdata"/goexif/samples/*.jpg "$testdata"/goexif/corrupt/*.jpg "$testdata"/exif-npm/*.jpg; do
    [ -f "$seed" ] || continue
    [ "$(stat -c %s "$seed")" -le 200000 ] || continue
    cp -n "$seed" "$corpus/" 2>/dev/null || true
  done
  run_fuzz_target "$target" "$bin" "$corpus" "$out" "$seconds" -max_len=70000 || status=1
done
exit $status
