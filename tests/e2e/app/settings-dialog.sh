#!/usr/bin/env bash
# The settings dialog: opened once however often "Settings..." or a double-click on the tray icon
# asks for it, and its feed rows show every feed connected on the simulated market.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
served_text Snapshot "BTCUSD,B" >/dev/null
open_settings
win app-command 32771
win app-notify 515
sleep 1
[ "$(win count "Zanvo Settings")" = 1 ] || fail "$(win count "Zanvo Settings") settings dialogs open"

rows_connected() {
    local i colour
    for i in 0 1 2 3; do
        [ -z "$(win text "Zanvo Settings" "${feed_text_ids[$i]}")" ] || return 1
        colour=$(control_colour "Zanvo Settings" "${feed_icon_ids[$i]}")
        is_green "$colour" || return 1
    done
}
eventually rows_connected || fail "feed rows not all connected: $(win texts "Zanvo Settings")"

win command "Zanvo Settings" 2
eventually closed "Zanvo Settings" ||
    fail "Close did not close the dialog"
# Closed, it opens again.
open_settings
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
