#!/usr/bin/env bash
# Batch switches that cannot lead to a run: each gives its message on stderr,
# writes no page and ends with a non-zero status; the log holds the start-up
# sections and the environment report.
source "$(dirname "$0")/batch_support.sh" "$1"
make_base

"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/nope" /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "missing base folder: status 1" '[ $rc -eq 1 ]'
check "missing base folder: message" 'grep -q "Gewünschtes Basisverzeichnis" "$tmp/err" && grep -q "$tmp/nope" "$tmp/err"'

"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=3 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "level 3: status 1" '[ $rc -eq 1 ]'
check "level 3: message" 'grep -q "Auswerte-Level" "$tmp/err" && grep -qx "3" "$tmp/err"'
check "level 3: no page" '[ "$(pages_in "$tmp/base")" -eq 0 ]'

"$galvora" /Profile=NoSuchProfile "/Basedir=$tmp/base" /Level=1 /THUMB_DIRNAME=never >"$tmp/out" 2>"$tmp/err"; rc=$?
check "unknown profile: status 1" '[ $rc -eq 1 ]'
check "unknown profile: message" 'grep -q "nicht in Profilsammlung vorhanden" "$tmp/err" && grep -q "NoSuchProfile" "$tmp/err"'
check "unknown profile: no page, no override" '[ "$(pages_in "$tmp/base")" -eq 0 ] && [ ! -e "$tmp/base/never" ]'

"$galvora" "/Basedir=$tmp/base" /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "missing profile switch: status 1" '[ $rc -eq 1 ]'
check "missing profile switch: message" 'grep -q "Profilname muss als Parameter übergeben werden" "$tmp/err"'

"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 notaswitch >"$tmp/out" 2>"$tmp/err"; rc=$?
check "faulty command line: status 2" '[ $rc -eq 2 ]'
check "faulty command line: message" 'grep -q "Error in Commandline" "$tmp/err"'
check "faulty command line: no page" '[ "$(pages_in "$tmp/base")" -eq 0 ]'
"$galvora" bareword "/Logfile=$tmp/faulty.log" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "faulty command line with a log switch: status 2, no log" '[ $rc -eq 2 ] && [ ! -e "$tmp/faulty.log" ]'

"$galvora" /Profile=Voreinstellung /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "missing base switch: status 1 and message" '[ $rc -eq 1 ] && grep -q "Name des Basisverzeichnisses" "$tmp/err"'

# A program folder without metadata.def: the component test stops the start.
mkdir -p "$tmp/prog/languages"
cp "$galvora" "$tmp/prog/galvora"
"$tmp/prog/galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "missing component: status 3" '[ $rc -eq 3 ]'
check "missing component: message names it" 'grep -q "$tmp/prog/metadata.def" "$tmp/err" && grep -q "ist nicht vorhanden" "$tmp/err"'
check "missing component: no page" '[ "$(pages_in "$tmp/base")" -eq 0 ]'

log=$tmp/logs/run.log
mkdir -p "$tmp/logs"
"$galvora" "/Logfile=$log" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=3 >"$tmp/out" 2>"$tmp/err"
for line in "Initialization START" "Determinating Versioninfo START" "Galvora Version " "Galvora Location " \
            "Operating System " "Determinating Versioninfo END" "Testing Startup Conditions START" \
            "Testing Startup Conditions END" "Startdialog LOAD START" "Startdialog LOAD END" "Initialization END"; do
  check "log line: $line" 'grep -q "^[0-9.]* [0-9:]* $line" "$log"'
done
check "the message is in the log too" 'grep -q "nicht zulässig" "$log"'

exit $fail
