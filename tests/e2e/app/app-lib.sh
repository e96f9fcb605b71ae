# What the tray program's end-to-end tests share beside ../e2e-lib.sh (sourced). Each test gets
# its own copy of the programs in a work folder, so Zanvo.ini beside Zanvo.exe is the test's own;
# tarvex.ini in the prefix's Windows folder names only the simulated market's address.
#
#   usage in a test: . app-lib.sh BIN_DIR WORK_DIR
set -euo pipefail

bin_dir=$1
work=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
WINE=${ZANVO_WINE64:-/usr/lib/wine/wine64}

eval "$("$root/tests/harness/wine-harness" env)"

rm -rf "$work"
app=$work/app
mkdir -p "$app"
for f in Zanvo.exe Mondrel.dll kolvane.dll zanvo-dde.exe zanvo-window.exe; do
    cp "$bin_dir/$f" "$app/"
done
printf '[tarvex]\r\nInternetAddress=sim\r\n' >"$WINEPREFIX/drive_c/windows/tarvex.ini"
# Each test reads its own log: Zanvo.log, and asserts.log only when something was reported.
export KOLVANE_LOG_DIR="Z:$work/logs"
log=$work/logs/Zanvo.log
zanvo_pid=
dde_cmd=("$WINE" "$app/zanvo-dde.exe")
. "$here/../e2e-lib.sh"
trap stop_started EXIT

# write_zanvo_ini USER PASSWORD TIMEZONE [ADDRESS]: the simulated market unless ADDRESS is given.
write_zanvo_ini() {
    printf '[Connectivity]\r\nUsername=%s\r\nPassword=%s\r\nAddress=%s\r\n[Date Time]\r\nTimezone=%s\r\n' \
        "$1" "$2" "${4:-sim}" "$3" >"$app/Zanvo.ini"
}

# write_scenario LINES...: the scenario file beside the program and the address that selects it.
write_scenario() {
    printf '%s\n' "$@" >"$app/feeds.scn"
    scenario_address="scenario:Z:$app/feeds.scn"
}

win() { "$WINE" "$app/zanvo-window.exe" "$@" | tr -d '\r'; }

# Starts Zanvo.exe in the background with the given arguments; its pid in zanvo_pid.
# The caller's environment goes with it (TZ sets the computer's time zone under Wine).
start_zanvo() {
    in_background "$work/zanvo.out" "$WINE" "$app/Zanvo.exe" "$@"
    zanvo_pid=$bg_pid
}

# expect_text TITLE ID TEXT: the control comes to show TEXT (a new page fills its controls just
# after it appears).
shows_text() { [ "$(win text "$1" "$2")" = "$3" ]; }
expect_text() {
    eventually shows_text "$@" || fail "control $2 of '$1' shows '$(win text "$1" "$2")', expected '$3'"
}

# Waits for a dialog (or "TITLE#sheet") to appear.
wait_dialog() { win wait "$1" 20 >/dev/null || fail "no window '$1'"; }

# Ends Zanvo.exe through its Exit command; its exit code must be 0.
exit_zanvo() {
    win app-command 32770 || fail "no main window to exit"
    expect_exit 0 Zanvo.exe wait "$zanvo_pid"
}

# rows_show TEXT [LAMP]: every feed row of the settings dialog shows TEXT and, given LAMP (green
# or red), a lamp of that colour: the centre pixel of its icon, mostly green or mostly red.
rows_show() {
    local s="Zanvo Settings" texts l t r b red green
    texts=$(win text "$s" 202 + text "$s" 206 + text "$s" 207 + text "$s" 208) || return 1
    [ "$texts" = "$(printf '%s\n' "$1" "$1" "$1" "$1")" ] || return 1
    [ -n "${2:-}" ] || return 0
    win rect "$s" 201 + rect "$s" 203 + rect "$s" 204 + rect "$s" 205 >"$work/lamps" || return 1
    while read -r l t r b <&3; do
        import -window root -crop "1x1+$(((l + r) / 2))+$(((t + b) / 2))" "$work/pixel.png"
        read -r red green < <(convert "$work/pixel.png" -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:)
        case $2 in
        green) [ "$green" -gt 120 ] && [ "$green" -gt $((red + 40)) ] ;;
        red) [ "$red" -gt 150 ] && [ "$red" -gt $((green + 60)) ] ;;
        esac || return 1
    done 3<"$work/lamps"
}

open_settings() {
    eventually win app-exists || fail "no main window"
    win app-command 32771
    wait_dialog "Zanvo Settings"
}

# Opens the property sheet from the open settings dialog.
open_sheet() {
    win command "Zanvo Settings" 210
    wait_dialog "Zanvo Settings#sheet"
}

# closed TITLE: no window TITLE is open.
closed() { [ "$(win count "$1")" = 0 ]; }

confirm_sheet() {
    win command "Zanvo Settings#sheet" 1
    eventually closed "Zanvo Settings#sheet" || fail "the property sheet did not close"
}

# The colour of the program's icon in Wine's stand-alone tray window, which shows only our icon:
# red (disconnected), amber (connecting), green (connected) or blue (no state yet).
tray_colour() {
    import -window "Wine System Tray" "$work/tray.png" 2>/dev/null || return 0
    local name colour best=none most=0 share
    for name in red:'#c0392b' amber:'#e0a800' green:'#2e8b3e' blue:'#4a6fa5'; do
        colour=${name#*:}
        share=$(convert "$work/tray.png" -fuzz 12% -fill black +opaque "$colour" -fill white \
            -opaque "$colour" -format '%[fx:int(10000*mean)]' info:)
        if [ "$share" -gt "$most" ]; then most=$share best=${name%%:*}; fi
    done
    echo "$best"
}
tray_is() { [ "$(tray_colour)" = "$1" ]; }
