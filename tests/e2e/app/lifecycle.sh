#!/usr/bin/env bash
# The tray program serves, a second instance leaves with exit code 1 without disturbing it, and
# "Exit" withdraws the DDE service and ends the process with exit code 0.
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

# A client holds an advise loop when Exit comes.
start_watch "$work/watch.out" TS "BTCUSD,5,TCP"
eventually grep -q . "$work/watch.out" || fail "the watch received nothing"
zanvo_pid=$first
exit_zanvo
rc=0
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B" >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 3 ] || fail "the service still answers after Exit (zanvo-dde exit $rc)"
# On Windows the watching client is told at once that the server ended its conversation (exit
# code 8). Wine 8 does not pass the server's termination on to a client in another process, so
# there the client only ends when stopped.
if ! kill -0 "$watch_pid" 2>/dev/null; then
    rc=0
    wait "$watch_pid" || rc=$?
    [ "$rc" -eq 8 ] || fail "watch ended with $rc, expected 8 (conversation ended by the server)"
fi
win app-exists && fail "main window still there after Exit"
echo "PASS"
