#!/usr/bin/env bash
# tools/deps.sh against stubbed dpkg-query, dpkg and apt-get, run as root
# (sudo's secure_path would drop the stubs from PATH).
set -euo pipefail
deps=$(cd "$(dirname "$0")/../.." && pwd)/tools/deps.sh
[ "$(id -u)" -eq 0 ] || { echo "skipped: tools/deps.sh is tested as root"; exit 0; }
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
# Installed is every package but those in $MISSING; apt-get logs each step
# (update, install, install-t) and fails those in $FAILS as apt does.
printf '#!/bin/sh\nfor p in $MISSING; do [ "$p" = "$3" ] && exit 1; done; echo install ok installed\n' \
  >"$stubs/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$stubs/dpkg"
cat >"$stubs/apt-get" <<'STUB'
#!/bin/sh
step=$1; case " $* " in *" -t "*) step=install-t ;; esac
echo "$step" >>"$CALLS"
case " $FAILS " in *" $step "*)
  echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
  exit 100 ;; esac
STUB
chmod +x "$stubs"/*
one_line='^Could not install wine32:i386 nsis: E: Error, pkgProblemResolver::Resolve generated breaks.*i386 and amd64 copies of a library must have the same version.*again later'
failed=0
# name | missing | failing steps | exit | apt-get steps in order
while IFS='|' read -r name missing fails want calls; do
  : >"$stubs/calls"
  rc=0
  out=$(PATH=$stubs:$PATH MISSING=$missing FAILS=$fails CALLS=$stubs/calls "$deps" 2>&1) || rc=$?
  got=$(xargs <"$stubs/calls")
  if [ "$rc" != "$want" ] || [ "$got" != "$calls" ] ||
     { [ "$want" != 0 ] && ! grep -qE "$one_line" <<<"$out"; }; then
    printf 'FAIL %s: exit %s (want %s), apt-get %s (want %s)\n%s\n' "$name" "$rc" "$want" "$got" "$calls" "$out"
    failed=1
  fi
done <<ROWS
update fails, install works|wine32:i386|update|0|update install
install fails, the release's suite works|wine32:i386 nsis|install|0|update install install-t
both fail|wine32:i386 nsis|update install install-t|1|update install install-t
nothing missing||update install|0|
ROWS
[ "$failed" -eq 0 ] && echo "deps.sh: all rows pass"
