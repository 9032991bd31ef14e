#!/usr/bin/env bash
# Builds the test build and runs the soak for N minutes (default 10) under
# 32-bit Wine, printing what Winamp's process and the fake game hold at the
# start, every minute and the end. Not part of ctest.
# Usage: tools/soak.sh [minutes]
#
# The soak runs in a Wine prefix of its own (build/test/soak-wineprefix):
# its settings key and its fake game's window are out of sight of the test
# suite's prefix, and it sends nothing to port 27005, so it needs no
# machine-wide lock and may run beside the suite.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
tools/deps.sh
cmake --preset test >/dev/null
cmake --build build/test --target soak
prefix="$PWD/build/test/soak-wineprefix"
tools/wine-prefix setup "$prefix"
trap 'tools/wine-prefix stop "$prefix"' EXIT
tools/wine-run "$prefix" build/test/bin/soak.exe "$minutes"
