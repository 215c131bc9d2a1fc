#!/usr/bin/env bash
# Builds the Windows programs on Debian: VELPRA.EXE, VELDESK.EXE and VELSTAT.EXE,
# each one static program that needs no DLL beyond Windows' own, with the help
# document, the heading pictures and the examples; then an installer (NSIS)
# and a portable zip of the same files. Everything lands in build-windows/:
#
#   build-windows/stage/VELDESK/          the installed layout (bin\, share\veldesk\)
#   build-windows/VELDESK-<v>-setup.exe   the installer
#   build-windows/VELDESK-<v>-windows-x64.zip
#
# Qt for Windows is built once from Debian's source packages into a cache
# (scripts/windows/build-qt.sh; ~/.cache/velpra-windows/qt-<version>, or
# $VELPRA_WINDOWS_QT): the first run takes about an hour on 2 cores, later
# runs a few minutes. The Linux build in build/ is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
jobs=$(nproc 2>/dev/null || echo 2)
started=$(date +%s)
say() { echo "build-windows: $*"; }
die() { echo "build-windows: $*" >&2; exit 1; }

# --- What the build needs ---------------------------------------------------------
# The Linux set-up brings the host Qt tools (moc, rcc, uic) of the same release.
bash scripts/setup.sh
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis dpkg-dev ninja-build zip; do
  have_pkg "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  say "installing ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=""; elif command -v sudo >/dev/null; then SUDO="sudo"; else
    die "missing packages (${need[*]}) and no root rights to install them"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi

# --- Qt for Windows (cached) -----------------------------------------------------
source scripts/windows/qt-cache.sh
qt=$qt_cache
bash scripts/windows/build-qt.sh
[ -f "$qt/.complete" ] || die "no complete Qt for Windows in $qt"
charts=ON
grep -qw Charts "$qt/MODULES.txt" && grep -qw Svg "$qt/MODULES.txt" || charts=OFF
[ $charts = ON ] || say "WARNING: this Qt has no Charts/Svg module ($qt/SOURCE.txt): the programs are built without the site charts"

# --- The help document, made by the build machine's own tool --------------------
mkdir -p "$out"
say "building the help-document tool for this machine"
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >"$out/host.log" 2>&1 \
  || die "configuring the host tools failed; see $out/host.log"
cmake --build "$out/host" --target mkhelp -j"$jobs" >>"$out/host.log" 2>&1 \
  || die "building mkhelp failed; see $out/host.log"

# Boost.Math is header-only: the Windows compiler sees the Debian headers
# through a folder of their own, never the rest of /usr/include.
mkdir -p "$out/deps/include"
ln -sfn /usr/include/boost "$out/deps/include/boost"

# --- The programs ---------------------------------------------------------------
say "configuring the Windows programs (Qt $qt_version in $qt)"
cmake -S . -B "$out/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt;$out/deps" \
  -DQT_HOST_PATH=/usr \
  -DBoost_INCLUDE_DIR="$out/deps/include" -DBoost_NO_BOOST_CMAKE=ON \
  -DBUILD_TESTING=OFF -DVELDESK_CHARTS=$charts \
  -DVELDESK_HOST_MKHELP="$out/host/tools/mkhelp" >"$out/build.log" 2>&1 \
  || { tail -n 20 "$out/build.log" >&2; die "configuring the Windows build failed; see $out/build.log"; }
say "building"
cmake --build "$out/build" -j"$jobs" >>"$out/build.log" 2>&1 \
  || { tail -n 30 "$out/build.log" >&2; die "building the Windows programs failed; see $out/build.log"; }

# --- The installed layout ---------------------------------------------------------
stage=$out/stage/VELDESK
rm -rf "$out/stage"
cmake --install "$out/build" --prefix "$stage" --strip >>"$out/build.log" 2>&1
for exe in VELPRA VELDESK VELSTAT; do [ -f "$stage/bin/$exe.EXE" ] || die "$exe.EXE missing from $stage/bin"; done

