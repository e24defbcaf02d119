#!/usr/bin/env bash
# Builds the release preset and runs every benchmark under bench/, then prints one table: what was
# measured, its figure, the baseline measured beside it in the same run, their ratio, the target, and a
# mark on every ratio over its target. The figures never fail the run (a shared machine is noisy); a
# benchmark that does not build or does not run does.
#
#   bash scripts/bench.sh            full rounds (some minutes)
#   bash scripts/bench.sh --quick    a moment each, at the archives' size only: proves that every
#                                    benchmark builds and runs; its figures mean little
#
# The table is also written, with the date and the machine, to build/release/bench/summary.md
# (summary-quick.md in the quick setting, which leaves the last full table alone).
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
case "${1:-}" in
--quick) quick=1 ;;
"") ;;
*) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
if [ "$quick" = 1 ]; then export NORVELIA_BENCH_QUICK=1; else unset NORVELIA_BENCH_QUICK; fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target norvelia minimal_window bench_startup bench_archives bench_printing bench_search \
    bench_related bench_raccolte

out=build/release/bench
mkdir -p "$out"
raw="$out/raw.txt"
summary="$out/summary.md"
[ "$quick" = 1 ] && raw="$out/raw-quick.txt" && summary="$out/summary-quick.md"
: >"$raw"
run() {
    echo "== $*" | tee -a "$raw"
    "$@" 2>&1 | tee -a "$raw"
}
searchSizes=(1 10 100)
[ "$quick" = 1 ] && searchSizes=(1)
run "$out/bench_startup"
run "$out/bench_archives"
run "$out/bench_printing"
run "$out/bench_search" "${searchSizes[@]}"
run "$out/bench_related" "${searchSizes[@]}"
run "$out/bench_raccolte"

machine="$(lscpu 2>/dev/null | sed -n 's/^Model name:[[:space:]]*//p' | head -n 1)"
machine="${machine:-unknown processor}, $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"
rows="$(grep -P '^@row\t' "$raw" || true)"
if [ -z "$rows" ]; then
    echo "no figures were reported" >&2
    exit 1
fi

echo
echo "Benchmarks of $when on $machine$([ "$quick" = 1 ] && echo " (quick setting: figures not meaningful)")"
echo "$rows" | awk -F'\t' '
    { what[NR] = $2; fig[NR] = $3; base[NR] = $4; ratio[NR] = $5; target[NR] = $6
      if (length($2) > w) w = length($2); if (length($3) > f) f = length($3); if (length($4) > b) b = length($4) }
    END {
        if (w < 4) w = 4; if (f < 6) f = 6; if (b < 8) b = 8
        printf "%-" w "s  %" f "s  %" b "s  %6s  %6s\n", "What", "Figure", "Baseline", "Ratio", "Target"
        over = 0
        for (i = 1; i <= NR; i++) {
            mark = ""
            if (target[i] != "-" && ratio[i] + 0 > target[i] + 0) { mark = "  <-- over target"; over++ }
            printf "%-" w "s  %" f "s  %" b "s  %6s  %6s%s\n", what[i], fig[i], base[i], ratio[i], target[i], mark
        }
        printf "%d of the figures with a target over it\n", over
    }'

{
    echo "Measured $when on $machine$([ "$quick" = 1 ] && echo " (quick setting: figures not meaningful)")."
    echo
    echo "| What | Figure | Baseline | Ratio | Target |"
    echo "|---|---|---|---|---|"
    echo "$rows" | awk -F'\t' '{ mark = ($6 != "-" && $5 + 0 > $6 + 0) ? " **over**" : ""
                                 printf "| %s | %s | %s | %s%s | %s |\n", $2, $3, $4, $5, mark, $6 }'
} >"$summary"
echo "(table written to $summary)"
exit 0
