#!/usr/bin/env bash
# Times `kvelmor-export --all` (15 settings, 75 files) and prints the median wall-clock time of the
# runs (three by default), with the processor time (user + system) each took, which other load on
# the machine disturbs less. Usage: bench/bench_export.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
runs=${2:-3}
export_tool="$build/export/kvelmor-export"
[ -x "$export_tool" ] || { echo "no $export_tool: build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

TIMEFORMAT='%R %U %S'
walls=()
for ((n = 1; n <= runs; n++)); do
  read -r wall user system < <({ time "$export_tool" --all --out "$work/run$n" >/dev/null; } 2>&1)
  walls+=("$wall")
  printf 'run %d: %.3f s wall, %.3f s processor\n' "$n" "$wall" "$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')"
done
median=$(printf '%s\n' "${walls[@]}" | sort -g |
  awk '{ t[NR] = $1 } END { print (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2 }')
printf 'kvelmor-export --all: median of %d runs %.3f s\n' "$runs" "$median"
