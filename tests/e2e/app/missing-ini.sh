#!/usr/bin/env bash
# Without Zanvo.ini the program says "Unable to load Application Settings", offers no DDE service
# and ends with exit code 0 once the message is closed.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
rm -f "$app/Zanvo.ini"

start_zanvo
wait_dialog "Orbalis Zanvo"
win texts "Orbalis Zanvo" | grep -q 'Unable to load Application Settings' ||
    fail "message text: $(win texts 'Orbalis Zanvo')"
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B"
expect_rc 3 "a DDE service answered"
win command "Orbalis Zanvo" 1
rc=0
wait "$zanvo_pid" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc, expected 0"
echo "PASS"
