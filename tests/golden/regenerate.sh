#!/bin/sh
# Rewrite the expected whole-sheet results (*.out.txt) from the current code, then show what changed.
# Usage: tests/golden/regenerate.sh [build directory, default build/dev]
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/dev}
cmake --build "$build" --target music_test
TONVALE_UPDATE_GOLDEN=1 "$build/tests/music/music_test" --gtest_filter='Sheets/Golden.*'
git -C "$root" diff --stat -- tests/golden
