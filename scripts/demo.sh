#!/usr/bin/env bash
# The main job on real photos (scripts/sample-pictures.sh) in
# build/demo/pictures/: a batch gallery run with the built-in default profile,
# then the path of the first page.
#   scripts/demo.sh [build folder]   (default build/release)
set -euo pipefail
# The batch job without windows, also on a desktop.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(realpath -m "${1:-$root/build/release}")
galvora=$build/bin/galvora
[ -x "$galvora" ] || { echo "galvora is not built in $build (run: make demo)" >&2; exit 1; }

demo=$root/build/demo
pictures=$demo/pictures
rm -rf "$pictures"
"$here/sample-pictures.sh" "$pictures"

# A user of its own, so that the run starts from the built-in settings and
# the default profile's German name whatever this machine's user has chosen.
user=$demo/user
rm -rf "$user"
export XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_STATE_HOME=$user/state
start=$(date +%s.%N)
# The run prints the page a browser would open first; progress goes to stderr.
first=$("$galvora" "/Logfile=$demo/galvora.log" /Profile=Voreinstellung "/Basedir=$pictures" /Level=0 2>"$demo/run.err") ||
  { cat "$demo/run.err" >&2; echo "the batch run failed (log: $demo/galvora.log)" >&2; exit 1; }
end=$(date +%s.%N)

count=$(find "$pictures" -maxdepth 1 -type f | wc -l)
[ -f "$first" ] || { echo "the run wrote no page (log: $demo/galvora.log)" >&2; exit 1; }
awk -v n="$count" -v a="$start" -v b="$end" 'BEGIN { printf "%d pictures in %.1f s\n", n, b - a }'
echo "first page: $first"
