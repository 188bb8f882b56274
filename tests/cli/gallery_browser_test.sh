#!/usr/bin/env bash
# The main job end to end: a batch run with the default profile over a small
# tree of pictures (names with blanks and non-ASCII letters) at directory
# levels 0, 1 and 2, then every generated page is loaded in headless Chromium
# over file://: every picture must load and every link must reach a file. A
# second run over the unchanged tree must rewrite no file.
set -u
galvora=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
# Headless: the run must not wait for a window or open a browser itself.
unset DISPLAY WAYLAND_DISPLAY
fail=0
check() { if ! eval "$2"; then echo "FAILED: $1"; fail=1; fi; }

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "FAILED: chromium is not installed (scripts/install-deps.sh installs it)"
  exit 1
fi

picture() {  # path width height colour
  mkdir -p "$(dirname "$1")"
  convert -size "$2x$3" "xc:$4" -fill white -draw "circle 10,10 14,14" "$1"
}

make_tree() {  # level folder
  local level=$1 base=$2
  case $level in
    0)
      picture "$base/Strand Tag 1.jpg" 64 48 '#3366aa'
      picture "$base/Größe.jpg" 48 64 '#aa6633'
      picture "$base/default.jpg" 40 40 '#33aa66'
      ;;
    1)
      picture "$base/Reise Süd/a b.jpg" 64 48 '#3366aa'
      picture "$base/Reise Süd/Ärger.jpg" 48 64 '#aa6633'
      picture "$base/zwei/x.jpg" 40 40 '#33aa66'
      picture "$base/zwei/y z.jpg" 50 30 '#663399'
      ;;
    2)
      picture "$base/Jahr 1/Reise Süd/a b.jpg" 64 48 '#3366aa'
      picture "$base/Jahr 1/Reise Süd/Ärger.jpg" 48 64 '#aa6633'
      picture "$base/Jahr 1/zwei/x.jpg" 40 40 '#33aa66'
      picture "$base/Öl/drei/y z.jpg" 50 30 '#663399'
      ;;
  esac
}

# A page that loads every generated page in a frame and checks its pictures
# and links; the result replaces its body text, which the browser dumps.
checker() {  # output pages...
  local out=$1
  shift
  {
    printf '<!DOCTYPE html><html><head><meta charset="utf-8"></head><body><pre id="out">RUNNING</pre><script>\n'
    printf 'const pages = [\n'
    local p
    for p in "$@"; do
      p=${p//\\/\\\\}
      printf '  "%s",\n' "${p//\"/\\\"}"
    done
    cat <<'JS'
];
function exists(url) {
  return new Promise(done => {
    const x = new XMLHttpRequest();
    x.onload = () => done(true);
    x.onerror = () => done(false);
    try { x.open('GET', url); x.send(); } catch (e) { done(false); }
  });
}
function frame(url) {
  return new Promise(done => {
    const f = document.createElement('iframe');
    f.onload = () => done(f);
    f.src = url;
    document.body.appendChild(f);
  });
}
function settled(img) {
  return img.complete ? Promise.resolve() : new Promise(done => { img.onload = img.onerror = () => done(); });
}
(async () => {
  const lines = [];
  let images = 0, links = 0;
  for (const path of pages) {
    const url = encodeURI('file://' + path);
    const f = await frame(url);
    const doc = f.contentDocument;
    if (!doc || !doc.body && !doc.querySelector('frameset')) { lines.push('UNREADABLE ' + path); continue; }
    const pictures = [...doc.images];
    await Promise.all(pictures.map(settled));
    for (const img of pictures) {
      images++;
      if (!(img.naturalWidth > 0)) lines.push('PICTURE ' + path + ' ' + img.getAttribute('src'));
    }
    for (const a of doc.querySelectorAll('a[href], frame[src], iframe[src]')) {
      links++;
      const target = a.href || a.src;
      if (!(await exists(target))) lines.push('LINK ' + path + ' ' + (a.getAttribute('href') || a.getAttribute('src')));
    }
    f.remove();
  }
  lines.push('CHECKED ' + pages.length + ' pages ' + images + ' pictures ' + links + ' links');
  document.getElementById('out').textContent = '\n' + lines.join('\n') + '\nDONE';
})();
</script></body></html>
JS
  } >"$out"
}

snapshot() {  # folder -> "mtime size path" of every file but the decoration copies
  find "$1" -type f -not -path '*/deco/*' -printf '%T@ %s %p\n' | sort
}

for level in 0 1 2; do
  base=$tmp/level$level/Bilder
  make_tree "$level" "$base"
  # Pages are replaced only when their text changed, so that a second run
  # can show that it rewrites nothing.
  "$galvora" /Profile=Voreinstellung "/Basedir=$base" "/Level=$level" /HTML_CHANGED=1 >"$tmp/run$level.out" 2>&1
  rc=$?
  check "level $level: the batch run ends with status 0" '[ $rc -eq 0 ]'
  [ $rc -eq 0 ] || cat "$tmp/run$level.out"

  mapfile -t pages < <(find "$base" -name '*.html' | sort)
  check "level $level: pages were written" '[ ${#pages[@]} -ge 4 ]'
  check "level $level: no side file is left" '[ -z "$(find "$base" -name "*.html_")" ]'

  checker "$tmp/check$level.html" "${pages[@]}"
  # Without extensions the browser makes no folder beside its own program.
  "$browser" --headless --no-sandbox --disable-gpu --disable-extensions --user-data-dir="$tmp/browser$level" \
    --allow-file-access-from-files --virtual-time-budget=60000 --dump-dom "file://$tmp/check$level.html" \
    >"$tmp/dom$level.html" 2>"$tmp/browser$level.err"
  check "level $level: the browser finished the check" 'grep -q "^DONE" "$tmp/dom$level.html"'
  check "level $level: every page was read, every picture loaded, every link reached a file" \
    '! grep -qE "^(UNREADABLE|PICTURE|LINK) " "$tmp/dom$level.html"'
  check "level $level: the check saw every page and their pictures" \
    'grep -qE "^CHECKED ${#pages[@]} pages [1-9][0-9]* pictures [1-9][0-9]* links" "$tmp/dom$level.html"'
  grep -E "^(UNREADABLE|PICTURE|LINK|CHECKED) " "$tmp/dom$level.html" | sed "s|^|  level $level: |"

  before=$(snapshot "$base")
  "$galvora" /Profile=Voreinstellung "/Basedir=$base" "/Level=$level" /HTML_CHANGED=1 >"$tmp/again$level.out" 2>&1
  rc=$?
  check "level $level: the second run ends with status 0" '[ $rc -eq 0 ]'
  after=$(snapshot "$base")
  check "level $level: the second run makes no thumbnail and writes no page" \
    'grep -q "^0 Thumbnails wurden erstellt" "$tmp/again$level.out" && grep -q "^0 HTML-Dateien wurden erstellt" "$tmp/again$level.out"'

  check "level $level: the second run over the unchanged tree rewrites no file" '[ "$before" = "$after" ]'
  [ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after") | head -20
done

exit $fail
