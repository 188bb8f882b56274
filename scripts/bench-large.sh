#!/usr/bin/env bash
# Speed of a batch run over a large collection: 3000 small JPEGs made from the
# sample photos (scripts/sample-pictures.sh), spread over 228 folders, among
# them one folder of 2000 pictures and a tree six levels deep. The pictures
# are small, so that the time goes to the run itself (scanning, naming,
# pages, scripts) rather than to decoding. Prints the time of each run and
# pictures per second. A run at the default /Level=2 takes the 2840 pictures
# of the second level; the deeper folders stay outside it, as at any level.
#   scripts/bench-large.sh [build folder]   (default build/bench-large, a Release build)
# Environment: LARGE_RUNS (default 3) runs over the same collection, each
# into an empty output; LARGE_LEVEL (default 2) the run's /Level;
# LARGE_GROUPS (default 20) the folders of 10 sub-folders with 4 pictures
# each (400 makes 4000 small folders, to see how the run grows with folders);
# LARGE_KEEP=<folder> copies the output of the last run (thumbs/ and html/)
# there, so that two builds can be compared with diff -r; LARGE_DIR where the
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
layout=v1-$groups
# The collection is made once and kept; a changed layout makes it anew.
if [ "$(cat "$large/layout" 2>/dev/null)" != "$layout" ]; then
  rm -rf "$large" && mkdir -p "$large/photos" "$large/small" "$base"
  "$here/sample-pictures.sh" "$large/photos"
  # A few sizes of every photo, so that the pictures are not all alike.
  for size in 160 200 240; do
    vipsthumbnail "$large/photos"/*.jpg --size "$size" -o "$large/small/%s_$size.jpg[Q=85]"
  done
  mapfile -t smalls < <(find "$large/small" -type f -name '*.jpg' | sort)
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
  fill "$base/big/all" 2000
  for g in $(seq -w 1 "$groups"); do
    for s in $(seq -w 1 10); do fill "$base/g$g/s$s" 4; done
  done
  deep=$base/deep
  for d in d2 d3 d4 d5 d6; do
    deep=$deep/$d
    fill "$deep" 40
  done
  rm -rf "$large/photos"
  echo "$layout" >"$large/layout"
fi
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
