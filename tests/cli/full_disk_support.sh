# Sourced by the batch tests that run out of disk space. small_disk FOLDER
# SIZE makes FOLDER a file system of SIZE of its own when the test may mount
# one (and adds it to $mounted for the test's clean-up); otherwise a
# preloaded library makes writes below FOLDER fail the way a full disk does
# (GALVORA_TEST_NO_MOUNT=1 takes it even where mounting works). Then
# `fill BYTES` leaves about BYTES free, `on_small_disk COMMAND...` runs a
# command under those limits, and $small_disk_mounted tells which it was.
small_disk() {
  small_disk_folder=$1
  mkdir -p "$small_disk_folder"
  if [ -z "${GALVORA_TEST_NO_MOUNT:-}" ] && mount -t tmpfs -o size="$2" tmpfs "$small_disk_folder" 2>/dev/null; then
    small_disk_mounted=1
    mounted="$mounted $small_disk_folder"
  else
    small_disk_mounted=""
    cc -shared -fPIC -O1 -o "$tmp/full_disk_shim.so" "$(dirname "${BASH_SOURCE[0]}")/full_disk_shim.c" -ldl \
      || { echo "FAILED: the full-disk stand-in does not build"; exit 1; }
  fi
  small_disk_free=""
}

fill() {
  if [ -z "$small_disk_mounted" ]; then small_disk_free=$1; return; fi
  rm -f "$small_disk_folder/filler"
  local avail
  avail=$(( $(stat -f -c '%a * %S' "$small_disk_folder") ))
  if [ "$avail" -gt "$1" ]; then head -c $(( avail - $1 )) /dev/zero >"$small_disk_folder/filler" 2>/dev/null; fi
  true
}

on_small_disk() {
  if [ -n "$small_disk_mounted" ]; then "$@"; return; fi
  GALVORA_FULL_DISK_DIR=$small_disk_folder GALVORA_FULL_DISK_FREE=$small_disk_free \
    LD_PRELOAD=$tmp/full_disk_shim.so ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 "$@"
}
