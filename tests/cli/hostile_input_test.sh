#!/usr/bin/env bash
# Batch runs over picture trees, profiles and disks as an attacker would make
# them, one row of the table below each: pages named like photos, scripts
# that write where they like, output folders that are links, names that are
# markup or not UTF-8, scripts that eat memory or never end, names as long as
# a file name may be, leftovers of a killed run, a GIF declaring a huge
# picture, a full disk and an interrupt during the last template. Every row
# checks the exit status and the message, that the originals and every file
# outside the output are byte for byte as before, that no page carries live
# markup from a name or is invalid UTF-8, that no page is empty or cut, that
# no temporary file is left, and that the run's peak memory stays below 2 GB.
source "$(dirname "$0")/batch_support.sh" "$1"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/full_disk_support.sh"

[ -x /usr/bin/time ] || { echo "FAILED: /usr/bin/time is missing (scripts/install-deps.sh installs it)"; exit 1; }
command -v python3 >/dev/null || { echo "FAILED: python3 is missing"; exit 1; }

W=$tmp/w
mounted=""
# fontconfig keeps a few hundred bytes of its configuration unreleased when
# the process ends (the text stamp of the shipped profile loads it); that is
# no leak of ours.
echo "leak:libfontconfig.so" >"$tmp/lsan.supp"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$tmp/lsan.supp
trap 'for m in $mounted; do umount "$m" 2>/dev/null; done; rm -rf "$tmp"' EXIT

pages_whole() { python3 "$here/check_pages.py" "$@"; }

temporaries() { find "$W" -name '.galvora-*.tmp' | wc -l; }

# A fresh world: the base folder b with a.jpg and c.jpg, a folder outside the
# output with a file, and a home folder with a shell start file.
fresh() {
  rm -rf "$W"
  mkdir -p "$W/outside" "$W/home"
  jpeg "$W/b/a.jpg"
  jpeg "$W/b/c.jpg"
  echo keep >"$W/outside/keep.txt"
  echo 'export PATH' >"$W/home/.bashrc"
}

