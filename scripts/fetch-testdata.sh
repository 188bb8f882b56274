#!/usr/bin/env bash
# Fetches third-party test pictures by package name into the test build's
# testdata folder (cached between runs). Nothing fetched here is committed.
# Each scripts/testdata/*.sh adds one group of files; it is sourced with
# $dest set and should skip work whose result is already in place.
set -euo pipefail
dest=$(realpath -m "${1:-build/test/testdata}")
mkdir -p "$dest"
here=$(cd "$(dirname "$0")" && pwd)
for part in "$here"/testdata/*.sh; do
  [ -e "$part" ] || continue
  # shellcheck source=/dev/null
  ( cd "$dest" && dest="$dest" source "$part" )
done
