#!/usr/bin/env bash
# Runs every test of a test build as a tester with an empty home folder and
# no XDG folders of their own, then checks that the tests left that home
# untouched: each test keeps to its own scratch folders (below the build
# folder or in its temporary folder), whatever program it starts.
# run-tests.sh BUILD-FOLDER JOBS
set -u
build=$(cd "$1" && pwd)
jobs=${2:-$(nproc)}
home=$build/tester-home
rm -rf "$home"
mkdir -p "$home"
cd "$build" || exit 1
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME -u XDG_CACHE_HOME -u XDG_RUNTIME_DIR \
  HOME="$home" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs"
rc=$?
left=$(find "$home" -mindepth 1 | sed "s|^$home/|~/|")
if [ -n "$left" ]; then
  echo "The tests wrote into the tester's home folder:"
  echo "$left" | head -20
  [ $rc -ne 0 ] || rc=1
fi
exit $rc
