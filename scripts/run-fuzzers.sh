#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short bounded time.
# FUZZ_SECONDS sets the time per target (default 30); run longer by hand with e.g.
#   FUZZ_SECONDS=3600 scripts/run-fuzzers.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzzers skipped"
  exit 0
fi
seconds="${FUZZ_SECONDS:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers
shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets yet"
  exit 0
fi
for target in "${targets[@]}"; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/"
  echo "== $name for ${seconds}s"
  QT_QPA_PLATFORM=offscreen "$target" -max_total_time="$seconds" -print_final_stats=1 "$work" 2>&1 | tail -n 5
  rm -rf "$work"
done
