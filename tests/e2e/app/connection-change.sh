#!/usr/bin/env bash
# The Connection page while twelve items stream from a scenario: a server address changed only
# in letter case is no change (nothing is saved); a new user name is saved to Zanvo.ini, the
# supplier reconnects and every item is served again exactly once, with its text. Then "Exit",
# chosen while a reconnection runs, ends the program.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
lines=()
items=()
for i in $(seq 1 12); do
    lines+=("symbol S$i" "quote S$i 9=$i.1 8=$i.2")
    items+=("S$i,B,A")
done
write_scenario "${lines[@]}" "at 0 feed all connected"
write_zanvo_ini ann secret 2 "$scenario_address"
cp "$app/Zanvo.ini" "$work/Zanvo.ini.before"

start_zanvo
[ "$(served_text Snapshot "S1,A")" = "1.200000" ] || fail "the first data of S1,A"
watchers=()
for w in 0 1 2; do
    start_watch "$work/watch$w.out" Snapshot "${items[@]:$((w * 4)):4}"
    watchers+=("$watch_pid")
done

# served_once: every item's text has come exactly once after the line of its watch in marks
# (the empty text a watch is answered first does not count).
served_once() {
    local i out text
    for i in "${!items[@]}"; do
        out=$work/watch$((i / 4)).out
        text=$(tail -n +$((${marks[$((i / 4))]} + 1)) "$out" | awk -F'\t' -v item="${items[$i]}" '$2 == item && $3 != ""' | cut -f3-)
        [ "$text" = "$((i + 1)).100000\t$((i + 1)).200000" ] || return 1
    done
}
# Before the change each item's own text is there; a watch may show it twice, from its loop and
# from the request that follows the advise.
served_last() {
    local i
    for i in "${!items[@]}"; do
        [ "$(watched_text "$work/watch$((i / 4)).out" "${items[$i]}")" = \
            "$((i + 1)).100000\t$((i + 1)).200000" ] || return 1
    done
}
eventually served_last || fail "before the change: $(cat "$work"/watch*.out)"

open_settings
open_sheet
expect_text "Zanvo Settings#sheet" 212 "$scenario_address"
win set-text "Zanvo Settings#sheet" 212 "${scenario_address^^}"
confirm_sheet
cmp -s "$app/Zanvo.ini" "$work/Zanvo.ini.before" || fail "a change of case in Quote saved Zanvo.ini"

open_sheet
expect_text "Zanvo Settings#sheet" 210 ann
win set-text "Zanvo Settings#sheet" 210 bob
marks=($(wc -l <"$work/watch0.out") $(wc -l <"$work/watch1.out") $(wc -l <"$work/watch2.out"))
confirm_sheet
eventually grep -q '^Username=bob' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"
eventually served_once || fail "after the reconnection: $(tail -n +2 "$work"/watch*.out)"
sleep 2 # nothing more comes: no item was subscribed twice
served_once || fail "served more than once after the reconnection: $(cat "$work"/watch*.out)"
for pid in "${watchers[@]}"; do
    kill -0 "$pid" || fail "a watch ended"
done
! grep $'\tError: ' "$log" || fail "errors logged"

# The Exit command reaches the program while it handles OK (a press returns once the sheet has
# taken it), so the reconnection's dispatch of the queue runs it: the server stops, the
# reconnection gives up, and the quit message still ends the settings dialog and the program.
open_sheet
win set-text "Zanvo Settings#sheet" 210 carl
win press "Zanvo Settings#sheet" 1 + app-command 32770
expect_zanvo_ended
for pid in "${watchers[@]}"; do
    eventually bash -c "! kill -0 $pid 2>/dev/null" || fail "a watch still runs after Exit"
done
grep -q $'\tThe server was stopped during the reconnection$' "$log" ||
    fail "Exit did not come during the reconnection: $(tail -n 5 "$log")"
tail -n 1 "$log" | grep -q $'\tModule unloaded$' || fail "the log does not end the run: $(tail -n 3 "$log")"
expect_no_assertions
echo "PASS"
