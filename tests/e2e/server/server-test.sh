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

# A first request serves the item's initial text: empty for a snapshot, header and empty rows for
# bars and ticks.
dde --raw request Zanvo Snapshot "MSFT,B,A"
expect_rc 0 "snapshot request"
[ "$(cat "$work/out")" = "" ] || fail "snapshot before its quote: $(cat "$work/out")"
dde --raw request Zanvo Bars "MSFT,5,5,DTOHLCV,HEADERS"
expect_rc 0 "bar request"
[ "$(cat "$work/out")" = 'Date\tTime\tOpen\tHigh\tLow\tClose\tVolume\n\n\n\n\n\n' ] ||
    fail "bar item before its data: $(cat "$work/out")"

# Refused items: the client gets no data.
dde request Zanvo Bars "MSFT,5,5,DX"
expect_rc 4 "bar item with an unsupported field"
dde request Zanvo TS "MSFT,2147483647,P"
expect_rc 4 "tick item with a count beyond the maximum"
dde request Zanvo Snapshot "MSFT,%n%s%x"
expect_rc 4 "snapshot item with printf directives"
raw Zanvo Bars "MSFT,5,5,DX"
expect_rc 5 "raw advise of a bar item with an unsupported field"

# Exact texts of MSFT, whose data never changes. The first is watched while another client holds
# the same item: its first update is its own text, not the other's (unchanged) one.
"$run" "$client" --raw --seconds 20 watch Zanvo Snapshot "MSFT,B,A,HEADERS" >"$work/holder" 2>&1 &
holder=$!
for _ in $(seq 60); do
    [ "$(wc -l <"$work/holder")" -ge 2 ] && break
    sleep 0.5
done
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
"$run" "$client" --raw --count 4 --seconds 90 watch Zanvo TS "IBM,1,TPS" >"$work/first" 2>&1 &
first=$!
"$run" "$client" --raw --count 8 --seconds 90 watch Zanvo TS "IBM,1,TPS" >"$work/second" 2>&1 &
second=$!
"$run" "$raw_client" --count 4 --seconds 90 Zanvo TS "IBM,1,TPS" >"$work/third" 2>"$work/third.err" &
third=$!
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

stop_host

# The service name can outlive the process for a moment under Wine; give it a few seconds.
for _ in $(seq 1 20); do
    dde request Zanvo Snapshot MSFT
    [ "$rc" -eq 3 ] && break
    sleep 0.5
done
expect_rc 3 "request after the server stopped"

[ "$failures" -eq 0 ] && echo "all checks passed"
exit "$failures"
