#!/usr/bin/env bash
# Batch runs whose profile tries to read what is not the gallery's, or to
# make the run read without end: decoration sets that name a system folder,
# a private folder or a link out of the decoration pool, or climb out with
# "..", scripts reading private files, devices, FIFOs and links out of the
# base folder (from a template, a hook and the oracle), a
# file too large for the script memory, a script file that is a device, a
# FIFO among the pictures and a text that reaches its longest length inside
# a loop that would end. Every row checks the exit status and the message,
# that nothing outside the output changed, that no private text reached a
# page, and that the run's peak memory stays below 1 GB.
source "$(dirname "$0")/batch_support.sh" "$1"

[ -x /usr/bin/time ] || { echo "FAILED: /usr/bin/time is missing (scripts/install-deps.sh installs it)"; exit 1; }

W=$tmp/w
secret="private-$$-words"

# A fresh world: the base folder b with two photos, and beside it a private
# folder of the user with a key, a hidden file, a FIFO, a style sheet that
# is a link to the key, and a style sheet and picture of its own.
fresh() {
  rm -rf "$W"
  mkdir -p "$W/home/.ssh" "$W/private/sub"
  jpeg "$W/b/a.jpg"
  jpeg "$W/b/c.jpg"
  echo "$secret" >"$W/home/.ssh/id_rsa"; chmod 600 "$W/home/.ssh/id_rsa"
  echo "$secret" >"$W/private/shadow"; chmod 640 "$W/private/shadow"
  echo "$secret" >"$W/private/.hidden.css"
  echo "$secret" >"$W/private/sub/inner.css"
  mkfifo "$W/private/pipe.css"
  ln -s "$W/private/shadow" "$W/private/link.css"
  echo 'body{}' >"$W/private/style.css"; chmod 666 "$W/private/style.css"
  printf 'GIF89a\001\000\001\000\000\000\000;' >"$W/private/dot.gif"; chmod 755 "$W/private/dot.gif"
}

