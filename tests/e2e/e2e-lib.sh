# Sourced by every end-to-end script: failures, polling, zanvo-dde runs and the processes a test
# started. The script sets work (its work folder) and dde_cmd (how to run zanvo-dde.exe under
# Wine) first; keep_going=1 counts failures instead of stopping at the first.

failures=0
started=()

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
    [ -n "${keep_going:-}" ] || exit 1
}

# Polls until COMMAND succeeds, for at most $patience seconds (20 by default).
eventually() {
    local i
    for i in $(seq 1 $((${patience:-20} * 4))); do
        if "$@"; then return 0; fi
        sleep 0.25
    done
    return 1
}

# has_lines FILE N: FILE holds at least N lines.
has_lines() { [ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge "$2" ]; }

# dde ARGS...: runs zanvo-dde; stdout in $work/out, stderr in $work/err, exit code in $rc.
dde() {
    "${dde_cmd[@]}" "$@" >"$work/out.raw" 2>"$work/err" && rc=0 || rc=$?
    tr -d '\r' <"$work/out.raw" >"$work/out"
}

expect_rc() {
    [ "$rc" -eq "$1" ] || fail "$2: exit code $rc, expected $1 (stderr: $(cat "$work/err"))"
}

# in_background FILE COMMAND...: COMMAND in the background, its output going to FILE as it comes
# (unfiltered: a filter would hold it back in its buffer), its errors to FILE.err; its pid in
# bg_pid.
in_background() {
    "${@:2}" >"$1" 2>"$1.err" &
    bg_pid=$!
    started+=("$bg_pid")
}

# dde_background FILE ARGS...: zanvo-dde in the background.
dde_background() { in_background "$1" "${dde_cmd[@]}" "${@:2}"; }

# served_text TOPIC ITEM: the item's first data, as the guide checks a link (a request only
# creates the item: its first text is empty), tabs and line feeds escaped; fails after $patience
# seconds.
first_text() {
    dde --raw --wait 20000 request Zanvo "$1" "$2"
    text=$(cat "$work/out")
    [ "$rc" -eq 0 ] && [ -n "$text" ]
}
served_text() {
    patience=${patience:-30} eventually first_text "$1" "$2" || fail "no data for $1 $2"
    printf '%s\n' "$text"
}

# Our own processes only, by pid.
stop_started() {
    local pid
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}

# Nothing was reported as an assertion during the test.
expect_no_assertions() {
    [ ! -s "$work/logs/asserts.log" ] || fail "assertions reported: $(cut -f4- "$work/logs/asserts.log")"
}

# Ends a DDE test: its exit code is the number of failed checks.
finish() {
    [ "$failures" -eq 0 ] && echo "all checks passed"
    exit "$failures"
}