# --- the rows: each sets up its world and sets the switches, the expected
# status and a pattern the messages must match; check_<row> adds its own.
row_index_named_like_a_photo() {
  sw=(/Level=0 /GENERATE_INDEX=1 /HTML_INDEX_IN_BASEDIR=1 /HTML_INDEX_FILENAME=a /HTML_EXTENSION=jpg)
  expect=1 message='Nicht ersetzt: .*/b/a\.jpg \(Originalbild\)'
}
row_frame_named_like_a_photo() {
  jpeg "$W/b/start.jpg"
  sw=(/Level=0 /GENERATE_FRAME=1 /HTML_FRAME_IN_BASEDIR=1 /HTML_EXTENSION=jpg)
  expect=1 message='Nicht ersetzt: .*/b/start\.jpg \(Originalbild\)'
}
row_page_named_like_a_file_of_the_user() {
  # A picture of a type the profile does not take and a binary file: no page
  # takes their place either.
  printf 'GIF89a\001\000\001\000\000\000\000;' >"$W/b/notes.gif"
  sw=(/Level=0 /GENERATE_INDEX=1 /HTML_INDEX_IN_BASEDIR=1 /HTML_INDEX_FILENAME=notes /HTML_EXTENSION=gif)
  expect=1 message='Nicht ersetzt: .*/b/notes\.gif'
}
row_scripts_write_where_they_like() {
  mkdir -p "$W/b/alpha"; mv "$W/b/a.jpg" "$W/b/c.jpg" "$W/b/alpha/"
  outputs="home/alpha home/thumbs home/html home/deco"
  sw=(/Level=1 /GENERATE_CLONES=1 "/CLONE_PATH=$W/home"
      "/HTML_PIC_POSTPIC={write(\"$W/b/alpha/a.jpg\", \"x\")}{write(\"$W/home/.bashrc\", \"x\")}{write(\"$W/home/alpha/.hidden\", \"x\")}{write(\"$W/outside/keep.txt\", @APPEND, \"x\")}{write(\"$W/home/html/../../outside/new.txt\", \"x\")}{write(\"$W/home/html/notes.txt\", \"ok\")}"
      "/IMAGE_ORACLE=write(\"$W/outside/oracle.txt\", \"x\"); write(\"$W/home/.profile\", \"x\"); return @TRUE;")
  expect=0 message=''
}
check_scripts_write_where_they_like() {
  check "$row: a write into the page folder is made" '[ "$(cat "$W/home/html/notes.txt")" = ok ]'
  check "$row: no hidden file in an output folder" '[ ! -e "$W/home/alpha/.hidden" ]'
}
symlinked() {  # folder name, switch to find it
  mkdir -p "$W/outside/$1"
  echo theirs >"$W/outside/$1/home.gif"
  echo '<html><body>theirs</body></html>' >"$W/outside/$1/default.html"
  jpeg "$W/outside/$1/a.jpg"
  ln -s "$W/outside/$1" "$W/b/$1"
  sw=(/Level=0 /THUMBDIR_CLEAN=1 /HTML_DIRCLEAN=1)
  expect=1 message='symbolischen Link'
}
row_thumbnail_folder_is_a_link() { symlinked thumbs; }
row_page_folder_is_a_link() { symlinked html; }
row_decoration_folder_is_a_link() { symlinked deco; }
names_as_markup() {
  local d="$W/b/g/<b onmouseover=alert(4)>dir"
  rm "$W/b/a.jpg" "$W/b/c.jpg"
  jpeg "$d/<img src=x onerror=alert(1)>.jpg"
  jpeg "$d/x\" onmouseover=\"alert(6).jpg"
  jpeg "$d/bad$(printf '\377\376')name.jpg"
  jpeg "$W/b/g/plain/a.jpg"
  sw=(/Level=2 /GENERATE_INDEX=1 /GENERATE_FRAME=1 /NAV_EXTENDED=1 /HTML_BILD_NAV_EXTENDED=1 /HTML_SPLIT=1
      /LINES_PER_PAGE=1 /THUMBS_PER_LINE=2)
  expect=0 message=''
}
row_names_as_markup() { names_as_markup; }
row_names_as_markup_shipped_profile() {
  names_as_markup
  profile=/Profile=galerie
  outputs="out"
  sw+=("/CLONE_PATH=$W/out")
}
check_names_as_markup() {
  check "$row: a name's invalid bytes show as U+FFFD" 'grep -rq "bad$(printf "\357\277\275\357\277\275")name" "$W"'
}
check_names_as_markup_shipped_profile() { check_names_as_markup; }
row_text_replaced_by_itself() {
  # A text of 655 360 characters with each of its characters replaced by the
  # text itself would take 400 GB.
  rm "$W/b/c.jpg"
  sw=(/Level=0 '/HTML_PIC_POSTPIC={s = "x"; i = 0; while (i < 19) { s = s + s; i = i + 1; } s = s + mid(s, 1, 131072); t = replace(s, "x", s); len(t)}')
  expect=5 message='html_pic_postpic.*zu wenig Speicher'
}
row_array_filled_without_end() {
  rm "$W/b/c.jpg"
  sw=(/Level=0 '/HTML_PIC_POSTPIC={i = 0; while (1) { a["k" + i] = "0123456789012345678901234567890123456789" + i; i = i + 1; }}')
  expect=5 message='zu wenig Speicher'
}
row_long_text_copied_without_end() {
  # Every instruction copies a text of 40 MB: the copying counts towards the
  # instruction limit, so the run stops as soon as an endless loop would.
  rm "$W/b/c.jpg"
  sw=(/Level=0 '/HTML_PIC_POSTPIC={s = "0123456789"; i = 0; while (i < 22) { s = s + s; i = i + 1; } j = 0; while (1) { t = s + j; j = j + 1; }}')
  expect=5 message='zu viele Anweisungen'
}
row_recursion_without_end() {
  mkdir -p "$XDG_DATA_HOME/galvora/profiles"
  printf 'VERSION=2.11.02\r\nHTML_PIC_POSTPIC={tief(1)}\r\n!*rekursion\r\n!+function tief(n)\r\n!+{\r\n!+  return tief(n + 1);\r\n!+}\r\n' \
    >"$XDG_DATA_HOME/galvora/profiles/rekursion.qvp"
  profile=/Profile=rekursion
  sw=(/Level=0)
  expect=5 message='Aufruftiefe zu gro'
}
row_names_as_long_as_a_file_name_may_be() {
  local long_folder long_picture
  long_folder=$(printf 'f%.0s' $(seq 250))
  long_picture=$(printf 'p%.0s' $(seq 251)).jpg
  mv "$W/b/a.jpg" "$W/b/c.jpg" "$W/outside/"
  jpeg "$W/b/$long_folder/$long_picture"
  jpeg "$W/b/$long_folder/$(printf 'q%.0s' $(seq 247)).jpg"
  jpeg "$W/b/short/x.jpg"
  sw=(/Level=1 /GENERATE_INDEX=1 /HTML_SPLIT=1 /NAV_EXTENDED=1 /HTML_BILD_NAV_EXTENDED=1)
  expect=0 message=''
}
check_names_as_long_as_a_file_name_may_be() {
  check "$row: every picture has its thumbnail" '[ "$(find "$W/b/thumbs" -type f ! -name .galvora-record | wc -l)" -eq 3 ]'
  check "$row: every picture has its page" '[ "$(find "$W/b/html" -mindepth 2 -name "*.html" | wc -l)" -eq 3 ]'
}
row_leftovers_of_a_killed_run() {
  mkdir -p "$W/b/thumbs" "$W/b/html" "$W/b/deco"
  for d in b/thumbs b/html b/deco b; do echo half >"$W/$d/.galvora-Xy12Ab.tmp"; done
  outputs="$outputs b/.galvora-Xy12Ab.tmp"
  sw=(/Level=0)
  expect=0 message=''
}
row_gif_declaring_a_huge_picture() {
  # 35 bytes declaring 15800 x 15800 pixels: refused when it is measured,
  # left out and named like any picture that cannot be read (status 4).
  printf 'GIF89a\260\075\260\075\000\000\000,\000\000\000\000\260\075\260\075\000\002\002\104\001\000;' >"$W/b/huge.gif"
  sw=(/Level=0 /GIF=1)
  expect=4 message='Image-Error.*huge\.gif'
}

