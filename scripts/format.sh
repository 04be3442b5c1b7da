#!/usr/bin/env bash
# Formats the project's C++ sources with the committed .clang-format
# (clang-format 14). Pass --check to list files that would change instead.
# Another major version formats differently, so the script refuses it; set
# CLANG_FORMAT to pick the binary (e.g. CLANG_FORMAT=clang-format-14).
set -euo pipefail
cd "$(dirname "$0")/.."

required_major=14
clang_format="${CLANG_FORMAT:-}"
if [ -z "$clang_format" ]; then
  if command -v "clang-format-$required_major" >/dev/null 2>&1; then
    clang_format="clang-format-$required_major"
  else
    clang_format=clang-format
  fi
fi
if ! command -v "$clang_format" >/dev/null 2>&1; then
  echo "format.sh: $clang_format not found; install clang-format $required_major" \
       "(Debian package clang-format-$required_major)" >&2
  exit 2
fi
version="$("$clang_format" --version)"
major="$(sed -n 's/.*clang-format version \([0-9][0-9]*\)\..*/\1/p' <<<"$version")"
if [ "$major" != "$required_major" ]; then
  echo "format.sh: needs clang-format $required_major, found" \
       "${major:-an unknown version} ($clang_format: $version)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  "$clang_format" --dry-run --Werror "${files[@]}"
else
  "$clang_format" -i "${files[@]}"
fi
