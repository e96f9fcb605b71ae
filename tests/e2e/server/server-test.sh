#!/usr/bin/env bash
# The DDE server end to end: zanvo-server-host with Mondrel.dll playing session.scn, and as its
# clients zanvo-dde (DDEML) and zanvo-raw-client (the raw protocol, as spreadsheets speak it: its
# loops start with an advise), each in its own Wine process:
#   server-test.sh WINE_RUN ZANVO_DDE_EXE HOST_EXE SCENARIO RAW_CLIENT_EXE
# Exit code: the number of failed checks.
set -u
run=$1
client=$2
host=$3
scenario=$4
raw_client=$5
. "$(dirname "$0")/host-session.sh"
export KOLVANE_LOG_DIR="Z:$work/logs"
log="$work/logs/zanvo-server-host.log"

# The raw text of a watch output line (after the time stamp and the item).
texts() {
    cut -f3- "$1"
}

# last_text ITEM: the last text of ITEM (any letter case) in a raw client's output.
last_text() {
    awk -F'\t' -v item="$1" 'tolower($2) == tolower(item)' "$work/out" | cut -f3- | tail -n 1
}

# expect_watched TOPIC ITEM EXPECTED: the text the item shows once its data has arrived.
expect_watched() {
    local topic=$1 item=$2 expected=$3
    dde --raw --count 1 --seconds 60 watch Zanvo "$topic" "$item"
    expect_rc 0 "watch $topic $item"
    [ "$(texts "$work/out" | tail -n 1)" = "$expected" ] ||
        fail "$topic $item: $(cat "$work/out"), expected $expected"
}

dde request Zanvo Snapshot MSFT
expect_rc 3 "request without a server"
grep -qF "no DDE server answers for service 'Zanvo' and topic 'Snapshot'" "$work/err" ||
    fail "request without a server: $(cat "$work/err")"
dde request Zanvo Snapshot
expect_rc 2 "request without an item"

# expect_settled TOPIC ITEM EXPECTED: as expect_watched, asked again while the first advise comes
# before the item's data (its history arrives at the library's next timer tick, and under load
# the advise loop may start before).
expect_settled() {
    local try
    for try in 1 2 3 4; do
        dde --raw --count 1 --seconds 20 watch Zanvo "$1" "$2"
        [ "$rc" -eq 0 ] && [ "$(texts "$work/out" | tail -n 1)" = "$3" ] && return
    done
    fail "$1 $2: $(cat "$work/out"), expected $3"
}

start_host 500

# 50 items in one raw conversation, each asked by a request after its advise, for 20 s while the
# other checks run: every data message names its own item (IBM,k,P always shows k rows). Under
# Wine a request's data is followed by a second acknowledgement naming the request's atom without
# a reference of its own (the client leaves that atom); deleting it would free an atom that
# another message names.
items=()
for k in $(seq 50); do
    items+=("IBM,$k,P")
done
"$run" "$raw_client" --then-request --seconds 20 Zanvo TS "${items[@]}" >"$work/fifty" 2>"$work/fifty.err" &
fifty=$!
started+=("$fifty")

# A scenario line in error reaches the log with its file and line.
line=$(grep -n ' 9007199254740993$' "$scenario" | cut -d: -f1)
grep -qF "$(printf 'DataSupplier::OnServerMessage\tData manager message: %s(%s): bad volume' \
    "$scenario" "$line") '9007199254740993'" <(cut -f4,6 "$log") ||
    fail "no log line for the scenario's line $line: $(cat "$log")"

# A first request serves the item's initial text: empty for a snapshot, header and empty rows for
# bars and ticks.
dde --raw request Zanvo Snapshot "MSFT,B,A"
expect_rc 0 "snapshot request"
[ "$(cat "$work/out")" = "" ] || fail "snapshot before its quote: $(cat "$work/out")"
dde --raw request Zanvo Bars "MSFT,5,5,DTOHLCV,HEADERS"
expect_rc 0 "bar request"
[ "$(cat "$work/out")" = 'Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n\n\n\n\n\n' ] ||
    fail "bar item before its data: $(cat "$work/out")"
