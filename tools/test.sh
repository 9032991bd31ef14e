#!/usr/bin/env bash
# Runs every test: the checks of the shipped 32-bit DLL, then the 64-bit
# build's test programs under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset release
cmake --workflow --preset test
