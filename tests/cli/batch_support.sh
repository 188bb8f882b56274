# Shared by the batch tests: a private temporary folder with HOME and the
# per-user folders inside it, no display, a check helper and a small JPEG.
set -u
galvora=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
mkdir -p "$HOME"
fail=0
check() { if ! eval "$2"; then echo "FAILED: $1"; fail=1; fi; }
# After a failed row whose cause the checks alone do not tell: the status, the
# scratch folder's state and the last messages of the run.
show_run() {  # status messages-file
  echo "  status $1; scratch folder $([ -d "$tmp" ] && echo present || echo MISSING)"
  if [ -f "$2" ]; then tail -n 15 "$2" | sed 's/^/  | /'; else echo "  $2 is missing"; fi
}

# Waits until the condition $1 holds, for as long as the process $2 lives
# (no limit of time: a busy machine makes a test slower, never failed).
# False when the process ended before the condition held.
wait_until() {
  until eval "$1"; do
    kill -0 "$2" 2>/dev/null || { eval "$1"; return; }
    sleep 0.1
  done
}

# A 24 x 16 baseline JPEG.
jpeg() {
  mkdir -p "$(dirname "$1")"
  echo '/9j/2wBDAA0JCgsKCA0LCgsODg0PEyAVExISEyccHhcgLikxMC4pLSwzOko+MzZGNywtQFdBRkxOUlNSMj5aYVpQYEpRUk//wAALCAAQABgBAREA/8QAHwAAAQUBAQEBAQEAAAAAAAAAAAECAwQFBgcICQoL/8QAtRAAAgEDAwIEAwUFBAQAAAF9AQIDAAQRBRIhMUEGE1FhByJxFDKBkaEII0KxwRVS0fAkM2JyggkKFhcYGRolJicoKSo0NTY3ODk6Q0RFRkdISUpTVFVWV1hZWmNkZWZnaGlqc3R1dnd4eXqDhIWGh4iJipKTlJWWl5iZmqKjpKWmp6ipqrKztLW2t7i5usLDxMXGx8jJytLT1NXW19jZ2uHi4+Tl5ufo6erx8vP09fb3+Pn6/9oACAEBAAA/APMKKKKKK//Z' | base64 -d >"$1"
}

# Two picture directories with two pictures each.
make_base() {
  rm -rf "$tmp/base"
  jpeg "$tmp/base/alpha/one.jpg"; jpeg "$tmp/base/alpha/two.jpg"
  jpeg "$tmp/base/beta/three.jpg"; jpeg "$tmp/base/beta/four.JPG"
}

pages_in() { find "$1" -name '*.html' | wc -l; }

# The hostile-run tables: a world $W with the base folder b and a home folder,
# the output folders listed in $outputs.
# Everything in the world but the output folders: type, mode, path, link
# target and the contents of every file. Folder times are left out (making an
# output folder inside the base folder changes its time).
snapshot() {
  local prune=() d
  for d in $outputs; do prune+=(-path "$W/$d" -prune -o); done
  (cd "$W" && find "$W" "${prune[@]}" -printf '%y %m %p %l\n' | sort \
    && find "$W" "${prune[@]}" -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

# Runs the batch binary on the world: the profile and the base folder come
# first, the row's switches after; HOME is the world's own. The status is in
# $rc, the peak memory in kB from peak_kb.
rc=0
batch() {
  HOME=$W/home /usr/bin/time -o "$tmp/time.txt" -v "$galvora" "$profile" "/Basedir=$W/b" "$@" \
    >"$tmp/out.txt" 2>"$tmp/err.txt"
  rc=$?
}

peak_kb() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$tmp/time.txt"; }

# Runs every row_<name> function of the test as one table row: a fresh world
# (the test's fresh()), the row's set-up, the batch run with the row's
# switches, then the status, the message and that nothing outside the output
# changed; then the test's every_row_checks and the row's own check_<name>.
run_rows() {
  local rows before after
  rows=$(declare -F | sed -n 's/^declare -f row_//p')
  for row in $rows; do
    fresh
    profile=/Profile=Voreinstellung
    outputs="b/thumbs b/html b/deco"
    "row_$row"
    before=$(snapshot)
    batch "${sw[@]}"
    after=$(snapshot)
    check "$row: status $expect" '[ "$rc" -eq "$expect" ] || { echo "status $rc"; tail -5 "$tmp/err.txt"; false; }'
    [ -z "$message" ] || check "$row: message" 'grep -Eq "$message" "$tmp/err.txt" || { tail -5 "$tmp/err.txt"; false; }'
    check "$row: originals and everything outside the output as before" \
      '[ "$before" = "$after" ] || { diff <(echo "$before") <(echo "$after") | head -5; false; }'
    every_row_checks
    if declare -F "check_$row" >/dev/null; then "check_$row"; fi
  done
}
