#!/usr/bin/env bash
# Builds one libFuzzer target per own picture reader (BMP, PCX, TGA, PSD,
# Photo CD, metafile) with clang and runs each for a bounded time
# (FUZZ_SECONDS, default 20) over a seed corpus of the fetched test pictures
# and pictures our writers make. Exits non-zero when a target finds a crash,
# a leak, an over-read or a hang; the input that did it is left in the build
# folder (crash-*, leak-*, timeout-*); once mended, keep it under
# tests/image/owncodecs/regressions/ with a test that reads it.
#   scripts/fuzz-owncodecs.sh [build folder]      (default build/fuzz-owncodecs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=fuzz-common.sh
source "$root/scripts/fuzz-common.sh"
out=$(realpath -m "${1:-$root/build/fuzz-owncodecs}")
seconds=${FUZZ_SECONDS:-20}
testdata=${GALVORA_TESTDATA:-$root/build/test/testdata}/owncodecs
mkdir -p "$out"

CXX=${FUZZ_CXX:-clang++}
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root/src" -I"$root/fuzz")
codec=$root/src/image/owncodecs
sources=("$codec"/{byte_reader,byte_writer,dib_decoder,dib_encoder,bmp_codec,pcx_codec,tga_codec,psd_codec,photo_cd_codec,metafile_records}.cpp
         "$root/src/image/picture_buffer.cpp" "$root/src/image/large_block.cpp")

# Seeds our writers make (the seed maker also needs the metafile writer and
# so libwmf and libpng).
seeds=$out/seeds
if [ ! -d "$seeds" ]; then
  "${SEED_CXX:-c++}" -std=c++20 -O1 -I"$root/src" "$root/fuzz/owncodecs/make_seeds.cpp" "$codec"/*.cpp \
    "$root/src/image/picture_buffer.cpp" "$root/src/image/large_block.cpp" "$root/src/image/codecs/png_codec.cpp" \
    $(pkg-config --cflags --libs libwmf libpng) -o "$out/make_seeds"
  "$out/make_seeds" "$seeds"
fi

# Copies files no larger than max_bytes into a corpus folder.
add_seeds() {
  local corpus=$1 max_bytes=$2
  shift 2
  for seed in "$@"; do
    [ -f "$seed" ] || continue
    [ "$(stat -c %s "$seed")" -le "$max_bytes" ] || continue
    cp -n "$seed" "$corpus/" 2>/dev/null || true
  done
}

status=0
for target in bmp pcx tga psd pcd metafile; do
  bin="$out/${target}_fuzzer"
  echo "fuzz: building $target"
  "$CXX" "${flags[@]}" "$root/fuzz/owncodecs/${target}_fuzzer.cpp" "${sources[@]}" -o "$bin"
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  max_len=70000
  case $target in
    bmp) add_seeds "$corpus" 70000 "$seeds"/bmp/* "$testdata"/bmp-js/package/test/*.bmp \
           "$testdata"/libsdl2-image-tests/root/usr/libexec/installed-tests/SDL2_image/*.bmp ;;
    pcx) add_seeds "$corpus" 70000 "$seeds"/pcx/* "$testdata"/allegro-examples/*.pcx \
           "$testdata"/libsdl2-image-tests/root/usr/libexec/installed-tests/SDL2_image/*.pcx ;;
    tga) add_seeds "$corpus" 70000 "$seeds"/tga/* "$testdata"/tga/package/testFiles/*.tga ;;
    psd) add_seeds "$corpus" 70000 "$seeds"/psd/* ;;
    metafile) add_seeds "$corpus" 70000 "$seeds"/metafile/* ;;
    pcd)
      # A pack cut after its smallest picture, behind the byte that picks
      # the resolution code (1).
      max_len=50000
      if [ ! -e "$corpus/base16.seed" ]; then
        python3 - "$corpus/base16.seed" <<'PY'
import sys
pack = bytearray(0x2000 + 192 * 128 * 3 // 2)
pack[0x800:0x807] = b"PCD_IPI"
for i in range(0x2000, len(pack)):
    pack[i] = (i * 7) & 0xFF
open(sys.argv[1], "wb").write(b"\x01" + pack)
PY
      fi ;;
  esac
  run_fuzz_target "$target" "$bin" "$corpus" "$out" "$seconds" -max_len="$max_len" || status=1
done
exit $status
