#!/usr/bin/env bash
# Whole-process time and peak memory of `dalvenor plan` on large quantities:
# the one-dimensional packers (--pack 0, 1, 2) on the 50-row sample wave with
# QTY units on every row, and the three-dimensional packers (--pack 3, 4, 5)
# on its first order line alone with QTY units. The waves are written into
# BUILD/bulk_waves (never into the repository) by
# scripts/generate_waves.py --bulk. Each plan runs RUNS times; the table
# shows the best wall time with its user CPU time, and the largest peak
# memory of the runs. Plans use the default grouping and routes unless
# OPTIONS gives others.
#
#   bench/bulk_quantities.sh [BUILD] [QTY]   (defaults: build and 100000)
#   RUNS=3 PACKS="0 1 2 3 4 5" OPTIONS="--group AVGDistances" \
#     bench/bulk_quantities.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
qty="${2:-100000}"
runs="${RUNS:-3}"
packs="${PACKS:-0 1 2 3 4 5}"
read -r -a options <<< "${OPTIONS:-}"
tool="$build/dalvenor"
waves="$build/bulk_waves"

[ -x "$tool" ] || { echo "no $tool: build the dalvenor_tool target first" >&2; exit 1; }
/usr/bin/python3 "$root/scripts/generate_waves.py" --bulk "$qty" \
  --out "$waves" >&2

printf '%-6s %-22s %10s %10s %10s\n' pack wave "best [s]" "user [s]" "peak [MB]"
for pack in $packs; do
  if [ "$pack" -le 2 ]; then wave="bulk$qty.json"; else wave="bulkline$qty.json"; fi
  best="" user="" peak=0
  for ((i = 0; i < runs; ++i)); do
    report="$(mktemp)"
    /usr/bin/time -f '%e %U %M' -o "$report" "$tool" plan "$waves/$wave" \
      --pack "$pack" "${options[@]}" --quiet > /dev/null
    read -r s u kb < "$report"
    rm -f "$report"
    if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$s user=$u
    fi
    if [ "$kb" -gt "$peak" ]; then peak=$kb; fi
  done
  printf '%-6s %-22s %10s %10s %10s\n' "$pack" "$wave" "$best" "$user" \
    "$((peak / 1024))"
done
