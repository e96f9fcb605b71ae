#!/usr/bin/env bash
# Hostile clients of the DDE server end to end, with the host and clients of server-test.sh:
#   hostile-test.sh WINE_RUN ZANVO_DDE_EXE HOST_EXE SCENARIO RAW_CLIENT_EXE
# A client killed while it holds advise loops, and one that stops taking messages, leave the
# server serving the others; items no client should send, also advised by the raw client, get
# their refusal and log line, and the next good item is served. Exit code: failed checks.
. "$(dirname "$0")/host-session.sh"
export LC_ALL=C.UTF-8

log_lines() { wc -l <"$log" 2>/dev/null || echo 0; }

# The log lines after line $1, function and text, without the line Wine's DDEML causes whenever a
# client ends its conversation (its DdeDisconnect of a server-side conversation fails).
new_lines() {
    tail -n +$(($1 + 1)) "$log" | cut -f4,6 |
        grep -v $'^DdeServer::DisconnectConversation\tDDE Conversation Disconnect failed$'
}

# closed_lines: the log's lines saying that a conversation's client is gone.
closed_lines() { grep -c 'no longer reaches its client; its items are closed$' "$log"; }

start_host 900
[ -f "$log" ] || fail "no log file $log"

# A client killed while it holds advise loops; a poke makes the server advise an item's loops.
# The server finds the dead client's conversation there and closes its items once; the other
# client goes on being served (it stops by itself later), and so are new clients, also on the dead
# client's items.
dde_background "$work/other" --raw --seconds 60 watch Zanvo TS "MSFT,2,P"
other=$bg_pid
dde_background "$work/victim" --raw --seconds 120 watch Zanvo TS "MSFT,3,P" "MSFT,4,P" "MSFT,5,P"
victim_run=$bg_pid
patience=60 eventually has_lines "$work/victim" 3 || fail "victim not served: $(cat "$work/victim")"
patience=60 eventually has_lines "$work/other" 1
victim=$(wine_process "$victim_run")
[ -n "$victim" ] && kill -9 $victim || fail "no Wine process of the victim under $victim_run"
wait "$victim_run" 2>/dev/null
before=$(log_lines)
dde poke Zanvo TS "MSFT,3,P" x
expect_rc 0 "poke of the dead client's item"
sleep 2
new=$(new_lines "$before")
[[ "$new" == $'DdeServer::CloseGoneConversations\tConversation 0x'*' no longer reaches its client; its items are closed' &&
    "$new" != *$'\n'* ]] || fail "dead client's conversation, log lines: $new"
killed_at=$(wc -l <"$work/other")
dde poke Zanvo TS "MSFT,2,P" x
expect_rc 0 "poke of the other client's item"
patience=30 eventually has_lines "$work/other" $((killed_at + 1)) &&
    [ "$(cut -f3- "$work/other" | tail -n 1)" = '23.480000\n23.500000\n' ] ||
    fail "other client after the kill: $(cat "$work/other")"
dde_background "$work/new" --raw --count 1 --seconds 30 watch Zanvo TS "MSFT,3,P"
new_run=$bg_pid
patience=30 eventually has_lines "$work/new" 1
dde poke Zanvo TS "MSFT,3,P" x
wait "$new_run" || fail "new client on the dead client's item: exit code $?"
[ "$(cut -f3- "$work/new" | tail -n 1)" = '23.470000\n23.480000\n23.500000\n' ] ||
    fail "new client on the dead client's item: $(cat "$work/new")"

