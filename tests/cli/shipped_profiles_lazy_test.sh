#!/usr/bin/env bash
# The shipped profiles over a folder of seven albums, one of them of 24
# photos: beside the checks of every shipped profile's run, the browser sees
# the thumbnails and album covers of the first screen load at once and those
# further down lazily (scripts/gallery-browser.py).
source "$(dirname "$0")/shipped_support.sh" "$1"

check "profiles are shipped" '[ ${#profiles[@]} -ge 1 ]'
for profile in "${profiles[@]}"; do check_run "$profile" many; done

exit $fail
