#!/usr/bin/env bash
# Fetches third-party test pictures by package name into the test build's
# testdata folder (cached between runs). Nothing fetched here is committed.
set -euo pipefail
dest=${1:-build/test/testdata}
mkdir -p "$dest"
