#!/usr/bin/env bash
# Every shipped profile end to end, as a new user runs it: a batch run with
# nothing but /Profile, /Basedir and /Level over real camera photos (folder
# and file names with blanks, umlauts, "&", quotes and "<"; originals from 23
# to 6000 pixels wide) at levels 0, 1 and 2. The pages speak the profile's
# language: its lang attribute and all its texts, none of the other
# language's. Each picture page names its clone at the clone's size. Headless
# Chromium then loads every page at 390x844 and 1280x800
# (scripts/gallery-browser.py): pictures and links resolve, nothing scrolls
# sideways, the picture pages show a clone and not the original, never larger
# than the photo was taken, with the details the photo holds, and the arrow
# key opens the next picture. A second run over the unchanged tree must
# rewrite no file.
source "$(dirname "$0")/shipped_support.sh" "$1"

check "the four profiles are shipped, each with the language of its pages" \
  '[ "${profiles[*]}" = "album album-english galerie gallery-english" ]'
for profile in "${profiles[@]}"; do
  for tree in 0 1 2; do check_run "$profile" "$tree"; done
done

exit $fail
