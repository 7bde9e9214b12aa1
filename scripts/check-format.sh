#!/usr/bin/env bash
# Lists the tracked C++ files that clang-format (with .clang-format) would
# change, and fails when there is any. Fixing one: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed (scripts/setup.sh)" >&2; exit 2; }
unformatted=()
while IFS= read -r file; do
  clang-format --style=file "$file" | cmp -s - "$file" || unformatted+=("$file")
done < <(git ls-files -- '*.cpp' '*.h' '*.inl')
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} files are not formatted:"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "check-format: all files formatted"
