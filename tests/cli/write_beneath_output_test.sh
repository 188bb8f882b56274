#!/usr/bin/env bash
# A script of a profile appends to a name in the gallery's page folder that
# is a dangling link to the user's shell start file. Every place a profile
# runs script (a template, the _init, _initpath and _clone hooks, the oracle)
# is one row: the link is never followed, the start file is not made, and
# nothing outside the gallery changes. A plain write through a page that is
# a link replaces the link itself.
source "$(dirname "$0")/batch_support.sh" "$1"

W=$tmp/w
# The module's hooks write only when the row names them.
hook() { printf '!+function %s()\r\n!+{\r\n!+  if ("%s" == "%s") { write("%s", @APPEND, "PWNED"); }\r\n!+}\r\n' "$1" "$1" "$2" "$3"; }

fresh() {
  rm -rf "$W"
  mkdir -p "$W/home" "$W/b/album/html" "$XDG_DATA_HOME/galvora/profiles"
  jpeg "$W/b/a.jpg"
  jpeg "$W/b/c.jpg"
  ln -s "$W/home/.profile" "$W/b/album/html/lnk"
  local target=$W/b/album/html/lnk
  {
    printf 'VERSION=2.11.02\r\n!*haken\r\n'
    for h in _init _initpath _clone; do hook "$h" "$1" "$target"; done
  } >"$XDG_DATA_HOME/galvora/profiles/haken.qvp"
}

row() {
  local name=$1; shift
  fresh "$name"
  HOME=$W/home "$galvora" /Profile=haken "/Basedir=$W/b" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=album "$@" \
    >"$tmp/out.txt" 2>&1
  local rc=$?
  check "$name: the run ends (status $rc)" '[ $rc -le 6 ]'
  check "$name: the link's target outside the gallery is not made" '[ ! -e "$W/home/.profile" ]'
  check "$name: the link stays a link" '[ -L "$W/b/album/html/lnk" ]'
  check "$name: the pages are made" '[ -s "$W/b/album/html/a.html" ]'
  check "$name: the originals are as before" 'cmp -s "$W/b/a.jpg" "$W/b/c.jpg"'
}

lnk=$W/b/album/html/lnk
row template "/HTML_PIC_POSTPIC={write(\"$lnk\", @APPEND, \"PWNED\")}"
row _init
row _initpath
row _clone
row oracle "/IMAGE_ORACLE=write(\"$lnk\", @APPEND, \"PWNED\"); return @TRUE;"

# A whole new text written over the link: the link is not the program's own
# file, so it stays, and its target is not made.
fresh none
HOME=$W/home "$galvora" /Profile=haken "/Basedir=$W/b" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=album \
  "/HTML_PIC_POSTPIC={write(\"$lnk\", \"text\")}" >"$tmp/out.txt" 2>&1
check "plain write: the link's target is not made" '[ ! -e "$W/home/.profile" ]'
check "plain write: the link stays" '[ -L "$lnk" ]'
# One the program wrote itself, replaced by a link since: the write replaces
# the link, never what it leads to.
fresh none
HOME=$W/home "$galvora" /Profile=haken "/Basedir=$W/b" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=album \
  "/HTML_PIC_POSTPIC={write(\"$W/b/album/html/own.txt\", \"first\")}" >"$tmp/out.txt" 2>&1
rm "$W/b/album/html/own.txt"; ln -s "$W/home/.profile" "$W/b/album/html/own.txt"
HOME=$W/home "$galvora" /Profile=haken "/Basedir=$W/b" /Level=0 /GENERATE_CLONES=1 /CLONE_PATH=album \
  "/HTML_PIC_POSTPIC={write(\"$W/b/album/html/own.txt\", \"text\")}" >"$tmp/out.txt" 2>&1
check "plain write over its own name: the link's target is not made" '[ ! -e "$W/home/.profile" ]'
check "plain write over its own name: the folder holds the text itself" \
  '[ ! -L "$W/b/album/html/own.txt" ] && [ "$(cat "$W/b/album/html/own.txt")" = text ]'

exit $fail
