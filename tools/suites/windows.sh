#!/usr/bin/env bash
# The Windows suite: cross-build tonvale.exe and its installer with mingw-w64 and NSIS, and run the tests
# under Wine, the Microsoft Word host against the stand-in automation server of tests/com/fakeword. The
# window's tests install the program into the test prefix and run it on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/windows
export TONVALE_WINEPREFIX=$PWD/$build/wineprefix
export WINEPREFIX=$TONVALE_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$build"

xvfb_pid=
stop() {
    wineserver -k 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT

# A display of our own for the windows (the first free number, told by Xvfb itself).
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $display_file ]] && break; sleep 0.1; done
export TONVALE_WINE_DISPLAY=:$(head -n1 "$display_file")
rm -f "$display_file"

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
