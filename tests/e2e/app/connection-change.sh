#!/usr/bin/env bash
# Twelve items stream from a scenario to three clients while the feeds and the settings change.
# The service drops every feed 40 s after connecting (-9), retries at 52 s and connects at 64 s:
# the tray icon and the settings dialog's rows follow each step, an item asked for during the
# outage and every watched item are served again once the feeds are back, a quote that changed
# meanwhile with its new value. A symbol the scenario does not list is refused while the others go
# on. On the Connection page a server address changed only in letter case is no change (nothing
# is saved); a new user name is saved to Zanvo.ini, the supplier reconnects (the scenario starts
# again) and every item is served again exactly once, with its text. Then "Exit", chosen while a
# reconnection runs, ends the program.
. "$(dirname "$0")/app-lib.sh" "$@"
lines=()
items=()
expected=()
for i in $(seq 1 12); do
    lines+=("symbol S$i" "quote S$i 9=$i.1 8=$i.2")
    items+=("S$i,B,A")
    expected+=("$i.100000\t$i.200000")
done
write_scenario "${lines[@]}" "at 0 feed all connected" "at 40000 feed all disconnected -9" \
    "at 43000 quote S1 9=1.5" "at 52000 feed all retry" "at 64000 feed all connected"
write_zanvo_ini ann secret 2 "$scenario_address"
cp "$app/Zanvo.ini" "$work/Zanvo.ini.before"

start_zanvo
[ "$(served_text Snapshot "S1,A")" = "1.200000" ] || fail "the first data of S1,A"
watchers=()
for w in 0 1 2; do
    dde_background "$work/watch$w.out" --raw watch Zanvo Snapshot "${items[@]:$((w * 4)):4}"
    watchers+=("$bg_pid")
done

# mark: the lines every watch has printed so far, in marks.
mark() { marks=($(wc -l <"$work/watch0.out") $(wc -l <"$work/watch1.out") $(wc -l <"$work/watch2.out")); }
marks=(0 0 0)
# each_served [once]: every item's last text after the line of its watch in marks is the expected
# one; with once, its only one. A watch may show a text twice, from its loop and from the request
# that follows the advise.
each_served() {
    local i texts
    for i in "${!items[@]}"; do
        texts=$(watched_texts "$work/watch$((i / 4)).out" "${items[$i]}" "${marks[$((i / 4))]}")
        [ -n "${1:-}" ] || texts=$(tail -n 1 <<<"$texts")
        [ "$texts" = "${expected[$i]}" ] || return 1
    done
}
# feeds_show TRAY TEXT [LAMP]: the tray's colour, every feed row's text and lamp.
feeds_show() { tray_is "$1" && rows_show "$2" "${3:-}"; }
dialog() { echo "tray $(tray_colour), rows $(win texts "Zanvo Settings")"; }

eventually each_served || fail "before the outage: $(cat "$work"/watch*.out)"
open_settings
eventually feeds_show green "" green || fail "connected: $(dialog)"
patience=40 eventually feeds_show red "Server is not available" red || fail "outage: $(dialog)"
mark
dde_background "$work/late.out" --raw watch Zanvo Snapshot "S2,A"
patience=30 eventually feeds_show amber "" || fail "retrying: $(dialog)"
patience=30 eventually feeds_show green "" green || fail "restored: $(dialog)"
expected[0]='1.500000\t1.200000'
eventually each_served || fail "after the outage: $(cat "$work"/watch*.out)"
late_served() { [ "$(watched_texts "$work/late.out" S2,A | tail -n 1)" = 2.200000 ]; }
eventually late_served || fail "item asked for during the outage: $(cat "$work/late.out")"

dde request Zanvo Snapshot "NOPE,B"
expect_rc 4 "an unlisted symbol"
grep -q $'\tUnable Subscribe to Quote for \'NOPE\'$' "$log" || fail "no refusal in the log: $(cut -f4- "$log")"
# Another item text: under Wine a second loop on a watched item text may lose its updates.
[ "$(served_text Snapshot "S3,A,B")" = '3.200000\t3.100000' ] || fail "S3 after the refusal"

open_sheet
expect_text "Zanvo Settings#sheet" 212 "$scenario_address"
win set-text "Zanvo Settings#sheet" 212 "${scenario_address^^}"
confirm_sheet
cmp -s "$app/Zanvo.ini" "$work/Zanvo.ini.before" || fail "a change of case in Quote saved Zanvo.ini"

open_sheet
expect_text "Zanvo Settings#sheet" 210 ann
win set-text "Zanvo Settings#sheet" 210 bob
mark
logged=$(wc -l <"$log")
expected[0]='1.100000\t1.200000'
confirm_sheet
eventually grep -q '^Username=bob' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"
eventually each_served once || fail "after the reconnection: $(tail -n +2 "$work"/watch*.out)"
sleep 2 # nothing more comes: no item was subscribed twice
each_served once || fail "served more than once after the reconnection: $(cat "$work"/watch*.out)"
for pid in "${watchers[@]}"; do
    ended "$pid" && fail "a watch ended"
done
! tail -n +$((logged + 1)) "$log" | grep $'\tError: ' || fail "errors logged"

# The Exit command reaches the program while it handles OK (a press returns once the sheet has
# taken it), so the reconnection's dispatch of the queue runs it: the server stops, the
# reconnection gives up, and the quit message still ends the settings dialog and the program.
open_sheet
win set-text "Zanvo Settings#sheet" 210 carl
win press "Zanvo Settings#sheet" 1 + app-command 32770
expect_exit 0 Zanvo.exe wait "$zanvo_pid"
for pid in "${watchers[@]}"; do
    eventually ended "$pid" || fail "a watch still runs after Exit"
done
grep -q $'\tThe server was stopped during the reconnection$' "$log" ||
    fail "Exit did not come during the reconnection: $(tail -n 5 "$log")"
tail -n 1 "$log" | grep -q $'\tModule unloaded$' || fail "the log does not end the run: $(tail -n 3 "$log")"
expect_no_assertions
echo "PASS"
