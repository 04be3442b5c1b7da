#!/usr/bin/env bash
# Requests per second and p50/p99 latency of dalvenor serve at 2 and 8
# concurrent clients: /v1/route on 20 stops and /v1/plan on a 500-row wave
# (the first 500 rows of a bundled wave). Loopback only.
#
#   bench/serve_bench.sh [BUILD_DIR] [REQUESTS_PER_CLIENT]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
requests=${2:-50}
cmake --build "$build" -j2 --target dalvenor_tool serve_load >/dev/null

work=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
/usr/bin/python3 - "$work" <<'PY'
import json, sys
rows = json.load(open("data/data_both/wave1422307.json"))
json.dump(rows[:500], open(sys.argv[1] + "/wave500.json", "w"))
stops = []
for row in rows:
    if row["AddressCode"] not in stops:
        stops.append(row["AddressCode"])
json.dump({"addresses": stops[:20], "solver": "shortest"},
          open(sys.argv[1] + "/route20.json", "w"))
PY

"$build/dalvenor" serve --port 0 --threads "${DALVENOR_SERVE_THREADS:-2}" \
  >"$work/out" 2>"$work/log" &
server=$!
for _ in $(seq 50); do grep -q listening "$work/out" && break; sleep 0.1; done
port=$(sed -n 's/.*:\([0-9]*\)$/\1/p' "$work/out")

echo "threads ${DALVENOR_SERVE_THREADS:-2}, $(nproc) cores"
for clients in 2 8; do
  "$build/bench/serve_load" "$port" POST /v1/route "$work/route20.json" \
    "$clients" "$requests"
  "$build/bench/serve_load" "$port" POST /v1/plan "$work/wave500.json" \
    "$clients" "$requests"
done
