#!/usr/bin/env bash
# What a terminal user tries first: --help and -h print the usage, --version
# and -v the version, on stdout with status 0, also on a desktop, where they
# must not touch the window system; a start without a display and without
# switches prints the usage on stderr with status 2 and changes nothing.
source "$(dirname "$0")/batch_support.sh" "$1"
version=$(sed -n 's/^project(Galvora VERSION \([0-9.]*\).*/\1/p' "$GALVORA_SOURCE_DIR/CMakeLists.txt")

"$galvora" --help >"$tmp/help" 2>"$tmp/err"; rc=$?
check "--help: status 0, nothing on stderr" '[ $rc -eq 0 ] && [ ! -s "$tmp/err" ]'
check "--help: the usage line" 'grep -q "^Usage: galvora" "$tmp/help"'
for switch in /Profile= /Basedir= /Level= /Logfile= /Controlimage= /KEY=VALUE "/\$KEY=TEXT" '/KEY$=TEXT'; do
  check "--help names $switch" 'grep -qF -- "$switch" "$tmp/help"'
done
for status in 0 1 2 3 4 5 6; do
  check "--help explains exit status $status" 'grep -qE "^  $status  [a-z]" "$tmp/help"'
done
check "--help points to the manual" 'grep -q "man galvora" "$tmp/help"'
help_page=$(sed -n 's/.*The help pages: //p' "$tmp/help")
check "--help names the help pages that are there" '[ -f "$help_page" ]'

"$galvora" -h >"$tmp/h" 2>&1; rc=$?
check "-h: the same usage" '[ $rc -eq 0 ] && cmp -s "$tmp/h" "$tmp/help"'

for switch in --version -v; do
  "$galvora" $switch >"$tmp/version" 2>"$tmp/err"; rc=$?
  check "$switch: status 0, nothing on stderr" '[ $rc -eq 0 ] && [ ! -s "$tmp/err" ]'
  check "$switch: name and version" '[ "$(head -n 1 "$tmp/version")" = "Galvora $version" ]'
  check "$switch: copyright" 'sed -n 2p "$tmp/version" | grep -q "^Copyright .* Mervadon$"'
done

# On a desktop: a display that cannot be reached makes the window system stop
# the program, so an answer proves that no window was tried.
for switch in --help --version; do
  DISPLAY=:99999 "$galvora" $switch >"$tmp/out" 2>"$tmp/err"; rc=$?
  check "$switch with a display: answered in the terminal" '[ $rc -eq 0 ] && [ -s "$tmp/out" ] && [ ! -s "$tmp/err" ]'
done

# Anything else that is no batch switch keeps the command-line message.
for words in "--helpme" "--help /Level=1" "-h -v" "-V"; do
  "$galvora" $words >"$tmp/out" 2>"$tmp/err"; rc=$?
  check "'$words': status 2 and the message" '[ $rc -eq 2 ] && grep -q "Error in Commandline" "$tmp/err" && ! grep -q "^Usage" "$tmp/out"'
done

XDG_CONFIG_HOME=$tmp/fresh "$galvora" >"$tmp/out" 2>"$tmp/err"; rc=$?
check "no display, no switches: status 2" '[ $rc -eq 2 ]'
check "no display, no switches: says why, then the usage on stderr" \
  'head -n 1 "$tmp/err" | grep -q "no display" && grep -q "^Usage: galvora" "$tmp/err" && [ ! -s "$tmp/out" ]'
check "no display, no switches: no settings written" '[ ! -e "$tmp/fresh" ]'

exit $fail
