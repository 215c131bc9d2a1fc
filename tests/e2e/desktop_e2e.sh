#!/usr/bin/env bash
# End-to-end check of the desktop program the way a person meets it: the real
# veldesk on a real X server (Xvfb, X11 platform), driven only from outside
# with real key presses and mouse clicks (xdotool), the clipboard read and
# written from outside (xclip). Every scenario runs in a fresh working
# directory and checks the table copied from the results window, the results
# copy on disk and the engine's report against each other and against an
# independent evaluation (reference.awk).
#
#   desktop_e2e.sh <veldesk> <source dir>
# With SCREENSHOT_DIR set, pictures of the main and results windows of the
# first scenario are saved there (ImageMagick's import).
# Exit 77 (skipped) only when the X tools are missing.
set -euo pipefail

VELDESK=$(readlink -f "$1")
SRC=$(readlink -f "$2")
REF="$SRC/tests/e2e/reference.awk"
if [ -n "${SCREENSHOT_DIR:-}" ]; then mkdir -p "$SCREENSHOT_DIR"; SCREENSHOT_DIR=$(readlink -f "$SCREENSHOT_DIR"); fi

for tool in Xvfb xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

scratch=$(mktemp -d)
app_pid=""
xvfb_pid=""
xclip_pids=()
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    local pid
    for pid in "${xclip_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

source "$SRC/tests/e2e/xserver.sh"
start_xserver "$scratch" 1024x768x24
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= LANG=C.UTF-8 LC_ALL=C.UTF-8
echo "X server on $DISPLAY"

