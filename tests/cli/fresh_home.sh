#!/usr/bin/env bash
# Runs one command-line test with a home folder of its own, emptied first:
# HOME and the XDG folders point below it, so neither the program nor a
# browser or desktop library the test starts writes into the tester's home,
# and no test sees what an earlier run left there.
# fresh_home.sh HOME-FOLDER SCRIPT ARGS...
set -u
home=$1
shift
rm -rf "$home"
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
  XDG_STATE_HOME=$home/state XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/runtime
exec bash "$@"