# Without --raw the text comes as served, followed by a line feed.
dde request Zanvo Bars "MSFT,5,5,DTOHLCV,HEADERS"
printf 'Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n\n\n\n\n\n\n' | cmp -s - "$work/out" ||
    fail "request text: $(od -c "$work/out")"

# Refused items: the client gets no data.
dde request Zanvo Bars "MSFT,5,5,DX"
expect_rc 4 "bar item with an unsupported field"
grep -qF "the server refused item 'MSFT,5,5,DX' on topic 'Bars'" "$work/err" ||
    fail "refused item: $(cat "$work/err")"
[ -s "$work/out" ] && fail "a refused item printed text"
dde request Zanvo TS "MSFT,2147483647,P"
expect_rc 4 "tick item with a count beyond the maximum"
dde request Zanvo Snapshot "MSFT,%n%s%x"
expect_rc 4 "snapshot item with printf directives"
raw Zanvo Bars "MSFT,5,5,DX"
expect_rc 5 "raw advise of a bar item with an unsupported field"

# Exact texts of MSFT, whose data never changes. The first is watched while another client holds
# the same item: its first update is its own text, not the other's (unchanged) one.
dde_background "$work/holder" --raw --seconds 20 watch Zanvo Snapshot "MSFT,B,A,HEADERS"
holder=$bg_pid
patience=30 eventually has_lines "$work/holder" 2
expect_watched Snapshot "MSFT,B,A,HEADERS" 'Bid\tAsk\n23.490000\t23.510000'
wait "$holder" || fail "holder of the snapshot item: $(cat "$work/holder")"
expect_watched Snapshot "msft,b,a,vertical,headers" 'Bid\t23.490000\nAsk\t23.510000'
expect_watched TS "MSFT,2,DTPS,HEADERS" \
    'Date\tTime\tPrice\tSize\n 7/21/2009\t 2:14:58 PM\t23.480000\t200\n 7/21/2009\t 2:14:59 PM\t23.500000\t300\n'
expect_watched TS "MSFT,4,TP,REVERSE" \
    ' 2:14:59 PM\t23.500000\n 2:14:58 PM\t23.480000\n 2:14:57 PM\t23.470000\n\n'
# The five newest MSFT bars of the grid ending at the fixed clock.
header='Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n'
rows=(' 7/21/2009\t 2:00:00 PM\t23.090000\t23.150000\t23.090000\t23.120000\t1200\n'
      ' 7/21/2009\t 2:05:00 PM\t23.120000\t23.130000\t23.100000\t23.110000\t1300\n'
      ' 7/21/2009\t 2:10:00 PM\t23.110000\t23.140000\t23.110000\t23.130000\t1400\n'
      ' 7/21/2009\t 2:15:00 PM\t23.130000\t23.160000\t23.120000\t23.150000\t1500\n'
      ' 7/21/2009\t 2:20:00 PM\t23.150000\t23.170000\t23.140000\t23.160000\t1600\n')
expect_watched Bars "MSFT,5,5,DTOHLCV,HEADERS" \
    "$header${rows[0]}${rows[1]}${rows[2]}${rows[3]}${rows[4]}"
expect_watched Bars "MSFT,5,5,DTOHLCV,HEADERS,REVERSE" \
    "$header${rows[4]}${rows[3]}${rows[2]}${rows[1]}${rows[0]}"

# The same texts through the raw client's loops, one conversation per topic: advised only, asked
# by a request first, asked by a request after the advise. An advised-only loop gets the item's
# text without any request: the time from the advise to its first non-empty text is printed.
raw --seconds 3 Zanvo Snapshot "MSFT,B,A,HEADERS" "msft,b,a,vertical,headers"
expect_rc 0 "raw client on snapshot items"
[ "$(last_text "MSFT,B,A,HEADERS")" = 'Bid\tAsk\n23.490000\t23.510000' ] &&
    [ "$(last_text "msft,b,a,vertical,headers")" = 'Bid\t23.490000\nAsk\t23.510000' ] ||
    fail "raw client on snapshot items: $(cat "$work/out")"
