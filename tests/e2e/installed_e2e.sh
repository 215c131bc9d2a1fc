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
         share/icons/hicolor/256x256/apps/veldesk.png share/mime/packages/veldesk.xml \
         share/doc/veldesk/README.md share/doc/veldesk/CHANGELOG.md; do
    if [ -e "$prefix/$f" ]; then echo "ok: installed $f"; else echo "FAIL: not installed: $f"; missing=1; fi
done
[ "$missing" -eq 0 ] || exit 1

# A .pd file is a type of its own that the desktop entry opens: the MIME
# database built from the installed package maps *.pd to the type the entry names.
type=$(sed -n 's/^MimeType=\([^;]*\);.*/\1/p' "$prefix/share/applications/veldesk.desktop")
if [ -z "$type" ]; then echo "FAIL: the desktop entry names no MimeType"; exit 1; fi
if command -v update-mime-database >/dev/null 2>&1; then
    update-mime-database "$prefix/share/mime"
    if grep -q ":$type:\*\.pd$" "$prefix/share/mime/globs2"; then
        echo "ok: *.pd is $type"
    else
        echo "FAIL: *.pd is not mapped to $type"; cat "$prefix/share/mime/globs2"; exit 1
    fi
fi
bash "$src/tests/e2e/desktop_e2e.sh" "$prefix/bin/veldesk" "$src"
