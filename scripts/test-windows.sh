#!/usr/bin/env bash
# Tests the Windows build (scripts/build-windows.sh) under Wine on this Debian
# machine, against the Linux build of the same source:
#   - VELPRA.EXE: reports byte for byte, console texts and exit statuses;
#   - VELSTAT.EXE: CSV and readings output, a PDF;
#   - VELDESK.EXE on an X server of its own, driven from outside with real
#     clicks and keys: open, save, evaluate, results, analysis, Export PDF;
#   - the installer, silent, and its uninstaller.
# Ends with the line "N passed, M failed"; exit status 1 when any failed.
# Without a Windows build it says so in one line and exits 0.
#
# With SCREENSHOT_DIR set, pictures of VELDESK.EXE's windows are saved there.
# With STARTUP_RUNS=N, VELDESK.EXE's start-up time is measured N times.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
stage=$root/build-windows/stage/VELDESK
setup=$(ls "$root"/build-windows/VELDESK-*-setup.exe 2>/dev/null | head -n1)
if [ ! -f "$stage/bin/VELDESK.EXE" ] || [ -z "$setup" ]; then
  echo "Windows tests skipped: no Windows build in build-windows/ (build it with: bash scripts/build-windows.sh; the first build takes about an hour)"
  exit 0
fi

