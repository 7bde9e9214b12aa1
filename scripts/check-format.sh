#!/usr/bin/env bash
# Lists the tracked C++ files that clang-format (with .clang-format) would
# change, and fails when there is any. Fixing one: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed (scripts/setup.sh)" >&2; exit 2; }
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.inl')
# One process for all files: --dry-run reports the first change of each file.
mapfile -t unformatted < <(clang-format --style=file --dry-run --ferror-limit=1 "${files[@]}" 2>&1 \
  | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*-Wclang-format-violations.*/\1/p' | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} files are not formatted:"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "check-format: all ${#files[@]} files formatted"
