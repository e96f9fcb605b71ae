# Sourced by the DDE server's end-to-end scripts, whose arguments are wine-run, zanvo-dde.exe,
# zanvo-server-host.exe, the scenario and zanvo-raw-client.exe: a work folder removed at exit,
# ../e2e-lib.sh, the host started and stopped, and the checks the scripts share.
set -u
run=$1
client=$2
host=$3
scenario=$4
raw_client=$5
work=$(mktemp -d)
host_pid=
dde_cmd=("$run" "$client")
keep_going=1
. "$(dirname "${BASH_SOURCE[0]}")/../e2e-lib.sh"
# The host writes its log through kolvane.dll.
export KOLVANE_LOG_DIR="Z:$work/logs"
log="$work/logs/zanvo-server-host.log"

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

# raw ARGS...: runs zanvo-raw-client as dde runs zanvo-dde: stdout in $work/out, stderr in
# $work/err, exit code in $rc; raw_background FILE ARGS... as dde_background.
raw() {
    "$run" "$raw_client" "$@" >"$work/out" 2>"$work/err" && rc=0 || rc=$?
}
raw_background() { in_background "$1" "$run" "$raw_client" "${@:2}"; }

# wine_process PID: the Wine process that wine-run (PID) started, which runs the program.
wine_process() {
    ps -o pid=,comm= --ppid "$1" | awk '$2 != "tail" {print $1}'
}

# working_set: the host's working set in KB (the resident size of its Wine process).
working_set() {
    awk '/^VmRSS:/ {print $2}' "/proc/$(wine_process "$host_pid")/status"
}

# trade_count TEXT: the number of the scenario's IBM trades in TEXT, one per line (trade i:
# 14:16:00 + i s, price 102 + i/100, size 100 + i); fails on anything else.
trade_count() {
    local rest=$1 trades=0 i cents
    while [ -n "$rest" ]; do
        [[ "$rest" =~ ^\ 2:([0-9]{2}):([0-9]{2})\ PM\\t([0-9]+)\.([0-9]{2})0000\\t([0-9]+)\\n(.*)$ ]] ||
            return 1
        i=$(((10#${BASH_REMATCH[1]} - 16) * 60 + 10#${BASH_REMATCH[2]}))
        cents=$((10#${BASH_REMATCH[3]} * 100 + 10#${BASH_REMATCH[4]}))
        [ "$cents" -eq $((10200 + i)) ] && [ "${BASH_REMATCH[5]}" -eq $((100 + i)) ] || return 1
        rest=${BASH_REMATCH[6]}
        trades=$((trades + 1))
    done
    echo "$trades"
}

# Nothing made the server report an assertion or fail an advise.
expect_no_faults() {
    expect_no_assertions
    ! grep 'DDE Post Advise failed' "$log" || fail "failed advises logged"
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
