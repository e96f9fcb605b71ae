#!/usr/bin/env bash
# "/RegServer" writes the application identifier's entries and registers the type library with
# the program file; "-unregserver" removes both and keeps the AppID key itself.
. "$(dirname "$0")/app-lib.sh" "$@"
appid='{484BDA29-8509-416C-8421-AAE51EDF960B}'
libid='{1D32095B-9C2F-4DC7-98C8-024D066E4E9B}'
reg() { "$WINE" reg "$@" 2>/dev/null | tr -d '\r'; }

rc=0
"$WINE" "$app/Zanvo.exe" /RegServer </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "/RegServer exited with $rc"
reg query "HKCR\\AppID\\$appid" /ve | grep -q 'REG_SZ[[:space:]]*Zanvo2$' || fail "AppID default value"
reg query "HKCR\\AppID\\Zanvo2.EXE" /v AppID | grep -qF "$appid" || fail "Zanvo2.EXE AppID value"
reg query "HKCR\\TypeLib\\$libid\\1.0" /ve | grep -q 'Zanvo2 1.0 Type Library' ||
    fail "type library not registered"
reg query "HKCR\\TypeLib\\$libid\\1.0\\0\\win64" /ve | grep -qi 'Zanvo.exe' ||
    fail "type library file is not the program"
win app-exists && fail "registration must not run the program"

rc=0
"$WINE" "$app/Zanvo.exe" -unregserver </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "-unregserver exited with $rc"
reg query "HKCR\\AppID\\$appid" >/dev/null && fail "AppID entry left behind"
reg query "HKCR\\AppID\\Zanvo2.EXE" >/dev/null && fail "Zanvo2.EXE entry left behind"
reg query "HKCR\\TypeLib\\$libid\\1.0" >/dev/null && fail "type library still registered"
reg query "HKCR\\AppID" >/dev/null || fail "the AppID key itself must stay"

# A switch followed by another argument is no switch: nothing is registered (and the program
# would run; without Zanvo.ini it stops at its message box, which is closed here).
start_zanvo /RegServer /s
wait_dialog "Orbalis Zanvo"
win command "Orbalis Zanvo" 1
wait "$zanvo_pid" || true
reg query "HKCR\\AppID\\$appid" >/dev/null && fail "'/RegServer /s' registered"
echo "PASS"
