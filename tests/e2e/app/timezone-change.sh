#!/usr/bin/env bash
# The Date/Time page: switching from local time (the computer in Tokyo, nine hours ahead of GMT
# all year) to "Greenwich Mean Time" is saved and moves the served trade times nine hours back.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 0

# Minutes after midnight of a time such as " 3:36:43 AM" or "15:36:43".
minutes_of() {
    local h m ampm
    [[ "$1" =~ ([0-9]{1,2}):([0-9]{2}):[0-9]{2}[[:space:]]*([AP]M)? ]] || fail "no time in '$1'"
    h=$((10#${BASH_REMATCH[1]})) m=$((10#${BASH_REMATCH[2]})) ampm=${BASH_REMATCH[3]}
    [ "$ampm" = AM ] && [ "$h" -eq 12 ] && h=0
    [ "$ampm" = PM ] && [ "$h" -lt 12 ] && h=$((h + 12))
    echo $((h * 60 + m))
}

TZ=Asia/Tokyo start_zanvo
item="BTCUSD,TT"
local_time=$(served_text Snapshot "$item")

open_settings
open_sheet
win page 1
expect_text "Zanvo Settings#sheet" 220 "Exchange Timezone"
win press "Zanvo Settings#sheet" 219
confirm_sheet
eventually grep -q '^Timezone=1' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"

gmt_time=$(served_text Snapshot "$item")
echo "local '$local_time', GMT '$gmt_time'"
# Trades go on between the two answers: allow a few minutes besides the nine hours.
shift_minutes=$(( ($(minutes_of "$local_time") - $(minutes_of "$gmt_time") + 1440) % 1440 ))
[ "$shift_minutes" -ge 535 ] && [ "$shift_minutes" -le 540 ] ||
    fail "local time is $shift_minutes minutes ahead of the served GMT, expected 540"
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
