#!/usr/bin/env bash
# The main job from the command line: a batch run without display writes the
# pages and thumbnails and ends with status 0; an override moves the thumbnails
# and another turns the order of the directories.
source "$(dirname "$0")/batch_support.sh" "$1"
make_base

"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "run: status 0" '[ $rc -eq 0 ] || { cat "$tmp/err"; false; }'
check "run: pages written" '[ "$(pages_in "$tmp/base")" -ge 4 ]'
check "run: thumbnails of both directories" '[ "$(find "$tmp/base" -path "*/thumbs/*" -iname "*.jpg" | wc -l)" -ge 4 ]'
check "run: originals untouched" '[ "$(find "$tmp/base/alpha" "$tmp/base/beta" -maxdepth 1 -iname "*.jpg" | wc -l)" -eq 4 ]'

make_base
"$galvora" /Profile=voreinstellung "/Basedir=$tmp/base" /Level=1 /THUMB_DIRNAME=small >"$tmp/out" 2>"$tmp/err"; rc=$?
check "override: status 0" '[ $rc -eq 0 ] || { cat "$tmp/err"; false; }'
check "override: thumbnails in small" '[ "$(find "$tmp/base" -path "*/small/*" -iname "*.jpg" | wc -l)" -ge 4 ]'
check "override: no thumbs folder" '[ -z "$(find "$tmp/base" -type d -name thumbs)" ]'

# The order of the directories comes from the profile as the options dialog's
# pages derive it: descending names put beta's page first, leading on to alpha's.
make_base
"$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=1 /DIR_SORTDIRECTION=1 >"$tmp/out" 2>"$tmp/err"; rc=$?
check "order: status 0" '[ $rc -eq 0 ] || { cat "$tmp/err"; false; }'
check "order: beta leads on to alpha" 'grep -q "href=\"alpha.html\"><img src=\"../deco/rechts.gif\"" "$tmp/base/html/beta.html"'
check "order: alpha is last" '! grep -q "rechts.gif" "$tmp/base/html/alpha.html"'

exit $fail
