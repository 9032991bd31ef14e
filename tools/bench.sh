#!/usr/bin/env bash
# Builds the test build and runs every benchmark under 32-bit Wine; each
# prints its figures. Usage: tools/bench.sh [name-filter]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset test >/dev/null
cmake --build build/test --target vireo_by_hand
prefix="$PWD/build/test/wineprefix"
# Several benchmarks start a fake game and use the settings key: they take
# the machine-wide lock the tests take, so a test run beside them is not
# disturbed (nor they by it).
export VIREO_MACHINE_LOCK="${VIREO_MACHINE_LOCK:-/tmp/vireo-machine-wide.lock}"
tools/wine-prefix setup "$prefix"
trap 'tools/wine-prefix stop "$prefix"' EXIT
for bench in build/test/bin/bench_*.exe; do
  case "$bench" in *"${1:-}"*) ;; *) continue ;; esac
  echo "== $(basename "$bench" .exe)"
  tools/wine-run "$prefix" "$bench"
done