# Window helpers. Without a window manager the keyboard follows the pointer,
# so every key press is preceded by moving the pointer into the window meant.
window_id() { # exact name -> id of the visible window, waiting up to 20 s
    local id=""
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
click() { # window name, x, y inside the window
    local id X Y
    id=$(window_id "$1") || { fail "no window \"$1\""; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
    sleep 0.2
}
press_in() { # window name, keys...: keys typed into that window
    local name=$1 id X Y WIDTH HEIGHT
    shift
    id=$(window_id "$name") || { fail "no window \"$name\""; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool key --delay 40 "$@"
    sleep 0.2
}
shoot() { # window name, file name: a picture of that window for the manual
    [ -n "${SCREENSHOT_DIR:-}" ] || return 0
    [ -e "$SCREENSHOT_DIR/$2" ] && return 0
    import -window "$(window_id "$1")" "$SCREENSHOT_DIR/$2"
}
clip_in() { # text: put it on the clipboard; xclip keeps serving it in the foreground until replaced
    printf '%b' "$1" >"$scratch/clip.in"
    xclip -quiet -selection clipboard -i "$scratch/clip.in" >/dev/null 2>&1 &
    xclip_pids+=($!)
    sleep 0.3
}
type_text() { xdotool type --delay 40 "$1"; }
wait_gone() { for _ in $(seq 100); do window_id_now "$1" || return 0; sleep 0.1; done; return 1; }
window_id_now() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Control centres in the main window "VELDESK 1.0" (fixed layout).
# Its title carries a "*" while the data set has unsaved changes.
MAIN='VELDESK 1\.0\*?'
title_is() { # regex: a visible window with that title, waiting up to 5 s
    for _ in $(seq 50); do xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
CELL11_X=68; CELL11_Y=151            # grid row 1, column 1
RI_X=388; RI_Y=193                    # ri box
H0_X=388; H0_Y=225                    # h0 box
SAVE=(440 108); OPEN=(384 108); PASTE=(448 296); EVALUATE=(360 420); EXIT=(448 420)
# In the results window "Results".
DATA_TO_CLIPBOARD=(76 376); RESULTS_OK=(416 376)
# Help in the main window; in the about window "VELDESK".
HELP=(440 52); VIEW_HELP=(56 160); ABOUT_OK=(156 160)

start_app() { # fresh working directory; arguments go to the program
    work=$(mktemp -d "$scratch/work.XXXX")
    cd "$work"
    local t0=$(date +%s%N)
    "$VELDESK" "$@" >"$work/veldesk.log" 2>&1 &
    app_pid=$!
    window_id "$MAIN" >/dev/null || { fail "main window did not appear"; return 1; }
    startup_ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    echo "start-up: ${startup_ms} ms"
    sleep 0.3
}
stop_app() {
    click "$MAIN" "${EXIT[@]}" || true
    for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then fail "Exit did not end the program"; kill "$app_pid"; fi
    app_pid=""
    cd "$scratch"
}
set_box() { # x y text: replace a text box's contents
    click "$MAIN" "$1" "$2"
    xdotool key ctrl+a
    type_text "$3"
}
save() { # click Save and acknowledge "saved succesfully"
    click "$MAIN" "${SAVE[@]}"
    press_in VELDESK Return
}
evaluate_and_copy() { # Evaluate, wait for the results, copy the table, close
    local t0 t1
    t0=$(date +%s%N)
    click "$MAIN" "${EVALUATE[@]}"
    window_id Results >/dev/null || { fail "results window did not open"; return 1; }
    t1=$(date +%s%N)
    echo "Evaluate to results window: $(( (t1 - t0) / 1000000 )) ms"
    sleep 0.3
    shoot Results results-window.png
    click Results "${DATA_TO_CLIPBOARD[@]}"
    xclip -o -selection clipboard >"$work/clipboard.txt"
    click Results "${RESULTS_OK[@]}"
}

# The checks shared by every scenario: <data set> <pd.out> <results copy> <clipboard>
check_results() {
    local dataset=$1 report=$2 copy=$3 clip=$4
    [ -f "$report" ] || { fail "no report $report"; return; }
    if cmp -s "$report" "$copy"; then pass "results copy equals the report"; else fail "results copy differs from the report"; fi

    # The clipboard: tab-separated cells, rows separated by carriage returns.
    tr '\r' '\n' <"$clip" >"$work/clip.rows"
    local head units
    head=$(sed -n 1p "$work/clip.rows")
    units=$(sed -n 2p "$work/clip.rows")
    if [ "$head" = $'\tD Theta\tt 1/2\tt max\tdo\tro max\tro med\ta\tKs\tPsi_m\t' ]; then pass "clipboard headings"; else fail "clipboard headings: $(printf %q "$head")"; fi
    case "$units" in $'1\t(cm3/cm3)\t(s)\t(s)\t'*) pass "clipboard units row" ;; *) fail "clipboard units row: $(printf %q "$units")" ;; esac

    # Each table row of the clipboard is the report row cut at the engine's
    # columns: number 1-6, Δθ 7-14, the times 15-22 and 23-30, delta0, romax,
    # romed and a 7 each, the W text 59-61 (its mark at 60), Ks 62-71, Psi_m 72-78.
    tr -d '\r' <"$report" | awk 'f && /^-/ {exit} f {print} /^---/ && NR > 20 {f=1}' >"$work/report.rows"
    local n_report n_clip
    n_report=$(wc -l <"$work/report.rows")
    # no line end after the last row; two rows of headings and units
    n_clip=$(( $(wc -l <"$work/clip.rows") + 1 - 2 ))
    if [ "$n_report" -eq "$n_clip" ]; then pass "$n_report rows in report and clipboard"; else fail "report has $n_report rows, clipboard $n_clip"; fi
    awk -F'\t' -v R="$work/report.rows" '
        NR > 2 {
            if ((getline line < R) <= 0) { print "extra clipboard row " NR; bad = 1; next }
            want = (NR - 1) "\t" substr(line, 7, 8) "\t" substr(line, 15, 8) "\t" substr(line, 23, 8) "\t" \
                   substr(line, 31, 7) "\t" substr(line, 38, 7) "\t" substr(line, 45, 7) "\t" \
                   substr(line, 52, 7) "\t" substr(line, 62, 10) "\t" substr(line, 72) "\t" substr(line, 60, 1)
            if ($0 != want) { print "row " NR ": clipboard [" $0 "] report [" want "]"; bad = 1 }
        }
        END { exit bad }' "$work/clip.rows" && pass "clipboard cells match the report columns" || fail "clipboard cells differ from the report"

    # Against the independent evaluation of the data set's own numbers.
    tr -d '\r' <"$dataset" | awk 'NR == 2 { gsub(",", " "); print $1, $2 } NR > 2 && NF >= 3 { print $1, $2, $3 }' \
        | awk -f "$REF" >"$work/reference.txt"
    awk -F'\t' -v REFF="$work/reference.txt" '
        function unit(s,    d, p, e) { # value of one unit in the last printed digit
            s = s ""; gsub(/ /, "", s)
            e = 0
            if (match(s, /E[-+][0-9]+$/)) { e = substr(s, RSTART + 1) + 0; s = substr(s, 1, RSTART - 1) }
            p = index(s, "."); d = (p ? length(s) - p : 0)
            return 10 ^ (e - d)
        }
        function near(shown, ref, what) {
            if ((shown + 0) - ref > 0.6 * unit(shown) || ref - (shown + 0) > 0.6 * unit(shown)) {
                print "row " NR " " what ": shown " shown " reference " ref; bad = 1
            }
        }
        NR > 2 {
            if ((getline r < REFF) <= 0) { print "no reference for row " NR; bad = 1; next }
            split(r, v, " ")
            near($5, v[1], "delta0"); near($6, v[2], "romax"); near($7, v[3], "romed")
            near($8, v[4], "a"); near($9, v[5], "Ks"); near($10, v[6], "Psi_m")
            if ($11 == "*") { print "row " NR " unexpectedly flagged"; bad = 1 }
        }
        END { exit bad }' "$work/clip.rows" && pass "figures agree with the independent evaluation" || fail "figures differ from the independent evaluation"
}

echo "== scenario 1: typed readings =="
start_app
click "$MAIN" $CELL11_X $CELL11_Y
for v in 0.2 300 1200 0.25 95.5 402 0.31 41.4 166.5; do type_text "$v"; xdotool key Return; done
set_box $RI_X $RI_Y 0.05
set_box $H0_X $H0_Y 0.3
save
shoot "$MAIN" main-window.png
printf 'V.Arezo Input data\r\n0.05000 , 0.30000\r\n0.20000 300.00000 1200.00000\r\n0.25000 95.50000 402.00000\r\n0.31000 41.40000 166.50000\r\n' >"$scratch/expected.pd"
if cmp -s data.pd "$scratch/expected.pd"; then pass "data set saved as typed"; else fail "data set differs: $(od -c data.pd | head -20)"; fi
evaluate_and_copy && check_results data.pd pd.out data.out clipboard.txt
stop_app

echo "== scenario 2: readings pasted from a spreadsheet =="
start_app
clip_in '0.25\t120\t600\r\n0.2\t90\t500\r\n0.18\t150.5\t610\r\n'
click "$MAIN" "${PASTE[@]}"
set_box $RI_X $RI_Y 0.025
save
if [ "$(tr -d '\r' <data.pd | sed -n 3,5p | tr '\n' '|')" = "0.25000 120.00000 600.00000|0.20000 90.00000 500.00000|0.18000 150.50000 610.00000|" ]; then
    pass "pasted readings saved"; else fail "pasted readings saved as: $(cat -A data.pd)"; fi
evaluate_and_copy && check_results data.pd pd.out data.out clipboard.txt
stop_app

echo "== scenario 3: an existing data set opened through the file dialog =="
start_app
cp "$SRC/examples/sandy_loam.pd" "$work/field.pd"
click "$MAIN" "${OPEN[@]}"
window_id "Open Data File" >/dev/null || fail "file dialog did not open"
press_in "Open Data File" ctrl+a
type_text "$work/field.pd"
press_in "Open Data File" Return
sleep 0.5
evaluate_and_copy && check_results field.pd pd.out field.out clipboard.txt
stop_app

echo "== scenario 4: the help document, from a directory that does not hold it =="
# A stand-in for the desktop's document opener records what it was asked to open.
mkdir -p "$scratch/opener"
cat >"$scratch/opener/xdg-open" <<'OPENER'
#!/bin/sh
printf '%s\n' "$1" >>"$OPENED_LOG"
OPENER
chmod +x "$scratch/opener/xdg-open"
export OPENED_LOG="$scratch/opened.log" PATH="$scratch/opener:$PATH"
start_app
click "$MAIN" "${HELP[@]}"
click VELDESK "${VIEW_HELP[@]}"
for _ in $(seq 50); do [ -s "$OPENED_LOG" ] && break; sleep 0.1; done
opened=$(sed -n 1p "$OPENED_LOG" 2>/dev/null | sed 's|^file://||')
if [ -n "$opened" ] && [ "$(basename "$opened")" = velpra.pdf ] && head -c 5 "$opened" | grep -q '%PDF-'; then
    pass "View Help opened $opened"
else
    fail "View Help opened \"$opened\""
fi
[ -e "$work/velpra.pdf" ] && fail "the working directory was not meant to hold the help document"
click VELDESK "${ABOUT_OK[@]}"
stop_app

echo "== scenario 5: readings with LF line ends; unsaved changes =="
start_app
clip_in '0.25\t120\t600\n0.2\t90,5\t500\n0.18\t150.5\t610\n'
click "$MAIN" "${PASTE[@]}"
if title_is 'VELDESK 1\.0\*'; then pass "the title shows unsaved changes"; else fail "no \"*\" in the title after Paste"; fi
save
if [ "$(tr -d '\r' <data.pd | sed -n 3,6p | tr '\n' '|')" = "0.25000 120.00000 600.00000|0.20000 90.50000 500.00000|0.18000 150.50000 610.00000|" ]; then
    pass "LF-separated rows pasted and saved"; else fail "LF-separated rows saved as: $(cat -A data.pd)"; fi
if title_is 'VELDESK 1\.0'; then pass "no \"*\" after Save"; else fail "the title still shows unsaved changes"; fi
set_box $RI_X $RI_Y 0.02 # a change of the saved data set
click "$MAIN" "${EVALUATE[@]}"
sleep 1.5
if window_id_now Results || [ -e pd.out ]; then fail "Evaluate ran the saved file while the window held other data"; else pass "Evaluate disabled until saved"; fi
click "$MAIN" "${EXIT[@]}"
if window_id VELDESK >/dev/null; then pass "Exit with unsaved changes asks"; else fail "Exit with unsaved changes did not ask"; fi
press_in VELDESK Escape # Cancel
wait_gone VELDESK || fail "the question did not close"
if kill -0 "$app_pid" 2>/dev/null && title_is 'VELDESK 1\.0\*'; then pass "Cancel keeps the window and its changes"; else fail "Cancel did not keep the window"; fi
click "$MAIN" "${SAVE[@]}"
press_in VELDESK Return # overwrite
press_in VELDESK Return # saved
evaluate_and_copy && check_results data.pd pd.out data.out clipboard.txt
stop_app # nothing unsaved: ends at once

echo "== scenario 6: a data set with more readings than the grid holds =="
start_app
{ printf 'Long series\r\n0.01800 , 0.30000\r\n'
  for i in $(seq 150); do printf '0.20000 %d.00000 1200.00000\r\n' $((100 + i)); done; } >"$work/long.pd"
cp "$work/long.pd" "$scratch/long.orig"
click "$MAIN" "${OPEN[@]}"
window_id "Open Data File" >/dev/null || fail "file dialog did not open"
press_in "Open Data File" ctrl+a
type_text "$work/long.pd"
press_in "Open Data File" Return
# Open says that only the first 100 readings are shown.
if window_id VELDESK >/dev/null; then pass "Open names the readings beyond the grid"; press_in VELDESK Return
else fail "Open of 150 readings said nothing"; fi
sleep 0.5
# Save: "exists. Overwrite?" Yes, then the question about the 50 readings: No.
click "$MAIN" "${SAVE[@]}"
press_in VELDESK Return
sleep 0.5
press_in VELDESK Escape
sleep 0.5
if cmp -s "$work/long.pd" "$scratch/long.orig"; then pass "Save answered No kept all 150 readings"
else fail "Save dropped readings without asking: $(tr -d '\r' <"$work/long.pd" | wc -l) lines left"; fi
# Yes to both questions: the file holds what the grid shows. Return answers
# Overwrite with Yes, but the question about losing readings only with No, so
# its Yes is typed as the button's letter.
click "$MAIN" "${SAVE[@]}"
press_in VELDESK Return
sleep 0.5
press_in VELDESK y
sleep 0.5
press_in VELDESK Return
sleep 0.3
if [ "$(tr -d '\r' <"$work/long.pd" | wc -l)" -eq 102 ]; then pass "Save answered Yes wrote the 100 readings shown"
else fail "after Yes the file holds $(tr -d '\r' <"$work/long.pd" | wc -l) lines"; fi
stop_app

echo "== scenario 7: a data set named on the command line =="
mkdir -p "$scratch/from cli"
cp "$SRC/examples/sandy_loam.pd" "$scratch/from cli/site.pd"
start_app "$scratch/from cli/site.pd"
sleep 0.5
evaluate_and_copy && check_results "$scratch/from cli/site.pd" "$scratch/from cli/pd.out" "$scratch/from cli/site.out" clipboard.txt
stop_app

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all end-to-end checks passed"
