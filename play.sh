#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts the game (solo with no arguments).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh play
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/bin/wendlewick "$@"
