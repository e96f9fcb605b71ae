#!/usr/bin/env bash
# Takes the user guide's pictures of the running program under the harness's Xvfb: the settings
# dialog on the simulated market, both property pages and the About box, into docs/images/.
#
#   tests/e2e/app/take-screenshots.sh BIN_DIR WORK_DIR [OUT_DIR]
. "$(dirname "$0")/app-lib.sh" "$1" "$2"
out=${3:-$root/docs/images}
mkdir -p "$out"

# shot TITLE FILE: the dialog's screen rectangle, cut from the whole screen.
shot() {
    local l t r b
    read -r l t r b < <(win rect "$1")
    import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out/$2"
}

write_zanvo_ini ann secret 2
start_zanvo
open_settings
eventually rows_show "" green || fail "the feeds did not connect"
shot "Zanvo Settings" settings-dialog.png

open_sheet
shot "Zanvo Settings#sheet" connection-page.png
win page 1
shot "Zanvo Settings#sheet" datetime-page.png
win command "Zanvo Settings#sheet" 2
win command "Zanvo Settings" 2

win app-command 32772
wait_dialog "About Zanvo"
shot "About Zanvo" about-box.png
win command "About Zanvo" 2
exit_zanvo
echo "screenshots in $out"