# A client that stops taking messages while it holds loops on 20 items that change every 2 s: the
# server cannot tell, and serves another client with its working set bounded; killed, the client's
# 20 conversations are found and closed at their next updates.
mapfile -t items < <(seq -f 'IBM,%g,TPS' 20)
dde_background "$work/stalled" --raw --seconds 120 watch Zanvo TS "${items[@]}"
stalled_run=$bg_pid
dde_background "$work/live" --raw --seconds 60 watch Zanvo Snapshot "IBM,B,A"
live=$bg_pid
# Every one of the 20 conversations has had data before the client stops: 20 lines alone may
# come from fewer items while the last conversations are still opening on a busy machine.
items_served() { [ "$(cut -f2 "$1" | sort -u | wc -l)" -ge "$2" ]; }
patience=60 eventually items_served "$work/stalled" 20 ||
    fail "stalled client: data for $(cut -f2 "$work/stalled" | sort -u | wc -l) of 20 items"
patience=60 eventually has_lines "$work/live" 2
stalled=$(wine_process "$stalled_run")
[ -n "$stalled" ] && kill -STOP $stalled || fail "no Wine process of the stalled client"
ws_before=$(working_set)
live_at=$(wc -l <"$work/live")
sleep 20
ws_after=$(working_set)
echo "stalled client: server working set $ws_before KB, after 20 s $ws_after KB"
[ $((ws_after - ws_before)) -le 2048 ] || fail "working set grew by $((ws_after - ws_before)) KB"
[ "$(wc -l <"$work/live")" -ge $((live_at + 5)) ] ||
    fail "live client while the other stalled: $(tail -n 3 "$work/live")"
closed_before=$(closed_lines)
kill -9 $stalled
wait "$stalled_run" 2>/dev/null
# Each conversation is found at its next update after the wine server has cleaned up the killed
# process, which takes longer on a busy machine (over 30 s seen while other builds ran).
all_closed() { [ "$(closed_lines)" -ge $((closed_before + 20)) ]; }
patience=90 eventually all_closed
[ "$(closed_lines)" -eq $((closed_before + 20)) ] ||
    fail "stalled client killed: $(($(closed_lines) - closed_before)) conversations closed, expected 20"
wait "$live" || fail "live client: $(tail -n 3 "$work/live")"
# IBM's quote updates: bid and ask 0.10 apart.
cut -f3- "$work/live" | tail -n 2 | grep -qvE '^10[0-9]\.[0-9]{2}0000\\t10[0-9]\.[0-9]{2}0000$' &&
    fail "IBM quote updates: $(tail -n 3 "$work/live")"

# hostile KIND TOPIC ITEM FUNCTION TEXT: KIND request or advise (by the raw client) is refused and
# the log gains exactly the line of FUNCTION with TEXT (TEXT empty: any one line of FUNCTION
# starting with "Error"); KIND served: the item is served with exactly TEXT and nothing is logged.
# The good item, a tick item's first text (its header and two empty rows), is served next.
hostile() {
    local kind=$1 topic=$2 item=$3 function=$4 text=$5 before=$(log_lines) new
    case $kind in
    request)
        dde request Zanvo "$topic" "$item"
        expect_rc 4 "$topic item '$item'"
        # The client gets no text, only the refusal (naming an item of printable text exactly).
        [ ! -s "$work/out" ] || fail "$topic item '$item' printed text"
        [ -z "$text" ] || grep -qF "the server refused item '$item' on topic '$topic'" "$work/err" ||
            fail "$topic item '$item': $(cat "$work/err")"
        ;;
    advise)
        raw Zanvo "$topic" "$item"
        expect_rc 5 "advise of $topic item '$item'"
        ;;
    served)
        dde --raw request Zanvo "$topic" "$item"
        expect_rc 0 "$topic item '$item'"
        [ "$(cat "$work/out")" = "$text" ] || fail "$topic item '$item': '$(cat "$work/out")'"
        ;;
    esac
    new=$(new_lines "$before")
    if [ "$kind" = served ]; then
        [ -z "$new" ] || fail "$topic item '$item' logged: $new"
    elif [ -n "$text" ]; then
        [ "$new" = "$function"$'\t'"$text" ] ||
            fail "$topic item '$item': log lines '$new', expected '$function<TAB>$text'"
    else
        [[ "$new" == "$function"$'\t'Error* && "$new" != *$'\n'* ]] ||
            fail "$topic item '$item': log lines '$new', expected one error of $function"
    fi
    dde --raw request Zanvo TS "MSFT,2,DTPS,HEADERS"
    [ "$rc" -eq 0 ] && [ "$(cat "$work/out")" = 'Date\tTime\tPrice\tSize\n\n\n' ] ||
        fail "good item after $topic '$item': exit code $rc, '$(cat "$work/out")'"
}

