#!/usr/bin/env bash
# The Windows suite: cross-build everything below the window with mingw-w64 and run the tests under
# Wine, the Microsoft Word host against the stand-in automation server of tests/com/fakeword.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/windows
export TONVALE_WINEPREFIX=$PWD/$build/wineprefix
export WINEPREFIX=$TONVALE_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$build"

stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

if [[ ! -e $WINEPREFIX/system.reg ]]; then
    echo "creating the Wine prefix $WINEPREFIX"
    wineboot --init >>"$build/wine.log" 2>&1
    wineserver -w
fi
# COM class registration does not work in the wineserver session that created the prefix: start a
# fresh, persistent one for the build and the tests.
wineserver -k 2>/dev/null || true
wineserver -p

cmake --preset windows >/dev/null
cmake --build --preset windows -j2
ctest --preset windows -j2
