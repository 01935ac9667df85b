#!/usr/bin/env bash
# Installs what is missing, builds the programs (Release, without the tests and
# benchmarks) and starts the game (solo with no arguments).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh play
cmake --preset release >/dev/null
cmake --build --preset play
exec build/release/bin/wendlewick "$@"
