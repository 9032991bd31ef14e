#!/usr/bin/env bash
# Runs every test: the pure core's unit tests and a short run of each fuzzer,
# natively under the sanitizers (seconds); the shipped 32-bit DLL and its
# packaging check; the whole suite built with the same compiler and options
# under 32-bit Wine (one of its tests loads the shipped file itself); and a
# 64-bit compile of the plug-in that catches pointer-size mistakes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset host
cmake --workflow --preset release
cmake --workflow --preset test
cmake --workflow --preset check64