# --- the rows: each sets its switches, the expected status and a pattern
# the messages must match; check_<row> adds its own.
# Decoration sets come from a decoration pool only (the program's or the
# user's): a profile naming another folder of the user's would publish its
# pictures and pages.
pool=$XDG_DATA_HOME/galvora/decopool
empty_pool() { rm -rf "$pool"; mkdir -p "$pool"; }
nothing_copied() { check "$row: nothing is copied" '[ -z "$(ls -A "$W/b/deco" 2>/dev/null)" ]'; }
row_decoration_from_the_users_pool() {
  empty_pool
  cp -a "$W/private" "$pool/mine"
  sw=(/Level=0 "/DECO_SOURCE=$pool/mine")
  expect=0 message=''
}
check_decoration_from_the_users_pool() {
  check "$row: only the decoration files are copied" \
    '[ "$(cd "$W/b/deco" && ls -A | LC_ALL=C sort | tr "\n" " ")" = ".galvora-record dot.gif style.css " ]'
  check "$row: no copy wider than 0644" \
    '[ -z "$(find "$W/b/deco" -type f -perm /0133)" ] || { ls -l "$W/b/deco"; false; }'
}
row_decoration_from_a_private_folder() {
  sw=(/Level=0 "/DECO_SOURCE=$W/private")
  expect=1 message='Deco-Datei'
}
check_decoration_from_a_private_folder() {
  nothing_copied
}
row_decoration_through_a_link_out_of_the_pool() {
  empty_pool
  ln -s "$W/private" "$pool/elsewhere"
  sw=(/Level=0 "/DECO_SOURCE=$pool/elsewhere")
  expect=1 message='Deco-Datei'
}
check_decoration_through_a_link_out_of_the_pool() {
  nothing_copied
}
row_decoration_from_a_system_folder() {
  sw=(/Level=0 /DECO_SOURCE=/etc)
  expect=1 message='Deco-Datei'
}
check_decoration_from_a_system_folder() {
  check "$row: no system file is published" \
    '! ls -A "$W/b/deco" 2>/dev/null | grep -Eq "^(shadow|passwd|group|hostname|hosts)$"'
  nothing_copied
}
row_decoration_set_climbing_out() {
  sw=(/Level=0 "/DECO_SOURCE=../../../../../../../../$W/private")
  expect=1 message='Deco-Datei'
}
check_decoration_set_climbing_out() {
  nothing_copied
}
reads="$W/private/shadow|$W/home/.ssh/id_rsa|/etc/passwd|/proc/self/environ|/dev/zero|$W/private/pipe.css|$W/b/link.txt"
read_all() {  # a script that reads every path above and shows each error number
  local p out=""
  IFS='|' read -ra list <<<"$reads"
  for p in "${list[@]}"; do out+="{read(\"$p\")}[{ERRN_LAST}]"; done
  echo "$out"
}
row_template_reads_private_files() {
  ln -s "$W/private/shadow" "$W/b/link.txt"
  mkfifo "$W/b/fifo.txt"
  echo "inside-ok" >"$W/b/notes.txt"
  reads="$reads|$W/b/fifo.txt"
  sw=(/Level=0 "/HTML_PIC_POSTPIC=$(read_all){read(\"$W/b/notes.txt\")}")
  expect=0 message=''
}
check_template_reads_private_files() {
  check "$row: nothing private in a page" '! grep -rqe "$secret" -e "root:" -e "HOME=" "$W/b/html"'
  check "$row: every refused read gives the error of a file one may not read" \
    '[ "$(grep -o "\[70\]" "$W/b/html/a.html" | wc -l)" -eq 8 ] || { grep -o "\[[0-9]*\]" "$W/b/html/a.html"; false; }'
  check "$row: a file of the base folder is read" 'grep -q inside-ok "$W/b/html/a.html"'
}
row_hook_reads_private_files() {
  mkdir -p "$XDG_DATA_HOME/galvora/profiles"
  # The hook hands what it read into a file of the page folder.
  printf 'VERSION=2.11.02\r\n!*leser\r\n!+function _initpic()\r\n!+{\r\n!+  write("%s", read("%s"));\r\n!+}\r\n' \
    "$W/b/html/hook.txt" "$W/private/shadow" >"$XDG_DATA_HOME/galvora/profiles/leser.qvp"
  profile=/Profile=leser
  sw=(/Level=0)
  expect=0 message=''
}
check_hook_reads_private_files() {
  check "$row: the hook ran and got nothing private" '[ -f "$W/b/html/hook.txt" ] && ! grep -q "$secret" "$W/b/html/hook.txt"'
}
row_oracle_reads_private_files() {
  # The oracle keeps a picture only when the read was refused.
  sw=(/Level=0 "/IMAGE_ORACLE=read(\"$W/private/shadow\"); return ERRN_LAST == 70;")
  expect=0 message=''
}
check_oracle_reads_private_files() {
  check "$row: both pictures kept" '[ -f "$W/b/html/a.html" ] && [ -f "$W/b/html/c.html" ]'
}
row_read_of_a_device_is_bounded() {
  sw=(/Level=0 '/HTML_PIC_POSTPIC=[{len(read("/dev/zero"))}]')
  expect=0 message=''
}
row_file_larger_than_the_script_memory() {
  truncate -s 300M "$W/b/big.txt"
  sw=(/Level=0 "/HTML_PIC_POSTPIC={len(read(\"$W/b/big.txt\"))}")
  expect=5 message='html_pic_postpic.*zu wenig Speicher'
}
row_script_file_is_a_device() {
  sw=(/Level=0 /ZANTOSCRIPT_FILE=/dev/zero)
  expect=1 message='Fehler 70 .*ZantoScript-Datei'
}
row_script_file_is_a_fifo() {
  mkfifo "$W/b/modules.qvs"
  sw=(/Level=0 "/ZANTOSCRIPT_FILE=$W/b/modules.qvs")
  expect=1 message='Fehler 70 .*ZantoScript-Datei'
}
row_fifo_among_the_pictures() {
  mkfifo "$W/b/x.jpg"
  sw=(/Level=0)
  expect=4 message='Image-Error.*x\.jpg'
}
row_longest_text_reached_in_a_bounded_loop() {
  sw=(/Level=0 '/HTML_PIC_POSTPIC={s="x"; n=0; while (n<40) {s=s+s; n=n+1;} s}')
  expect=5 message='html_pic_postpic.*zu wenig Speicher'
}

every_row_checks() {
  check "$row: nothing private anywhere in the output" \
    '! grep -rqs "$secret" "$W/b/html" "$W/b/thumbs" "$W/b/deco"'
  check "$row: peak memory below 1 GB" '[ "$(peak_kb)" -lt 1048576 ] || { echo "$(peak_kb) kB"; false; }'
}
run_rows

exit $fail
