#!/usr/bin/env bash
# The DDE server end to end: zanvo-server-host with Mondrel.dll playing session.scn, and zanvo-dde
# as the client, each in its own Wine process:
#   server-test.sh WINE_RUN ZANVO_DDE_EXE HOST_EXE SCENARIO
# Exit code: the number of failed checks.
set -u
run=$1
client=$2
host=$3
scenario=$4
. "$(dirname "$0")/host-session.sh"

# The raw text of a watch output line (after the time stamp and the item).
texts() {
    cut -f3- "$1"
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

start_host 300

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

# Two clients on one IBM item, each in its own process: both are served the live trades, and the
# one that stays goes on being served after the other has left.
dde_background "$work/first" --raw --count 4 --seconds 90 watch Zanvo TS "IBM,1,TPS"
first=$bg_pid
dde_background "$work/second" --raw --count 8 --seconds 90 watch Zanvo TS "IBM,1,TPS"
second=$bg_pid
wait "$first" || fail "first watcher: $(cat "$work/first")"
wait "$second" || fail "second watcher: $(cat "$work/second")"
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
first_end=$(tail -n 1 "$work/first" | cut -f1)
second_end=$(tail -n 1 "$work/second" | cut -f1)
[[ "$second_end" > "$first_end" ]] || fail "second watcher not served after the first left"

# Snapshot updates of IBM: bid and ask 0.10 apart.
dde --raw --count 2 --seconds 60 watch Zanvo Snapshot "IBM,B,A"
expect_rc 0 "watch of IBM's quote"
texts "$work/out" | tail -n 2 | grep -qvE '^10[0-9]\.[0-9]{2}0000\\t10[0-9]\.[0-9]{2}0000$' &&
    fail "IBM quote updates: $(cat "$work/out")"

stop_host

# The service name can outlive the process for a moment under Wine; give it a few seconds.
patience=10 eventually answers 3
expect_rc 3 "request after the server stopped"
finish
