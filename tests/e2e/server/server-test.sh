#!/usr/bin/env bash
# The DDE server end to end: zanvo-server-host with Mondrel.dll playing session.scn, and as its
# clients zanvo-dde (DDEML) and zanvo-raw-client (the raw protocol, as spreadsheets speak it: its
# loops start with an advise), each in its own Wine process:
#   server-test.sh WINE_RUN ZANVO_DDE_EXE HOST_EXE SCENARIO RAW_CLIENT_EXE
# Exit code: the number of failed checks.
. "$(dirname "$0")/host-session.sh"

# watched TOPIC ITEM: a raw watch until the item's first update (within $watch_seconds, 60 unless
# set), its text in $text; watched_is and watched_has compare it with EXPECTED.
watched() {
    dde --raw --count 1 --seconds "${watch_seconds:-60}" watch Zanvo "$1" "$2"
    text=$(cut -f3- "$work/out" | tail -n 1)
    [ "$rc" -eq 0 ]
}
watched_is() { watched "$1" "$2" && [ "$text" = "$3" ]; }
watched_has() { watched "$1" "$2" && [[ "$text" == *"$3"* ]]; }

# expect_watched TOPIC ITEM EXPECTED: the item's first update is EXPECTED.
expect_watched() { watched_is "$@" || fail "$1 $2: $(cat "$work/out"), expected $3"; }

# expect_settled watched_is|watched_has TOPIC ITEM EXPECTED: as expect_watched, asked up to four
# times while the first update comes before the item's data (its history arrives at the library's
# next timer tick, and under load the advise loop may start before).
expect_settled() {
    patience=1 watch_seconds=20 eventually "$@" || fail "$2 $3: $(tail -c 300 "$work/out"), expected $4"
}

start_host 500

# 50 items in one raw conversation, each asked by a request after its advise, for 20 s while the
# other checks run: every data message names its own item (IBM,k,P always shows k rows).
mapfile -t items < <(seq -f 'IBM,%g,P' 50)
raw_background "$work/fifty" --then-request --seconds 20 Zanvo TS "${items[@]}"
fifty=$bg_pid

# A scenario line in error reaches the log with its file and line.
line=$(grep -n ' 9007199254740993$' "$scenario" | cut -d: -f1)
grep -qF "$(printf 'DataSupplier::OnServerMessage\tData manager message: %s(%s): bad volume' \
    "$scenario" "$line") '9007199254740993'" <(cut -f4,6 "$log") ||
    fail "no log line for the scenario's line $line: $(cat "$log")"

# A first request serves the item's initial text: empty for a snapshot, header and empty rows for
# bars and ticks. Without --raw the text comes as served, followed by a line feed.
dde --raw request Zanvo Snapshot "MSFT,B,A"
expect_rc 0 "snapshot request"
[ "$(cat "$work/out")" = "" ] || fail "snapshot before its quote: $(cat "$work/out")"
dde request Zanvo Bars "MSFT,5,5,DTOHLCV,HEADERS"
expect_rc 0 "bar request"
printf 'Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n\n\n\n\n\n\n' | cmp -s - "$work/out" ||
    fail "bar item before its data: $(od -c "$work/out")"

# Exact texts of MSFT, whose data never changes, as TOPIC ITEM TEXT rows.
header='Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n'
bars=(' 7/21/2009\t 2:00:00 PM\t23.090000\t23.150000\t23.090000\t23.120000\t1200\n'
      ' 7/21/2009\t 2:05:00 PM\t23.120000\t23.130000\t23.100000\t23.110000\t1300\n'
      ' 7/21/2009\t 2:10:00 PM\t23.110000\t23.140000\t23.110000\t23.130000\t1400\n'
      ' 7/21/2009\t 2:15:00 PM\t23.130000\t23.160000\t23.120000\t23.150000\t1500\n'
      ' 7/21/2009\t 2:20:00 PM\t23.150000\t23.170000\t23.140000\t23.160000\t1600\n')
