#!/usr/bin/env bash
# The Debian packages: build them (./dev package), check them (lintian, the desktop entry, the AppStream
# metadata, the dependencies), install them with apt-get, start the installed program under Xvfb with the
# packaged sample, and purge them, leaving no file behind. Installs system-wide: needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

log() { printf '\033[1m== package: %s\033[0m\n' "$*"; }
fail() {
    printf 'package suite FAILED: %s\n' "$*" >&2
    exit 1
}
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)

./dev package >/dev/null
version=$(sed -n 's/^project(Tonvale VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
main=build/package/tonvale_${version}_${arch}.deb
plugin=build/package/tonvale-libreoffice_${version}_${arch}.deb
[[ -f $main && -f $plugin ]] || fail "no $main and $plugin"

work=$(mktemp -d)
xvfb=
program=
installed=
cleanup() {
    [[ -n $program ]] && kill "$program" 2>/dev/null || true
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    # A failed run leaves nothing installed either.
    [[ -n $installed ]] && "${sudo[@]}" apt-get purge -y -qq tonvale-libreoffice tonvale >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

log "lintian"
lintian --fail-on error "$main" "$plugin" | tee "$work/lintian.txt"

log "dependencies"
depends=$(dpkg-deb -f "$main" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "tonvale's Depends lack Qt, not computed from the binary: $depends"
[[ $depends != *libreoffice* && $depends != *libuno* ]] || fail "tonvale depends on LibreOffice: $depends"
[[ $(dpkg-deb -f "$plugin" Depends) == *libuno-cppu3* ]] || fail "tonvale-libreoffice lacks the office's libraries"

log "desktop entry and AppStream metadata"
dpkg-deb -x "$main" "$work/tree"
desktop-file-validate "$work"/tree/usr/share/applications/*.desktop
appstreamcli validate --no-net --pedantic "$work"/tree/usr/share/metainfo/*.metainfo.xml
for size in 48x48 128x128; do
    file "$work/tree/usr/share/icons/hicolor/$size/apps/tonvale.png" | grep -q "${size/x/ x }," || fail "icon $size"
done

log "install"
# A copy left by an earlier run would hide a file the package misses.
"${sudo[@]}" apt-get purge -y -qq tonvale-libreoffice tonvale >/dev/null 2>&1 || true
installed=yes
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "$root/$main" >/dev/null
dpkg-query -L tonvale >"$work/files"
[[ $(command -v tonvale) == /usr/bin/tonvale ]] || fail "tonvale is not /usr/bin/tonvale"
[[ $(tonvale --version) == "tonvale $version" ]] || fail "tonvale --version: $(tonvale --version)"
tonvale --help | grep -q -- '--host' || fail "tonvale --help"

log "start the installed program with the packaged sample"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
# On the X display, as a user starts it (the test command runs the window tests offscreen).
env -u QT_QPA_PLATFORM TONVALE_SETTINGS="$work/tonvale.ini" tonvale --host builtin --open /usr/share/tonvale/amazing-grace.txt &
program=$!
window=$(timeout 90 xdotool search --sync --onlyvisible --name '^Tonvale$' | head -n 1) || fail "no Tonvale window"
geometry=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
# 4710 x 7725 twips at 96 dpi.
[[ $geometry == 314x515 ]] || fail "the window is $geometry, not 314x515"
timeout 90 xdotool search --sync --onlyvisible --name '^amazing-grace.txt' >/dev/null || fail "no document window"
# Click "Exit" (1575 x 375 twips at 2520, 4440: its middle is 220, 308 pixels at 96 dpi): the program ends.
xdotool mousemove --window "$window" 220 308 click 1
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "Exit did not end the program"
wait "$program" || fail "the program ended with $?"
program=

log "the LibreOffice host module"
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "$root/$plugin" >/dev/null
dpkg-query -L tonvale-libreoffice >>"$work/files"
# The module loads (the office's libraries are there): LibreOffice is a host now, the default when it is installed.
hosts=$(tonvale --help 2>&1 | grep -- '--host')
[[ $hosts == *libreoffice* ]] || fail "the installed module is not loaded: $hosts"
# Beside it, the host's library that the office loads into its own process.
officelib=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tonvale/libtonvale-office.so
[[ -f $officelib ]] || fail "no $officelib"

log "purge"
"${sudo[@]}" apt-get purge -y -qq tonvale-libreoffice tonvale >/dev/null
installed=
left=()
while read -r path; do
    # Folders the packages share with others (/usr, /usr/share/icons/...) stay.
    [[ -e $path && ! -d $path ]] && left+=("$path")
done <"$work/files"
for dir in /usr/share/tonvale /usr/share/doc/tonvale /usr/share/doc/tonvale-libreoffice \
    "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/tonvale"; do
    [[ -e $dir ]] && left+=("$dir")
done
((${#left[@]} == 0)) || fail "left after purge: ${left[*]}"
log "passed"
