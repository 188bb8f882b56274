#!/usr/bin/env bash
# Two batch runs at once on one picture tree and one output: the one that
# comes second waits until the first has ended, and afterwards the gallery is
# whole, every page complete and every link reaching its file. A run that
# finds the output taken says so and waits; interrupted while it waits it
# ends with status 1 and has written nothing.
source "$(dirname "$0")/batch_support.sh" "$1"
command -v flock >/dev/null || { echo "FAILED: flock is missing"; exit 1; }

base=$tmp/base
for d in alpha beta gamma; do
  for i in 1 2 3 4 5 6 7 8; do jpeg "$base/$d/$d-$i.jpg"; done
done
switches=(/Profile=Voreinstellung "/Basedir=$base" /Level=1 /GENERATE_INDEX=1 /GENERATE_FRAME=1 /HTML_SPLIT=1
          /LINES_PER_PAGE=1 /THUMBS_PER_LINE=3 /NAV_EXTENDED=1 /HTML_BILD_NAV_EXTENDED=1)

# Every page whole and every link of every page reaching a file: 24 picture
# pages, three thumbnail pages a folder, the index and the frame page.
gallery_whole() { python3 "$(dirname "$0")/check_pages.py" --pages 35 "$base/html"; }
temporaries() { find "$base" -name '.galvora-*.tmp' | wc -l; }

# --- two runs started together; a little script work per picture makes
# each run's writing take long enough for the other to find it under way
busy='/HTML_PIC_POSTPIC={i = 0; while (i < 100000) i = i + 1;}'
"$galvora" "${switches[@]}" "$busy" >"$tmp/out1.txt" 2>"$tmp/err1.txt" &
first=$!
"$galvora" "${switches[@]}" "$busy" >"$tmp/out2.txt" 2>"$tmp/err2.txt" &
second=$!
wait "$first"; rc1=$?
wait "$second"; rc2=$?
check "two runs at once: both end well" '[ $rc1 -eq 0 ] && [ $rc2 -eq 0 ] || { echo "status $rc1 and $rc2"; tail -3 "$tmp/err1.txt" "$tmp/err2.txt"; false; }'
check "two runs at once: the gallery is whole, every link reaches its file" gallery_whole
check "two runs at once: every picture has its thumbnail" '[ "$(find "$base/thumbs" -name "*.jpg" | wc -l)" -eq 24 ]'
check "two runs at once: no temporary file left" '[ "$(temporaries)" -eq 0 ]'

# --- a run that finds the output taken waits, writing nothing meanwhile
hold() {  # holds the output's lock until $tmp/release exists
  rm -f "$tmp/release" "$tmp/held"
  flock -x "$base" sh -c "touch '$tmp/held'; while [ ! -e '$tmp/release' ]; do sleep 0.1; done" &
  holder=$!
  wait_until '[ -e "$tmp/held" ]' "$holder"
}
waits() {  # the run $2, writing to $1, has said that it waits
  wait_until "grep -q wartet '$1'" "$2"
}
pages_now() { find "$base/html" -name '*.html' -printf '%p %T@\n' | sort; }

hold
before=$(pages_now)
"$galvora" "${switches[@]}" '/HTML_PIC_POSTPIC=again' >"$tmp/out3.txt" 2>"$tmp/err3.txt" &
third=$!
check "output taken: the run says it waits" 'waits "$tmp/err3.txt" "$third"'
check "output taken: nothing written while it waits" '[ "$(pages_now)" = "$before" ]'
touch "$tmp/release"
wait "$holder"
wait "$third"; rc3=$?
check "output taken: the run goes on once it is free and ends well" '[ $rc3 -eq 0 ]'
check "output taken: its pages are there" 'grep -q again "$base/html/alpha/alpha-1.html"'
check "output taken: the gallery is whole" gallery_whole

# --- interrupted while it waits: status 1, nothing written
hold
before=$(pages_now)
"$galvora" "${switches[@]}" '/HTML_PIC_POSTPIC=never' >"$tmp/out4.txt" 2>"$tmp/err4.txt" &
fourth=$!
check "interrupted while waiting: the run says it waits" 'waits "$tmp/err4.txt" "$fourth"'
kill -TERM "$fourth"
wait "$fourth"; rc4=$?
touch "$tmp/release"
wait "$holder"
check "interrupted while waiting: status 1" '[ $rc4 -eq 1 ]'
check "interrupted while waiting: nothing written" '[ "$(pages_now)" = "$before" ] && ! grep -rq never "$base/html"'

exit $fail
