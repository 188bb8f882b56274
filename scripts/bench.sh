#!/usr/bin/env bash
# Speed of a gallery run's picture step against vipsthumbnail on the same
# file: the picture object makes an 800-pixel clone and a 120-pixel thumbnail
# of a 24-megapixel camera JPEG; vipsthumbnail makes the 120-pixel thumbnail
# alone. Prints both, side by side, in pictures per second.
#   scripts/bench.sh [build folder]   (default build/bench, a Release build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/bench}")
rounds=${BENCH_ROUNDS:-20}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALVORA_BENCH=ON >/dev/null
cmake --build "$build" -j4 --target picture_bench >/dev/null
"$here/fetch-testdata.sh" "$build/testdata" >/dev/null

picture="$build/testdata/images/pkg/exif/package/test/sony-alpha-6000.jpg"
[ -f "$picture" ] || { echo "test picture missing: $picture" >&2; exit 1; }
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail missing (Debian package libvips-tools)" >&2; exit 1; }

json=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$json" "$work"' EXIT

"$build/bin/picture_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$json" --benchmark_out_format=json >/dev/null

# The median of the repetitions, in milliseconds per picture.
median_ms() {
  python3 - "$json" "$1" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
for b in data["benchmarks"]:
    if b.get("run_name", "").split("/")[0] == sys.argv[2] and b.get("aggregate_name") == "median":
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
