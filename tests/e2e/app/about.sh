#!/usr/bin/env bash
# The About box shows the version line from the program's version resource and closes when it
# loses activation.
. "$(dirname "$0")/app-lib.sh" "$@"
version=$3 # major.minor.build from the build
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
served_text Snapshot "BTCUSD,B" >/dev/null
win app-command 32772
wait_dialog "About Zanvo"
IFS=. read -r major minor build _ <<<"$version"
line=$(win text "About Zanvo" 213)
[[ "$line" =~ ^Version:\ $major\.$minor\ \ Build:\ $build\ \ Date:\ [A-Z][a-z][a-z]\ [\ 1-3][0-9]\ [0-9]{4}$ ]] ||
    fail "version line '$line'"

# Opening the settings dialog takes the activation away: the About box closes itself.
open_settings
eventually closed "About Zanvo" ||
    fail "the About box stayed open after losing activation"
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
