#!/usr/bin/env bash
# The LibreOffice Writer host: build the uno preset and run its tests against headless offices
# (each test program starts and ends its own, with a private profile and pipe).
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset uno >/dev/null
cmake --build --preset uno -j2
ctest --preset uno -R '^uno_'
