#!/usr/bin/env bash
# Speed of whole batch runs against vipsthumbnail, over copies of the
# 24-megapixel camera JPEG of npm exif@0.6.0 (sony-alpha-6000.jpg), 40 by
# default. Side by side: the default profile (120-pixel thumbnails and the
# pages), the default profile with an 800-pixel clone of every picture, one
# vipsthumbnail process making the same thumbnails, and vipsthumbnail run as
# 8 processes at once (xargs -P8); each on all processors and pinned to one
# (taskset -c 0). Every figure is the median of several runs, each into an
# empty output. Then the ratios and the goals they are held against.
#   scripts/bench.sh [build folder]   (default build/bench, a Release build)
# Environment: BENCH_RUNS (default 5) runs per figure, BENCH_COPIES (default
# 40) pictures, GALVORA_SERIAL=1 to time the runs that process one picture
# after another, JOBS (default 4) build jobs.
set -euo pipefail
# The batch job without windows, also on a desktop.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/bench}")
runs=${BENCH_RUNS:-5}
copies=${BENCH_COPIES:-40}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALVORA_BENCH=ON >/dev/null
cmake --build "$build" -j "${JOBS:-4}" --target galvora >/dev/null
"$here/fetch-testdata.sh" "$build/testdata" >/dev/null

picture="$build/testdata/images/pkg/exif/package/test/sony-alpha-6000.jpg"
[ -f "$picture" ] || { echo "test picture missing: $picture" >&2; exit 1; }
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail missing (Debian package libvips-tools)" >&2; exit 1; }
galvora=$build/bin/galvora

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/base"
for i in $(seq -w 1 "$copies"); do cp "$picture" "$work/base/copy$i.jpg"; done
export XDG_CONFIG_HOME=$work/user/config XDG_DATA_HOME=$work/user/data XDG_STATE_HOME=$work/user/state
unset DISPLAY WAYLAND_DISPLAY

# The runs. Each gets an empty output first.
fresh() { rm -rf "$work/base/thumbs" "$work/base/html" "$work/base/deco" "$work/base/clones" "$work/vips"; mkdir -p "$work/vips"; }
default_profile() { "$galvora" /Profile=Voreinstellung "/Basedir=$work/base" /Level=0 /LAUNCH_BROWSER=0; }
clone_profile() {
  "$galvora" /Profile=Voreinstellung "/Basedir=$work/base" /Level=0 /LAUNCH_BROWSER=0 /GENERATE_CLONES=1 \
    /CLONE_PATH=clones /CLONE_SELECTED_SIDE=1 /CLONE_SIZE=800
}
vips_one() { vipsthumbnail "$work/base"/*.jpg --size 120 -o "$work/vips/%s.jpg[Q=60]"; }
vips_eight() {
  find "$work/base" -maxdepth 1 -name '*.jpg' -print0 |
    xargs -0 -P8 -n "$(( (copies + 7) / 8 ))" vipsthumbnail --size 120 -o "$work/vips/%s.jpg[Q=60]"
}

# median <command> <pinned 0|1>: the median wall time of $runs runs, in seconds.
median() {
  local times=() start end
  for _ in $(seq "$runs"); do
    fresh
    start=$(date +%s%N)
    if [ "$2" = 1 ]; then taskset -c 0 bash -c "$(declare -f "$1"); $1" >/dev/null 2>&1
    else "$1" >/dev/null 2>&1; fi
    end=$(date +%s%N)
    times+=("$(( (end - start) / 1000000 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {printf "%.2f", t[int((NR + 1) / 2)] / 1000}'
}
export galvora work copies
# The output of one run, to show that it made what it should.
fresh && default_profile >/dev/null 2>&1
thumbs=$(find "$work/base/thumbs" -type f -name '*.jpg' | wc -l)
pages=$(find "$work/base/html" -name '*.html' | wc -l)
fresh && clone_profile >/dev/null 2>&1
clones=$(find "$work/base/clones" -maxdepth 1 -type f -name '*.jpg' | wc -l)
clone_size=$(vipsheader -f width "$(find "$work/base/clones" -maxdepth 1 -name '*.jpg' | head -n 1)")
# The clones are resized, not copied: their long side is 800 pixels.
[ "$clone_size" = 800 ] || { echo "the clone run made clones $clone_size pixels wide, not 800" >&2; exit 1; }

declare -A t
for run in default_profile clone_profile vips_one vips_eight; do
  for pinned in 0 1; do t[$run,$pinned]=$(median "$run" "$pinned"); done
done

rate() { awk -v n="$copies" -v s="$1" 'BEGIN { printf "%.1f", n / s }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
met() { awk -v v="$1" -v goal="$2" -v how="$3" 'BEGIN { ok = how == "max" ? v <= goal : v >= goal; print ok ? "met" : "NOT met" }'; }

echo "$copies copies of $(basename "$picture") (24 megapixels), median of $runs runs," \
  "$(nproc) processors${GALVORA_SERIAL:+, GALVORA_SERIAL=$GALVORA_SERIAL}"
printf '%-48s %22s %22s\n' "" "all processors" "one (taskset -c 0)"
printf '%-48s %10s %11s %10s %11s\n' "" "seconds" "pictures/s" "seconds" "pictures/s"
row() { printf '%-48s %10s %11s %10s %11s\n' "$1" "${t[$2,0]}" "$(rate "${t[$2,0]}")" "${t[$2,1]}" "$(rate "${t[$2,1]}")"; }
row "galvora, default profile ($thumbs thumbnails, $pages pages)" default_profile
row "galvora, + ${clone_size}-pixel clone ($clones clones)" clone_profile
row "vipsthumbnail, one process" vips_one
row "vipsthumbnail, 8 processes (xargs -P8)" vips_eight

echo
printf '%-48s %10s %11s %10s %11s\n' "galvora default profile against" "ratio" "goal" "ratio" "goal"
one_all=$(ratio "${t[default_profile,0]}" "${t[vips_one,0]}")
one_pinned=$(ratio "${t[default_profile,1]}" "${t[vips_one,1]}")
eight_all=$(ratio "${t[default_profile,0]}" "${t[vips_eight,0]}")
eight_pinned=$(ratio "${t[default_profile,1]}" "${t[vips_eight,1]}")
printf '%-48s %10s %11s %10s %11s\n' "  vipsthumbnail, one process" "$one_all" "<= 0.15" "$one_pinned" "<= 0.70"
printf '%-48s %10s %11s %10s %11s\n' "  vipsthumbnail, 8 processes" "$eight_all" "<= 1.00" "$eight_pinned" ""
clone_rate=$(rate "${t[clone_profile,0]}")
printf '%-48s %10s %11s\n' "800-pixel clone + thumbnail, pictures/s" "$clone_rate" ">= 10"

echo
echo "goals:"
echo "  one processor: default profile <= 0.70 x one vipsthumbnail process: $(met "$one_pinned" 0.70 max)"
echo "  all processors: default profile <= 0.15 x one vipsthumbnail process: $(met "$one_all" 0.15 max)"
echo "  all processors: default profile <= 1.00 x 8 vipsthumbnail processes: $(met "$eight_all" 1.00 max)"
echo "  all processors: 800-pixel clone + thumbnail >= 10 pictures/s: $(met "$clone_rate" 10 min)"
