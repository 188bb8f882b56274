#!/usr/bin/env bash
# Speed of a gallery run against vipsthumbnail, in pictures per second.
# First the picture step alone: the picture object makes an 800-pixel clone
# and a 120-pixel thumbnail of a 24-megapixel camera JPEG; vipsthumbnail makes
# the 120-pixel thumbnail alone. Then whole batch runs over real photos
# (scripts/sample-pictures.sh, copied under different names to at least 40
# pictures): the default profile (thumbnails and pages), the default profile
# with an 800-pixel clone, and vipsthumbnail making the same thumbnails.
#   scripts/bench.sh [build folder]   (default build/bench, a Release build)
set -euo pipefail
# The batch job without windows, also on a desktop.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/bench}")
rounds=${BENCH_ROUNDS:-20}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALVORA_BENCH=ON >/dev/null
cmake --build "$build" -j4 --target picture_bench image_bench galvora >/dev/null
"$here/fetch-testdata.sh" "$build/testdata" >/dev/null

picture="$build/testdata/images/pkg/exif/package/test/sony-alpha-6000.jpg"
[ -f "$picture" ] || { echo "test picture missing: $picture" >&2; exit 1; }
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail missing (Debian package libvips-tools)" >&2; exit 1; }

json=$(mktemp)
decode_json=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$json" "$decode_json" "$work"' EXIT

"$build/bin/picture_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$json" --benchmark_out_format=json >/dev/null

# The median of the repetitions, in milliseconds per picture (from the
# picture benchmark, or from the file given second).
median_ms() {
  python3 - "${2:-$json}" "$1" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
for b in data["benchmarks"]:
    name = b.get("run_name", "")
    if (name == sys.argv[2] or name.startswith(sys.argv[2] + "/")) and b.get("aggregate_name") == "median":
        if b.get("error_occurred"):
            sys.exit("benchmark failed: " + b.get("error_message", ""))
        print("%.2f" % b["real_time"])
        sys.exit(0)
sys.exit("no result for " + sys.argv[2])
PY
}
ours=$(median_ms BM_CloneAndThumbnail)
unchanged=$(median_ms BM_UnchangedGallery)

# vipsthumbnail: the median of single runs of the same thumbnail.
vips_times=()
for _ in $(seq "$rounds"); do
  start=$(date +%s%N)
  vipsthumbnail "$picture" --size 120 -o "$work/tn_%s.jpg[Q=80]"
  end=$(date +%s%N)
  vips_times+=("$(( (end - start) / 1000 ))")
done
vips=$(printf '%s\n' "${vips_times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}')

rate() { awk -v ms="$1" 'BEGIN { printf "%.1f", 1000 / ms }'; }
printf '%-46s %12s %14s\n' "24-megapixel JPEG ($(basename "$picture"))" "ms/picture" "pictures/s"
printf '%-46s %12s %14s\n' "galvora: 800-px clone + 120-px thumbnail" "$ours" "$(rate "$ours")"
printf '%-46s %12s %14s\n' "vipsthumbnail: 120-px thumbnail only" "$vips" "$(rate "$vips")"
printf '%-46s %12s %14s\n' "galvora: unchanged gallery (nothing remade)" "$unchanged" "$(rate "$unchanged")"
if awk -v a="$ours" -v b="$vips" 'BEGIN { exit !(a < b) }'; then
  echo "clone + thumbnail take less time than vipsthumbnail's thumbnail alone"
else
  echo "clone + thumbnail take longer than vipsthumbnail's thumbnail alone"
fi

# ------------------------------------------------------- decoding the JPEG
"$build/bin/image_bench" --benchmark_filter=Decode --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$decode_json" --benchmark_out_format=json >/dev/null
full=$(median_ms BM_DecodeFull "$decode_json")
echo
printf '%-46s %12s %14s\n' "decoding the same JPEG" "ms" "x full"
for row in "full decode:BM_DecodeFull" "decode for a 120-px thumbnail:BM_DecodeForThumbnail" \
           "libjpeg alone at 1/8:BM_DecodeEighth/library/0" "one-eighth decoder, 1 thread:BM_DecodeEighth/threads/1" \
           "one-eighth decoder, 4 threads:BM_DecodeEighth/threads/4"; do
  ms=$(median_ms "${row#*:}" "$decode_json")
  printf '%-46s %12s %14s\n' "${row%%:*}" "$ms" "$(awk -v a="$full" -v b="$ms" 'BEGIN { printf "%.1f", a / b }')"
done

# ---------------------------------------------------------------- whole runs
copies=${BENCH_COPIES:-4}
photos=$work/photos
"$here/sample-pictures.sh" "$photos"
export XDG_CONFIG_HOME=$work/user/config XDG_DATA_HOME=$work/user/data XDG_STATE_HOME=$work/user/state

# A fresh base folder holding every photo $copies times under other names.
fresh_base() {
  rm -rf "$work/base" && mkdir -p "$work/base"
  for i in $(seq "$copies"); do
    for f in "$photos"/*; do cp "$f" "$work/base/copy${i}_$(basename "$f")"; done
  done
}
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

fresh_base
total=$(find "$work/base" -maxdepth 1 -type f | wc -l)
start=$(date +%s.%N)
"$build/bin/galvora" /Profile=Voreinstellung "/Basedir=$work/base" /Level=0 >/dev/null 2>&1
end=$(date +%s.%N)
run_pages=$(seconds "$start" "$end")
thumbs=$(find "$work/base/thumbs" -type f 2>/dev/null | wc -l)
pages=$(find "$work/base" -name '*.html' | wc -l)

fresh_base
start=$(date +%s.%N)
"$build/bin/galvora" /Profile=Voreinstellung "/Basedir=$work/base" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=clones \
  /CLONE_SIZE_ORIGINAL=0 /CLONE_SIZE=800 >/dev/null 2>&1
end=$(date +%s.%N)
run_clones=$(seconds "$start" "$end")
clones=$(find "$work/base/clones" -maxdepth 1 -type f -iname '*.jpg' 2>/dev/null | wc -l)

fresh_base
mkdir -p "$work/vips"
start=$(date +%s.%N)
vipsthumbnail "$work/base"/*.jpg --size 120 -o "$work/vips/%s.jpg[Q=60]"
end=$(date +%s.%N)
run_vips=$(seconds "$start" "$end")

per_second() { awk -v n="$total" -v s="$1" 'BEGIN { printf "%.1f", n / s }'; }
# Pictures per second relative to vipsthumbnail's (above 1: faster).
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }
echo
printf '%-52s %10s %12s %8s\n' "batch runs over $total photos" "seconds" "pictures/s" "x vips"
printf '%-52s %10s %12s %8s\n' "galvora default profile ($thumbs thumbnails, $pages pages)" "$run_pages" \
  "$(per_second "$run_pages")" "$(ratio "$run_pages" "$run_vips")"
printf '%-52s %10s %12s %8s\n' "galvora + 800-pixel clone ($clones clones)" "$run_clones" \
  "$(per_second "$run_clones")" "$(ratio "$run_clones" "$run_vips")"
printf '%-52s %10s %12s %8s\n' "vipsthumbnail: the same 120-pixel thumbnails" "$run_vips" \
  "$(per_second "$run_vips")" "1.00"
