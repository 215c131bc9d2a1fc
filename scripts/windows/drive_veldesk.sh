# VELDESK.EXE under Wine, driven from outside as a person would: real clicks
# and keys (xdotool) on the program's windows, the clipboard read from outside
# (xclip). The Linux veldesk of the same source goes through the same steps on
# the same X server, and what the two write is compared.
#
# Sourced by scripts/test-windows.sh, which provides: pass, fail, check,
# $scratch, $root, $linux (Linux programs), $exe_veldesk, winpath, DISPLAY and
# the Wine prefix; SCREENSHOT_DIR and STARTUP_RUNS are optional.

# Places in the windows, in pixels from the window's top-left corner (the
# controls stand where their twips put them, 15 twips to a pixel).
FILE_NAME=(236 33)
SAVE=(440 108)
EVALUATE=(360 420)
EXIT=(448 420)
DATA_TO_CLIPBOARD=(76 376)
RESULTS_OK=(416 376)
ANALYSIS=(696 376)
MAIN='VELDESK 1\.0\*?'

app_pid=""

window_id() { # exact title (regex) -> id of the visible window, waiting up to $2 s (20)
  local id="" tries=$(( ${2:-20} * 10 ))
  for _ in $(seq "$tries"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
window_gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
click() { # window title, x, y inside the window
  local id X Y WIDTH HEIGHT SCREEN
  id=$(window_id "$1") || { fail "no window \"$1\""; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
  sleep 0.3
}
keys_in() { # window title, keys...: typed into that window
  local name=$1 id X Y WIDTH HEIGHT SCREEN
  shift
  id=$(window_id "$name") || { fail "no window \"$name\""; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key --delay 60 "$@"
  sleep 0.3
}
type_in() { # window title, text
  local id
  id=$(window_id "$1") || { fail "no window \"$1\""; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool type --delay 40 "$2"
  sleep 0.2
}
shoot() { # window title, file: a picture of the whole screen, for the manual
  [ -n "${SCREENSHOT_DIR:-}" ] || return 0
  mkdir -p "$SCREENSHOT_DIR"
  import -window root "$SCREENSHOT_DIR/$2"
}

launch() { # kind (win|lin), data-set path or "": start the program, wait for its window
  local kind=$1 file=$2
  if [ "$kind" = win ]; then
    # Wine draws Qt's default (DirectWrite) text with broken glyphs; Qt's
    # FreeType engine draws it as Windows does.
    if [ -n "$file" ]; then wine "$exe_veldesk" -platform windows:fontengine=freetype "$(winpath "$file")" </dev/null >"$scratch/veldesk-$kind.log" 2>&1 &
    else wine "$exe_veldesk" -platform windows:fontengine=freetype </dev/null >"$scratch/veldesk-$kind.log" 2>&1 & fi
  else
    QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= "$linux/veldesk" ${file:+"$file"} </dev/null >"$scratch/veldesk-$kind.log" 2>&1 &
  fi
  app_pid=$!
  window_id "$MAIN" 60 >/dev/null || { fail "$kind: the main window did not appear"; return 1; }
  sleep 1
}
quit_app() { # Exit, and make sure the program has ended
  click "$MAIN" "${EXIT[@]}"
  # Nothing is unsaved by now, so Exit ends the program without a question.
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app_pid" 2>/dev/null; then fail "Exit did not end the program"; kill "$app_pid" 2>/dev/null; fi
  window_gone "$MAIN" || true
  app_pid=""
}

# One pass through the program: open a data set named on the command line
# (a folder and a name with blanks and accented letters), evaluate it, copy
# the results, and save it under another name.
gui_pass() { # kind
  local kind=$1
  local dir="$scratch/gui-$1/field data é"
  mkdir -p "$dir"
  cp "$root/examples/sandy_loam.pd" "$dir/site ñ.pd"
  launch "$kind" "$dir/site ñ.pd" || return 1
  [ "$kind" = win ] && shoot "$MAIN" windows-main.png
  if xdotool search --onlyvisible --name '^VELDESK 1\.0$' >/dev/null 2>&1; then
    pass "$kind: the data set named on the command line opens (title without \"*\")"
  else fail "$kind: opening the data set named on the command line"; fi

  # Evaluate: the results window, its table on the clipboard.
  click "$MAIN" "${EVALUATE[@]}"
  if window_id Results 30 >/dev/null; then
    pass "$kind: Evaluate opens the results window"
    sleep 0.5
    [ "$kind" = win ] && shoot Results windows-results.png
    click Results "${DATA_TO_CLIPBOARD[@]}"
    sleep 0.5
    xclip -o -selection clipboard >"$scratch/clip-$kind.txt" 2>/dev/null || true
    if [ "$kind" = win ]; then analysis_export_pdf; fi
    click Results "${RESULTS_OK[@]}"
    window_gone Results || fail "$kind: the results window did not close"
  else
    fail "$kind: Evaluate did not open the results window"
  fi
  cp "$dir/pd.out" "$scratch/gui-$kind.pd.out" 2>/dev/null || true
  cp "$dir/site ñ.out" "$scratch/gui-$kind.copy.out" 2>/dev/null || true

  # Save under another name, typed into the file-name box.
  local target="$dir/saved copy.pd" shown
  if [ "$kind" = win ]; then shown=$(winpath "$target"); else shown=$target; fi
  click "$MAIN" "${FILE_NAME[@]}"
  keys_in "$MAIN" ctrl+a
  type_in "$MAIN" "$shown"
  click "$MAIN" "${SAVE[@]}"
  if window_id VELDESK 10 >/dev/null; then keys_in VELDESK Return; fi # "saved succesfully"
  window_gone VELDESK || fail "$kind: the message after Save did not close"
  cp "$target" "$scratch/gui-$kind.saved.pd" 2>/dev/null || true
  quit_app
}

# The analysis window of the results, and its Export PDF.
analysis_export_pdf() {
  click Results "${ANALYSIS[@]}"
  local id X Y WIDTH HEIGHT SCREEN
  id=$(window_id "Site analysis" 30) || { fail "win: Analysis… did not open the site analysis"; return 1; }
  pass "win: the site analysis window opens"
  sleep 0.5
  shoot "Site analysis" windows-analysis.png
  eval "$(xdotool getwindowgeometry --shell "$id")"
  keys_in "Site analysis" alt+i # "Include W-marked readings": a choice to keep
  # "Export PDF…" sits in the button row at the window's foot.
  click "Site analysis" "${EXPORT_PDF_AT[0]}" $((HEIGHT - EXPORT_PDF_AT[1]))
  if window_id "Export PDF" 20 >/dev/null; then
    local pdf="$scratch/gui-win/site report.pdf"
    # The Windows file dialog's name box: select its text, then replace it.
    keys_in "Export PDF" End shift+Home
    type_in "Export PDF" "$(winpath "$pdf")"
    keys_in "Export PDF" Return
    for _ in $(seq 50); do [ -s "$pdf" ] && break; sleep 0.2; done
    check "win: Export PDF writes the site report" bash -c 'head -c5 "$1" | grep -q "%PDF-"' _ "$pdf"
  else
    fail "win: Export PDF… did not ask for a file"
  fi
  window_gone "Export PDF" || true
  click "Site analysis" $((WIDTH - CLOSE_AT[0])) $((HEIGHT - CLOSE_AT[1]))
  window_gone "Site analysis" || { fail "win: the site analysis window did not close"; xdotool search --name '^Site analysis$' windowclose 2>/dev/null; }
  # Its choices are kept where Qt keeps settings on Windows: the registry.
  check "win: the analysis choices are kept in the registry (HKCU\\Software\\VELDESK\\VELDESK)" \
    bash -c 'wine reg query "HKCU\\Software\\VELDESK\\VELDESK" /s 2>/dev/null | tr -d "\r" | grep -qi "safetyFactor"'
}
# From the window's left and bottom edges ("Export PDF…"), and from its
# right and bottom edges ("Close"), as Qt lays out the button row.
EXPORT_PDF_AT=(301 23)
CLOSE_AT=(50 23)

run_veldesk_tests() {
  gui_pass lin
  gui_pass win
  check "VELDESK.EXE evaluates: the results copy holds the engine's report" \
    cmp -s "$scratch/gui-win.pd.out" "$scratch/gui-win.copy.out"
  # The Windows path is in the report's processed-file line; the rows are the Linux ones.
  check "VELDESK.EXE evaluates: the same rows as on Linux" \
    bash -c 'cmp -s <(sed -n "18,\$p" "$1") <(sed -n "18,\$p" "$2")' _ "$scratch/gui-lin.pd.out" "$scratch/gui-win.pd.out"
  # Wine hands the clipboard to X with LF line ends; the cells must agree.
  check "VELDESK.EXE Data to Clipboard: the same table as on Linux" \
    bash -c '[ -s "$1" ] && cmp -s <(tr "\r" "\n" <"$1" | sed "/^\$/d") <(tr "\r" "\n" <"$2" | sed "/^\$/d")' _ "$scratch/clip-lin.txt" "$scratch/clip-win.txt"
  check "VELDESK.EXE Save writes the same bytes as on Linux" \
    bash -c '[ -s "$1" ] && cmp -s "$1" "$2"' _ "$scratch/gui-lin.saved.pd" "$scratch/gui-win.saved.pd"

  if [ -n "${STARTUP_RUNS:-}" ]; then
    local times=() t0 t1
    for _ in $(seq "$STARTUP_RUNS"); do
      t0=$(date +%s%N)
      launch win "" || break
      t1=$(date +%s%N)
      times+=($(( (t1 - t0) / 1000000 - 1000 ))) # launch waits 1 s after the window shows
      quit_app
    done
    echo "VELDESK.EXE start-up to main window under Wine (ms): ${times[*]}; median $(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (${#times[@]} + 1) / 2 ))p")"
  fi
}

# The installed program starts from its start-menu place.
installed_veldesk_starts() {
  local saved=$exe_veldesk
  exe_veldesk=$user_programs/bin/VELDESK.EXE
  if launch win ""; then pass "the installed VELDESK.EXE starts"; quit_app; fi
  exe_veldesk=$saved
}
