#!/usr/bin/env bash
# The Connection page: a server address changed only in letter case is no change (nothing is
# saved); a new user name is saved to Zanvo.ini, the supplier reconnects and a watched item keeps
# receiving data.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2
cp "$app/Zanvo.ini" "$work/Zanvo.ini.before"

start_zanvo
wait_served Snapshot "BTCUSD,B" >/dev/null
start_watch "$work/watch.out" Snapshot "BTCUSD,B,A,T"
eventually grep -q . "$work/watch.out" || fail "the watch received nothing"

open_settings
open_sheet
expect_text "Zanvo Settings#sheet" 212 sim
win set-text "Zanvo Settings#sheet" 212 SIM
confirm_sheet
cmp -s "$app/Zanvo.ini" "$work/Zanvo.ini.before" || fail "a change of case in Quote saved Zanvo.ini"

open_sheet
expect_text "Zanvo Settings#sheet" 210 ann
win set-text "Zanvo Settings#sheet" 210 bob
confirm_sheet
eventually grep -q '^Username=bob' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"

# Updates go on arriving after the reconnection.
lines=$(wc -l <"$work/watch.out")
eventually bash -c "[ \$(wc -l <'$work/watch.out') -gt $((lines + 2)) ]" ||
    fail "no updates after the reconnection"
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
