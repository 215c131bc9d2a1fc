#!/usr/bin/env bash
# Builds a static Qt 6 for 64-bit Windows (MinGW-w64, POSIX threads) from
# Debian's own source packages of the Qt the Linux build uses, so that both
# programs are built against the same Qt release.
#
# The result is a cache folder, reused by later runs:
#   ${VELPRA_WINDOWS_QT:-~/.cache/velpra-windows/qt-<version>}
# It is built in a temporary folder beside it and moved into place only when
# every module is installed, so an interrupted build never leaves a cache that
# looks whole. Nothing here touches the Linux build or its packages.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

die() { echo "build-qt: $*" >&2; exit 1; }

# The Qt release of the Linux build: the installed development packages.
pkg_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null; }
base_ver=$(pkg_version qt6-base-dev) || die "qt6-base-dev is not installed; run scripts/setup.sh first"
svg_ver=$(pkg_version qt6-svg-dev)   || die "qt6-svg-dev is not installed; run scripts/setup.sh first"
charts_ver=$(pkg_version qt6-charts-dev) || die "qt6-charts-dev is not installed; run scripts/setup.sh first"
source "$(dirname "$0")/qt-cache.sh"
cache=$qt_cache
if [ -f "$cache/.complete" ]; then
  echo "build-qt: reusing Qt $qt_version for Windows in $cache"
  exit 0
fi
[ -e "$cache" ] && die "$cache exists but is not a complete Qt build (no .complete); remove it and run again"

parent=$(dirname "$cache")
mkdir -p "$parent"
# Leftovers of interrupted builds are never a cache; clear them first.
rm -rf "$parent"/.qt-build.*
work=$(mktemp -d "$parent/.qt-build.XXXXXX")
log="$parent/qt-$qt_version-build.log"
: >"$log"
step="start"
on_exit() {
  local rc=$?
  if [ $rc -ne 0 ]; then
    echo "build-qt: step '$step' failed (exit status $rc). Its output is in $log;" >&2
    echo "build-qt: the last lines:" >&2
    tail -n 15 "$log" | sed 's/^/    /' >&2
    echo "build-qt: nothing was cached; fix the cause and run scripts/build-windows.sh again." >&2
  fi
  rm -rf "$work"
}
trap on_exit EXIT
run() { step=$1; shift; echo "build-qt: $step"; "$@" >>"$log" 2>&1; }

# --- Debian's source packages -------------------------------------------------
has_deb_src() {
  grep -rqsE '^[[:space:]]*deb-src[[:space:]]|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
if ! has_deb_src; then
  [ "$(id -u)" -eq 0 ] || die "no deb-src entry in the apt sources and no root rights to add one; add a deb-src line for your Debian archive and run again"
  # Same archive, suites and components as the binary entries the machine
  # already uses, for source packages: deb822 stanzas and one-line entries.
  extra=/etc/apt/sources.list.d/velpra-deb-src.sources
  extra_list=/etc/apt/sources.list.d/velpra-deb-src.list
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:[^\n]*deb/ && /debian/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
  done >"$extra.tmp"
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb\([[:space:]].*debian.*\)$/deb-src\1/p' /etc/apt/sources.list
  fi >"$extra_list.tmp"
  [ -s "$extra.tmp" ] || [ -s "$extra_list.tmp" ] || {
    rm -f "$extra.tmp" "$extra_list.tmp"
    die "could not derive a deb-src entry from the apt sources; add one for your Debian archive by hand and run again"; }
  for f in "$extra" "$extra_list"; do
    if [ -s "$f.tmp" ]; then
      mv "$f.tmp" "$f"
      echo "build-qt: no deb-src entry was configured; added $f for the archive the machine already uses"
    else rm -f "$f.tmp"; fi
  done
  run "apt-get update (for the source entry)" apt-get update -q
fi

mkdir -p "$work/src"
# fetch NAME=VERSION: Debian's source package, unpacked with its patches.
fetch() {
  step="fetch source $1"
  echo "build-qt: fetching Debian source $1"
  (cd "$work/src" && apt-get source -q --only-source "$1") >>"$log" 2>&1
}
srcdir() { find "$work/src" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1; }
if ! fetch "qt6-base=$base_ver"; then
  echo "build-qt: apt-get source could not fetch qt6-base $base_ver from the archive. Run 'apt-get update'," >&2
  echo "build-qt: check that 'apt-cache showsrc qt6-base' lists $base_ver and that its files can be downloaded, and run again." >&2
  exit 1
fi
base_src=$(srcdir qt6-base)
[ -n "$base_src" ] || die "unpacked qt6-base source not found in $work/src"

prefix="$work/qt"
host_cmake=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/cmake

# --- qtbase -------------------------------------------------------------------
# Only what the programs use: Core, Gui, Widgets, PrintSupport, OpenGL (which
# Qt Charts links) and Test. Debian's source leaves out Wacom's wintab.h, so the
# Windows platform plugin is built without tablet events.
run "configure qtbase" cmake -S "$base_src" -B "$work/build-base" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
  -DBUILD_SHARED_LIBS=OFF \
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
run "build qtbase (the long step: most of an hour on 2 cores)" cmake --build "$work/build-base" -j"$jobs"
run "install qtbase" cmake --install "$work/build-base"

# --- qtsvg, qtcharts, against the qtbase just built ------------------------------
# Each add-on module is built when its source package can be fetched. One that
# cannot be is named, and the programs are then built without what needs it
# (build-windows.sh reads the list of modules from the cache).
modules="Core Gui Widgets PrintSupport OpenGL Test"
missing=""
for m in svg charts; do
  ver_var=${m}_ver
  if ! fetch "qt6-$m=${!ver_var}"; then
    echo "build-qt: WARNING: the source package qt6-$m ${!ver_var} cannot be fetched from the archive here;" >&2
    echo "build-qt: WARNING: Qt $m is left out (see $log). Once it can be fetched, remove $cache and run again." >&2
    missing="$missing qt6-$m"
    continue
  fi
  run "configure qt$m" "$prefix/bin/qt-cmake" -S "$(srcdir qt6-$m)" -B "$work/build-$m" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
  run "build qt$m" cmake --build "$work/build-$m" -j"$jobs"
  run "install qt$m" cmake --install "$work/build-$m"
  case $m in svg) modules="$modules Svg";; charts) modules="$modules Charts";; esac
done
echo "$modules" >"$prefix/MODULES.txt"

# Where these libraries' source came from, for the licence notes the installer shows.
{
  echo "Qt $qt_version for Windows, static, built from Debian's source packages:"
  echo "  qt6-base $base_ver, qt6-svg $svg_ver, qt6-charts $charts_ver"
  [ -z "$missing" ] || echo "  (not available from the archive when built, so left out:$missing)"
  echo "fetched with: apt-get source --only-source qt6-base=$base_ver qt6-svg=$svg_ver qt6-charts=$charts_ver"
} >"$prefix/SOURCE.txt"
cp "$base_src"/LICENSES/LGPL-3.0-only.txt "$prefix/LICENSE.LGPL3" 2>/dev/null \
  || cp "$base_src"/LICENSE.LGPL3 "$prefix/LICENSE.LGPL3" 2>/dev/null || true
cp "$base_src"/LICENSES/GPL-3.0-only.txt "$prefix/LICENSE.GPL3" 2>/dev/null \
  || cp "$base_src"/LICENSE.GPL3 "$prefix/LICENSE.GPL3" 2>/dev/null || true

step="move into place"
touch "$prefix/.complete"
mv "$prefix" "$cache"
echo "build-qt: Qt $qt_version for Windows ready in $cache"