advised=$(awk -F'\t' '$2 == "advised" {print $1; exit}' "$work/err")
first=$(awk -F'\t' '$3 != "" {print $1; exit}' "$work/out")
echo "advised-only snapshot loop: advised at $advised, first text at $first"
raw --request-first --seconds 3 Zanvo TS "MSFT,2,DTPS,HEADERS" "MSFT,4,TP,REVERSE"
expect_rc 0 "raw client on tick items, requests first"
[ "$(last_text "MSFT,2,DTPS,HEADERS")" = \
    'Date\tTime\tPrice\tSize\n 7/21/2009\t 2:14:58 PM\t23.480000\t200\n 7/21/2009\t 2:14:59 PM\t23.500000\t300\n' ] &&
    [ "$(last_text "MSFT,4,TP,REVERSE")" = \
        ' 2:14:59 PM\t23.500000\n 2:14:58 PM\t23.480000\n 2:14:57 PM\t23.470000\n\n' ] ||
    fail "raw client on tick items: $(cat "$work/out")"
raw --then-request --seconds 3 Zanvo Bars "MSFT,5,5,DTOHLCV,HEADERS"
expect_rc 0 "raw client on a bar item, request after the advise"
[ "$(last_text "MSFT,5,5,DTOHLCV,HEADERS")" = \
    "$header${rows[0]}${rows[1]}${rows[2]}${rows[3]}${rows[4]}" ] ||
    fail "raw client on a bar item: $(cat "$work/out")"

# Service and topic names in any letter case. While these conversations last, the server's names
# of their topics keep the odd spellings (atoms keep the spelling added first), and the usual
# spelling is served all the same.
odd=("zanvo snapshot MSFT,B,A" "ZANVO BARS MSFT,5,5,C" "Zanvo ts MSFT,2,P")
for i in "${!odd[@]}"; do
    read -r service topic item <<<"${odd[$i]}"
    "$run" "$raw_client" --seconds 10 "$service" "$topic" "$item" >"$work/odd$i" 2>&1 &
    odd_runs[i]=$!
    started+=("${odd_runs[i]}")
done
sleep 4
dde request Zanvo Snapshot "MSFT,B"
expect_rc 0 "Zanvo|Snapshot beside zanvo|snapshot"
dde request Zanvo Bars "MSFT,5,1,C"
expect_rc 0 "Zanvo|Bars beside ZANVO|BARS"
dde request Zanvo TS "MSFT,1,P"
expect_rc 0 "Zanvo|TS beside Zanvo|ts"
for i in "${!odd[@]}"; do
    wait "${odd_runs[$i]}" && grep -q $'\tMSFT,[^\t]*\t..' "$work/odd$i" ||
        fail "raw client on ${odd[$i]}: $(cat "$work/odd$i")"
done

