#!/usr/bin/env bash
# A user without a password is refused by every feed: each row shows the disconnected lamp and
# "Invalid Username or Password". A client asks for an item meanwhile; once the password is
# given on the Connection page, the program connects and serves it.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann "" 2

start_zanvo
open_settings
rows_refused() {
    local i
    for i in 0 1 2 3; do
        [ "$(win text "Zanvo Settings" "${feed_text_ids[$i]}")" = "Invalid Username or Password" ] ||
            return 1
        is_red "$(control_colour "Zanvo Settings" "${feed_icon_ids[$i]}")" || return 1
    done
}
eventually rows_refused || fail "rows: $(win texts "Zanvo Settings")"
start_watch "$work/watch.out" Snapshot "BTCUSD,B"
eventually grep -q . "$work/watch.out" || fail "the item was not answered: $(cat "$work/watch.out.err")"

open_sheet
win set-text "Zanvo Settings#sheet" 211 secret
confirm_sheet
eventually grep -q '^Password=secret' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"
rows_connected() {
    local id
    for id in "${feed_text_ids[@]}"; do
        [ -z "$(win text "Zanvo Settings" "$id")" ] || return 1
    done
    tray_is green
}
eventually rows_connected || fail "after the password: tray $(tray_colour), rows $(win texts "Zanvo Settings")"
eventually bash -c "grep -q $'\\t[0-9.]*[0-9]$' '$work/watch.out'" || fail "the item: $(cat "$work/watch.out")"
win command "Zanvo Settings" 2
exit_zanvo
expect_no_assertions
echo "PASS"