# --- What the tests need ----------------------------------------------------------
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in wine wine64 xvfb xauth xdotool xclip imagemagick poppler-utils python3; do have_pkg "$p" || need+=("$p"); done
if [ ${#need[@]} -gt 0 ]; then
  echo "test-windows: installing ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null && $SUDO apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi
# The Linux programs of the same source are the reference.
linux=$root/build/bin
if [ ! -x "$linux/velpra" ] || [ ! -x "$linux/velstat" ] || [ ! -x "$linux/veldesk" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target velpra velstat veldesk -j"$(nproc)" >/dev/null
fi

passed=0; failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

scratch=$(mktemp -d)
xvfb_pid=""
xclip_pids=()
cleanup() {
  local pid
  for pid in "${xclip_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  WINEPREFIX=$scratch/prefix wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# An X server of our own, kept when its last client leaves (Wine reconnects).
source tests/e2e/xserver.sh
start_xserver "$scratch" 1280x900x24

# A fresh Wine prefix reporting Windows 10 (what Qt 6 expects), no Mono or
# Gecko prompts, one Wine server kept running for all the runs below.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
echo "Wine: $(wine --version 2>/dev/null); prefix $WINEPREFIX on $DISPLAY"
wineboot -i >"$scratch/wineboot.log" 2>&1
wine winecfg -v win10 >>"$scratch/wineboot.log" 2>&1
wineserver -p >/dev/null 2>&1
wine cmd /c exit 0 >/dev/null 2>&1
winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

exe_velpra=$stage/bin/VELPRA.EXE
exe_velstat=$stage/bin/VELSTAT.EXE
exe_veldesk=$stage/bin/VELDESK.EXE

# --- VELPRA.EXE ---------------------------------------------------------------------
echo "== VELPRA.EXE"
for pd in examples/*.pd; do
  name=$(basename "$pd")
  mkdir -p "$scratch/lin/$name" "$scratch/win/$name"
  cp "$pd" "$scratch/lin/$name/"; cp "$pd" "$scratch/win/$name/"
  (cd "$scratch/lin/$name" && "$linux/velpra" "$name" >out.txt 2>err.txt; echo $? >rc)
  (cd "$scratch/win/$name" && wine "$exe_velpra" "$name" >out.txt 2>err.txt </dev/null; echo $? >rc)
  check "VELPRA.EXE $name: pd.out byte for byte as on Linux" cmp -s "$scratch/lin/$name/pd.out" "$scratch/win/$name/pd.out"
  check "VELPRA.EXE $name: exit status and console as on Linux (CR LF)" \
    bash -c 'cmp -s "$1/rc" "$2/rc" && cmp -s "$1/out.txt" <(tr -d "\r" <"$2/out.txt")' _ "$scratch/lin/$name" "$scratch/win/$name"
done
# The reports that the tests in the engine's suite keep.
for golden in engine/tests/golden/*.out; do
  base=$(basename "$golden" .out)
  [ -f "$scratch/win/$base.pd/pd.out" ] || continue
  check "VELPRA.EXE $base: rows as the kept report" \
    cmp -s <(sed -n '18,$p' "$golden") <(sed -n '18,$p' "$scratch/win/$base.pd/pd.out")
done
# Console texts and exit statuses of the command line's wrong uses.
usage_case() { # label, arguments...
  local label=$1; shift
  local l w
  l=$(cd "$scratch" && "$linux/velpra" "$@" 2>&1; echo "rc=$?")
  w=$(cd "$scratch" && wine "$exe_velpra" "$@" 2>&1 </dev/null | tr -d '\r'; echo "rc=${PIPESTATUS[0]}")
  # The Windows engine names itself by its file, as the Linux one does.
  check "VELPRA.EXE $label: console and exit status as on Linux" [ "$l" = "$w" ]
}
usage_case "without an argument"
usage_case "with two arguments" a.pd b.pd
usage_case "with a missing file" missing.pd
# Generated data sets, the awkward ones included (overflow, Inf/NaN, W flags, LF-only files).
printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$exe_velpra" >"$scratch/velpra-wine"; chmod +x "$scratch/velpra-wine"
if (cd "$scratch" && python3 "$root/scripts/compare_engine_reports.py" --console-crlf "$linux/velpra" "$scratch/velpra-wine" \
      "${ENGINE_CASES:-40}" 11 >"$scratch/compare.log" 2>&1); then
  pass "VELPRA.EXE on generated data sets: $(tail -n1 "$scratch/compare.log")"
else
  fail "VELPRA.EXE on generated data sets: $(tail -n3 "$scratch/compare.log" | tr '\n' ' ')"
fi

# --- VELSTAT.EXE ----------------------------------------------------------------------
echo "== VELSTAT.EXE"
mkdir -p "$scratch/stat"
for pd in examples/*.pd; do cp "$scratch/lin/$(basename "$pd")/pd.out" "$scratch/stat/$(basename "$pd" .pd).out"; done
reports=$(cd "$scratch/stat" && ls *.out)
for mode in --csv --readings; do
  # shellcheck disable=SC2086
  (cd "$scratch/stat" && "$linux/velstat" $mode $reports >"lin$mode.txt" 2>&1; echo "rc=$?" >>"lin$mode.txt")
  # shellcheck disable=SC2086
  (cd "$scratch/stat" && wine "$exe_velstat" $mode $reports 2>&1 </dev/null | tr -d '\r' >"win$mode.txt"; echo "rc=${PIPESTATUS[0]}" >>"win$mode.txt")
  check "VELSTAT.EXE $mode: the same output as on Linux" cmp -s "$scratch/stat/lin$mode.txt" "$scratch/stat/win$mode.txt"
done
(cd "$scratch/stat" && wine "$exe_velstat" --pdf site.pdf worked_example.out >pdf.log 2>&1 </dev/null)
check "VELSTAT.EXE --pdf writes a PDF with the report" \
  bash -c 'head -c5 "$1/site.pdf" | grep -q "%PDF-" && pdftotext -layout "$1/site.pdf" - | grep -q "W=\*, warning"' _ "$scratch/stat"

# --- VELDESK.EXE -----------------------------------------------------------------------
echo "== VELDESK.EXE"
source "$root/scripts/windows/drive_veldesk.sh"
run_veldesk_tests

# --- The installer ----------------------------------------------------------------------
echo "== installer"
wineserver -w
# Wine names the Windows user after the Unix one.
user_programs=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/VELDESK
wine "$setup" /S /CurrentUser >"$scratch/setup.log" 2>&1 </dev/null
wineserver -w
check "installer /S /CurrentUser installs the three programs for this user" \
  test -f "$user_programs/bin/VELDESK.EXE" -a -f "$user_programs/bin/VELPRA.EXE" -a -f "$user_programs/bin/VELSTAT.EXE"
check "installer lays out the help document, pictures and examples as on Linux" \
  test -f "$user_programs/share/veldesk/velpra.pdf" -a -f "$user_programs/share/veldesk/romax.ico" -a -f "$user_programs/share/veldesk/examples/worked_example.pd"
check "installer registers .pd files for VELDESK" \
  bash -c 'wine reg query "HKCU\\Software\\Classes\\VELDESK.DataSet\\shell\\open\\command" 2>/dev/null | tr -d "\r" | grep -q "VELDESK.EXE\" \"%1\""'
startmenu=$(find "$WINEPREFIX/drive_c/users" -path "*Start Menu/Programs/VELDESK" -type d 2>/dev/null | head -n1)
check "installer makes start-menu entries for VELDESK and its help" \
  test -n "$startmenu" -a -f "$startmenu/VELDESK.lnk" -a -f "$startmenu/VELDESK Help.lnk"
installed_veldesk_starts
# The user's own files: one saved elsewhere, one saved into an installed folder.
mkdir -p "$WINEPREFIX/drive_c/users/Public/Documents"
cp examples/worked_example.pd "$WINEPREFIX/drive_c/users/Public/Documents/mine.pd"
cp examples/worked_example.pd "$user_programs/share/veldesk/examples/my site.pd"
wine "$user_programs/Uninstall.exe" /S >"$scratch/uninstall.log" 2>&1 </dev/null
wineserver -w
# The uninstaller runs from a copy in the temporary folder; wait for it to finish.
for _ in $(seq 100); do [ -f "$user_programs/bin/VELDESK.EXE" ] || break; sleep 0.2; done
left=$(cd "$user_programs" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
check "uninstaller removes every installed file and keeps the user's data set (left: $left)" \
  test "$left" = "./share/veldesk/examples/my site.pd "
check "uninstaller leaves a data set saved elsewhere" test -f "$WINEPREFIX/drive_c/users/Public/Documents/mine.pd"
check "uninstaller removes the start-menu entries" test ! -e "$startmenu"
check "uninstaller removes the .pd registration" \
  bash -c '! wine reg query "HKCU\\Software\\Classes\\VELDESK.DataSet" >/dev/null 2>&1'


echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
