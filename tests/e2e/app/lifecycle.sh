#!/usr/bin/env bash
# The tray program serves, a second instance leaves with exit code 1 without disturbing it, the
# tray icon comes back when the shell announces a new taskbar, and "Exit" from the icon's menu
# withdraws the DDE service, ends every client's conversation and the process with exit code 0.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
first=$zanvo_pid
served_text Snapshot "BTCUSD,B,A" >/dev/null

rc=0
"$WINE" "$app/Zanvo.exe" </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "second instance exited with $rc, expected 1"
win app-exists || fail "the first instance lost its window"
served_text Snapshot "BTCUSD,B,A" >/dev/null

# The shell loses the icon, as when it restarts: every tick reports the failed modification, the
# function named as written; "TaskbarCreated" brings the icon back and the reports end.
eventually tray_is green || fail "tray $(tray_colour), expected green"
win tray-remove || fail "no tray icon to remove"
modify_failed=$'\tMainApplication::UpdateTrayIcon\tAssertion failed: ::Shell_NotifyIcon(NIM_MODIFY, &nid)\t'
eventually grep -q "$modify_failed" "$work/logs/asserts.log" ||
    fail "no report of the lost icon: $(cat "$work/logs/asserts.log" 2>/dev/null)"
win tray-click 516 && fail "the icon is still in the tray"
win taskbar-created
eventually tray_is green || fail "the icon did not come back: tray $(tray_colour)"
reports=$(wc -l <"$work/logs/asserts.log")
sleep 1
[ "$(wc -l <"$work/logs/asserts.log")" -eq "$reports" ] || fail "reports go on with the icon back"

# Clients hold advise loops on every topic when Exit comes, one with two items: each is told
# that the server ended its conversation (exit code 8), and no process of the test is left.
start_watch "$work/ticks.out" TS "BTCUSD,5,TCP"
watchers=("$watch_pid")
start_watch "$work/bars.out" Bars "BTCUSD,1,3,TC" "BTCUSD,5,3,TC"
watchers+=("$watch_pid")
start_watch "$work/quotes.out" Snapshot "BTCUSD,B,A,T"
watchers+=("$watch_pid")
for out in ticks bars quotes; do
    eventually grep -q . "$work/$out.out" || fail "the $out watch received nothing"
done
zanvo_pid=$first
win tray-click 516 || fail "no icon to click"
win menu-keys 38 13 || fail "no tray menu" # up to the last item, "Exit", and choose it
expect_zanvo_ended
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B"
expect_rc 3 "the service still answers after Exit"
for pid in "${watchers[@]}"; do
    eventually bash -c "! kill -0 $pid 2>/dev/null" || fail "a watch still runs after Exit"
    rc=0
    wait "$pid" || rc=$?
    [ "$rc" -eq 8 ] || fail "watch ended with $rc, expected 8 (conversation ended by the server)"
done
grep -q $'\tModule unloaded$' "$log" || fail "Zanvo.log does not end the run: $(tail -n 3 "$log")"
win app-exists && fail "main window still there after Exit"
! grep -v "$modify_failed" "$work/logs/asserts.log" || fail "other assertions reported"
echo "PASS"
