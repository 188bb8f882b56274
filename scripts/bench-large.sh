#!/usr/bin/env bash
# Speed of a batch run over a large collection: 3000 small JPEGs made from the
# sample photos (scripts/sample-pictures.sh), spread over 228 folders, among
# them one folder of 2000 pictures and a tree six levels deep. The pictures
# are small, so that the time goes to the run itself (scanning, naming,
# pages, scripts) rather than to decoding. Prints the time of each run and
# pictures per second. A run at the default /Level=2 takes the 2840 pictures
# of the second level; the deeper folders stay outside it, as at any level.
# Then the peak memory of a run over that collection against one over 20000
# pictures made the same way (more folders of 10 sub-folders with 4 pictures
# each), which should stay within 10 % of it.
#   scripts/bench-large.sh [build folder]   (default build/bench-large, a Release build)
# Environment: LARGE_RUNS (default 3) runs over the same collection, each
# into an empty output; LARGE_LEVEL (default 2) the run's /Level;
# LARGE_GROUPS (default 20) the folders of 10 sub-folders with 4 pictures
# each (400 makes 4000 small folders, to see how the run grows with folders);
# LARGE_KEEP=<folder> copies the output of the last run (thumbs/ and html/)
# there, so that two builds can be compared with diff -r; LARGE_MANY (default
# 20000) the pictures of the second collection, 0 to leave the memory
# comparison out; LARGE_DIR where the
# collection is made: by default on the tmpfs /dev/shm, so that the figures
# show the program rather than the disk (on ext4 a file created soon after
# many were deleted takes far longer, which would make the runs after the
# first look slow), else build/large.
set -euo pipefail
# The batch job without windows, also on a desktop.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/bench-large}")
runs=${LARGE_RUNS:-3}
level=${LARGE_LEVEL:-2}

