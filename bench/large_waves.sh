#!/usr/bin/env bash
# Whole-process time and peak memory of `dalvenor plan` on large generated
# waves, for each grouping: one table row per wave size, then the growth
# exponent of the time from the smallest to the largest wave of at least
# 10,000 rows. The waves are written into BUILD/large_waves (never into the
# repository) by scripts/generate_waves.py --large, seeded, so every machine
# plans the same waves.
#
#   bench/large_waves.sh [BUILD] [ROWS,ROWS,...]
#   (defaults: build and 5000,10000,20000,50000,100000)
#
# Plans use greedy routes (the batch planner's) so that the table measures
# packing and grouping; set ROUTE to time another route setting.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
rows="${2:-5000,10000,20000,50000,100000}"
route="${ROUTE:-GreedyAlgorithm}"
tool="$build/dalvenor"
waves="$build/large_waves"
groupings=(AVGDistances LeastSquareMethod KMeansClustering ChooseBest)

[ -x "$tool" ] || { echo "no $tool: build the dalvenor target first" >&2; exit 1; }
/usr/bin/python3 "$root/scripts/generate_waves.py" --large --rows "$rows" \
  --out "$waves" >&2

printf '%-8s' rows
for g in "${groupings[@]}"; do printf ' %22s' "$g [s / MB]"; done
printf '\n'
declare -A seconds
for n in ${rows//,/ }; do
  printf '%-8s' "$n"
  for g in "${groupings[@]}"; do
    report="$(mktemp)"
    /usr/bin/time -f '%e %M' -o "$report" "$tool" plan "$waves/large$n.json" \
      --group "$g" --route "$route" --quiet > /dev/null
    read -r s kb < "$report"
    rm -f "$report"
    seconds[$n,$g]=$s
    printf ' %22s' "$s / $((kb / 1024))"
  done
  printf '\n'
done

# Growth exponent log(t2/t1) / log(n2/n1) between the first size of at least
# 10,000 rows and the last size.
sizes=(${rows//,/ })
last=${sizes[-1]}
first=""
for n in "${sizes[@]}"; do
  if [ "$n" -ge 10000 ] && [ -z "$first" ]; then first=$n; fi
done
if [ -n "$first" ] && [ "$first" != "$last" ]; then
  printf '%-8s' "growth"
  for g in "${groupings[@]}"; do
    printf ' %22s' "$(awk -v a="${seconds[$first,$g]}" -v b="${seconds[$last,$g]}" \
      -v n1="$first" -v n2="$last" \
      'BEGIN { if (a <= 0) a = 0.01; printf "n^%.2f", log(b / a) / log(n2 / n1) }')"
  done
  printf '   (%s to %s rows)\n' "$first" "$last"
fi
