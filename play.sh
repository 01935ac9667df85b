#!/usr/bin/env bash
# Installs what is missing, builds the programs (Release, without the tests and
# benchmarks) and opens the lobby, the program's front door as the menu entry is;
# with arguments it starts the game with them instead (name, address, "true" to host).
# WENDLEWICK_PLAY_DRY_RUN=1 installs and builds nothing and prints the command it
# would start, one word a line.
set -euo pipefail
cd "$(dirname "$0")"
start() {
  if [ "${WENDLEWICK_PLAY_DRY_RUN:-}" = 1 ]; then
    printf '%s\n' "$@"
    exit 0
  fi
  exec "$@"
}
if [ "${WENDLEWICK_PLAY_DRY_RUN:-}" != 1 ]; then
  scripts/install-deps.sh play
  cmake --preset release >/dev/null
  cmake --build --preset play
fi
if [ "$#" -eq 0 ]; then
  start build/release/bin/wendlewick-lobby
fi
start build/release/bin/wendlewick "$@"
