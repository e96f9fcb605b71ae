#!/usr/bin/env bash
# "-Embedding" runs only the COM message loop: no window, no DDE service, and the single-instance
# lock of a running program does not stop it.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo -Embedding
server=$zanvo_pid
sleep 3
kill -0 "$server" 2>/dev/null || fail "-Embedding process ended"
win app-exists && fail "-Embedding created the main window"
dde --timeout 2000 request Zanvo Snapshot "BTCUSD,B"
expect_rc 3 "DDE service answered under -Embedding"

# The tray program still starts beside it: the server-only run holds no instance lock.
start_zanvo
served_text Snapshot "BTCUSD,B" >/dev/null
kill -0 "$server" 2>/dev/null || fail "-Embedding process ended"
exit_zanvo
kill "$server"
echo "PASS"
