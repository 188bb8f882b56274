#!/usr/bin/env bash
# Builds libFuzzer targets of the script compiler and machine, the profile
# file reader and writer, the language file reader, the script file reader and
# the INI and description file readers of the built-in `read`
# with clang and runs each for a bounded time (FUZZ_SECONDS, default 20) over
# a seed corpus of the shipped profiles, the default templates, the language
# files and the small scripts of the script tests. Exits non-zero when a
# target finds a crash, a leak, an over-read or a hang; the input that did it
# is left in the build folder (crash-*, leak-*, timeout-*, oom-*); once
# mended, keep it as a test case in the matching tests/<subsystem>/ test.
#   scripts/fuzz-script.sh [build folder] [target ...]   (default build/fuzz-script, all targets)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=fuzz-common.sh
source "$root/scripts/fuzz-common.sh"
out=$(realpath -m "${1:-$root/build/fuzz-script}")
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(script profile language scriptfile ini)
seconds=${FUZZ_SECONDS:-20}
mkdir -p "$out/obj"

CXX=${FUZZ_CXX:-clang++}
version=$(sed -n 's/^project(Galvora VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
IFS=. read -r major minor patch <<<"$version"
common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -I"$root/src" -I"$root/fuzz" -DGALVORA_VERSION_MAJOR="$major" -DGALVORA_VERSION_MINOR="$minor"
        -DGALVORA_VERSION_PATCH="$patch" $(pkg-config --cflags libpcre2-8 odbc fontconfig))
libs=($(pkg-config --libs libpcre2-8 odbc fontconfig) -lpthread)

# The program's sources go into one instrumented archive; each target links
# only the objects it needs from it.
sources=("$root"/src/platform/*.cpp "$root"/src/foundation/*.cpp "$root"/src/script/*.cpp
         "$root"/src/script/builtins/*.cpp "$root"/src/profile/*.cpp "$root/src/app/script_file.cpp"
         "$root/src/image/picture_buffer.cpp" "$root/src/image/large_block.cpp" "$root/fuzz/profile/no_pictures.cpp")
objects=()
for src in "${sources[@]}"; do
  rel=${src#"$root/"}
  objects+=("$out/obj/${rel//\//_}.o")
done
compile_one() {
  local src=$1 obj=$2
  if [ ! -e "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/src" -name '*.h' -newer "$obj" -print -quit)" ]; then
    "$CXX" "${common[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
  fi
}
echo "fuzz: compiling the program sources"
pids=()
for i in "${!sources[@]}"; do
  compile_one "${sources[$i]}" "${objects[$i]}" &
  pids+=($!)
  if [ ${#pids[@]} -ge 4 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
for pid in "${pids[@]}"; do wait "$pid"; done
rm -f "$out/libgalvora_fuzz.a"
ar rcs "$out/libgalvora_fuzz.a" "${objects[@]}"

# Seeds: every value and module of the shipped profiles and of the default
# settings table, the language files, and the script texts of the tests.
seeds=$out/seeds
if [ ! -d "$seeds" ] || [ "$root/fuzz/script/make_seeds.cpp" -nt "$seeds" ]; then
  rm -rf "$seeds"
  "$CXX" "${common[@]}" "$root/fuzz/script/make_seeds.cpp" "$out/libgalvora_fuzz.a" "${libs[@]}" -o "$out/make_seeds"
  "$out/make_seeds" "$seeds" "$root"/resources/profiles/*.qvp
  python3 "$root/fuzz/script/test_scripts.py" "$seeds/script" "$root"/tests/script/*_test.cpp \
    "$root"/tests/script/builtins/*_test.cpp "$root"/tests/script/data/*
  mkdir -p "$seeds/ini"
  printf '; note\r\nvor = 1\r\n[Abschnitt]\r\nk = a = b\r\nKey=x\r\n[offen\r\nzahl = 42\r\n' >"$seeds/ini/sections.ini"
  printf 'bild1.jpg Ein Bild\r\n"mit Leerzeichen.jpg" Text mit "Zeichen"\r\n\r\n"offen.jpg\r\n' >"$seeds/ini/descript.ion"
fi

add_seeds() {
  local corpus=$1
  shift
  for seed in "$@"; do
    [ -f "$seed" ] || continue
    [ "$(stat -c %s "$seed")" -le 70000 ] || continue
    cp -n "$seed" "$corpus/" 2>/dev/null || true
  done
}

status=0
for target in "${targets[@]}"; do
  case $target in
    script) source_file=$root/fuzz/script/script_fuzzer.cpp dict=$root/fuzz/script/zantoscript.dict ;;
    profile) source_file=$root/fuzz/profile/profile_fuzzer.cpp dict=$root/fuzz/profile/profile.dict ;;
    language) source_file=$root/fuzz/profile/language_fuzzer.cpp dict=$root/fuzz/profile/profile.dict ;;
    scriptfile) source_file=$root/fuzz/profile/script_file_fuzzer.cpp dict=$root/fuzz/script/zantoscript.dict ;;
    ini) source_file=$root/fuzz/script/ini_fuzzer.cpp dict=$root/fuzz/profile/profile.dict ;;
    *) echo "fuzz: unknown target $target"; exit 2 ;;
  esac
  bin="$out/${target}_fuzzer"
  echo "fuzz: building $target"
  "$CXX" "${common[@]}" -fsanitize=fuzzer "$source_file" "$out/libgalvora_fuzz.a" "${libs[@]}" -o "$bin"
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  case $target in
    script) add_seeds "$corpus" "$seeds"/script/* ;;
    profile) add_seeds "$corpus" "$seeds"/profile/* "$root"/resources/profiles/*.qvp ;;
    language) add_seeds "$corpus" "$root"/resources/languages/*.lng ;;
    scriptfile) add_seeds "$corpus" "$seeds"/scriptfile/* "$root"/tests/script/data/*.zsf ;;
    ini) add_seeds "$corpus" "$seeds"/ini/* "$root"/resources/languages/*.lng ;;
  esac
  # The targets write each input to a scratch folder below TMPDIR.
  rm -rf "$out/tmp"
  mkdir -p "$out/tmp"
  # Every input's work is bounded by counts (its length, and the script
  # target's budget of instructions and bytes built), so the time limit per
  # input is there for a true hang only, far above what a busy machine needs.
  FUZZ_INPUT_SECONDS=${FUZZ_INPUT_SECONDS:-120} \
  TMPDIR="$out/tmp" GALVORA_TESTING=1 XDG_CONFIG_HOME="$out/home/config" \
    XDG_DATA_HOME="$out/home/data" XDG_STATE_HOME="$out/home/state" \
    run_fuzz_target "$target" "$bin" "$corpus" "$out" "$seconds" \
      -dict="$dict" -malloc_limit_mb=1024 -max_len=70000 || status=1
done
rm -rf "$out/tmp"
exit $status
