#!/bin/sh
# Builds the parser fuzzers with clang (libFuzzer, address and undefined
# behaviour sanitizers) in BUILD_DIR and runs each for FUZZ_SECONDS seconds
# (default 15), starting from the seeds in tests/fuzz/seeds/<parser>/. Fails
# on the first crash, leak or sanitizer report; the input that caused it is
# left in BUILD_DIR/crashes/. The random seed is fixed (FUZZ_SEED, default 1)
# so that a run can be repeated; another seed explores elsewhere.
#
#   tests/fuzz/run-fuzz.sh BUILD_DIR [parser...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: run-fuzz.sh BUILD_DIR [parser...]}
shift
seconds=${FUZZ_SECONDS:-15}
seed=${FUZZ_SEED:-1}
parsers=${*:-connectionfile languagefile catalog layout wave stationini}

launcher=
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$here/harness" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" $launcher >/dev/null
cmake --build "$build" -j2

mkdir -p "$build/crashes"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
status=0
for parser in $parsers; do
    # The corpus grows in the build folder; the committed seeds stay as they are.
    corpus="$build/corpus/$parser"
    mkdir -p "$corpus"
    echo "== fuzz_$parser: $seconds s from $(ls "$here/seeds/$parser" | wc -l) seeds"
    if ! "$build/fuzz_$parser" -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=1024 -max_len=65536 \
            -print_final_stats=1 -artifact_prefix="$build/crashes/$parser-" \
            "$corpus" "$here/seeds/$parser" >"$build/$parser.log" 2>&1; then
        status=1
        tail -n 60 "$build/$parser.log"
        echo "** fuzz_$parser failed; the input is in $build/crashes/"
        continue
    fi
    grep -E '^stat::number_of_executed_units|^stat::new_units_added|^#[0-9]+.*DONE' "$build/$parser.log" || true
done
exit $status
