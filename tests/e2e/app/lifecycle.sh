#!/usr/bin/env bash
# The tray program from start to Exit on the simulated market: without Zanvo.ini it says so and
# serves nothing; a refused login is corrected on the Connection page; the settings dialog, its
# Date/Time page, the About box and Help; a second instance; the tray icon lost and restored; and
# "Exit" from the icon's menu, which withdraws the DDE service, ends every client's conversation
# and the process with exit code 0.
. "$(dirname "$0")/app-lib.sh" "$@"

# Without Zanvo.ini the program says "Unable to load Application Settings", offers no DDE service
# and ends with exit code 0 once the message is closed. A switch followed by another argument is
# no switch: nothing is registered.
start_zanvo /RegServer /s
wait_dialog "Orbalis Zanvo"
win texts "Orbalis Zanvo" | grep -q 'Unable to load Application Settings' ||
    fail "message text: $(win texts 'Orbalis Zanvo')"
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B"
expect_rc 3 "a DDE service answered"
win command "Orbalis Zanvo" 1
expect_exit 0 "Zanvo.exe without Zanvo.ini" wait "$zanvo_pid"
"$WINE" reg query 'HKCR\Zanvo.RTD' >/dev/null 2>&1 && fail "'/RegServer /s' registered"
mv "$work/logs" "$work/logs-without-ini"

# A user without a password, on a computer in New York showing local time. The settings dialog opens once however often "Settings..." or a double-click on the
# tray icon asks for it; every feed row shows the refusal and a red lamp. A client's item is
# answered meanwhile, and served once the password given on the Connection page connects.
write_zanvo_ini ann "" 0
export TZ=America/New_York
start_zanvo
open_settings
win app-command 32771
win app-notify 515
sleep 1
[ "$(win count "Zanvo Settings")" = 1 ] || fail "$(win count "Zanvo Settings") settings dialogs open"
eventually rows_show "Invalid Username or Password" red || fail "rows: $(win texts "Zanvo Settings")"
dde_background "$work/quote.out" --raw watch Zanvo Snapshot "BTCUSD,B"
watchers=("$bg_pid")
eventually grep -q . "$work/quote.out" || fail "the item was not answered: $(cat "$work/quote.out.err")"
open_sheet
win set-text "Zanvo Settings#sheet" 211 secret
confirm_sheet
eventually grep -q '^Password=secret' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"
eventually rows_show "" green || fail "rows after the password: $(win texts "Zanvo Settings")"
eventually tray_is green || fail "tray $(tray_colour), expected green"
eventually grep -q $'\t[0-9.]*[0-9]$' "$work/quote.out" || fail "the item: $(cat "$work/quote.out")"

# "Greenwich Mean Time" on the Date/Time page is saved and moves the served trade times by the
# computer's offset from GMT; trades go on between the two answers, up to a few minutes.
local_time=$(served_text Snapshot "BTCUSD,TT")
open_sheet
win page 1
expect_text "Zanvo Settings#sheet" 220 "Exchange Timezone"
win press "Zanvo Settings#sheet" 219
confirm_sheet
eventually grep -q '^Timezone=1' "$app/Zanvo.ini" || fail "Zanvo.ini: $(cat "$app/Zanvo.ini")"
gmt_time=$(served_text Snapshot "BTCUSD,TT")
minutes_of() { echo $(($(date -u -d "$1" +%s) / 60 % 1440)); }
offset=$(date +%z | awk '{ print substr($1, 1, 1) (substr($1, 2, 2) * 60 + substr($1, 4, 2)) }')
late=$((($(minutes_of "$gmt_time") - $(minutes_of "$local_time") + offset + 2880) % 1440))
[ "$late" -le 5 ] || fail "local '$local_time', GMT '$gmt_time': not $offset minutes apart"
win command "Zanvo Settings" 2
eventually closed "Zanvo Settings" || fail "Close did not close the settings dialog"

# The About box shows the version line from the program's version resource; the settings dialog,
# opened again, takes the activation away and the About box closes itself.
win app-command 32772
wait_dialog "About Zanvo"
IFS=. read -r major minor build _ <<<"$3" # the version of the build
line=$(win text "About Zanvo" 213)
[[ "$line" =~ ^Version:\ $major\.$minor\ \ Build:\ $build\ \ Date:\ [A-Z][a-z][a-z]\ [\ 1-3][0-9]\ [0-9]{4}$ ]] ||
    fail "version line '$line'"
open_settings
eventually closed "About Zanvo" || fail "the About box stayed open after losing activation"
win command "Zanvo Settings" 2

# "Help..." without Zanvo.pdf beside the program names the full path it expected.
win app-command 32773
wait_dialog "Orbalis Zanvo"
text=$(win texts "Orbalis Zanvo")
grep -Eq '^-?[0-9]+	[A-Z]:\\.*\\app\\Zanvo\.pdf not found$' <<<"$text" || fail "message: $text"
win command "Orbalis Zanvo" 1
eventually closed "Orbalis Zanvo" || fail "the Help message stayed"

# A second instance leaves with exit code 1; the first goes on serving.
expect_exit 1 "a second instance" "$WINE" "$app/Zanvo.exe"
win app-exists || fail "the first instance lost its window"
served_text Snapshot "BTCUSD,B,A" >/dev/null

# The shell loses the icon, as when it restarts: every tick reports the failed modification, the
# function named as written; "TaskbarCreated" brings the icon back and the reports end.
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
dde_background "$work/ticks.out" --raw watch Zanvo TS "BTCUSD,5,TCP"
watchers+=("$bg_pid")
dde_background "$work/bars.out" --raw watch Zanvo Bars "BTCUSD,1,3,TC" "BTCUSD,5,3,TC"
watchers+=("$bg_pid")
for out in ticks bars; do
    eventually grep -q . "$work/$out.out" || fail "the $out watch received nothing"
done
win tray-click 516 || fail "no icon to click"
win menu-keys 38 13 || fail "no tray menu" # up to the last item, "Exit", and choose it
expect_exit 0 Zanvo.exe wait "$zanvo_pid"
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B"
expect_rc 3 "the service still answers after Exit"
for pid in "${watchers[@]}"; do
    expect_exit 8 "a watch (its conversation ended by the server)" wait "$pid"
done
tail -n 1 "$log" | grep -q $'\tModule unloaded$' || fail "Zanvo.log does not end the run: $(tail -n 3 "$log")"
win app-exists && fail "main window still there after Exit"
! grep -v "$modify_failed" "$work/logs/asserts.log" || fail "other assertions reported"
echo "PASS"
