#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds the Debian package in build/package with
# the distribution's hardening flags (dpkg-buildflags; the build the tests
# and sanitizers use keeps its own), checks it with lintian --pedantic and
# puts it in build/; install it with: sudo apt-get install ./build/cvarden_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v lintian >/dev/null; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends lintian
fi

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Only what the package holds is built: neither tests nor benchmarks.
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build/package --parallel 2 --target cvarden cvarden-cli catalogue_data man_pages desktop_icons \
    package_changelog
(cd build/package && cpack -G DEB >/dev/null)
cp build/package/cvarden_*.deb build/
deb=$(echo build/cvarden_*.deb)
echo "Made $deb; lintian --pedantic says:"
lintian --pedantic --fail-on error,warning "$deb"
