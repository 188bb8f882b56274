#!/usr/bin/env bash
# Hidden files and folders of a picture tree are private: a name with a
# leading dot (".secret.jpg", a ".private" folder) and the "._name" companions
# another system leaves beside each photo are never pictures or picture
# directories, at any level. A run publishes none of them (no page, thumbnail
# or clone), does not count them and does not report the companions, which
# are no pictures, as unreadable.
source "$(dirname "$0")/batch_support.sh" "$1"
stat_count() { tr -d '\r' <"$tmp/err" | sed -n "s/^\([0-9,]*\) $1 wurden .*/\1/p" | tail -1; }

# The visible pictures sit in the folder of the level; beside them a hidden
# photo, a companion (no picture at all) and, one level up, hidden folders
# full of photos.
tree() {  # level
  rm -rf "$tmp/base"
  local album
  case $1 in
    0) album=$tmp/base ;;
    1) album=$tmp/base/alpha
       jpeg "$tmp/base/.private/p1.jpg"; jpeg "$tmp/base/._alpha/p2.jpg" ;;
    2) album=$tmp/base/group/alpha
       jpeg "$tmp/base/group/.private/p1.jpg"; jpeg "$tmp/base/.private/sub/p2.jpg" ;;
  esac
  jpeg "$album/one.jpg"; jpeg "$album/two.jpg"; jpeg "$album/.secret.jpg"
  printf 'Mac OS X        \0\0\0\0' >"$album/._one.jpg"
}

for level in 0 1 2; do
  tree "$level"
  find "$tmp/base" | sort >"$tmp/before"
  "$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" "/Level=$level" /GENERATE_CLONES=1 /CLONE_PATH=web \
    >"$tmp/out" 2>"$tmp/err"; rc=$?
  find "$tmp/base" | sort >"$tmp/after"
  check "level $level: status 0, no unreadable picture reported" '[ $rc -eq 0 ] || { tail -5 "$tmp/err"; false; }'
  check "level $level: one directory with two pictures counted" \
    '[ "$(stat_count Verzeichnisse)/$(stat_count Bilder)" = 1/2 ] || { tail -12 "$tmp/err"; false; }'
  check "level $level: the visible pictures have their pages and clones" \
    '[ "$(comm -13 "$tmp/before" "$tmp/after" | grep -cE "/(one|two)\.(html|jpg)$")" -ge 6 ]'
  # What the run wrote, by any name hinting at a hidden original.
  published=$(comm -13 "$tmp/before" "$tmp/after" | grep -iE 'secret|private|/\._|/p[12][^/]*$')
  check "level $level: nothing hidden published ($published)" '[ -z "$published" ]'
  check "level $level: no page names a hidden file or folder" \
    '! grep -rlE "secret|private|\._one|p[12]\.(jpg|html)" "$tmp/base" --include="*.html"'
done

exit $fail
