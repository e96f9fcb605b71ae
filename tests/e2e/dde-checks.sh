# Sourced by the end-to-end scripts that drive zanvo-dde, after they set run (wine-run), client
# (zanvo-dde.exe), work (their work folder) and, where they use it, raw_client
# (zanvo-raw-client.exe): failure counting and the clients' runs.

failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# dde ARGS...: runs zanvo-dde; stdout in $work/out, stderr in $work/err, exit code in $rc.
dde() {
    "$run" "$client" "$@" >"$work/out" 2>"$work/err"
    rc=$?
}

# raw ARGS...: runs the raw-protocol client, the same way.
raw() {
    "$run" "$raw_client" "$@" >"$work/out" 2>"$work/err"
    rc=$?
}

expect_rc() {
    [ "$rc" -eq "$1" ] || fail "$2: exit code $rc, expected $1 (stderr: $(cat "$work/err"))"
}
