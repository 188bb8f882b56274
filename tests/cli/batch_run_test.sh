#!/usr/bin/env bash
# The main job from the command line: a batch run without display writes the
# pages and thumbnails and ends with status 0; an override moves the thumbnails.
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

exit $fail
