#!/usr/bin/env bash
# A user without a password is refused by every feed: each row shows the disconnected lamp and
# "Invalid Username or Password".
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
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
