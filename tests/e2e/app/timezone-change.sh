#!/usr/bin/env bash
# The Date/Time page: switching from exchange time to "Greenwich Mean Time" is saved and changes
# the times served for a New York stock, whose exchange time is hours away from GMT.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
before=$(wait_served Snapshot "IBM,TT")

open_settings
open_sheet
win page 1
[ "$(win text "Zanvo Settings#sheet" 220)" = "Exchange Timezone" ] || fail "Date/Time page not shown"
win press "Zanvo Settings#sheet" 219
confirm_sheet
eventually grep -q '^Timezone=1' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"

changed() { after=$(dde request Zanvo Snapshot "IBM,TT") && [ -n "$after" ] && [ "$after" != "$before" ]; }
eventually changed || fail "served time stayed '$before'"
echo "exchange time '$before', GMT '$after'"
win command "Zanvo Settings" 2
exit_zanvo
echo "PASS"
