#!/usr/bin/env bash
# A profile may name any folder as the gallery. Whatever it names, a run
# makes files only in the folders it sets up (or wrote into before), replaces
# and cleans up only the files it wrote itself, and a gallery made before the
# program kept its record of them still updates in place. Each row is a
# stranger's profile through the batch program; the user's own files beside
# the output are compared byte for byte afterwards.
source "$(dirname "$0")/batch_support.sh" "$1"

W=$tmp/w
run() {  # switches...; status in rc, output in $tmp/out.txt
  HOME=$W/home "$galvora" /Profile=Voreinstellung /Level=0 "$@" >"$tmp/out.txt" 2>&1
  rc=$?
}
snapshot() { (cd "$1" && find . -path ./html -prune -o -path ./thumbs -prune -o -path ./deco -prune -o -name .galvora-record -o -type f -print0 |
  sort -z | xargs -0 -r sha256sum); }

# --- an absolute clone folder that already holds someone's files: a template,
# a hook or the oracle can neither make a file in a folder the run did not set
# up nor replace a file it did not write.
hook() { printf '!+function %s()\r\n!+{\r\n!+  if ("%s" == "%s") { %s }\r\n!+}\r\n' "$1" "$1" "$2" "$3"; }
attack() {  # the statements each place runs
  echo "write(\"$W/V/etc/cron.d/evil\", \"x\"); write(\"$W/V/notes.txt\", \"PWNED\"); write(\"$W/V/log.txt\", @APPEND, \"PWNED\");"
}
fresh_v() {  # row
  rm -rf "$W"
  mkdir -p "$W/home" "$W/b" "$W/V/etc/cron.d" "$XDG_DATA_HOME/galvora/profiles"
  jpeg "$W/b/a.jpg"; jpeg "$W/b/c.jpg"
  echo notes >"$W/V/notes.txt"; echo log >"$W/V/log.txt"; cp "$W/b/a.jpg" "$W/V/c.jpg"
  {
    printf 'VERSION=2.11.02\r\n!*haken\r\n'
    for h in _init _initpath _clone; do hook "$h" "$1" "$(attack)"; done
  } >"$XDG_DATA_HOME/galvora/profiles/haken.qvp"
  before=$(snapshot "$W/V")
}
v_row() {
  local name=$1; shift
  fresh_v "$name"
  HOME=$W/home "$galvora" /Profile=haken "/Basedir=$W/b" /Level=0 /GENERATE_CLONES=1 "/CLONE_PATH=$W/V" "$@" \
    >"$tmp/out.txt" 2>&1
  local rc=$?
  check "absolute clone folder, $name: the run ends (status $rc)" '[ $rc -le 6 ]'
  check "absolute clone folder, $name: no file in a folder the run did not set up" '[ ! -e "$W/V/etc/cron.d/evil" ]'
  check "absolute clone folder, $name: the files that were there are as before" \
    '[ "$(snapshot "$W/V" | grep -v " ./a.jpg$")" = "$before" ] || { snapshot "$W/V"; false; }'
  # The oracle runs while the pictures are chosen, before the clone folders
  # are known: its write is refused before it reaches the record.
  [ "$name" = oracle ] ||
    check "absolute clone folder, $name: the log names the refusals" 'grep -q "Nicht ersetzt: $W/V/notes.txt" "$tmp/out.txt"'
  check "absolute clone folder, $name: the clone of the new name is made" '[ -s "$W/V/a.jpg" ]'
}
v_row template "/HTML_PIC_POSTPIC={$(attack)}"
v_row _init
v_row _initpath
v_row _clone
v_row oracle "/IMAGE_ORACLE=$(attack) return @TRUE;"

# --- a clone folder above the base folder: the photos of the neighbouring
# album there (of the same names as the run's pictures) stay as they are.
rm -rf "$W"; mkdir -p "$W/home" "$W/X/sub"
jpeg "$W/X/sub/p1.jpg"; convert -size 40x30 xc:red "$W/X/p1.jpg"; cp "$W/X/p1.jpg" "$tmp/neighbour.jpg"
run "/Basedir=$W/X/sub" /GENERATE_CLONES=1 /CLONE_PATH=..
check "clone folder '..': the neighbour's photo of the same name stays" 'cmp -s "$W/X/p1.jpg" "$tmp/neighbour.jpg"'
check "clone folder '..': the log says why" 'grep -q "Nicht ersetzt: .*/p1.jpg (keine Datei, die Galvora geschrieben hat)" "$tmp/out.txt"'

