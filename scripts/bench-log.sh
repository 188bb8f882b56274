#!/usr/bin/env bash
# What it would cost a large batch run to bring every log line to the disk:
# the same run over 300 small JPEGs (30 picture directories at /Level=2) with
# a log file, once as the program writes its log (one write() per line, no
# flush) and once with an fdatasync() after every line
# (scripts/log_flush_shim.c, preloaded). Both on the disk of the build folder,
# not on a tmpfs, where a flush would cost nothing. Prints the median wall,
# user and system time of each side by side, the log lines and the cost per
# line.
#   scripts/bench-log.sh [build folder]   (default build/bench-large, a Release build)
# Environment: LOG_RUNS (default 5) runs each way, LOG_PICTURES (default 300),
# LOG_DIR where the pictures and the log are made (default build/bench-log),
# JOBS (default 4) build jobs.
set -euo pipefail
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/bench-large}")
runs=${LOG_RUNS:-5}
pictures=${LOG_PICTURES:-300}
work=$(realpath -m "${LOG_DIR:-$root/build/bench-log}")

if [ -z "${1:-}" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALVORA_TESTS=OFF >/dev/null
  cmake --build "$build" -j "${JOBS:-4}" --target galvora >/dev/null
fi
galvora=$build/bin/galvora
[ -x "$galvora" ] || { echo "galvora is not built in $build" >&2; exit 1; }
command -v vips >/dev/null || { echo "vips missing (Debian package libvips-tools)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (Debian package time)" >&2; exit 1; }

mkdir -p "$work/base" "$work/user"
cc -shared -fPIC -O2 -o "$work/log_flush_shim.so" "$here/log_flush_shim.c" -ldl
# 30 directories of 10 pictures two levels down: base/gNN/sN/pNN.jpg, each
# 160 x 120 pixels of its own noise (made once and kept).
rm -rf "$work/base/thumbs" "$work/base/html" "$work/base/deco"
[ "$(find "$work/base" -path "$work/base/g*/s*/p*.jpg" | wc -l)" -eq "$pictures" ] || rm -rf "$work/base"
n=0
[ -d "$work/base" ] && n=$pictures
while [ "$n" -lt "$pictures" ]; do
  dir=$work/base/g$(printf '%02d' $((n / 20)))/s$((n / 10 % 2))
  mkdir -p "$dir"
  vips gaussnoise "$dir/p$(printf '%02d' $((n % 10))).jpg[Q=85]" 160 120 --sigma 60
  n=$((n + 1))
done
export XDG_CONFIG_HOME=$work/user/config XDG_DATA_HOME=$work/user/data XDG_STATE_HOME=$work/user/state
log=$work/run.log

# run <way>: one run into an empty output; prints "wall user system".
run() {
  rm -rf "$work/base/thumbs" "$work/base/html" "$work/base/deco" "$log"
  sync
  local preload=()
  [ "$1" = flush ] && preload=(env "LD_PRELOAD=$work/log_flush_shim.so" "GALVORA_LOG_FLUSH_FILE=$log")
  "${preload[@]}" /usr/bin/time -f '%e %U %S' -o "$work/time.txt" \
    "$galvora" /Profile=Voreinstellung "/Basedir=$work/base" /Level=2 "/Logfile=$log" /LAUNCH_BROWSER=0 \
    >/dev/null 2>&1 || { echo "the $1 run failed" >&2; exit 1; }
  cat "$work/time.txt"
}

declare -A wall user sys
for way in write flush; do wall[$way]=""; user[$way]=""; sys[$way]=""; done
for _ in $(seq "$runs"); do
  for way in write flush; do
    read -r w u s < <(run "$way")
    wall[$way]+="$w "; user[$way]+="$u "; sys[$way]+="$s "
  done
done
lines=$(wc -l <"$log")
pages=$(find "$work/base/html" -name '*.html' | wc -l)
median() { printf '%s\n' $1 | sort -n | awk '{t[NR] = $1} END {printf "%.2f", t[int((NR + 1) / 2)]}'; }

echo "$pictures pictures in 30 directories (/Level=2), $pages pages, $lines log lines;" \
  "median of $runs runs each, on $(df --output=source,fstype "$work" | tail -1 | tr -s ' ')"
printf '%-52s %10s %10s %10s\n' "" "wall s" "user s" "system s"
for way in write flush; do
  label="one write() per line (as the program is)"
  [ "$way" = flush ] && label="write() + fdatasync() per line (preloaded)"
  printf '%-52s %10s %10s %10s\n' "$label" "$(median "${wall[$way]}")" "$(median "${user[$way]}")" "$(median "${sys[$way]}")"
done
awk -v a="$(median "${wall[write]}")" -v b="$(median "${wall[flush]}")" -v n="$lines" 'BEGIN {
  printf "the flush per line adds %.2f s (%+.0f %%), %.2f ms a line\n", b - a, (b - a) / a * 100, (b - a) / n * 1000 }'
