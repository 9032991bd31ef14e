#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing. Safe to run again. The tests run the shipped 32-bit DLL under
# 32-bit Wine, which needs Debian's i386 architecture; the pure core's native
# tests and fuzzers need clang and its sanitizer and libFuzzer runtimes.
set -euo pipefail
packages=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine32:i386 googletest python3-pefile nsis g++ clang libclang-rt-14-dev "$@")
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync refuses one index ("File has unexpected
# size ... Mirror sync in progress?") and apt-get update fails, yet the other
# indexes are fresh and the install may well work: try it.
$sudo apt-get update -qq || echo "apt-get update failed for an index; trying the install anyway" >&2
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
install() {
  $sudo apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" >/dev/null 2>"$errors"
}
install && exit 0
# The i386 and amd64 copies of a multi-arch library must have the same
# version. With the security suite's i386 index missing, the amd64 copies
# come from the security suite and the i386 ones only from the release, and
# apt refuses wine32:i386 ("pkgProblemResolver::Resolve generated breaks").
# Preferring the release's own suite for this install keeps both on one
# suite's versions; nothing installed is downgraded.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] && install -t "$codename" && exit 0
reason=$(grep "^E:" "$errors" | tail -n 1 | sed "s/\.$//" || true)
echo "Could not install ${missing[*]}: ${reason:-apt-get install failed}." \
  "The i386 and amd64 copies of a library must have the same version, and while the" \
  "mirror's i386 security index is missing apt refuses wine32:i386;" \
  "running this command again later usually helps." >&2
exit 1
