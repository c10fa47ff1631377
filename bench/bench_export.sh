#!/usr/bin/env bash
# Times `kvelmor-export --all` (15 settings, 75 files) three times and prints the median, in
# seconds of wall-clock time. Usage: bench/bench_export.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
runs=${2:-3}
export_tool="$build/export/kvelmor-export"
[ -x "$export_tool" ] || { echo "no $export_tool: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

times=()
for ((n = 1; n <= runs; n++)); do
  start=$(date +%s.%N)
  "$export_tool" --all --out "$work/run$n"
  end=$(date +%s.%N)
  times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
  printf 'run %d: %.3f s\n' "$n" "${times[-1]}"
done
median=$(printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { print (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }')
printf 'kvelmor-export --all: median of %d runs %.3f s\n' "$runs" "$median"
