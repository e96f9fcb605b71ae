#!/usr/bin/env bash
# The tray program serves, a second instance leaves with exit code 1 without disturbing it, and
# "Exit" ends the clients' conversations and the process with exit code 0.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
first=$zanvo_pid
wait_served Snapshot "BTCUSD,B,A" >/dev/null

rc=0
"$WINE" "$app/Zanvo.exe" </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "second instance exited with $rc, expected 1"
win app-exists || fail "the first instance lost its window"
wait_served Snapshot "BTCUSD,B,A" >/dev/null

# A watching client is told that the server ended its conversation (exit code 8).
start_watch "$work/watch.out" TS "BTCUSD,5,TCP"
eventually grep -q . "$work/watch.out" || fail "the watch received nothing"
zanvo_pid=$first
exit_zanvo
eventually bash -c "! kill -0 $watch_pid 2>/dev/null" ||
    fail "the watching client still holds its conversation after Exit"
rc=0
wait "$watch_pid" || rc=$?
[ "$rc" -eq 8 ] || fail "watch ended with $rc, expected 8 (conversation ended by the server)"
win app-exists && fail "main window still there after Exit"
echo "PASS"
