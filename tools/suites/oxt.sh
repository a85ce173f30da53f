#!/usr/bin/env bash
# The LibreOffice extension: build the uno preset (which packages tonvale-<version>.oxt) and run its
# tests: the requests without an office, the package installed in a headless office, and the panel in
# an office with its window on Xvfb.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset uno >/dev/null
cmake --build --preset uno -j2
ctest --preset uno -R '^oxt_'