exact=(
    Snapshot "MSFT,B,A,HEADERS" 'Bid\tAsk\n23.490000\t23.510000'
    Snapshot "msft,b,a,vertical,headers" 'Bid\t23.490000\nAsk\t23.510000'
    TS "MSFT,2,DTPS,HEADERS"
    'Date\tTime\tPrice\tSize\n 7/21/2009\t 2:14:58 PM\t23.480000\t200\n 7/21/2009\t 2:14:59 PM\t23.500000\t300\n'
    TS "MSFT,4,TP,REVERSE" ' 2:14:59 PM\t23.500000\n 2:14:58 PM\t23.480000\n 2:14:57 PM\t23.470000\n\n'
    # The five newest MSFT bars of the grid ending at the fixed clock.
    Bars "MSFT,5,5,DTOHLCV,HEADERS" "$header${bars[0]}${bars[1]}${bars[2]}${bars[3]}${bars[4]}"
    Bars "MSFT,5,5,DTOHLCV,HEADERS,REVERSE" "$header${bars[4]}${bars[3]}${bars[2]}${bars[1]}${bars[0]}"
)
# Each is watched, the first while another client holds the same item: its first update is its own
# text, not the other's (unchanged) one. Then the raw client's loop, per topic advised only (the
# loop gets the text without any request), after a request, or followed by one.
dde_background "$work/holder" --raw --seconds 20 watch Zanvo Snapshot "MSFT,B,A,HEADERS"
holder=$bg_pid
patience=30 eventually has_lines "$work/holder" 2
declare -A variant=([Snapshot]='' [TS]=--request-first [Bars]=--then-request)
for ((i = 0; i < ${#exact[@]}; i += 3)); do
    topic=${exact[i]} item=${exact[i + 1]} expected=${exact[i + 2]}
    expect_watched "$topic" "$item" "$expected"
    raw ${variant[$topic]} --seconds 3 Zanvo "$topic" "$item"
    [ "$rc" -eq 0 ] && [ "$(cut -f3- "$work/out" | tail -n 1)" = "$expected" ] ||
        fail "raw client ${variant[$topic]} on $topic $item: $(cat "$work/out" "$work/err")"
done
wait "$holder" || fail "holder of the snapshot item: $(cat "$work/holder")"

# Service and topic names in any letter case. While these conversations last, the server's names
# of their topics keep the odd spellings (atoms keep the spelling added first), and the usual
# spelling is served all the same.
odd=("zanvo snapshot MSFT,B,A" "ZANVO BARS MSFT,5,5,C" "Zanvo ts MSFT,2,P")
for i in 0 1 2; do
    raw_background "$work/odd$i" --seconds 10 ${odd[i]}
    odd_runs[i]=$bg_pid
done
sleep 4
for request in "Snapshot MSFT,B" "Bars MSFT,5,1,C" "TS MSFT,1,P"; do
    dde request Zanvo $request
    expect_rc 0 "Zanvo $request beside the odd spellings"
done
for i in 0 1 2; do
    wait "${odd_runs[i]}" && grep -q $'\tMSFT,[^\t]*\t..' "$work/odd$i" ||
        fail "raw client on ${odd[i]}: $(cat "$work/odd$i" "$work/odd$i.err")"
done

# Two clients on one IBM item and a raw one, each in its own process: all are served the live
# trades, and the one that stays goes on being served after the other has left.
dde_background "$work/first" --raw --count 4 --seconds 90 watch Zanvo TS "IBM,1,TPS"
first=$bg_pid
dde_background "$work/second" --raw --count 8 --seconds 90 watch Zanvo TS "IBM,1,TPS"
second=$bg_pid
raw_background "$work/third" --seconds 20 Zanvo TS "IBM,1,TPS"
third=$bg_pid
# check_trades FILE MIN: every text is the empty row (before the first trade) or a trade of the
# scenario, at least MIN of them.
check_trades() {
    local file=$1 min=$2 trades=0 text
    while IFS= read -r text; do
        [ "$text" = '\n' ] && [ "$trades" -eq 0 ] && continue
        [ "$(trade_count "$text")" = 1 ] || fail "$file: not a trade of the scenario: $text"
        trades=$((trades + 1))
    done < <(cut -f3- "$file")
    [ "$trades" -ge "$min" ] || fail "$file: $trades trades: $(cat "$file")"
}
for row in "first 1" "second 4" "third 3"; do
    read -r name min <<<"$row"
    wait "${!name}" || fail "$name watcher: $(cat "$work/$name" "$work/$name.err")"
    check_trades "$work/$name" "$min"
done
[[ "$(tail -n 1 "$work/second" | cut -f1)" > "$(tail -n 1 "$work/first" | cut -f1)" ]] ||
    fail "second watcher not served after the first left"

wait "$fifty" || fail "raw client with 50 items: exit code $? ($(cat "$work/fifty.err"))"
wrong=$(awk -F'\t' '{ k = $2; sub(/^IBM,/, "", k); sub(/,P$/, "", k); t = $3; n[k]++
                      if ($2 !~ /^IBM,[0-9]+,P$/ || gsub(/\\n/, "", t) != k) print }
                    END { for (k = 1; k <= 50; k++) if (n[k] < 3) print "IBM," k ",P: " n[k] + 0 }' \
    "$work/fifty")
[ -z "$wrong" ] || fail "data messages of 50 items naming another item or too few: $wrong"
echo "50 items in one conversation: $(wc -l <"$work/fifty") data messages in 20 s"

# A timed soak, the server quiet otherwise: 50 raw conversations with loops on 20 tick items each
# for 40 s, 2 of IBM (a trade every 2 s; under Wine more changing items would measure Wine) and 18
# of MSFT (no change). Every loop's last text is checked, and the server's working set may grow by
# at most 1 KB per update over 30 s (a leak in proportion to the updates).
mapfile -t items < <(seq -f 'MSFT,%g,P' 18)
items+=("IBM,1,TPS" "IBM,2,TPS")
raw_background "$work/soak" --conversations 50 --seconds 40 Zanvo TS "${items[@]}"
soak=$bg_pid
patience=120 eventually has_lines "$work/soak.err" 1000 || fail "soak: $(tail -n 3 "$work/soak.err")"
# The histories arrive first.
sleep 5
before=$(working_set)
sleep 30
after=$(working_set)
wait "$soak" || fail "soak client exit code $?"

# MSFT,K,P: its K newest prices (three trades), oldest first, then empty rows.
msft=('' '23.500000\n' '23.480000\n23.500000\n' '23.470000\n23.480000\n23.500000\n')
results=0
ibm_updates=0
while IFS=$'\t' read -r conversation item updates text; do
    results=$((results + 1))
    k=${item#*,}
    k=${k%%,*}
    if [[ "$item" == MSFT* ]]; then
        expected=${msft[$((k < 3 ? k : 3))]}
        for _ in $(seq 4 "$k"); do expected+='\n'; done
        [ "$text" = "$expected" ] || fail "conversation $conversation, $item: '$text'"
    else
        ibm_updates=$((ibm_updates + updates))
        [ "$updates" -ge 5 ] && [ "$(trade_count "$text")" = "$k" ] ||
            fail "conversation $conversation, $item: $updates updates, '$text'"
    fi
done < <(awk -F'\t' '{ sub(/^ +/, "", $3); n[$2 FS $3]++; last[$2 FS $3] = $4 }
                      END { for (loop in n) print loop FS n[loop] FS last[loop] }' "$work/soak")
[ "$results" -eq 1000 ] || fail "$results loops reported, expected 1000"

echo "server working set: $before KB before, $after KB after 30 s; $ibm_updates updates in 40 s"
# In KB, so at most 1 KB per update.
[ $((after - before)) -le "$ibm_updates" ] ||
    fail "working set grew by $((after - before)) KB for $ibm_updates updates"
expect_no_faults

# The S&P 500's volume of 10 October 2008, beyond 32 bits, in the quote, the daily bar and a tick.
spx_quote=' 10/10/2008\t11456230000'
expect_settled watched_is Snapshot "SPX,D,V" "$spx_quote"
expect_settled watched_has Bars "SPX,D,250,DOHLCV" \
    ' 10/10/2008\t902.310000\t936.360000\t839.800000\t899.220000\t11456230000\n'
expect_settled watched_is TS "SPX,1,DTPS" ' 10/10/2008\t 8:00:00 PM\t899.220000\t11456230000\n'

# clock HOUR: the served time of day of a whole hour, " 8:00:00 PM".
clock() {
    local h=$(($1 % 24))
    printf ' %d:00:00 %s' $(((h + 11) % 12 + 1)) "$([ "$h" -lt 12 ] && echo AM || echo PM)"
}

# BTCUSD's bars of 20:00-23:00 in New York, oldest first: the evenings of 16, 19 and 20 July (UTC
# days 17, 20 and 21; the weekend's UTC days have no bars), each bar closing at
# 1000 x (UTC day - 16) + 100 + UTC hour; the served times are New York's plus the argument.
evening() {
    local text='' slot day hour
    for slot in 1:21 1:22 4:20 4:21 4:22 5:20 5:21 5:22; do
        day=${slot%:*} hour=${slot#*:}
        text+="$(clock $((hour + $1)))\t$((1000 * day + 100 + hour + ny_behind - 24)).000000\n"
    done
    printf '%s' "$text"
}

# New York's evening is the same window in GMT, shifted by New York's offset today (the local
# mode converts with the offset of the moment).
ny_behind=$(TZ=America/New_York date +%z | cut -c3)
expect_settled watched_is Bars "BTCUSD,60,8,TC,$((ny_behind - 4)):00-$((ny_behind - 1)):00" \
    "$(evening "$ny_behind")"

# zone_run MODE TZ: the host again in display mode MODE with the computer in zone TZ. The quote's
# date is the trading day in every mode.
zone_run() {
    stop_host
    TZ=$2 start_host 120 "$1"
    expect_settled watched_is Snapshot "SPX,D,V" "$spx_quote"
}

zone_run 2 America/New_York
# Tokyo's 8:00-15:00 is 23:00-06:00 UTC: the eight newest bars inside it, none from 15:00 on.
tokyo=''
for i in $(seq 0 7); do
    tokyo+="$(clock $((13 + i / 4)) | sed "s/:00:00/:$(printf %02d $((i % 4 * 15))):00/")"
    tokyo+="\t$((3715 + 5 * i)).000000\n"
done
expect_settled watched_is Bars "7203,15,8,TC,8:00-15:00" "$tokyo"

# 20:00-23:00 in New York crosses midnight UTC.
zone_run 0 America/New_York
expect_settled watched_is Bars "BTCUSD,60,8,TC,20:00-23:00" "$(evening 0)"

zone_run 0 Asia/Tokyo
stop_host

# The service name can outlive the process for a moment under Wine; give it a few seconds.
patience=10 eventually answers 3
grep -qF "no DDE server answers for service 'Zanvo' and topic 'Snapshot'" "$work/err" ||
    fail "request after the server stopped: exit code $rc, $(cat "$work/err")"
finish
