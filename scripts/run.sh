#!/usr/bin/env bash
# The main job: installs what is missing, builds, and plans the bundled
# sample waves with wave_batch (run from build/, so that its fixed folder
# ./../data/data_both is the repository's data/data_both).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
cd build && ./wave_batch