# The template that never ends is cut at the instruction limit, which takes
# a while: it runs beside the table and is checked at the end.
endless=$tmp/endless
mkdir -p "$endless/home"
jpeg "$endless/b/a.jpg"
HOME=$endless/home "$galvora" /Profile=Voreinstellung "/Basedir=$endless/b" /Level=0 '/HTML_THUMB_FOOTER={while (1);}' \
  >"$endless/out.txt" 2>"$endless/err.txt" &
endless_pid=$!

every_row_checks() {
  check "$row: pages whole, UTF-8, without markup from names, links reach their files" \
    'pages_whole "$W"'
  check "$row: no temporary file left" '[ "$(temporaries)" -eq 0 ]'
  check "$row: peak memory below 2 GB" '[ "$(peak_kb)" -lt 2097152 ] || { echo "$(peak_kb) kB"; false; }'
}
run_rows


# --- an interrupt while the last template runs: status 1, and the index page
# it was writing does not replace the one of the run before.
fresh
batch /Level=0 /GENERATE_INDEX=1
old_index=$(sha256sum <"$W/b/html/index.html")
HOME=$W/home "$galvora" "$profile" "/Basedir=$W/b" /Level=0 /GENERATE_INDEX=1 \
  "/HTML_INDEX_FOOTER={while (!exist(\"$W/never\"));}" >"$tmp/out.txt" 2>"$tmp/err.txt" &
