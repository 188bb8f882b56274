#!/usr/bin/env bash
# Batch runs with settings a stranger's profile could hold: folder names that
# climb out of the output or are absolute, clone folders that are or hold the
# base folder (also through a link), rename masks and page names that make a
# path, clean-up switches on, odd picture names, a picture that is a link to a
# file outside, a read-only output folder and a template that writes outside.
# Whatever the values, nothing outside the output changes, the originals stay
# as they are, bad values end the run with a message and status 1, and the
# pages' links are URL-encoded and reach their files.
source "$(dirname "$0")/batch_support.sh" "$1"

w=$tmp/world
immutable=""
# A read-only folder: root writes through permissions, so it gets the
# immutable attribute instead.
lock() {
  if [ "$(id -u)" -eq 0 ]; then chattr +i "$1" && immutable="$immutable $1"; else chmod a-w "$1"; fi
}
unlock() {
  if [ "$(id -u)" -eq 0 ]; then chattr -i "$1"; else chmod u+w "$1"; fi
}
trap 'for f in $immutable; do chattr -i "$f" 2>/dev/null; done; rm -rf "$tmp"' EXIT

# The base folder with two picture folders, an empty output root and a folder
# beside them that nothing may touch.
setup() {
  rm -rf "$w"
  mkdir -p "$w/out" "$w/outside/sub"
  jpeg "$w/base/alpha/one.jpg"; jpeg "$w/base/alpha/two.jpg"; jpeg "$w/base/beta/three.jpg"
  echo keep >"$w/outside/keep.txt"; echo sub >"$w/outside/sub/x.txt"
  ln -s "$w/base" "$w/baselink"
}

