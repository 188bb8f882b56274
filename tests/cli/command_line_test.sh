#!/usr/bin/env bash
# The command line: a faulty one is refused with the bilingual message and
# status 2; a log file that cannot be made is refused the same way; a good log
# switch writes the first log line. Without a window nobody can read a message
# and carry on, so both end the program with status 2 instead of showing the
# message and going on as the window program's start would (listed in the
# README).
set -u
galvora=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
fail=0
check() { if ! eval "$2"; then echo "FAILED: $1"; fail=1; fi; }

"$galvora" /Logfile >"$tmp/out" 2>"$tmp/err"; rc=$?
check "switch without value gives status 2" '[ $rc -eq 2 ]'
check "switch without value gives the message" 'grep -q "Kommandozeile fehlerhaft" "$tmp/err" && grep -q "Error in Commandline" "$tmp/err"'

"$galvora" bareword /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "bare word gives status 2" '[ $rc -eq 2 ]'

"$galvora" "/Logfile=$tmp/no/such/folder/x.log" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "log in a missing folder gives status 2" '[ $rc -eq 2 ]'
check "log failure message" 'grep -q "LOG-Datei kann nicht erzeugt werden" "$tmp/err"'
check "nothing created for the failed log" '[ ! -e "$tmp/no" ]'

"$galvora" "/Logfile=$tmp/with blank/run.log" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "log in a missing folder with a blank gives status 2" '[ $rc -eq 2 ]'
mkdir -p "$tmp/with blank"
"$galvora" "/Logfile=$tmp/with blank/run.log" >"$tmp/out" 2>"$tmp/err"; rc=$?
# A log switch alone starts no run: the usage follows the log's first line.
check "POSIX log path with a blank is accepted, then the usage with status 2" \
  '[ $rc -eq 2 ] && grep -q "^Usage: galvora" "$tmp/err"'
log="$tmp/with blank/run.log"
check "first log line" 'grep -qE "^[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} Initialization START" "$log"'
check "log lines end in CR LF" '[ "$(tail -c 2 "$log" | od -An -c | tr -d " ")" = "\r\n" ]'

exit $fail
