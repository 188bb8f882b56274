#!/usr/bin/env bash
# Runs the main job: a batch gallery run over sample photos with the default profile.
set -euo pipefail
build=${1:-build/release}
test -x "$build/bin/galvora"
echo "no gallery run yet"
