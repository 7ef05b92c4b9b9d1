#!/usr/bin/env bash
# Runs the painting benchmarks of several build trees in turn (each TREE with its build/ folder); prints round, tree, benchmark, median CPU time, unit.
set -u
rounds=${ROUNDS:-2}
for r in $(seq 1 $rounds); do
  for tree in "$@"; do
    for b in bench_controls bench_controls_sliders bench_groupbox bench_list bench_demo_window; do
      f=$(find $tree/build/bench -name $b -type f)
      $f --benchmark_filter='-ListInsert100000' --benchmark_repetitions=5 \
         --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
        grep '_median' | awk -F, -v t="$(basename $tree)" -v r=$r '{gsub(/"/,"",$1); printf "%s,%s,%s,%.2f,%s\n", r, t, $1, $4, $5}'
    done
  done
done
