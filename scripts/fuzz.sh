#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address sanitizer) and runs each
# for a bounded time: scripts/fuzz.sh [seconds per target] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds=${1:-60}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEXAMORA_FUZZ=ON >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_IniFile fuzz_TopRewrite fuzz_GetField fuzz_Jpeg fuzz_AnswerNormalForm)
available=()
for t in "${targets[@]}"; do
  if cmake --build build-fuzz --target "$t" >/dev/null 2>&1; then available+=("$t"); else echo "fuzz: $t not built"; fi
done
for t in "${available[@]}"; do
  corpus="build-fuzz/corpus/$t"
  mkdir -p "$corpus"
  [ -d "fuzz/seeds/$t" ] && cp -n fuzz/seeds/$t/* "$corpus/" 2>/dev/null || true
  echo "fuzz: running $t for ${seconds}s"
  QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts-$t-" "$corpus" 2>&1 | tail -4
done
