#!/usr/bin/env bash
# Runs every test: the pure core's unit tests and a short run of each fuzzer,
# natively under the sanitizers (seconds); the shipped 32-bit DLL and its
# packaging check; the whole suite, the plug-in's code in it built with the
# shipped compiler and options, under 32-bit Wine (one of its tests loads the
# shipped file itself); and a 64-bit compile of the plug-in that catches
# pointer-size mistakes.
#
# The Wine suite spends most of its time waiting for the plug-in's timers, so
# the programs run by hand (demonstration, benchmarks, soak), the native and
# the 64-bit builds are built beside it; their output is shown when they are
# done. The suite's waits are for what each test asserts, so the builds beside
# it cost nothing but time.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset release
cmake --preset test
cmake --build --preset test

mkdir -p build
beside=build/beside-the-wine-suite.log
(cmake --build --preset test --target vireo_by_hand && cmake --workflow --preset host &&
   cmake --workflow --preset check64) >"$beside" 2>&1 &
builds=$!
suite=0
ctest --preset test || suite=$?
others=0
wait "$builds" || others=$?
echo "== programs run by hand, host and check64 workflows (built beside the Wine suite) =="
cat "$beside"
if [ "$others" -ne 0 ]; then
  echo "a program run by hand, the host or the check64 workflow failed to build or test" >&2
fi
[ "$suite" -eq 0 ] && [ "$others" -eq 0 ]
