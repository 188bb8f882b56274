# Shared by the scripts/fuzz-*.sh runners (sourced, not run).
#
# run_fuzz_target NAME BINARY CORPUS FOLDER SECONDS [libFuzzer options ...]
# Runs one libFuzzer target inside FOLDER for SECONDS over CORPUS, with leak
# detection, a limit per input (FUZZ_INPUT_SECONDS, default 10) and 2 GB of
# memory; the log goes to FOLDER/NAME.log. Prints the outcome and returns non-zero when the target
# found a crash, a leak, an over-read or a hang (its input is left in FOLDER).
# Variables set in front of the call reach the target's environment.
run_fuzz_target() {
  local target=$1 bin=$2 corpus=$3 out=$4 seconds=$5
  shift 5
  echo "fuzz: running $target for ${seconds}s"
  if ! ( cd "$out" && ASAN_OPTIONS=detect_leaks=1 "$bin" "$corpus" -max_total_time="$seconds" \
           -timeout="${FUZZ_INPUT_SECONDS:-10}" -rss_limit_mb=2048 -print_final_stats=1 "$@" >"$out/$target.log" 2>&1 ); then
    echo "fuzz: $target FAILED (see $out/$target.log)"
    tail -40 "$out/$target.log"
    return 1
  fi
  grep -E "stat::number_of_executed_units" "$out/$target.log" | tail -1 || true
  echo "fuzz: $target passed"
}
