#!/usr/bin/env bash
# The profile's hooks in a batch run. `_init` runs before the run's page
# references are set: it sees this run's counts, but not yet the names of the
# first and last thumbnail page. A picture directory left without pictures
# (its only picture cannot be read) stays in the run: `_initpath` runs for it
# and it counts as a directory, but it gets no thumbnail page and no page
# links to it.
source "$(dirname "$0")/batch_support.sh" "$1"

base=$tmp/base
profiles=$XDG_DATA_HOME/galvora/profiles
mkdir -p "$profiles"
jpeg "$base/alpha/one.jpg"; jpeg "$base/alpha/two.jpg"
mkdir -p "$base/broken"; echo "no picture" >"$base/broken/bad.jpg"
jpeg "$base/gamma/three.jpg"

# The hooks keep what they see in a global; the index page's footer shows it.
{
  printf 'VERSION=2.11.02\r\n!*haken\r\n'
  printf '!+function _init()\r\n!+{\r\n'
  printf '!+  global seen, first_doc, last_doc, count_all_files, count_all_path;\r\n'
  printf '!+  seen = "init:" + first_doc + "|" + last_doc + "|" + count_all_files + "|" + count_all_path + ";";\r\n!+}\r\n'
  printf '!+function _initpath()\r\n!+{\r\n'
  printf '!+  global seen, path, count_cur_path, count_files;\r\n'
  printf '!+  seen = seen + path + "=" + count_cur_path + "/" + count_files + ";";\r\n!+}\r\n'
} >"$profiles/haken.qvp"

"$galvora" /Profile=haken "/Basedir=$base" /Level=1 /GENERATE_INDEX=1 /HTML_INDEX_IN_BASEDIR=0 \
  '/HTML_INDEX_FOOTER=<p>[{seen}]</p>' '/HTML_THUMB_FOOTER=<p>[{first_doc}|{last_doc}]</p>' \
  >"$tmp/out.txt" 2>"$tmp/err.txt"
rc=$?
index=$base/html/index.html
seen=$(sed -n 's/.*<p>\[\(.*\)\]<\/p>.*/\1/p' "$index" 2>/dev/null)

check "the run ends with its status for an unreadable picture (status $rc)" '[ $rc -eq 4 ] || tail -5 "$tmp/err.txt"'
check "the unreadable picture is named" 'grep -q "bad.jpg" "$tmp/err.txt" || { head -5 "$tmp/err.txt"; false; }'
check "_init sees this run's counts and no page names yet ($seen)" '[[ "$seen" == "init:||3|3;"* ]]'
check "_initpath runs for every directory, the one left without pictures too ($seen)" \
  '[ "${seen#init:||3|3;}" = "alpha=1/2;broken=2/0;gamma=3/1;" ]'
check "the page references of the run are set after _init" 'grep -q "\[alpha|gamma\]" "$base/html/alpha.html"'
check "the directory without pictures gets no thumbnail page" '[ ! -e "$base/html/broken.html" ]'
check "the index page lists the directories that have pages" \
  'grep -q "alpha.html" "$index" && grep -q "gamma.html" "$index" && ! grep -q "broken.html" "$index"'
check "every page is whole and every link reaches its file" \
  'python3 "$(dirname "$0")/check_pages.py" --pages 6 "$base/html"'

exit $fail
