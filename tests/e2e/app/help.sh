#!/usr/bin/env bash
# "Help..." without Zanvo.pdf beside the program names the full path it expected, and the program
# goes on running.
. "$(dirname "$0")/app-lib.sh" "$@"
write_tarvex_ini
write_zanvo_ini ann secret 2

start_zanvo
eventually win app-exists || fail "no main window"
win app-command 32773
wait_dialog "Orbalis Zanvo"
text=$(win texts "Orbalis Zanvo")
grep -Eq '^-?[0-9]+	[A-Z]:\\.*\\app\\Zanvo\.pdf not found$' <<<"$text" || fail "message: $text"
win command "Orbalis Zanvo" 1
eventually closed "Orbalis Zanvo" ||
    fail "the message stayed"
win app-exists || fail "the program ended"
exit_zanvo
echo "PASS"
