#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: wine-run.sh program.exe [args...]
# The prefix is $TONVALE_WINEPREFIX, else build/windows/wineprefix beside the program's build tree.
# Wine's own messages go to a log file, and the program's output is copied to ours only once it has
# ended: background Wine processes (wineserver, services) keep any pipe they inherit open, which
# would make ctest wait for them.
set -u
program=$1
shift
if [[ -z ${TONVALE_WINEPREFIX:-} ]]; then
    dir=$(cd "$(dirname "$program")" && pwd)
    while [[ $dir != / && ! -e $dir/CMakeCache.txt ]]; do dir=$(dirname "$dir"); done
    TONVALE_WINEPREFIX=$dir/wineprefix
fi
export WINEPREFIX=$TONVALE_WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Windows' windows need an X display: the suite's own Xvfb when it gives one, never the user's screen.
unset DISPLAY WAYLAND_DISPLAY
if [[ -n ${TONVALE_WINE_DISPLAY:-} ]]; then
    export DISPLAY=$TONVALE_WINE_DISPLAY
fi
log=$(dirname "$WINEPREFIX")/wine.log
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
wine "$program" "$@" </dev/null >"$out" 2>"$err"
rc=$?
cat "$err" >>"$log"
cat "$out"
# Keep the program's own stderr, drop wine's lines (they start with a thread id and "fixme:"/"err:").
grep -Ev '^[0-9a-f]{4}:(fixme|err|warn|trace):|^wine: ' "$err" >&2
exit $rc
