#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time from its seed corpus in fuzz/corpus.
# FUZZ_SECONDS sets the time of each run (60 by default); arguments name the targets to run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if ! command -v clang++ >/dev/null; then
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j 2
seconds="${FUZZ_SECONDS:-60}"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_archivedata fuzz_tips fuzz_midi fuzz_pricelist fuzz_bitmap fuzz_query fuzz_thesaurus fuzz_quote)
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for t in "${targets[@]}"; do
    seeds="fuzz/corpus/${t#fuzz_}"
    work="$(mktemp -d)"
    echo "== $t for ${seconds}s from $seeds"
    ./build/fuzz/"$t" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 "$work" "$seeds" 2>&1 | grep "^stat::\|ERROR\|SUMMARY"
    rm -rf "$work"
done
echo "fuzzing: all targets ran without a report"
