#!/usr/bin/env bash
# The tray program as a spreadsheet's real-time data server ("Zanvo.RTD"), played by
# zanvo-rtd-client in another Wine process: "/RegServer" and "-unregserver" write and remove the
# class, its application identifier and the type library that marshals its interfaces; exact
# values and types per cell, refusals as #N/A, changes arriving, conflation while the client is
# busy, a reconnection and a new time-zone mode from the settings dialog reaching the cells,
# Disconnect on Exit; first with the tray program running, then started by COM ("-Embedding"),
# which runs the same tray program. A spreadsheet's own registration of IRtdServer's marshalling
# stays as it was through registering and removing ours.
#   usage: rtd-test.sh BIN_DIR WORK_DIR
. "$(dirname "$0")/../app/app-lib.sh" "$@"
cp "$bin_dir/zanvo-rtd-client.exe" "$app/"
na='ERROR 800a07fa'
appid='{484BDA29-8509-416C-8421-AAE51EDF960B}'
libid='{1D32095B-9C2F-4DC7-98C8-024D066E4E9B}'
clsid='{9B870929-4CFB-4629-B974-6468D51B06DD}'
server_key='HKCR\Interface\{EC0E6191-DB51-11D3-8F3E-00C04F3651B8}'
event_key='HKCR\Interface\{A43788C1-D91B-11D3-8F39-00C04F3651B8}'
reg() { "$WINE" reg "$@" 2>/dev/null | tr -d '\r'; }
cleanup() {
    stop_started
    "$WINE" "$app/Zanvo.exe" /UnregServer </dev/null >/dev/null 2>&1 || true
    "$WINE" reg delete "$server_key" /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

# rtd NAME COMMANDS...: runs the client in the background; output in $work/NAME, pid in rtd_pid.
rtd() {
    in_background "$work/$1.out" "$WINE" "$app/zanvo-rtd-client.exe" "${@:2}"
    rtd_pid=$bg_pid
}
# expect_line NAME LINE: the client printed exactly this line.
expect_line() {
    tr -d '\r' <"$work/$1.out" | grep -qxF -- "$2" || fail "$1: no line '$2' in: $(cat "$work/$1.out")"
}
# values NAME ID [LINE]: every value the cell got, in order (its connect value first), after line
# LINE of the output if given.
values() {
    tail -n +$((${3:-0} + 1)) "$work/$1.out" | tr -d '\r' | awk -v id="$2" '($1 == "connect" || $1 == "value") && $2 == id {
        $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

expect_exit 0 /RegServer "$WINE" "$app/Zanvo.exe" /RegServer
reg query "HKCR\\AppID\\$appid" /ve | grep -q 'REG_SZ[[:space:]]*Zanvo2$' || fail "AppID default value"
reg query "HKCR\\AppID\\Zanvo2.EXE" /v AppID | grep -qF "$appid" || fail "Zanvo2.EXE AppID value"
reg query "HKCR\\TypeLib\\$libid\\1.0\\0\\win64" /ve | grep -qi 'Zanvo.exe' || fail "no type library in the program"
reg query "HKCR\\Zanvo.RTD\\CLSID" /ve | grep -qF "$clsid" || fail "no ProgID Zanvo.RTD"
reg query "HKCR\\CLSID\\$clsid\\LocalServer32" /ve | grep -qi 'Zanvo.exe"$' || fail "no LocalServer32"
for key in "$server_key" "$event_key"; do
    reg query "$key\\TypeLib" /ve | grep -qF "$libid" || fail "$key is not marshalled by our library"
done
win app-exists && fail "registration must not run the program"

# MSFT never changes; IBM's bid rises by 0.01 every 100 ms. Daily MSFT bars for the last ten
# days, so that the bar grid ending today holds some of them.
lines=('symbol IBM zone 5' 'symbol MSFT zone 5'
    'quote MSFT 0xEA67=NASDAQ 2=23.5 9=23.49 8=23.51' 'quote IBM 0xEA67=NYSE 9=100'
    'trade MSFT 2009-07-21T14:14:57 23.47 100 Q' 'trade MSFT 2009-07-21T14:14:58 23.48 200 Q'
    'trade MSFT 2009-07-21T14:14:59 23.5 300 Q' 'at 0 feed all connected')
for i in $(seq 0 9); do
    lines+=("bar MSFT -1 $(date -u -d "-$i day" +%F) 30 31 29 30.$i $((1000 + i))")
done
for k in $(seq 1 1500); do
    lines+=("at $((k * 100)) quote IBM 9=$(awk -v k="$k" 'BEGIN { printf "%.2f", 100 + k / 100 }')")
done
write_scenario "${lines[@]}"
write_zanvo_ini ann secret 1 "$scenario_address"

# 1. The tray program runs; its class object serves the client. The computer is in New York.
export TZ=America/New_York
start_zanvo
served_text Snapshot "MSFT,B" >/dev/null
bars_text=$(served_text Bars "MSFT,D,3,DC")
rtd running start \
    'connect 1 Snapshot|MSFT|B' 'connect 2 snapshot|msft,a' 'connect 3 Snapshot|MSFT|EX' \
    'connect 4 SNAPSHOT|MSFT|EX' 'connect 5 Snapshot|IBM|B' 'connect 6 TS|MSFT,3,TPS|1|P' \
    'connect 7 ts|MSFT|3|TPS|2|s' 'connect 8 TS|MSFT,3,TPS|1|T' 'connect 9 Bars|MSFT,D,3,DC|1|C' \
    'connect 10 Bars|MSFT,D,3,DC|1|D' 'connect 11 Snapshot|IBM,B' \
    'connect 20 Snapshot|MSFT|BID' 'connect 21 Snapshot|MSFT,B,A' 'connect 22 TS|MSFT,3,P|4|P' \
    'connect 23 TS|MSFT,3,P|1|S' 'connect 24 Quotes|MSFT|B' 'connect 25 Snapshot|NOPE|B' \
    'connect 26 Bars|MSFT,5,5,DX|1|D' 'connect 27 Snapshot' \
    'pump 3000' 'busy 3000' 'pump 1500' 'heartbeat' 'disconnect 11' 'pump 1000' \
    'until-disconnect 120000'
patience=40 eventually grep -q '^heartbeat' "$work/running.out" ||
    fail "the client did not get through: $(cat "$work/running.out")"
sleep 1

# Exact values and types. Times are GMT here (Timezone=1): 2009-07-21 14:14:59 is day 40015.
tr -d '\r' <"$work/running.out" | grep -q '^start 1 ' || fail "ServerStart: $(cat "$work/running.out")"
expect_tail() {
    [ "$(values running "$1" | grep -v -xF "$na" | tail -n 1)" = "$2" ] ||
        fail "cell $1: $(values running "$1" | tr '\n' ';') expected $2"
}
for cell in "1 R8 23.49" "2 R8 23.51" "3 BSTR NASDAQ" "4 BSTR NASDAQ" "6 R8 23.5" "7 R8 200"; do
    expect_tail "${cell%% *}" "${cell#* }"
done
trade_time() { awk -v h="$1" 'BEGIN { printf "%.10g", 40015 + ((14 + h) * 3600 + 14 * 60 + 59) / 86400 }'; }
expect_tail 8 "DATE $(trade_time 0)"
# The newest daily bar as the DDE item serves it: its close, and its date as a whole day.
close=$(printf '%b' "$bars_text" | grep -v '^$' | tail -n 1 | cut -f2)
expect_tail 9 "R8 $(awk -v c="$close" 'BEGIN { printf "%.10g", c }')"
values running 10 | tail -n 1 | grep -qE '^DATE [0-9]+$' || fail "cell 10: $(values running 10)"
for id in 20 21 22 23 24 25 26 27; do
    [ "$(values running "$id")" = "$na" ] || fail "refused cell $id: $(values running "$id")"
done
for line in "Error: Unable to create topic - Unsupported parameter ('BID')" \
    "Error: RTD snapshot item 'MSFT,B,A' must name one field" \
    "Error: RTD row '4' is not 1 to 3 of 'MSFT,3,P'" \
    "Error: RTD column 'S' is not a field of 'MSFT,3,P'" \
    "Error: Unsupported RTD topic 'Quotes'" "Unable Subscribe to Quote for 'NOPE'" \
    "Error: Unable to create topic: Unsupported field 'X'" \
    "Error: RTD topic needs a topic and an item"; do
    grep -qF "$line" "$log" || fail "no log line '$line'"
done

# Changes arrive; a cell changed many times while the client was busy comes once, newest value.
ibm=$(values running 5 | grep -v -xF "$na" | cut -d' ' -f2)
[ "$(printf '%s\n' "$ibm" | sort -n -u | wc -l)" -ge 5 ] || fail "IBM bid did not change: $ibm"
jump=$(printf '%s\n' "$ibm" | awk 'NR > 1 { d = int(($1 - p) * 100 + 0.5); if (d > m) m = d } { p = $1 } END { print m + 0 }')
[ "$jump" -ge 20 ] || fail "no conflated refresh after the busy 3 s (largest step $jump): $ibm"
tr -d '\r' <"$work/running.out" | awk '$1 == "refresh" { delete seen } $1 == "value" { if (seen[$2]++) bad = 1 } END { exit bad }' ||
    fail "a refresh gave a cell twice"
expect_line running 'heartbeat 1'
# Cell 11 (the same quote as 5) was disconnected: no values after it.
[ "$(values running 11 | wc -l)" -ge 2 ] || fail "cell 11 got no updates: $(values running 11)"

# Settings confirmed while the cells stay connected: a new user name (the supplier reconnects) and
# local time instead of GMT. The trade time moves by New York's offset of now (the local mode takes
# the daylight state of the moment), and IBM's bid keeps coming after it.
mark=$(wc -l <"$work/running.out")
open_settings
open_sheet
win set-text "Zanvo Settings#sheet" 210 bob
win page 1
expect_text "Zanvo Settings#sheet" 218 "Local Timezone"
win press "Zanvo Settings#sheet" 218
confirm_sheet
win command "Zanvo Settings" 2
hours=$(date +%z | awk '{ print substr($1, 1, 3) + 0 }')
moved() { values running 8 "$mark" | grep -qxF "DATE $(trade_time "$hours")"; }
patience=40 eventually moved || fail "cell 8 after the settings change: $(values running 8 "$mark")"
moved_at=$(tr -d '\r' <"$work/running.out" | grep -nxF "value 8 DATE $(trade_time "$hours")" | head -n 1 | cut -d: -f1)
bids_after() { [ "$(values running 5 "$moved_at" | grep -v -xF "$na" | sort -u | wc -l)" -ge 3 ]; }
eventually bids_after || fail "IBM bid after the reconnection: $(values running 5 "$moved_at")"

# Exit while cells are connected: the client hears Disconnect.
exit_zanvo
wait "$rtd_pid" || fail "client: $(cat "$work/running.out")"
expect_line running disconnected
expect_no_assertions

# 2. COM starts the program: the whole tray program with its DDE service; a user start gets the
# running one (exit code 1).
rtd embedded start 'connect 1 Snapshot|MSFT|A' 'pump 4000' 'until-disconnect 60000'
eventually win app-exists || fail "COM start made no main window"
served_text Snapshot "MSFT,B" >/dev/null
start_zanvo
expect_exit 1 "a second start" wait "$zanvo_pid"
sleep 4
win app-command 32770 || fail "no main window to exit"
wait "$rtd_pid" || fail "client: $(cat "$work/embedded.out")"
[ "$(values embedded 1 | tail -n 1)" = 'R8 23.51' ] || fail "COM start: $(cat "$work/embedded.out")"
expect_line embedded disconnected
eventually bash -c "! \"$WINE\" \"$app/zanvo-window.exe\" app-exists" || fail "the program did not end"
expect_no_assertions

# "-unregserver" removes it all and keeps the AppID key itself.
expect_exit 0 -unregserver "$WINE" "$app/Zanvo.exe" -unregserver
reg query "HKCR\\AppID" >/dev/null || fail "the AppID key itself must stay"
for key in "HKCR\\AppID\\$appid" "HKCR\\AppID\\Zanvo2.EXE" "HKCR\\TypeLib\\$libid\\1.0" "HKCR\\Zanvo.RTD" \
    "HKCR\\CLSID\\$clsid" "$server_key" "$event_key"; do
    reg query "$key" >/dev/null && fail "$key left behind"
done

# A spreadsheet registered IRtdServer's marshalling with its own library: registering and
# removing ours leave that key exactly as it was; our IRTDUpdateEvent key comes and goes.
"$WINE" reg add "$server_key" /ve /d IRtdServer /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\TypeLib" /ve /d '{00020813-0000-0000-C000-000000000046}' /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\TypeLib" /v Version /d 1.9 /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\ProxyStubClsid32" /ve /d '{00020424-0000-0000-C000-000000000046}' /f >/dev/null 2>&1
foreign=$(reg query "$server_key" /s)
for switch in /RegServer /UnregServer; do
    expect_exit 0 "$switch with a foreign key" "$WINE" "$app/Zanvo.exe" $switch
    [ "$(reg query "$server_key" /s)" = "$foreign" ] ||
        fail "$switch changed the foreign key: $(reg query "$server_key" /s)"
done
reg query "$event_key" >/dev/null && fail "$event_key left behind"
echo "PASS"
