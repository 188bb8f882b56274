#!/usr/bin/env bash
# The first start takes the interface language from the locale: German for a
# German locale and for C/POSIX (the program's own texts), English for any
# other locale; the language is kept, and a stored choice wins over the locale.
# The texts seen are the messages of a batch run (a level that does not
# exist) and the language the settings file keeps.
source "$(dirname "$0")/batch_support.sh" "$1"
make_base

# run_with <settings folder> <environment ...>: a batch run with a bad level.
run_with() {
  local config=$1; shift
  env -u LC_ALL -u LC_MESSAGES -u LANG XDG_CONFIG_HOME="$config" "$@" \
    "$galvora" /Profile=Voreinstellung "/Basedir=$tmp/base" /Level=3 >"$tmp/out" 2>"$tmp/err"
}
stored_language() { sed -n 's/^language=//p' "$1/galvora/registry.ini"; }
language_of_message() {
  if grep -q "Auswerte-Level" "$tmp/err"; then echo de
  elif grep -q "Directory level" "$tmp/err"; then echo en
  else echo "?"; fi
}

# locale settings | language
while IFS='|' read -r settings expected; do
  config=$tmp/config-$RANDOM$RANDOM
  run_with "$config" $settings
  check "$settings: the message is in '$expected'" '[ "$(language_of_message)" = "$expected" ]'
  check "$settings: '$expected' is kept" '[ "$(stored_language "$config")" = "$expected" ]'
done <<'TABLE'
LANG=de_DE.UTF-8|de
LANG=en_US.UTF-8|en
LANG=C|de
LANG=C.UTF-8|de
LANG=POSIX|de
LANG=fr_FR.UTF-8|en
LANG=de_AT@euro|de
|de
LANG=de_DE.UTF-8 LC_ALL=en_GB.UTF-8|en
LANG=en_US.UTF-8 LC_MESSAGES=de_CH.UTF-8|de
LANG=en_US.UTF-8 LC_ALL=|en
TABLE

# Once a language is kept, the locale no longer decides.
config=$tmp/config-kept
run_with "$config" LANG=en_US.UTF-8
run_with "$config" LANG=de_DE.UTF-8
check "English kept from the first start under a German locale" '[ "$(language_of_message)" = en ]'

# The options store the user's choice; it wins over the locale.
config=$tmp/config-chosen
mkdir -p "$config/galvora"
printf '[Administration]\nlanguage=de\n' >"$config/galvora/registry.ini"
run_with "$config" LANG=en_US.UTF-8
check "the chosen German wins over an English locale" '[ "$(language_of_message)" = de ]'

exit $fail
