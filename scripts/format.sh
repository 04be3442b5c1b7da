#!/usr/bin/env bash
# Formats the project's C++ sources with the committed .clang-format
# (clang-format 14). Pass --check to list files that would change instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
