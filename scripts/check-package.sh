#!/usr/bin/env bash
# Makes the Debian package from a build of the given preset and checks it with lintian.
# Usage: scripts/check-package.sh [package|dev]
#   package  the package players install (cmake --preset package && cmake --build
#            --preset package first)
#   dev      the same packaging from the Debug build that ./test.sh has just built:
#            checks the install rules and the control files in a minute or so
# Exits non-zero when lintian reports an error or a warning.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-package}"

# What only a package from the Debug build shows: its programs sit in /usr/bin (the
# package preset puts games in /usr/games) and, built without the optimiser, they
# cannot use fortified calls.
suppress=()
if [ "$preset" = dev ]; then
  suppress=(--suppress-tags package-section-games-but-contains-no-game,hardening-no-fortify-functions)
fi

folder="build/$preset/package"
rm -f "$folder"/wendlewick_*.deb
cpack --preset "$preset" >"build/$preset/cpack.log" 2>&1 || { cat "build/$preset/cpack.log"; exit 1; }
deb=$(ls "$folder"/wendlewick_*.deb)
echo "$deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
set +e
report=$(lintian --display-info --pedantic --fail-on error,warning "${suppress[@]}" "$deb" 2>&1)
status=$?
set -e
# lintian warns that it runs as root; CI and this machine run as root.
grep -v '^running with root privileges is not recommended!$' <<<"$report" || true
echo "lintian: exit $status"
exit $status