# --- a clean-up of a folder the program never wrote into (the user's
# documents): nothing goes to the trash or away, and the log says so.
rm -rf "$W"; mkdir -p "$W/home/Documents/letters" "$W/b"
jpeg "$W/b/a.jpg"
echo "dear" >"$W/home/Documents/letters/one.txt"; echo "tax" >"$W/home/Documents/tax.txt"
docs_before=$(snapshot "$W/home/Documents")
run "/Basedir=$W/b" /GENERATE_CLONES=1 "/CLONE_PATH=$W/home/Documents" /CLONE_DIRCLEAN=1 /THUMBDIR_CLEAN=1 /HTML_DIRCLEAN=1
check "clean-up of the documents: status 0" '[ $rc -eq 0 ]'
check "clean-up of the documents: every document is there as before" \
  '[ "$(snapshot "$W/home/Documents" | grep -v " ./a.jpg$")" = "$docs_before" ]'
check "clean-up of the documents: nothing in the trash" '[ -z "$(ls -A "$XDG_DATA_HOME/Trash/files" 2>/dev/null)" ]'
check "clean-up of the documents: the log says it was not cleaned" \
  'grep -q "Nicht geleert: $W/home/Documents" "$tmp/out.txt"'
# The next clean-up takes what the run wrote there, and only that.
rm "$W/b/a.jpg"; jpeg "$W/b/z.jpg"
run "/Basedir=$W/b" /GENERATE_CLONES=1 "/CLONE_PATH=$W/home/Documents" /CLONE_DIRCLEAN=1
check "second clean-up of the documents: the clone of the run before is gone" \
  '[ ! -e "$W/home/Documents/a.jpg" ] && [ -s "$W/home/Documents/z.jpg" ]'
check "second clean-up of the documents: the documents stay" \
  '[ "$(snapshot "$W/home/Documents" | grep -v " ./z.jpg$")" = "$docs_before" ]'

# --- a gallery made before the program kept records updates in place: its
# clones, thumbnails and pages are replaced by the new ones of the same
# names; a file of another kind under such a name is not.
rm -rf "$W"; mkdir -p "$W/home" "$W/b"
jpeg "$W/b/a.jpg"; jpeg "$W/b/c.jpg"
gallery=(/GENERATE_CLONES=1 /CLONE_PATH=gal)
run "/Basedir=$W/b" "${gallery[@]}"
find "$W/b/gal" -name .galvora-record -delete
old_page=$(sha256sum <"$W/b/gal/html/a.html")
old_clone=$(sha256sum <"$W/b/gal/a.jpg")
convert -size 48x32 xc:blue "$W/b/a.jpg"
run "/Basedir=$W/b" "${gallery[@]}" "/HTML_PIC_POSTPIC=<p>new</p>"
check "old gallery: status 0" '[ $rc -eq 0 ]'
check "old gallery: the clone is replaced" '[ "$(sha256sum <"$W/b/gal/a.jpg")" != "$old_clone" ]'
check "old gallery: the page is replaced" '[ "$(sha256sum <"$W/b/gal/html/a.html")" != "$old_page" ] && grep -q "<p>new</p>" "$W/b/gal/html/a.html"'
check "old gallery: its folders keep records from now on" '[ -s "$W/b/gal/.galvora-record" ] && [ -s "$W/b/gal/html/.galvora-record" ]'
# A file of another kind under a clone's name was not the old gallery's clone.
find "$W/b/gal" -name .galvora-record -delete
echo "not a picture" >"$W/b/gal/c.jpg"
convert -size 48x32 xc:green "$W/b/c.jpg"
run "/Basedir=$W/b" "${gallery[@]}"
check "old gallery: a text under a clone's name stays" '[ "$(cat "$W/b/gal/c.jpg")" = "not a picture" ]'
check "old gallery: the log names it" 'grep -q "Nicht ersetzt: .*/c.jpg (keine Datei, die Galvora geschrieben hat)" "$tmp/out.txt"'

# --- a clean-up of the program's own gallery removes what it wrote there,
# keeps what the user put beside it, and never takes the record for a page.
rm -rf "$W"; mkdir -p "$W/home" "$W/b"
jpeg "$W/b/a.jpg"; jpeg "$W/b/c.jpg"
run "/Basedir=$W/b" /GENERATE_CLONES=1 /CLONE_PATH=gal
echo mine >"$W/b/gal/readme.txt"; echo mine >"$W/b/gal/html/mine.html"
rm "$W/b/c.jpg"
run "/Basedir=$W/b" /GENERATE_CLONES=1 /CLONE_PATH=gal /CLONE_DIRCLEAN=1 \
  "/HTML_PIC_POSTPIC={write(\"$W/b/gal/.galvora-record\", \"x\")}"
check "own clean-up: status 0" '[ $rc -eq 0 ]'
check "own clean-up: the clone and pages of the gone picture are removed" \
  '[ ! -e "$W/b/gal/c.jpg" ] && [ ! -e "$W/b/gal/html/c.html" ] && [ -s "$W/b/gal/a.jpg" ]'
check "own clean-up: the user's files stay" \
  '[ "$(cat "$W/b/gal/readme.txt")" = mine ] && [ "$(cat "$W/b/gal/html/mine.html")" = mine ]'
check "own clean-up: a script cannot write the record" '! grep -qx x "$W/b/gal/.galvora-record"'

exit $fail
