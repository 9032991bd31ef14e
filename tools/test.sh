#!/usr/bin/env bash
# Runs every test: the pure core's unit tests and a short run of each fuzzer,
# natively under the sanitizers (seconds); the checks of the shipped 32-bit
# DLL; then the test programs of the 32-bit build under 32-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset host
cmake --workflow --preset release
cmake --workflow --preset test
