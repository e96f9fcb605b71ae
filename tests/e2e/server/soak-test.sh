#!/usr/bin/env bash
# A timed soak of the DDE server end to end: zanvo-server-host with Mondrel.dll playing session.scn,
# and zanvo-soak-client holding 50 conversations with advise loops on 20 tick items each for 40 s:
# 2 of IBM (a trade every 2 s) and 18 of MSFT (no change). Under Wine each advise compares its
# item with every loop's through the wine server, so more changing items would measure Wine.
#   soak-test.sh WINE_RUN ZANVO_DDE_EXE HOST_EXE SCENARIO SOAK_CLIENT_EXE
# Every loop's last text is checked, and the server's working set is printed before and after
# 30 s of it; growing by more than 1 KB per update received fails the test (a leak in proportion
# to the updates). Exit code: the number of failed checks.
set -u
run=$1
client=$2
host=$3
scenario=$4
soak=$5
. "$(dirname "$0")/host-session.sh"
export KOLVANE_LOG_DIR="Z:$work/logs"

start_host 300
items=()
for k in $(seq 18); do
    items+=("MSFT,$k,P")
done
items+=("IBM,1,TPS" "IBM,2,TPS")
"$run" "$soak" TS 50 40 "${items[@]}" >"$work/soak" 2>&1 &
soak_run=$!
patience=120 eventually grep -q '^subscribed' "$work/soak" || fail "soak client: $(head -n 3 "$work/soak")"
# The histories arrive first.
sleep 5
before=$(working_set)
sleep 30
after=$(working_set)
wait "$soak_run" || fail "soak client exit code $?"

# ibm_text K TEXT: TEXT shows K trades of the scenario (trade i: 14:16:00 + i s, price 102 + i/100,
# size 100 + i), oldest first.
ibm_text() {
    local k=$1 rest=$2 lines=0 i cents
    while [ -n "$rest" ]; do
        [[ "$rest" =~ ^\ 2:([0-9]{2}):([0-9]{2})\ PM\\t([0-9]+)\.([0-9]{2})0000\\t([0-9]+)\\n(.*)$ ]] ||
            return 1
        i=$(( (10#${BASH_REMATCH[1]} - 16) * 60 + 10#${BASH_REMATCH[2]} ))
        cents=$(( 10#${BASH_REMATCH[3]} * 100 + 10#${BASH_REMATCH[4]} ))
        [ "$cents" -eq $((10200 + i)) ] && [ "${BASH_REMATCH[5]}" -eq $((100 + i)) ] || return 1
        rest=${BASH_REMATCH[6]}
        lines=$((lines + 1))
    done
    [ "$lines" -eq "$k" ]
}

msft=('' '23.500000\n' '23.480000\n23.500000\n' '23.470000\n23.480000\n23.500000\n')
results=0
ibm_updates=0
while IFS=$'\t' read -r conversation item updates text; do
    text=${text%$'\r'}
    results=$((results + 1))
    k=${item#*,}
    k=${k%%,*}
    if [[ "$item" == MSFT* ]]; then
        expected=${msft[$((k < 3 ? k : 3))]}
        for _ in $(seq 4 "$k"); do expected+='\n'; done
        [ "$text" = "$expected" ] || fail "conversation $conversation, $item: '$text'"
    else
        ibm_updates=$((ibm_updates + updates))
        [ "$updates" -ge 5 ] && ibm_text "$k" "$text" ||
            fail "conversation $conversation, $item: $updates updates, '$text'"
    fi
done < <(grep -v '^subscribed' "$work/soak")
[ "$results" -eq 1000 ] || fail "$results loops reported, expected 1000"

echo "server working set: $before KB before, $after KB after 30 s; $ibm_updates updates in 40 s"
# In KB, so at most 1 KB per update.
[ $((after - before)) -le "$ibm_updates" ] ||
    fail "working set grew by $((after - before)) KB for $ibm_updates updates"
reports=$(cat "$work/logs/asserts.log" 2>/dev/null)
[ -z "$reports" ] || fail "assertions: $reports"
grep -q 'DDE Post Advise failed' "$work/logs/zanvo-server-host.log" && fail "failed advises logged"

stop_host
finish
