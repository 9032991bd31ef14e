#!/usr/bin/env bash
# tools/deps.sh against stubbed apt-get, dpkg-query and dpkg: a mirror whose
# sync is in progress, a resolver that only succeeds on the release's own
# suite, and nothing missing. Runs as root, because sudo's secure_path would
# drop the stubs from PATH.
set -euo pipefail
deps=$(cd "$(dirname "$0")/../.." && pwd)/tools/deps.sh
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: tools/deps.sh is tested as root (sudo drops the stubs from PATH)"
  exit 0
fi
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
# The stubs: every package but those in $MISSING is installed; apt-get logs
# its calls and fails each step whose name is in $FAILS (update, install,
# install-t) with apt's own words.
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/sh
for p in $MISSING; do [ "$p" = "$3" ] && exit 1; done
printf 'install ok installed'
STUB
cat >"$stubs/dpkg" <<'STUB'
#!/bin/sh
echo i386
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/bin/sh
echo "$*" >>"$CALLS"
step=$1; [ "$1" = install ] && case " $* " in *" -t "*) step=install-t ;; esac
case " $FAILS " in
  *" $step "*) echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
               exit 100 ;;
esac
STUB
chmod +x "$stubs"/*

failed=0
# name | missing packages | steps that fail | exit | calls (steps, in order)
while IFS='|' read -r name missing fails want calls; do
  : >"$stubs/calls"
  rc=0
  out=$(PATH=$stubs:$PATH MISSING=$missing FAILS=$fails CALLS=$stubs/calls "$deps" 2>&1) || rc=$?
  got=$(sed -E 's/^(update|install).* -t .*/install-t/; s/^(update|install) .*/\1/' "$stubs/calls" | xargs)
  if [ "$rc" != "$want" ] || [ "$got" != "$calls" ]; then
    echo "FAIL $name: exit $rc (want $want), apt-get calls '$got' (want '$calls')"
    echo "$out"
    failed=1
  fi
  if [ "$want" != 0 ]; then
    line=$(grep '^Could not install' <<<"$out" || true)
    for part in "wine32:i386 nsis:" "pkgProblemResolver::Resolve generated breaks" \
        "i386 and amd64 copies of a library must have the same version" "again later"; do
      if ! grep -qF "$part" <<<"$line"; then
        echo "FAIL $name: the one line lacks '$part': $out"
        failed=1
      fi
    done
  fi
done <<ROWS
update fails, install works|wine32:i386|update|0|update install
install fails, the release's suite works|wine32:i386 nsis|install|0|update install install-t
both fail|wine32:i386 nsis|update install install-t|1|update install install-t
nothing missing||install|0|
ROWS
[ -n "$codename" ] || echo "note: no VERSION_CODENAME in /etc/os-release"
[ "$failed" -eq 0 ] && echo "deps.sh: all rows pass"