bars=DdeServer::CreateBarTopic
ticks=DdeServer::CreateTickTopic
snapshot=DdeServer::CreateSnapshotTopic
unsupported="Error: Unable to create topic - Unsupported parameter"
too_many="Error: Unable to create topic - Count 2147483647 is more than 100000 rows"
long=$(printf 'B%.0s' $(seq 250))
cases=(
    # Items of 255 characters, the most an atom holds.
    request Snapshot "MSFT,$long" $snapshot "$unsupported ('$long')"
    request TS "MSFT,1,${long:2}" $ticks "Error: Unable to create topic: Unsupported field 'B'"
    request Bars "MSFT,5,5,C,${long:6}" $bars
    "Error: Unable to create topic - Unsupported session format ('${long:6}')"
    # Printf directives are text.
    request Snapshot "MSFT,%n%s%x" $snapshot "$unsupported ('%N%S%X')"
    request TS "MSFT,1,P,%n%s%x" $ticks "$unsupported ('%N%S%X')"
    advise TS "MSFT,1,P,%n%s%x" $ticks "$unsupported ('%N%S%X')"
    # Counts.
    request Bars "MSFT,5,2147483647,C" $bars "$too_many"
    request TS "MSFT,2147483647,P" $ticks "$too_many"
    served TS "MSFT,-5,P,HEADERS" - 'Price\n'
    served Bars "MSFT,5,-5,C" - ''
    # Session windows of any numbers are read; one without its end is refused, and one that ends
    # before it starts is refused by the supplier.
    request Bars "MSFT,5,10,C,9:30-" $bars
    "Error: Unable to create topic - Unsupported session format ('9:30-')"
    request Bars "MSFT,1,2,C,99999:99999-1:1" DataSupplier::StartBarsRequest
    "Bad Snapshot Request. Reverted Session is not supported"
    served Bars "MSFT,1,2,C,-1:-1--1:-1" - '\n\n'
    # Empty parameters.
    request Snapshot "MSFT, ,B" DdeServer::SplitDdeRequest
    "Error: 'MSFT, ,B' request contain empty parameter"
    request TS " ,2,P" DdeServer::SplitDdeRequest "Error: ' ,2,P' request contain empty parameter"
    request Bars ",,," $bars "Error: Too little parameters"
    advise Bars ",,," $bars "Error: Too little parameters"
)
# Every byte value from 1 to 255, in chunks that fit an atom. Arguments reach a Windows program in
# its ANSI code page (1252) from the UTF-8 of the command line, so each byte is passed as the UTF-8
# of its character in that code page (the five bytes it leaves undefined stand for themselves).
while IFS= read -r -d '' chunk; do
    cases+=(request TS "$chunk" $ticks "" request Bars "MSFT,5,5,C,$chunk" $bars "")
done < <(python3 -c '
import sys
for first in range(1, 256, 64):
    chunk = bytes(range(first, min(first + 64, 256)))
    text = "".join(bytes([b]).decode("cp1252", errors="ignore") or chr(b) for b in chunk)
    sys.stdout.buffer.write(text.encode("utf-8") + b"\0")
')
for ((i = 0; i < ${#cases[@]}; i += 5)); do
    hostile "${cases[@]:i:5}"
done

expect_no_faults
wait "$other" || fail "other client: $(cat "$work/other")"

stop_host
finish