if [ -z "${1:-}" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGALVORA_TESTS=OFF >/dev/null
  cmake --build "$build" -j4 --target galvora >/dev/null
fi
galvora=$build/bin/galvora
[ -x "$galvora" ] || { echo "galvora is not built in $build" >&2; exit 1; }
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail missing (Debian package libvips-tools)" >&2; exit 1; }

default_dir=$root/build/large
[ -d /dev/shm ] && [ -w /dev/shm ] && default_dir=/dev/shm/galvora-large
large=$(realpath -m "${LARGE_DIR:-$default_dir}")
base=$large/pictures
groups=${LARGE_GROUPS:-20}

# make_collection <folder> <groups>: the pictures below <folder>/pictures
# (made once and kept; a changed layout makes them anew).
make_collection() {
  local dir=$1 groups=$2
  local layout=v1-$groups
  if [ "$(cat "$dir/layout" 2>/dev/null)" = "$layout" ]; then return; fi
  rm -rf "$dir" && mkdir -p "$dir/photos" "$dir/small" "$dir/pictures"
  "$here/sample-pictures.sh" "$dir/photos"
  # A few sizes of every photo, so that the pictures are not all alike.
  for size in 160 200 240; do
    vipsthumbnail "$dir/photos"/*.jpg --size "$size" -o "$dir/small/%s_$size.jpg[Q=85]"
  done
  mapfile -t smalls < <(find "$dir/small" -type f -name '*.jpg' | sort)
  next=0
  # fill <folder> <count>: count pictures named img_0001.jpg, ... in the folder
  fill() {
    mkdir -p "$1"
    local i
    for ((i = 1; i <= $2; i++)); do
      cp "${smalls[next % ${#smalls[@]}]}" "$(printf '%s/img_%04d.jpg' "$1" "$i")"
      next=$((next + 1))
    done
  }
  fill "$dir/pictures/big/all" 2000
  for g in $(seq -w 1 "$groups"); do
    for s in $(seq -w 1 10); do fill "$dir/pictures/g$g/s$s" 4; done
  done
  local deep=$dir/pictures/deep
  for d in d2 d3 d4 d5 d6; do
    deep=$deep/$d
    fill "$deep" 40
  done
  rm -rf "$dir/photos"
  echo "$layout" >"$dir/layout"
}
make_collection "$large" "$groups"
total=$(find "$base" -type f -name 'img_*.jpg' -not -path '*/thumbs/*' -not -path '*/html/*' | wc -l)
folders=$(find "$base" -mindepth 1 -type d -not -path '*/thumbs*' -not -path '*/html*' -not -path '*/deco*' | wc -l)

# A user of its own, so that the run starts from the built-in settings.
user=$large/user
rm -rf "$user"
export XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_STATE_HOME=$user/state

echo "collection: $total pictures in $folders folders below $base, /Level=$level"
printf '%-8s %10s %12s %12s %12s\n' "run" "seconds" "cpu seconds" "pictures" "pictures/s"
# Earlier output is moved aside and deleted only after the last run.
old=$large/old
rm -rf "$old"
for run in $(seq "$runs"); do
  mkdir -p "$old/$run"
  for out in thumbs html deco; do
    if [ -e "$base/$out" ]; then mv "$base/$out" "$old/$run/"; fi
  done
  # Wall time, and user + system time, which a busy machine disturbs less.
  TIMEFORMAT='%R %U %S'
  { time "$galvora" "/Logfile=$large/run.log" /Profile=Voreinstellung "/Basedir=$base" "/Level=$level" \
      /LAUNCH_BROWSER=0 >/dev/null 2>"$large/run.err"; } 2>"$large/time" ||
    { cat "$large/run.err" >&2; echo "the run failed (log: $large/run.log)" >&2; exit 1; }
  done_pictures=$(find "$base/thumbs" -type f -name '*.jpg' 2>/dev/null | wc -l)
  awk -v r="$run" -v n="$done_pictures" \
    '{ printf "%-8s %10.3f %12.3f %12d %12.1f\n", r, $1, $2 + $3, n, n / $1 }' "$large/time"
done

if [ -n "${LARGE_KEEP:-}" ]; then
  rm -rf "$LARGE_KEEP" && mkdir -p "$LARGE_KEEP"
  cp -r "$base/thumbs" "$base/html" "$LARGE_KEEP/"
  echo "output kept in $LARGE_KEEP"
fi
rm -rf "$old"

# Peak memory against the number of pictures: one run over each collection.
many=${LARGE_MANY:-20000}
[ "$many" -gt 0 ] || exit 0
command -v /usr/bin/time >/dev/null || { echo "/usr/bin/time missing (Debian package time)" >&2; exit 1; }
many_groups=$(( (many - 2200 + 39) / 40 ))
many_dir=$large-$many
make_collection "$many_dir" "$many_groups"
# peak <collection folder>: the run's peak memory in KiB.
peak() {
  rm -rf "$1/pictures/thumbs" "$1/pictures/html" "$1/pictures/deco"
  /usr/bin/time -f '%M' -o "$1/peak" "$galvora" /Profile=Voreinstellung "/Basedir=$1/pictures" "/Level=$level" \
    /LAUNCH_BROWSER=0 >/dev/null 2>"$1/run.err" || { cat "$1/run.err" >&2; echo "the run failed" >&2; exit 1; }
  local made
  made=$(find "$1/pictures/thumbs" -type f -name '*.jpg' | wc -l)
  rm -rf "$1/pictures/thumbs" "$1/pictures/html" "$1/pictures/deco"
  echo "$(cat "$1/peak") $made"
}
read -r small_kib small_made < <(peak "$large")
read -r many_kib many_made < <(peak "$many_dir")
echo
printf '%-8s %12s %14s\n' "run" "pictures" "peak memory"
printf '%-8s %12d %11.1f MB\n' "small" "$small_made" "$(awk -v k="$small_kib" 'BEGIN { print k / 1024 }')"
printf '%-8s %12d %11.1f MB\n' "large" "$many_made" "$(awk -v k="$many_kib" 'BEGIN { print k / 1024 }')"
awk -v a="$many_kib" -v b="$small_kib" 'BEGIN {
  r = a / b
  printf "peak memory of the large run against the small one: %.2f (goal: at most 1.10, %s)\n", r,
    r <= 1.10 ? "met" : "NOT met" }'
