#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the system.
# Runs apt-get only when something is missing, and only as root (or via sudo).
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in cmake g++ make libgtest-dev libbenchmark-dev libboost-dev qt6-base-dev qt6-base-dev-tools \
         xvfb xauth x11-utils xdotool xclip imagemagick desktop-file-utils fonts-dejavu-core fonts-liberation2 \
         clang libclang-rt-14-dev; do
  have_pkg "$p" || need+=("$p")
done
# Site charts (Qt Charts needs the OpenGL module's CMake files), their SVG export, and pdftotext/pdftoppm for checking the printed report.
for p in qt6-charts-dev qt6-svg-dev libqt6opengl6-dev poppler-utils; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=""; elif command -v sudo >/dev/null; then SUDO="sudo"; else
    echo "setup: missing packages (${need[*]}) and no root rights to install them" >&2; exit 1; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${need[@]}" >/dev/null
fi
