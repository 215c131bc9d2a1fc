#!/usr/bin/env bash
# The Qt release of the Linux build (the installed qt6-base-dev, such as 6.4.2
# for 6.4.2+dfsg-10) and the folder where the static Qt for Windows of that
# release is cached, unless VELPRA_WINDOWS_QT names another. Sourced by the
# scripts that build, use or look for it; sets qt_version and qt_cache.
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) || {
  echo "qt6-base-dev is not installed; run scripts/setup.sh first" >&2
  return 1 2>/dev/null || exit 1
}
qt_version=${qt_version%%+*}
qt_version=${qt_version%%-*}
qt_cache=${VELPRA_WINDOWS_QT:-$HOME/.cache/velpra-windows/qt-$qt_version}
