#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs them.
#   scripts/fuzz.sh                         every target for 10 minutes
#   scripts/fuzz.sh -max_total_time=3600 arrangement
#                                           one target for an hour (libFuzzer flags pass through)
#   scripts/fuzz.sh --ci                    replays the seeds, then a fixed, short run of each
# Inputs found along the way collect in build-fuzz/fuzz/work/<target>; a crash,
# leak, hang or input taking more than 1 GB leaves build-fuzz/fuzz/artifacts/<target>-*.
# Once fixed, copy that input into fuzz/corpus/<target>/ so it is replayed for good.
set -euo pipefail
cd "$(dirname "$0")/.."
all_targets=(opendib arrangement cache iccprofile jpegcarry ordercsv metadata)

ci=0
flags=()
targets=()
for a in "$@"; do
  case "$a" in
    --ci) ci=1 ;;
    -*) flags+=("$a") ;;
    *) targets+=("$a") ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

scripts/setup-fuzz.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DSGA_FUZZ=ON \
  -DSGA_BUILD_TESTS=OFF -DSGA_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz

bin=build-fuzz/fuzz
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:handle_abort=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
[ -x /usr/bin/llvm-symbolizer-14 ] && export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-14
# Every input: at most 1 GB in total and in one allocation, and 30 s.
limits=(-rss_limit_mb=1024 -malloc_limit_mb=1024 -timeout=30 -print_final_stats=1)

for t in "${targets[@]}"; do
  seeds=$bin/seeds/$t
  kept=fuzz/corpus/$t
  work=$bin/work/$t
  mkdir -p "$work" "$bin/artifacts"
  dirs=("$seeds")
  [ -d "$kept" ] && dirs+=("$kept")
  artifacts=(-artifact_prefix="$bin/artifacts/$t-")
  if [ $ci -eq 1 ]; then
    # A fresh corpus and a fixed random seed: the same inputs on every run.
    rm -rf "$work" && mkdir -p "$work"
    echo "== $t: replaying ${dirs[*]}"
    "$bin/fuzz_$t" "${limits[@]}" "${artifacts[@]}" -runs=0 "${dirs[@]}"
    echo "== $t: 2000 inputs"
    "$bin/fuzz_$t" "${limits[@]}" "${artifacts[@]}" -seed=1 -runs=2000 "$work" "${dirs[@]}"
  else
    echo "== $t"
    "$bin/fuzz_$t" "${limits[@]}" "${artifacts[@]}" -max_total_time=600 "${flags[@]}" "$work" "${dirs[@]}"
  fi
done
