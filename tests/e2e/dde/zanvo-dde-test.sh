#!/usr/bin/env bash
# zanvo-dde against dde-test-server, each in its own Wine process:
#   zanvo-dde-test.sh WINE_RUN ZANVO_DDE_EXE SERVER_EXE
# Checks the exact text served, advise updates (timer and poke), and the exit codes for a missing
# server, a refused item, a refused advise and bad usage. Exit code: the number of failed checks.
set -u
run=$1
client=$2
server=$3
service=ZanvoTest$$
work=$(mktemp -d)
server_pid=

cleanup() {
    if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
        kill "$server_pid"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../dde-checks.sh"

expect_err() {
    grep -qF -- "$1" "$work/err" || fail "stderr lacks '$1': $(cat "$work/err")"
}

dde request "$service" Test greeting
expect_rc 3 "request without a server"
expect_err "no DDE server answers for service '$service' and topic 'Test'"

"$run" "$server" "$service" 120 >"$work/server.out" 2>&1 &
server_pid=$!
for _ in $(seq 120); do
    dde request "$service" Test greeting
    [ "$rc" -eq 0 ] && break
    sleep 0.5
done
expect_rc 0 "request once the server is registered"

# The served text, byte for byte, then a line feed.
printf 'Hello\tWorld\nsecond line\n' >"$work/expected"
cmp -s "$work/out" "$work/expected" || fail "request text: $(od -c "$work/out")"

dde --raw request "$service" Test greeting
expect_rc 0 "raw request"
[ "$(cat "$work/out")" = 'Hello\tWorld\nsecond line' ] || fail "raw request text: $(cat "$work/out")"

dde request "$service" Test unknown
expect_rc 4 "request of an unknown item"
expect_err "the server refused item 'unknown' on topic 'Test'"
[ -s "$work/out" ] && fail "a refused item printed text"

dde request "$service" Other greeting
expect_rc 3 "request on a topic the server refuses"

dde watch "$service" Test unknown
expect_rc 5 "watch of an item the server refuses to advise"

dde request "$service" Test
expect_rc 2 "request without an item"
dde --count 0 watch "$service" Test counter
expect_rc 2 "watch with a count of 0"

# The counter is advised on a timer: the first line is its current text, then three updates,
# each a later count.
dde --raw --count 3 --seconds 60 watch "$service" Test counter greeting
expect_rc 0 "watch of counter and greeting"
grep -c $'\tgreeting\tHello\\\\tWorld\\\\nsecond line$' "$work/out" | grep -qx 1 ||
    fail "watch shows greeting once: $(cat "$work/out")"
counts=$(grep $'\tcounter\t' "$work/out" | sed -E 's/^[0-9:.]+\tcounter\tcount ([0-9]+)$/\1/')
[ "$(echo "$counts" | wc -l)" -eq 4 ] || fail "watch lines of counter: $(cat "$work/out")"
sort -n -c -u <<<"$counts" 2>/dev/null || fail "counter updates not increasing: $counts"
grep -vqE $'^[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}\t' "$work/out" && fail "line without time stamp: $(cat "$work/out")"

# A poke makes the server advise the poked item to a watcher in another process.
"$run" "$client" --raw --count 1 --seconds 60 watch "$service" Test echo >"$work/watch" 2>&1 &
watcher=$!
for _ in $(seq 120); do
    [ -s "$work/watch" ] && break
    sleep 0.5
done
dde poke "$service" Test echo anything
expect_rc 0 "poke"
wait "$watcher"
rc=$?
expect_rc 0 "watch ended by one poked update"
[ "$(cut -f2- "$work/watch")" = $'echo\techo\necho\techo' ] || fail "poked update: $(cat "$work/watch")"

dde poke "$service" Test quit now
expect_rc 0 "poke that stops the server"
wait "$server_pid"
rc=$?
server_pid=
expect_rc 0 "server withdrawing its service (output: $(cat "$work/server.out"))"

dde request "$service" Test greeting
expect_rc 3 "request after the server stopped"

[ "$failures" -eq 0 ] && echo "all checks passed"
exit "$failures"
