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
dde request Zanvo Snapshot "BTCUSD,B,A" >/dev/null || fail "the first instance stopped serving"

# A watching client is told that the server ended its conversation (exit code 8).
dde --raw watch Zanvo TS "BTCUSD,5,TCP" >"$work/watch.out" 2>"$work/watch.err" &
watch_pid=$!
started+=("$watch_pid")
eventually grep -q . "$work/watch.out" || fail "the watch received nothing"
zanvo_pid=$first
exit_zanvo
rc=0
wait "$watch_pid" || rc=$?
[ "$rc" -eq 8 ] || fail "watch ended with $rc, expected 8 (conversation ended by the server)"
win app-exists && fail "main window still there after Exit"
echo "PASS"
