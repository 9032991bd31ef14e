#!/usr/bin/env bash
# Runs the fuzzers of the pure core for longer than the test run does.
#   tools/fuzz.sh [seconds] [target...]      default: 600 seconds, every target
#   MERGE=1 tools/fuzz.sh ...                then add the inputs that reach new
#                                            coverage to tests/fuzz/corpus/<target>
# Targets: console_line liblist macros console_script track_title pattern_search.
# Inputs found go to build/host/fuzz-long/<target>; a failing input is saved
# as build/host/fuzz-long/crash-* and reproduced with
#   build/host/bin/fuzz_<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(console_line liblist macros console_script track_title pattern_search console_log echo_text)
tools/deps.sh
cmake --preset host >/dev/null
cmake --build build/host
out=build/host/fuzz-long
for t in "${targets[@]}"; do
  mkdir -p "$out/$t"
  echo "== $t: $seconds s"
  build/host/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/" "$out/$t" "tests/fuzz/corpus/$t" 2>&1 |
    grep -E '^(#[0-9]+.*DONE|Done|stat::|==[0-9]+==|SUMMARY|.*property broken)' || true
  if [ "${MERGE:-0}" = 1 ]; then
    build/host/bin/fuzz_"$t" -merge=1 "tests/fuzz/corpus/$t" "$out/$t" 2>&1 | tail -1
  fi
done
