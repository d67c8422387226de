#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds, and starts Cvarden on the sample catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop found (DISPLAY is not set). Start Cvarden from a desktop session, or try: xvfb-run $0" >&2
    exit 1
fi
exec build/bin/cvarden
