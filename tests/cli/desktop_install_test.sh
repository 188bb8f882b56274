#!/usr/bin/env bash
# The install into a prefix of its own gives the desktop what it needs: a
# launcher entry, the icon it names in every size, the software centres'
# record and the manual page, each valid to the desktop's own checkers, and a
# program that finds its files there.
source "$(dirname "$0")/batch_support.sh" "$1"
prefix=$tmp/prefix
id=org.mervadon.Galvora
# shown() <file>: false, with the file's text for the test's output.
shown() { cat "$1"; false; }
"$GALVORA_CMAKE" --install "$GALVORA_BUILD_DIR" --prefix "$prefix" >"$tmp/install.log" 2>&1; rc=$?
check "cmake --install succeeds" '[ $rc -eq 0 ] || shown "$tmp/install.log"'
version=$("$prefix/bin/galvora" --version | sed -n '1s/^Galvora //p')
check "the installed program answers --version" '[ -n "$version" ]'

desktop=$prefix/share/applications/$id.desktop
check "launcher entry passes desktop-file-validate" \
  '{ desktop-file-validate "$desktop" >"$tmp/validate" 2>&1 && [ ! -s "$tmp/validate" ]; } || shown "$tmp/validate"'
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "launcher starts galvora" '[ "$(entry Exec)" = galvora ] && [ "$(entry Terminal)" = false ]'
check "launcher: a graphics program" '[[ "$(entry Categories)" == *Graphics\;* ]]'
for key in Name GenericName Comment 'GenericName\[de\]' 'Comment\[de\]'; do
  check "launcher has $key" '[ -n "$(entry "$key")" ]'
done
icon=$(entry Icon)
check "launcher names the program's icon" '[ "$icon" = "$id" ]'
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  check "icon at $size pixels" 'file "$png" | grep -q "PNG image data, $size x $size,"'
done
check "scalable icon" \
  'python3 -c "import sys, xml.etree.ElementTree as t; sys.exit(t.parse(sys.argv[1]).getroot().tag != \"{http://www.w3.org/2000/svg}svg\")" "$prefix/share/icons/hicolor/scalable/apps/$icon.svg"'

metainfo=$prefix/share/metainfo/$id.metainfo.xml
check "record passes appstreamcli validate" \
  'appstreamcli validate --no-net "$metainfo" >"$tmp/appstream" 2>&1 || shown "$tmp/appstream"'
check "record, launcher entry and icon belong together (validate-tree)" \
  'appstreamcli validate-tree --no-net "$prefix" >"$tmp/tree" 2>&1 || shown "$tmp/tree"'
meta() { python3 - "$metainfo" "$1" <<'PY'
import sys, xml.etree.ElementTree as t
root = t.parse(sys.argv[1]).getroot()
for e in root.iterfind(sys.argv[2]):
    print(e.text if e.text else "".join(f"{k}={v}" for k, v in sorted(e.attrib.items())))
PY
}
check "record launches the launcher entry" '[ "$(meta launchable)" = "$id.desktop" ]'
check "record has a summary, a description, a screenshot, a licence, a content rating" \
  '[ -n "$(meta summary)" ] && [ -n "$(meta description/p)" ] && [ -n "$(meta screenshots/screenshot/image)" ] &&
   [ -n "$(meta project_license)" ] && [ "$(meta content_rating)" = "type=oars-1.1" ]'
check "record's release is the program's version" '[[ "$(meta releases/release)" == *"version=$version" ]]'

man1=$prefix/share/man/man1/galvora.1
MANWIDTH=80 man --warnings -l "$man1" >"$tmp/man" 2>"$tmp/man.err"; rc=$?
check "manual page reads with man -l, without a warning" '{ [ $rc -eq 0 ] && [ ! -s "$tmp/man.err" ]; } || shown "$tmp/man.err"'
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "BATCH SWITCHES" "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
  check "manual page section $section" 'grep -qx "$section" "$tmp/man"'
done
for word in /Profile= /Basedir= /Level= /Logfile= "/\$KEY=" '/KEY$=' --help --version LC_MESSAGES XDG_CONFIG_HOME \
            registry.ini languages/ profiles/ "Galvora $version"; do
  check "manual page tells of $word" 'grep -qF -- "$word" "$tmp/man"'
done
for status in 0 1 2 3 4 5 6; do
  check "manual page explains exit status $status" 'grep -qE "^       $status +[A-Z]" "$tmp/man"'
done
check "manual page has its one-line description" '[ "$(lexgrog "$man1" | sed "s/^[^:]*: *//")" = "\"galvora - make browsable HTML galleries from folders of pictures\"" ]'
check "man finds the page in the prefix" 'MANWIDTH=80 man -M "$prefix/share/man" galvora 2>/dev/null | cmp -s - "$tmp/man"'

# The German manual page: the same sections and switches.
man1de=$prefix/share/man/de/man1/galvora.1
MANWIDTH=80 man --warnings -l "$man1de" >"$tmp/man.de" 2>"$tmp/man.de.err"; rc=$?
check "German manual page reads with man -l, without a warning" '{ [ $rc -eq 0 ] && [ ! -s "$tmp/man.de.err" ]; } || shown "$tmp/man.de.err"'
for section in BEZEICHNUNG OPTIONEN BATCH-SCHALTER UMGEBUNG BEISPIELE; do
  check "German manual page section $section" 'grep -qx "$section" "$tmp/man.de"'
done
for word in /Profile= /Basedir= /Level= /Logfile= "/\$SCH" --help --version LC_MESSAGES registry.ini "Galvora $version"; do
  check "German manual page tells of $word" 'grep -qF -- "$word" "$tmp/man.de"'
done
check "German manual page has its one-line description" 'lexgrog "$man1de" | grep -q "\"galvora - aus Bilderordnern HTML-Galerien"'

# The installed program finds its languages, profiles and help in the prefix.
XDG_CONFIG_HOME=$tmp/fresh env -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 "$prefix/bin/galvora" /Profile=album "/Basedir=$tmp/base" /Level=3 \
  >"$tmp/out" 2>"$tmp/err"
check "installed program: English and the shipped profile" \
  'grep -q "Directory level" "$tmp/err" && ! grep -q "album" "$tmp/err"'
check "installed program's help pages" \
  '[ "$("$prefix/bin/galvora" --help | sed -n "s/.*The help pages: //p")" = "$prefix/share/galvora/help/index.html" ] &&
   [ -f "$prefix/share/galvora/help/index.html" ]'

exit $fail
