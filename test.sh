#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: a Debug build with
# warnings as errors (and its Debian package, checked by lintian), then the same suite
# under AddressSanitizer + UBSan, then the fuzzers for a short while. Exits non-zero
# on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
export QT_QPA_PLATFORM=offscreen

for preset in dev asan; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset"
  if [ "$preset" = dev ]; then
    echo "== Debian package (from the dev build) and lintian"
    scripts/check-package.sh dev
  fi
done

scripts/run-fuzzers.sh
