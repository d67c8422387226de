#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package in build/;
# install it with: sudo apt-get install ./build/cvarden_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
cpack -G DEB
