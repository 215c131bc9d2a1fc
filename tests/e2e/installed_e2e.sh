#!/usr/bin/env bash
# Installs the built system into a fresh prefix, checks the installed layout,
# then runs the desktop end-to-end check on the installed front end from
# working directories that hold neither the heading pictures nor the help.
#   installed_e2e.sh <build dir> <source dir>
set -euo pipefail
build=$(readlink -f "$1")
src=$(readlink -f "$2")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
missing=0
for f in bin/velpra bin/veldesk \
         share/veldesk/romax.ico share/veldesk/romed.ico share/veldesk/ym.ico share/veldesk/velpra.pdf \
         share/veldesk/examples/worked_example.pd share/applications/veldesk.desktop \
         share/icons/hicolor/256x256/apps/veldesk.png; do
    if [ -e "$prefix/$f" ]; then echo "ok: installed $f"; else echo "FAIL: not installed: $f"; missing=1; fi
done
[ "$missing" -eq 0 ] || exit 1
bash "$src/tests/e2e/desktop_e2e.sh" "$prefix/bin/veldesk" "$src"