# Each program must stand alone: only DLLs that every Windows has.
say "checking the programs' imports"
system_dlls='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|comctl32|winspool\.drv|imm32|winmm|version|uxtheme|dwmapi|dwrite|d2d1|d3d9|d3d11|d3d12|dxgi|dxguid|opengl32|setupapi|userenv|netapi32|ws2_32|mpr|authz|crypt32|bcrypt|ntdll|msvcrt|rpcrt4|secur32|wtsapi32|shcore|api-ms-win-[a-z0-9-]+\.dll)(\.dll)?$'
for exe in "$stage"/bin/*.EXE; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  while read -r dll; do
    [ -z "$dll" ] && continue
    echo "${dll,,}" | grep -Eq "$system_dlls" || die "$(basename "$exe") needs $dll, which Windows does not have"
  done <<<"$dlls"
  echo "  $(basename "$exe"): $(echo "$dlls" | tr '\n' ' ')"
done

# Licence texts beside the programs, with Windows line ends.
crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }
{
  cat <<EOF
VELPRA / VELDESK $(sed -n 's/^project(velpra_system VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
Field-saturated hydraulic conductivity from Philip-Dunne falling-head
permeameter readings.

This program is free software: you can redistribute it and/or modify it under
the terms of the GNU General Public License as published by the Free Software
Foundation, either version 3 of the License, or (at your option) any later
version. The full text follows below.

The Windows programs contain the Qt libraries, linked statically, which are
licensed under the GNU Lesser General Public License version 3 (LGPL-3.0,
share\\doc\\veldesk\\LGPL-3.txt). See share\\doc\\veldesk\\THIRD-PARTY.txt for
where their source comes from and how to rebuild the programs with another Qt.

EOF
  cat LICENSE
} >"$out/LICENSE.tmp"
crlf "$out/LICENSE.tmp" "$stage/LICENSE.txt"; rm -f "$out/LICENSE.tmp"
mkdir -p "$stage/share/doc/veldesk"
{
  cat <<EOF
Third-party software in the Windows programs
============================================

Qt $qt_version (LGPL-3.0): Core, Gui, Widgets, PrintSupport and the Windows
platform integration$( [ $charts = ON ] && echo ", Svg and Charts"), linked statically into VELDESK.EXE and
VELSTAT.EXE. Qt includes code under other free licences (FreeType, HarfBuzz,
libpng, libjpeg, zlib, PCRE2, md4c and others); their texts are in Qt's
source.

EOF
  cat "$qt/SOURCE.txt"
  cat <<EOF

The source packages are in Debian's archive (deb-src entries of Debian 12,
"bookworm"). This project's source, with scripts/build-windows.sh, rebuilds
the programs against these or any other Qt 6 libraries of the same release.

The GNU C and C++ runtime libraries (GCC Runtime Library Exception) and the
MinGW-w64 runtime and winpthreads (permissive licences) are linked into every
program.
EOF
} >"$out/THIRD.tmp"
crlf "$out/THIRD.tmp" "$stage/share/doc/veldesk/THIRD-PARTY.txt"; rm -f "$out/THIRD.tmp"
crlf /usr/share/common-licenses/LGPL-3 "$stage/share/doc/veldesk/LGPL-3.txt"
crlf README.md "$stage/share/doc/veldesk/README.txt"

# --- Installer and portable zip ------------------------------------------------------
version=$(sed -n 's/^project(velpra_system VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup=$out/VELDESK-$version-setup.exe
zipfile=$out/VELDESK-$version-windows-x64.zip
say "writing the installer"
# Explicit file lists, so that the uninstaller removes what was installed and
# nothing else; folders go only when empty. The sources of File are paths of
# this machine; the targets are Windows paths under $INSTDIR.
files=$out/installer-files.nsh; unfiles=$out/installer-unfiles.nsh
winpath() { echo "${1//\//\\}"; }
{
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | sort) | while read -r d; do
    echo "SetOutPath \"\$INSTDIR\\$(winpath "$d")\""
    (cd "$stage/$d" && find . -maxdepth 1 -type f | sed 's|^\./||' | sort) | while read -r f; do
      echo "File \"$stage/$d/$f\""
    done
  done
  echo "SetOutPath \"\$INSTDIR\""
  (cd "$stage" && find . -maxdepth 1 -type f | sed 's|^\./||' | sort) | while read -r f; do
    echo "File \"$stage/$f\""
  done
} >"$files"
{
  (cd "$stage" && find . -type f | sed 's|^\./||' | sort) | while read -r f; do
    echo "Delete \"\$INSTDIR\\$(winpath "$f")\""
  done
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r d; do
    echo "RMDir \"\$INSTDIR\\$(winpath "$d")\""
  done
} >"$unfiles"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DFILES="$files" -DUNFILES="$unfiles" \
  -DICON="$root/frontend/resources/windows/veldesk.ico" scripts/windows/veldesk.nsi >"$out/installer.log" 2>&1 \
  || { tail -n 20 "$out/installer.log" >&2; die "makensis failed; see $out/installer.log"; }
say "writing the portable zip"
rm -f "$zipfile"
(cd "$out/stage" && zip -qr -9 "$zipfile" VELDESK)

elapsed=$(( $(date +%s) - started ))
say "done in $((elapsed / 60)) min $((elapsed % 60)) s"
ls -l "$setup" "$zipfile" "$stage"/bin/*.EXE | awk '{printf "  %10d  %s\n", $5, $NF}'