# Two clients on one IBM item, each in its own process: both are served the live trades, and the
# one that stays goes on being served after the other has left.
dde_background "$work/first" --raw --count 4 --seconds 90 watch Zanvo TS "IBM,1,TPS"
first=$bg_pid
dde_background "$work/second" --raw --count 8 --seconds 90 watch Zanvo TS "IBM,1,TPS"
second=$bg_pid
"$run" "$raw_client" --count 4 --seconds 90 Zanvo TS "IBM,1,TPS" >"$work/third" 2>"$work/third.err" &
third=$!
started+=("$third")
wait "$first" || fail "first watcher: $(cat "$work/first")"
wait "$second" || fail "second watcher: $(cat "$work/second")"
wait "$third" || fail "raw watcher: $(cat "$work/third" "$work/third.err")"
# check_trades FILE MIN: every text is the empty row (before the first trade) or a trade line of
# the scenario (trade i: 14:16:00 + i s, price 102 + i/100, size 100 + i), at least MIN of them.
check_trades() {
    local file=$1 min=$2 trades=0 text i cents
    while IFS= read -r text; do
        [ "$text" = '\n' ] && [ "$trades" -eq 0 ] && continue
        if [[ "$text" =~ ^\ 2:([0-9]{2}):([0-9]{2})\ PM\\t([0-9]+)\.([0-9]{2})0000\\t([0-9]+)\\n$ ]]; then
            i=$(( (10#${BASH_REMATCH[1]} - 16) * 60 + 10#${BASH_REMATCH[2]} ))
            cents=$(( 10#${BASH_REMATCH[3]} * 100 + 10#${BASH_REMATCH[4]} ))
            [ "$cents" -eq $((10200 + i)) ] && [ "${BASH_REMATCH[5]}" -eq $((100 + i)) ] ||
                fail "$file: trade $i does not match the scenario: $text"
            trades=$((trades + 1))
        else
            fail "$file: not a trade line of the scenario: $text"
        fi
    done < <(texts "$file")
    [ "$trades" -ge "$min" ] || fail "$file: $trades trades: $(cat "$file")"
}
check_trades "$work/first" 1
check_trades "$work/second" 4
check_trades "$work/third" 3
first_end=$(tail -n 1 "$work/first" | cut -f1)
second_end=$(tail -n 1 "$work/second" | cut -f1)
[[ "$second_end" > "$first_end" ]] || fail "second watcher not served after the first left"

# Snapshot updates of IBM: bid and ask 0.10 apart.
dde --raw --count 2 --seconds 60 watch Zanvo Snapshot "IBM,B,A"
expect_rc 0 "watch of IBM's quote"
texts "$work/out" | tail -n 2 | grep -qvE '^10[0-9]\.[0-9]{2}0000\\t10[0-9]\.[0-9]{2}0000$' &&
    fail "IBM quote updates: $(cat "$work/out")"

wait "$fifty" || fail "raw client with 50 items: exit code $? ($(cat "$work/fifty.err"))"
wrong=$(awk -F'\t' '{ k = $2; sub(/^IBM,/, "", k); sub(/,P$/, "", k); t = $3
                      if ($2 !~ /^IBM,[0-9]+,P$/ || gsub(/\\n/, "", t) != k) print }' "$work/fifty")
[ -z "$wrong" ] || fail "data messages of 50 items naming another item: $wrong"
for item in "${items[@]}"; do
    [ "$(grep -c $'\t'"$item"$'\t' "$work/fifty")" -ge 3 ] || fail "$item: too few data messages"
done
echo "50 items in one conversation: $(wc -l <"$work/fifty") data messages in 20 s"

# The S&P 500's volume of 10 October 2008, beyond 32 bits, in the quote, the daily bar and a tick.
expect_settled Snapshot "SPX,D,V" ' 10/10/2008\t11456230000'
spx_day=' 10/10/2008\t902.310000\t936.360000\t839.800000\t899.220000\t11456230000\n'
for _ in 1 2 3 4; do
    dde --raw --count 1 --seconds 20 watch Zanvo Bars "SPX,D,250,DOHLCV"
    grep -qF "$spx_day" <(texts "$work/out") && break
done
grep -qF "$spx_day" <(texts "$work/out") || fail "SPX daily bars: $(tail -c 300 "$work/out")"
expect_settled TS "SPX,1,DTPS" ' 10/10/2008\t 8:00:00 PM\t899.220000\t11456230000\n'

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
expect_settled Bars "BTCUSD,60,8,TC,$((ny_behind - 4)):00-$((ny_behind - 1)):00" \
    "$(evening "$ny_behind")"

# zone_run MODE TZ: the host again in display mode MODE with the computer in zone TZ. The quote's
# date is the trading day in every mode.
zone_run() {
    stop_host
    TZ=$2 start_host 120 "$1"
    expect_settled Snapshot "SPX,D,V" ' 10/10/2008\t11456230000'
}

zone_run 2 America/New_York
# Tokyo's 8:00-15:00 is 23:00-06:00 UTC: the eight newest bars inside it, none from 15:00 on.
tokyo=''
for i in $(seq 0 7); do
    tokyo+="$(clock $((13 + i / 4)) | sed "s/:00:00/:$(printf %02d $((i % 4 * 15))):00/")"
    tokyo+="\t$((3715 + 5 * i)).000000\n"
done
expect_settled Bars "7203,15,8,TC,8:00-15:00" "$tokyo"

# 20:00-23:00 in New York crosses midnight UTC.
zone_run 0 America/New_York
expect_settled Bars "BTCUSD,60,8,TC,20:00-23:00" "$(evening 0)"

zone_run 0 Asia/Tokyo
stop_host

# The service name can outlive the process for a moment under Wine; give it a few seconds.
patience=10 eventually answers 3
expect_rc 3 "request after the server stopped"
finish
