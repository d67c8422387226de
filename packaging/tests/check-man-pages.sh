#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks the manual pages written at build time: each formats without a
# warning, and holds what its program's --help gave as well as the sections
# written by hand.
# Argument: the folder of the built pages.
pages=$1
# Plain ASCII, whatever the locale of the run.
export LC_ALL=C
failures=0

# expect_page PAGE LINE...: the page formats cleanly and shows each LINE.
expect_page()
{
    local page=$pages/$1 text warnings line
    shift
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    if [ -n "$warnings" ]; then
        printf 'FAIL: %s formats with warnings:\n%s\n' "$page" "$warnings"
        failures=$((failures + 1))
    fi
    for line in "$@"; do
        if ! grep -qxF -- "$line" <<<"$text"; then
            printf 'FAIL: %s does not show the line %q\n' "$page" "$line"
            failures=$((failures + 1))
        fi
    done
}

expect_page cvarden.1 "OPTIONS" "       -v, --version" "FILES" "       /usr/share/cvarden/options.dat" "       q3config.cfg_" \
    "COPYRIGHT" "       cvarden-cli(1)"
expect_page cvarden-cli.1 "       cvarden-cli [options] command [arguments...]" "       --catalogue <FILE>" \
    "       set [--strict] NAME VALUE" "       --engine <ENGINE>" "EXIT STATUS" "FILES" "       ~/.config/Cvarden/Cvarden.conf" "COPYRIGHT" "       cvarden(1)"

[ "$failures" -eq 0 ]
