#!/usr/bin/env bash
# Builds the shipped 32-bit gen_vireo.dll (build/release/bin/gen_vireo.dll),
# checks it, then runs the plug-in's main job with that very file in the
# simulator: a simulated Counter-Strike and Winamp under 32-bit Wine.
#
#   tools/build.sh                              a scripted tour
#   tools/build.sh "Vireo NextTrack" ":die"     your own console lines
#   tools/build.sh --interactive                lines typed at the terminal
#   tools/build.sh --today [vireo_nexttrack]    a game of today: commands by
#                                               its cfg files and its log
# (":die" and ":spawn" kill and respawn the player, for auto-pause.)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --workflow --preset release
cmake --preset test >/dev/null
cmake --build build/test --target vireo_demo >/dev/null
prefix="$PWD/build/test/wineprefix"
tools/wine-prefix setup "$prefix"
trap 'tools/wine-prefix stop "$prefix"' EXIT
VIREO_SHIPPED_DLL="$PWD/build/release/bin/gen_vireo.dll" \
  tools/wine-run "$prefix" build/test/bin/vireo_demo.exe "$@"
echo
echo "Plug-in: build/release/bin/gen_vireo.dll (copy it into Winamp's Plugins folder)"