pid=$!
wait_until 'grep -q "HTML-Indexseite erstellen" "$tmp/err.txt"' "$pid"
kill -TERM "$pid"
wait "$pid"; rc=$?
check "interrupt in the last template: status 1" '[ "$rc" -eq 1 ]'
check "interrupt in the last template: message" 'grep -q "Lauf unterbrochen" "$tmp/err.txt"'
check "interrupt in the last template: the old index page stays" '[ "$(sha256sum <"$W/b/html/index.html")" = "$old_index" ]'
check "interrupt in the last template: no temporary file left" '[ "$(temporaries)" -eq 0 ]'
[ "$rc" -eq 1 ] || show_run "$rc" "$tmp/err.txt"

# --- killed while a page is being written: the temporary file stays behind
# until the next run, which removes it.
fresh
HOME=$W/home "$galvora" "$profile" "/Basedir=$W/b" /Level=0 \
  "/HTML_PIC_POSTPIC={while (!exist(\"$W/never\"));}" >"$tmp/out.txt" 2>"$tmp/err.txt" &
pid=$!
wait_until '[ "$(temporaries)" -gt 0 ]' "$pid"
kill -KILL "$pid"
wait "$pid" 2>/dev/null
check "killed run: a temporary file was left" '[ "$(temporaries)" -gt 0 ]'
batch /Level=0
check "after a killed run: the next run ends well" '[ "$rc" -eq 0 ]'
check "after a killed run: no temporary file left" '[ "$(temporaries)" -eq 0 ]'

# --- a full disk. A small file system of its own when the test may mount
# one; otherwise a preloaded library makes writes below the folder fail the
# way a full disk does. The runs there add a text of 9000 bytes to every
# picture page, so that on a nearly full disk a page or two fit and the rest
# do not.
full=$tmp/full
small_disk "$full" 3m
nearly_full=25000
[ -n "$small_disk_mounted" ] && nearly_full=20480  # five pages of the file system
on_full_disk() {
  HOME=$tmp/w/home on_small_disk "$galvora" "$profile" "/Basedir=$full/b" "$@" >"$tmp/out.txt" 2>"$tmp/err.txt"
  rc=$?
}
profile=/Profile=Voreinstellung
for name in a b c d e f; do jpeg "$full/b/$name.jpg"; done
fill 2000000
on_full_disk /Level=0
check "disk with room: status 0" '[ "$rc" -eq 0 ]'
page_hashes() { (cd "$full/b" && find . -name '*.html' -print0 | sort -z | xargs -0 sha256sum); }
old_pages=$(page_hashes)
W=$full  # where temporaries() looks
big="/HTML_PIC_POSTPIC=$(printf 'x%.0s' $(seq 9000))"
for free in 0 "$nearly_full"; do
  fill "$free"
  on_full_disk /Level=0 "$big"
  check "disk full ($free bytes free): status 1" '[ "$rc" -eq 1 ] || { echo "status $rc"; tail -3 "$tmp/err.txt"; false; }'
  check "disk full ($free bytes free): message" 'grep -Eq "konnte nicht (erzeugt|kopiert) werden" "$tmp/err.txt"'
  check "disk full ($free bytes free): no empty or cut page" 'pages_whole "$full/b/html"'
  check "disk full ($free bytes free): no page lost" '[ "$(page_hashes | grep -c .)" -eq "$(echo "$old_pages" | grep -c .)" ]'
  check "disk full ($free bytes free): no temporary file left" '[ "$(temporaries)" -eq 0 ]'
  [ "$free" = 0 ] && check "disk full: every page is the old one" '[ "$(page_hashes)" = "$old_pages" ]'
done
W=$tmp/w

# --- the template that never ends: cut at the instruction limit, reported,
# status 5; the rest of the page is still written.
wait "$endless_pid"; rc=$?
check "endless template: status 5" '[ "$rc" -eq 5 ]'
check "endless template: message" 'grep -q "html_thumb_footer.*zu viele Anweisungen" "$endless/err.txt"'
check "endless template: the page is whole" 'pages_whole "$endless/b/html"'

exit $fail