# Type, path, link target, contents and time of everything in the world but
# the output root (./out unless a case says otherwise); a folder's own time
# changes with an output folder made inside it.
output=./out
snapshot() {
  (cd "$w" && find . -path "$output" -prune -o -type d -printf '%y %p\n' -o -printf '%y %p %l %T@\n' | sort \
    && find . -path "$output" -prune -o -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

run() {  # expected status, switches...
  local expected=$1
  shift
  before=$(snapshot)
  "$galvora" /Profile=Voreinstellung "/Basedir=$w/base" "$@" >"$tmp/out.txt" 2>"$tmp/err.txt"; rc=$?
  after=$(snapshot)
  check "$* : status $expected" '[ $rc -eq $expected ] || { echo "status $rc"; head -5 "$tmp/err.txt"; false; }'
  check "$* : nothing outside the output changed" '[ "$before" = "$after" ] || { diff <(echo "$before") <(echo "$after") | head; false; }'
}
clones() { echo /GENERATE_CLONES=1 "/CLONE_PATH=$w/out"; }

# Every href and src of the pages below the output is URL-encoded and, decoded,
# reaches a file.
check_links() {  # case name
  local refs page ref target
  refs=$(find "$w/out" -name '*.html' -print0 | xargs -0 grep -oh '\(href\|src\)="[^"]*"' | sed 's/^[a-z]*="\(.*\)"$/\1/' | sort -u)
  check "$1: every link is URL-encoded" '[ -n "$refs" ] && ! printf "%s\n" "$refs" | grep -v "^[A-Za-z0-9._/%-]*$"'
  broken=0
  while IFS= read -r -d '' page; do
    while IFS= read -r ref; do
      target=$(dirname "$page")/$(printf '%b' "$(printf '%s' "$ref" | sed 's/%\([0-9A-F][0-9A-F]\)/\\x\1/g')")
      [ -f "$target" ] || { echo "broken: $page -> $ref"; broken=1; }
    done < <(grep -oh '\(href\|src\)="[^"]*"' "$page" | sed 's/^[a-z]*="\(.*\)"$/\1/')
  done < <(find "$w/out" -name '*.html' -print0)
  check "$1: every link reaches its file" '[ $broken -eq 0 ]'
}

# --- folder settings that do not name a folder below the output root
for value in ".." "/" "" "." "../escape" "$w/outside" "a/../../x"; do
  setup
  run 1 /Level=1 $(clones) /CLONE_DIRCLEAN=1 "/THUMB_DIRNAME=$value" /THUMBDIR_CLEAN=1
  check "THUMB_DIRNAME '$value': message" 'grep -q "Thumbnail-Pfad" "$tmp/err.txt"'
  setup
  run 1 /Level=1 $(clones) "/HTML_BASE=$value" /HTML_DIRCLEAN=1
  check "HTML_BASE '$value': message, no page" 'grep -q "HTML-Pfad" "$tmp/err.txt" && [ "$(pages_in "$w")" -eq 0 ]'
  setup
  run 1 /Level=1 $(clones) "/DECO_PATH=$value"
  check "DECO_PATH '$value': message" 'grep -q "Deco-Pfad" "$tmp/err.txt"'
done

# --- clone folders that are, hold or lie in the originals; clean-up on: the
# clean-up is refused and the run stops (the design empties the folder as it
# is asked, and the originals go with the old output)
for value in "/" ".." "." "alpha/.." "$w/base" "$w/base/" "$w/baselink" "$w/base/../base" "$w" "$w/base/alpha" "alpha"; do
  setup
  run 1 /Level=1 /GENERATE_CLONES=1 "/CLONE_PATH=$value" /CLONE_DIRCLEAN=1
  check "CLONE_PATH '$value': message" 'grep -q "Cloneverzeichnis" "$tmp/err.txt"'
done
# The same through a link that leads into a picture folder.
setup
ln -s "$w/base/alpha" "$w/alphalink"
run 1 /Level=1 /GENERATE_CLONES=1 "/CLONE_PATH=$w/alphalink" /CLONE_DIRCLEAN=1
check "clone folder linked to a picture folder: message" 'grep -q "Cloneverzeichnis" "$tmp/err.txt"'
# The user's home folder as the output: never emptied.
setup
mkdir -p "$w/home"; echo mine >"$w/home/mine.txt"
HOME=$w/home run 1 /Level=1 /GENERATE_CLONES=1 "/CLONE_PATH=$w" /CLONE_DIRCLEAN=1
HOME=$w/home run 1 /Level=1 /GENERATE_CLONES=1 "/CLONE_PATH=$w/home" /CLONE_DIRCLEAN=1
check "home folder as the output: message" 'grep -q "Benutzerverzeichnis" "$tmp/err.txt"'
# An output folder inside the base folder is fine, emptied or not.
setup
output=./base/web
run 0 /Level=1 /GENERATE_CLONES=1 /CLONE_PATH=web /CLONE_DIRCLEAN=1
output=./out
check "output inside the base: clones made" '[ -f "$w/base/web/alpha/one.jpg" ] && [ -f "$w/base/web/beta/three.jpg" ]'

# Links in the output that lead back to the pictures: an output folder that
# leads out of the output is refused, so no clone or thumbnail takes an
# original's place, and the originals keep their dates.
setup
ln -s "$w/base/alpha" "$w/out/alpha"
mkdir -p "$w/out/thumbs"
ln -s "$w/base/beta" "$w/out/thumbs/beta"
run 1 /Level=1 $(clones) /THUMB_SIZE=8 /THUMB_WIDTH=8 /THUMB_HEIGHT=8
check "links back to the pictures: refused" 'grep -q "symbolischen Link" "$tmp/err.txt"'

# Links left in the output under the names of a page's or a decoration
# file's side file.
setup
mkdir -p "$w/out/html" "$w/out/deco"
ln -s "$w/outside/keep.txt" "$w/out/html/alpha.html_"
ln -s "$w/outside/sub/x.txt" "$w/out/deco/home.gif.galvora-part"
run 0 /Level=1 $(clones)
check "links under side-file names: pages and decoration are files of their own" \
  '[ -f "$w/out/html/alpha.html" ] && [ ! -L "$w/out/html/alpha.html" ] && [ ! -L "$w/out/deco/home.gif" ]'

# --- names that would make a path
setup
run 0 /Level=1 $(clones) /CLONE_RENAME=1 '/CLONE_RENAME_MASK=$' /CLONE_RENAME_FIND=o '/CLONE_RENAME_REPLACE=../../../'
check "replacement with '../': every clone is a file in its clone folder" \
  '[ "$(find "$w/out/alpha" "$w/out/beta" -maxdepth 1 -type f -name "*.jpg" | wc -l)" -eq 3 ]'
setup
jpeg "$w/base/g/n/p.jpg"
run 0 /Level=2 $(clones) /CLONE_RENAME=1 '/CLONE_RENAME_MASK=%_#' /CLONE_RENAME_DIGITS=2
check "mask with the directory at level 2: one file per clone" '[ -f "$w/out/g/n/g_n_01.jpg" ] && [ -f "$w/out/thumbs/g/n/g_n_01.jpg" ]'
check "mask with the directory at level 2: no picture error" '! grep -q "Image-Error" "$tmp/err.txt"'
for switch in /HTML_DEFAULT=../../evil /HTML_INDEX_FILENAME=../../evil /HTML_FRAME_FILENAME=sub/evil \
              /HTML_EXTENSION=html/../../../evil; do
  setup
  jpeg "$w/base/top.jpg"
  run 1 /Level=0 $(clones) /GENERATE_INDEX=1 /GENERATE_FRAME=1 "$switch"
  check "$switch: message, nothing written" 'grep -q "Erlaubt ist ein Dateiname ohne Pfad" "$tmp/err.txt" && [ -z "$(ls -A "$w/out")" ]'
done

# --- odd picture names and a picture that is a link to a file outside
setup
for name in "one two" "Größe" "q\"uo'te" "a<b>&c" "new
line" "50%" "#hash?"; do jpeg "$w/base/alpha/$name.jpg"; done
jpeg "$w/outside/secret.jpg"
ln -s "$w/outside/secret.jpg" "$w/base/alpha/link.jpg"
run 0 /Level=1 $(clones) /GENERATE_INDEX=1 /GENERATE_FRAME=1
count() { find "$@" -print0 | tr -dc '\0' | wc -c; }  # one name holds a line break
check "odd names: a clone and a page for every picture" \
  '[ "$(count "$w/out/alpha" -type f ! -name .galvora-record)" -eq 10 ] && [ "$(count "$w/out/html/alpha" -name "*.html")" -eq 10 ]'
check "linked picture: its clone is a file of its own" '[ -f "$w/out/alpha/link.jpg" ] && [ ! -L "$w/out/alpha/link.jpg" ]'
check_links "odd names"

# Folder and page names with blanks, quotes, markup characters and umlauts.
setup
run 0 /Level=1 $(clones) /GENERATE_INDEX=1 /GENERATE_FRAME=1 '/THUMB_DIRNAME=kl "<eine>" & Bilder' \
  '/HTML_BASE=Seiten über 100%' '/DECO_PATH=de#co?' '/HTML_INDEX_FILENAME=In dex' '/HTML_FRAME_FILENAME=St"art'
check "odd folder names: folders made" '[ -d "$w/out/kl \"<eine>\" & Bilder/alpha" ] && [ -f "$w/out/Seiten über 100%/In dex.html" ]'
check_links "odd folder names"

# --- a read-only output folder: a message, no crash, the old pages stay
setup
run 0 /Level=1 $(clones)
page=$w/out/html/alpha.html
old=$(sha256sum <"$page")
lock "$w/out/html"
run 1 /Level=1 $(clones) /HTML_DIRCLEAN=1 '/HTML_HEAD=changed'
unlock "$w/out/html"
check "read-only page folder: message" 'grep -q "konnte nicht erzeugt werden" "$tmp/err.txt"'
check "read-only page folder: the old page stays whole" '[ "$(sha256sum <"$page")" = "$old" ]'
setup
lock "$w/out"
run 1 /Level=1 $(clones)
unlock "$w/out"
check "read-only output root: message, nothing made" 'grep -q "konnte nicht erzeugt werden" "$tmp/err.txt" && [ -z "$(ls -A "$w/out")" ]'

# --- templates that write files
setup
ln -s "$w/outside/keep.txt" "$w/out/inside-link.txt"
run 0 /Level=1 $(clones) "/HTML_PIC_HEAD={write(\"$w/outside/keep.txt\", \"x\")}{write(\"$w/out/../outside/new.txt\", \"x\")}{write(\"$w/out/inside-link.txt\", @APPEND, \"x\")}{write(\"../outside/rel.txt\", \"x\")}{write(\"$w/out/html/notes.txt\", \"inside\")}"
check "write aimed outside: refused" '[ "$(cat "$w/outside/keep.txt")" = keep ] && [ ! -e "$w/outside/new.txt" ]'
check "write into the page folder: written" '[ "$(cat "$w/out/html/notes.txt")" = inside ]'

exit $fail
