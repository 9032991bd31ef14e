#!/usr/bin/env bash
# Builds the shipped 32-bit gen_vireo.dll (build/release/bin/gen_vireo.dll),
# checks it, then runs the plug-in's main job against a simulated game and
# Winamp under wine64 (the 64-bit build; 32-bit Wine cannot run here).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset release
cmake --preset test >/dev/null
cmake --build build/test --target vireo_demo
tools/wine-prefix setup "$PWD/build/test/wineprefix"
trap 'tools/wine-prefix stop "$PWD/build/test/wineprefix"' EXIT
tools/wine-run "$PWD/build/test/wineprefix" build/test/bin/vireo_demo.exe
echo
echo "Plug-in: build/release/bin/gen_vireo.dll (copy it into Winamp's Plugins folder)"
