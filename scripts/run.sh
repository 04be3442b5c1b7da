#!/usr/bin/env bash
# The main job: installs what is missing, builds, and plans the bundled
# sample waves with wave_batch (run from build/, so that its fixed folder
# ./../data/data_both is the repository's data/data_both).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/wave_batch ]; then
  cd build && ./wave_batch
else
  build/dalvenor locate G000502017 VAA0002030 P000203045 GP00301012
  build/dalvenor distance G000502017 VBB0001150
fi
