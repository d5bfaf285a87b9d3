#!/usr/bin/env bash
# Builds the test programs of the threaded parts with ThreadSanitizer and runs them.
#   scripts/tsan.sh                        the browse tests
#   scripts/tsan.sh picture document:Cls   test programs by folder name, or one class of one
set -euo pipefail
cd "$(dirname "$0")/.."
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(browse)

scripts/setup.sh
# -O1 keeps the instrumented tests quick without hiding the races behind inlining.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DSGA_TSAN=ON \
  -DSGA_BUILD_BENCH=OFF >/dev/null
targets=()
for p in "${programs[@]}"; do targets+=("tst_${p%%:*}"); done
cmake --build build-tsan --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
# second_deadlock_stack: both sides of a lock-order report; history_size: the most
# history, so the earlier access of a race is shown (and matched by the suppressions).
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp second_deadlock_stack=1 history_size=7"
for p in "${programs[@]}"; do
  program=${p%%:*}
  class=${p#"$program"}
  echo "== tst_$p under ThreadSanitizer"
  SGA_TEST_CLASS=${class#:} build-tsan/tests/tst_"$program"
done
