#!/usr/bin/env bash
# "/RegServer" writes the application identifier's entries, the real-time data class (CLSID,
# ProgID "Zanvo.RTD") and registers the type library with the program file and the marshalling of
# its interfaces; "-unregserver" removes them all and keeps the AppID key itself. A spreadsheet's
# own registration of IRtdServer's marshalling stays exactly as it was, before and after.
. "$(dirname "$0")/app-lib.sh" "$@"
appid='{484BDA29-8509-416C-8421-AAE51EDF960B}'
libid='{1D32095B-9C2F-4DC7-98C8-024D066E4E9B}'
clsid='{9B870929-4CFB-4629-B974-6468D51B06DD}'
server_key='HKCR\Interface\{EC0E6191-DB51-11D3-8F3E-00C04F3651B8}'
event_key='HKCR\Interface\{A43788C1-D91B-11D3-8F39-00C04F3651B8}'
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
reg query "HKCR\\Zanvo.RTD\\CLSID" /ve | grep -qF "$clsid" || fail "no ProgID Zanvo.RTD"
reg query "HKCR\\CLSID\\$clsid\\LocalServer32" /ve | grep -qi 'Zanvo.exe"$' || fail "no LocalServer32"
for key in "$server_key" "$event_key"; do
    reg query "$key\\TypeLib" /ve | grep -qF "$libid" || fail "$key is not marshalled by our library"
done
win app-exists && fail "registration must not run the program"

rc=0
"$WINE" "$app/Zanvo.exe" -unregserver </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "-unregserver exited with $rc"
reg query "HKCR\\AppID\\$appid" >/dev/null && fail "AppID entry left behind"
reg query "HKCR\\AppID\\Zanvo2.EXE" >/dev/null && fail "Zanvo2.EXE entry left behind"
reg query "HKCR\\TypeLib\\$libid\\1.0" >/dev/null && fail "type library still registered"
reg query "HKCR\\AppID" >/dev/null || fail "the AppID key itself must stay"
for key in "HKCR\\Zanvo.RTD" "HKCR\\CLSID\\$clsid" "$server_key" "$event_key"; do
    reg query "$key" >/dev/null && fail "$key left behind"
done

# A spreadsheet registered IRtdServer's marshalling with its own library: registering and
# removing ours leave that key exactly as it was; our IRTDUpdateEvent key comes and goes.
"$WINE" reg add "$server_key" /ve /d IRtdServer /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\TypeLib" /ve /d '{00020813-0000-0000-C000-000000000046}' /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\TypeLib" /v Version /d 1.9 /f >/dev/null 2>&1
"$WINE" reg add "$server_key\\ProxyStubClsid32" /ve /d '{00020424-0000-0000-C000-000000000046}' /f >/dev/null 2>&1
foreign=$(reg query "$server_key" /s)
for switch in /RegServer /UnregServer; do
    "$WINE" "$app/Zanvo.exe" $switch </dev/null >/dev/null 2>&1 || fail "$switch with a foreign key"
    [ "$(reg query "$server_key" /s)" = "$foreign" ] ||
        fail "$switch changed the foreign key: $(reg query "$server_key" /s)"
done
reg query "$event_key" >/dev/null && fail "$event_key left behind"
"$WINE" reg delete "$server_key" /f >/dev/null 2>&1

# A switch followed by another argument is no switch: nothing is registered (and the program
# would run; without Zanvo.ini it stops at its message box, which is closed here).
start_zanvo /RegServer /s
wait_dialog "Orbalis Zanvo"
win command "Orbalis Zanvo" 1
wait "$zanvo_pid" || true
reg query "HKCR\\AppID\\$appid" >/dev/null && fail "'/RegServer /s' registered"
echo "PASS"
