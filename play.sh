#!/usr/bin/env bash
# Installs what is missing, builds the programs (Release, without the tests and
# benchmarks) and opens the lobby, the program's front door as the menu entry is;
# with arguments it starts the game with them instead (name, address, "true" to host).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh play
cmake --preset release >/dev/null
cmake --build --preset play
if [ "$#" -eq 0 ]; then
  exec build/release/bin/wendlewick-lobby
fi
exec build/release/bin/wendlewick "$@"
