#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when they are missing.
# Usage: scripts/install-deps.sh [play|test]
set -euo pipefail

# qt6-speech-dev's headers include QtQmlIntegration, which only qt6-declarative-dev
# brings (its package does not depend on it). qt6-base-private-dev: a test stands in
# for a screen reader through Qt's platform accessibility (the dev build builds the tests).
packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-multimedia-dev qt6-speech-dev qt6-declarative-dev
  qt6-qpa-plugins libgl-dev
  libavahi-client-dev
  libgloox-dev libnice-dev qtkeychain-qt6-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-dejavu-core fonts-liberation2
  wordnet-base
)
if [ "${1:-play}" = test ]; then
  # Benchmarks, the fuzzers (clang with its sanitizer runtimes) and the tests' tools
  # (iproute2 and nftables: network namespaces and the home routers built in them, for
  # the tests that run as root; Prosody with the community modules, openssl for its
  # throwaway certificate and coturn as a STUN and TURN server, for the community
  # lobby's tests); the validators of the menu entry,
  # metainfo and service unit; the Debian package's tools (dpkg-shlibdeps, file) and
  # lintian.
  packages+=(libbenchmark-dev clang libclang-rt-14-dev zlib1g-dev python3 iproute2 nftables
    prosody prosody-modules openssl coturn
    desktop-file-utils appstream systemd dpkg-dev file lintian)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
