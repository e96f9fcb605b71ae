# Sourced by the DDE server's end-to-end scripts, after they set run (wine-run), client
# (zanvo-dde.exe), host (zanvo-server-host.exe) and scenario: a work folder removed at exit,
# ../e2e-lib.sh, and the host started and stopped.

work=$(mktemp -d)
host_pid=
dde_cmd=("$run" "$client")
keep_going=1
. "$(dirname "${BASH_SOURCE[0]}")/../e2e-lib.sh"

cleanup() {
    if [ -n "$host_pid" ] && kill -0 "$host_pid" 2>/dev/null; then
        touch "$work/stop"
        wait "$host_pid"
    fi
    stop_started
    rm -rf "$work"
}
trap cleanup EXIT

# start_host SECONDS [MODE]: the host for at most SECONDS, its clock at 2009-07-21 14:24 UTC (just
# after the scenario's last MSFT bar), times shown in display time-zone mode MODE (GMT unless
# given; TZ sets the computer's zone for the local mode); returns once it serves.
start_host() {
    rm -f "$work/stop"
    "$run" "$host" "$scenario" "$work/stop" "$1" 1248186240 "${2:-1}" >"$work/host.out" 2>&1 &
    host_pid=$!
    patience=60 eventually answers 0
    expect_rc 0 "request once the server has started"
}

# answers RC: a request of MSFT ends with exit code RC.
answers() {
    dde request Zanvo Snapshot MSFT
    [ "$rc" -eq "$1" ]
}

# raw ARGS...: runs zanvo-raw-client ($raw_client) as dde runs zanvo-dde: stdout in $work/out,
# stderr in $work/err, exit code in $rc.
raw() {
    "$run" "$raw_client" "$@" >"$work/out" 2>"$work/err" && rc=0 || rc=$?
}

# wine_process PID: the Wine process that wine-run (PID) started, which runs the program.
wine_process() {
    ps -o pid=,comm= --ppid "$1" | awk '$2 != "tail" {print $1}'
}

# working_set: the host's working set in KB (the resident size of its Wine process).
working_set() {
    awk '/^VmRSS:/ {print $2}' "/proc/$(wine_process "$host_pid")/status"
}

# stop_host: the host stops the server cleanly.
stop_host() {
    touch "$work/stop"
    wait "$host_pid"
    rc=$?
    host_pid=
    expect_rc 0 "host stopping the server (output: $(cat "$work/host.out"))"
    grep -q '^stopped' "$work/host.out" || fail "host output: $(cat "$work/host.out")"
}
