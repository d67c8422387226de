#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine lacks. Uses sudo when not run as root.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    clang-14 libclang-rt-14-dev      # the fuzzers and sanitizer builds
    clang-format-14                  # the format check of scripts/check-format.sh
    qt6-base-dev libgl-dev          # Qt 6 widgets, settings and tests
    libbenchmark-dev                 # the benchmarks in bench/
    xvfb xauth imagemagick           # screenshots of the window without a desktop
    help2man librsvg2-bin            # the manual pages and the large icons
    dpkg-dev                         # the Debian package's library dependencies
    appstream desktop-file-utils bash-completion man-db   # checks of the package's files
    python3                          # the start-up timer and scripts/kill-loop.py
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
