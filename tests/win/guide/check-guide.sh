#!/usr/bin/env bash
# Checks the built user guide: the first three pages turn into images that are not blank (the
# mean brightness of a blank page is 1), and the text holds one table row per qualifier of the
# program's table: the short name followed by its long name.
#
#   usage: check-guide.sh PDF QUALIFIER_SOURCE WORK_DIR
set -euo pipefail
pdf=$1 table=$2 work=$3
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

rm -rf "$work"
mkdir -p "$work"
[ -s "$pdf" ] || { echo "FAIL: no user guide at $pdf" >&2; exit 1; }

pdftoppm -r 50 -png -f 1 -l 3 "$pdf" "$work/page"
pages=("$work"/page-*.png)
[ "${#pages[@]}" -eq 3 ] || fail "expected 3 rendered pages, got ${#pages[@]}"
for page in "${pages[@]}"; do
    mean=$(convert "$page" -colorspace Gray -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m < 0.99) }' || fail "$(basename "$page") is blank (mean $mean)"
done

# Form feeds (page breaks) would stand before the first row of a page.
pdftotext -layout "$pdf" - | tr -d '\f' >"$work/guide.txt"
# Rows of the table: {id, "short", "long"},
rows=$(sed -n 's/^ *{[0-9]*, "\([^"]*\)", "\([^"]*\)"},.*/\1\t\2/p' "$table")
count=$(printf '%s\n' "$rows" | grep -c .)
[ "$count" -ge 98 ] || fail "read only $count qualifiers from $table"
escape() { printf '%s' "$1" | sed 's/[][\.*^$/+?(){}|]/\\&/g'; }
while IFS=$'\t' read -r short long; do
    first=${long%% *}
    grep -Eq "^ *$(escape "$short") +$(escape "$first")( |$)" "$work/guide.txt" ||
        fail "no row for qualifier $short ($long)"
done <<<"$rows"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: 3 pages rendered, $count qualifiers listed"
