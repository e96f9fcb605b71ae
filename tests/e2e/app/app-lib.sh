# Shared by the tray program's end-to-end tests (sourced). Each test gets its own copy of the
# programs in a work folder, so Zanvo.ini beside Zanvo.exe is the test's own; tarvex.ini in the
# prefix's Windows folder names only the simulated market's address.
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
mkdir -p "$work/app"
for f in Zanvo.exe Mondrel.dll kolvane.dll zanvo-dde.exe zanvo-window.exe; do
    cp "$bin_dir/$f" "$work/app/"
done
app=$work/app
# Each test reads its own log: Zanvo.log, and asserts.log only when something was reported.
export KOLVANE_LOG_DIR="Z:$work/logs"
log=$work/logs/Zanvo.log
zanvo_pid=
dde_cmd=("$WINE" "$app/zanvo-dde.exe")
. "$here/../e2e-lib.sh"
trap stop_started EXIT

write_tarvex_ini() {
    printf '[tarvex]\r\nInternetAddress=sim\r\n' > "$WINEPREFIX/drive_c/windows/tarvex.ini"
}

# write_zanvo_ini USER PASSWORD TIMEZONE [ADDRESS]: the simulated market unless ADDRESS is given.
write_zanvo_ini() {
    printf '[Connectivity]\r\nUsername=%s\r\nPassword=%s\r\nAddress=%s\r\n[Date Time]\r\nTimezone=%s\r\n' \
        "$1" "$2" "${4:-sim}" "$3" > "$app/Zanvo.ini"
}

# write_scenario LINES...: the scenario file beside the program and the address that selects it.
write_scenario() {
    printf '%s\n' "$@" > "$app/feeds.scn"
    scenario_address="scenario:Z:$app/feeds.scn"
}

win() { "$WINE" "$app/zanvo-window.exe" "$@" | tr -d '\r'; }

# start_watch FILE TOPIC ITEM...: a raw watch of the items in the background; its pid in watch_pid.
start_watch() {
    dde_background "$1" --raw watch Zanvo "${@:2}"
    watch_pid=$bg_pid
}

# Starts Zanvo.exe in the background with the given arguments; its pid in zanvo_pid.
# The caller's environment goes with it (TZ sets the computer's time zone under Wine).
start_zanvo() {
    "$WINE" "$app/Zanvo.exe" "$@" </dev/null >"$work/zanvo.out" 2>&1 &
    zanvo_pid=$!
    started+=("$zanvo_pid")
}

# watched_text FILE ITEM [LINE]: the last text a watch printed for ITEM, after line LINE if given.
watched_text() {
    tail -n +$((${3:-0} + 1)) "$1" | awk -F'\t' -v item="$2" '$2 == item' | tail -n 1 | cut -f3-
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
    expect_zanvo_ended
}

# Zanvo.exe ends within 20 s, with exit code 0.
expect_zanvo_ended() {
    eventually bash -c "! kill -0 $zanvo_pid 2>/dev/null" || fail "Zanvo.exe still runs: $(win list)"
    local rc=0
    wait "$zanvo_pid" || rc=$?
    [ "$rc" -eq 0 ] || fail "Zanvo.exe exited with $rc"
}

# The settings dialog's feed rows: text controls in row order.
feed_text_ids=(202 206 207 208)
feed_icon_ids=(201 203 204 205)

# Prints the colour of the centre pixel of a control, as ImageMagick names it in sRGB numbers.
control_colour() {
    local title=$1 id=$2 l t r b
    read -r l t r b < <(win rect "$title" "$id")
    import -window root -crop "1x1+$(((l + r) / 2))+$(((t + b) / 2))" "$work/pixel.png"
    convert "$work/pixel.png" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# True when the colour "R G B" is mostly green (the connected lamp) or red (disconnected).
is_green() { local r g b; read -r r g b <<<"$1"; [ "$g" -gt 120 ] && [ "$g" -gt $((r + 40)) ]; }
is_red() { local r g b; read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$r" -gt $((g + 60)) ]; }

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
