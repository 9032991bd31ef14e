#!/usr/bin/env bash
# Builds the shipped 32-bit gen_vireo.dll (build/release/bin/gen_vireo.dll),
# checks it, then runs the plug-in's main job with that very file against a
# simulated game and Winamp under 32-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset release
cmake --preset test >/dev/null
cmake --build build/test --target vireo_demo
prefix="$PWD/build/test/wineprefix"
tools/wine-prefix setup "$prefix"
trap 'tools/wine-prefix stop "$prefix"' EXIT
VIREO_SHIPPED_DLL="$PWD/build/release/bin/gen_vireo.dll" \
  tools/wine-run "$prefix" build/test/bin/vireo_demo.exe
echo
echo "Plug-in: build/release/bin/gen_vireo.dll (copy it into Winamp's Plugins folder)"
