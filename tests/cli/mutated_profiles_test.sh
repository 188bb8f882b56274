#!/usr/bin/env bash
# Profiles with a value that is no number where one is expected (shared
# profiles get edited by hand): one key for each place that reads such values
# (the picture-type switches as the folders are listed, the clone switches as
# the clone folder is set, the run's own settings, the page settings, the
# effect values as the profile is read, the values the run only compares as
# text). No value crashes the program: a run that cannot go on ends with its
# message and status 1, never with a signal.
source "$(dirname "$0")/batch_support.sh" "$1"
galvora=$(realpath "$galvora")
shipped=$(dirname "$galvora")/profiles/galerie.qvp
[ -f "$shipped" ] || { echo "FAILED: $shipped is missing"; exit 1; }
echo "leak:libfontconfig.so" >"$tmp/lsan.supp"
export LSAN_OPTIONS="suppressions=$tmp/lsan.supp"
mkdir -p "$XDG_DATA_HOME/galvora/profiles"

for case in "PNG|1|Type mismatch: setting PNG" "GENERATE_CLONES|1|Type mismatch: setting GENERATE_CLONES" \
            "CLONE_APPEND_BASENAME|1|Type mismatch: setting CLONE_APPEND_BASENAME" \
            "THUMB_SIZE|1|Type mismatch: setting THUMB_SIZE" "CLONE_QUALITY|1|Type mismatch: setting CLONE_QUALITY" \
            "THUMBS_PER_LINE|1|Type mismatch: setting THUMBS_PER_LINE" "HTML_SPLIT|1|Type mismatch: setting HTML_SPLIT" \
            "GENERATE_INDEX|1|Type mismatch: setting GENERATE_INDEX" "LAUNCH_BROWSER|1|Type mismatch: setting LAUNCH_BROWSER" \
            "BORDER_WIDTH|1|Fehler 13 beim Lesen der Profildatei" "STAMP_TEXT_HEIGHT|1|Fehler 13 beim Lesen der Profildatei" \
            "DIR_SORT|0|" "PCD_FORMAT|0|" "HTML_BILD_VERWEISFOLGE|0|"; do
  IFS='|' read -r key status message <<<"$case"
  make_base
  sed "s|^$key=.*|$key=abc|" "$shipped" >"$XDG_DATA_HOME/galvora/profiles/mutiert.qvp"
  "$galvora" /Profile=mutiert "/Basedir=$tmp/base" /Level=1 /CLONE_PATH=web >"$tmp/out" 2>"$tmp/err"; rc=$?
  check "$key=abc: status $status" '[ $rc -eq "$status" ] || { echo "status $rc"; head -5 "$tmp/err"; false; }'
  [ -n "$message" ] && check "$key=abc: message" 'grep -qF "$message" "$tmp/err"'
done

exit $fail
