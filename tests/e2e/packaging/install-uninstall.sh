#!/usr/bin/env bash
# Installs Zanvo silently into the test prefix, starts the installed program, reads a snapshot
# item through the installed zanvo-dde.exe, and uninstalls silently: the running program is ended,
# and no file, shortcut or registry entry of ours stays. A second round changes Zanvo.ini before
# uninstalling: then that file alone stays.
#
#   usage: install-uninstall.sh SETUP_EXE WORK_DIR
set -euo pipefail
setup=$1
work=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
WINE=${ZANVO_WINE64:-/usr/lib/wine/wine64}
eval "$("$root/tests/harness/wine-harness" env)"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zanvo'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
dir="$WINEPREFIX/drive_c/Program Files/Zanvo"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zanvo"
dde_cmd=("$WINE" "$dir/zanvo-dde.exe")
. "$here/../e2e-lib.sh"
trap stop_started EXIT

reg() { "$WINE" reg "$@" 2>/dev/null | tr -d '\r'; }
has_key() { reg query "$1" >/dev/null; }
gone() { ! has_key "$uninstall_key" && [ ! -e "$dir/Uninstall.exe" ]; }

rm -rf "$work" "$dir" "$menu"
mkdir -p "$work"
# Wine runs a program by its Unix path only when the file is executable.
cp "$setup" "$work/setup.exe"
chmod +x "$work/setup.exe"
setup=$work/setup.exe
# The simulated market, with an account, through tarvex.ini: the sample Zanvo.ini leaves the
# account and the address to it.
printf '[tarvex]\r\nInternetUserName=demo\r\nInternetPassword=demo\r\nInternetAddress=sim\r\n' \
    >"$WINEPREFIX/drive_c/windows/tarvex.ini"

install() {
    "$WINE" "$setup" /S </dev/null >"$work/setup.out" 2>&1 || fail "the installer exited with $?"
    local f
    for f in Zanvo.exe Mondrel.dll kolvane.dll zanvo-dde.exe Zanvo.pdf Zanvo.ini Uninstall.exe; do
        [ -f "$dir/$f" ] || fail "$f was not installed"
    done
    [ -f "$menu/Zanvo.lnk" ] || fail "no Start-menu entry"
    has_key "$uninstall_key" || fail "no uninstall entry"
    reg query "$run_key" /v Zanvo | grep -qF 'Program Files\Zanvo\Zanvo.exe' ||
        fail "no start with Windows"
    has_key 'HKCR\Zanvo.RTD' || fail "not registered (/RegServer)"
}

# The uninstaller copies itself away and returns at once; it is done when its entry is gone.
uninstall() {
    "$WINE" "$dir/Uninstall.exe" /S </dev/null >"$work/uninstall.out" 2>&1 ||
        fail "the uninstaller exited with $?"
    patience=30 eventually gone || fail "the uninstaller did not finish"
    sleep 1
    local f
    for f in Zanvo.exe Mondrel.dll kolvane.dll zanvo-dde.exe Zanvo.pdf; do
        [ ! -e "$dir/$f" ] || fail "$f was left behind"
    done
    [ ! -e "$menu" ] || fail "the Start-menu folder was left behind"
    reg query "$run_key" /v Zanvo >/dev/null && fail "start with Windows left behind"
    has_key 'HKCR\Zanvo.RTD' && fail "left registered (/UnregServer)"
    return 0
}

# Round 1: install, serve, uninstall while running.
install
"$WINE" "$dir/Zanvo.exe" </dev/null >"$work/zanvo.out" 2>&1 &
zanvo_pid=$!
started+=("$zanvo_pid")
served_text Snapshot 'IBM,SYM,EX' >/dev/null
[ "$text" = 'IBM\tNYSE' ] || fail "the installed program served '$text' for IBM,SYM,EX"

uninstall
patience=10 expect_exit 0 "Zanvo.exe, which the uninstaller ends," wait "$zanvo_pid"
[ ! -e "$dir" ] || fail "the installation folder was left behind: $(ls "$dir")"

# Round 2: a Zanvo.ini the user changed stays, and a reinstall keeps it.
install
printf '[Date Time]\r\nTimezone=1\r\n' >>"$dir/Zanvo.ini"
cp "$dir/Zanvo.ini" "$work/changed.ini"
"$WINE" "$setup" /S </dev/null >"$work/setup2.out" 2>&1 || fail "the reinstall exited with $?"
cmp -s "$dir/Zanvo.ini" "$work/changed.ini" || fail "the reinstall replaced the user's Zanvo.ini"
uninstall
[ "$(ls "$dir")" = Zanvo.ini ] || fail "expected only Zanvo.ini to stay, found: $(ls "$dir")"
cmp -s "$dir/Zanvo.ini" "$work/changed.ini" || fail "the user's Zanvo.ini was changed"
rm -rf "$dir"
echo "PASS"
