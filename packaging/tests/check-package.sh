#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the Debian package from the built tree, checks what it holds and says
# of itself, that packing it again gives the same bytes, and what lintian
# says where it is installed; unpacks it into a temporary root as dpkg would
# install it, and lists the packaged catalogue with the packaged cvarden-cli.
# Arguments: cpack, and the build's CPackConfig.cmake.
set -euo pipefail
cpack=$1
config=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail()
{
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

if ! "$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$(echo "$work"/out/cvarden_*.deb)

# Packed again a second later, the package is the same to the byte.
sleep 1
if ! "$cpack" -G DEB --config "$config" -B "$work/again" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
cmp "$deb" "$work"/again/cvarden_*.deb || fail "the same build packed twice gives other bytes"

# lintian comes with scripts/package.sh; a machine without it skips this.
if command -v lintian >/dev/null; then
    said=$(lintian --pedantic "$deb" 2>&1 | grep -v "^running with root privileges" || true)
    if grep -q "^[EW]:" <<<"$said"; then
        fail "lintian --pedantic finds errors or warnings:"
        printf '%s\n' "$said"
    fi
fi

[ "$(dpkg-deb --field "$deb" Package)" = cvarden ] || fail "the package is not named cvarden"
[ "$(dpkg-deb --field "$deb" Section)" = utils ] || fail "the package is not in the section utils"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6core6 libc6 qt6-qpa-plugins; do
    grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
icons=usr/share/icons/hicolor
for path in ./usr/bin/cvarden ./usr/bin/cvarden-cli ./usr/share/cvarden/options.dat ./usr/share/cvarden/models.txt \
    ./usr/share/applications/cvarden.desktop ./usr/share/metainfo/org.cvarden.Cvarden.metainfo.xml \
    ./usr/share/man/man1/cvarden.1.gz ./usr/share/man/man1/cvarden-cli.1.gz \
    ./usr/share/bash-completion/completions/cvarden-cli ./usr/share/doc/cvarden/copyright \
    ./usr/share/doc/cvarden/changelog.gz ./$icons/scalable/apps/cvarden.svg; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -q "^\./usr/lib/" <<<"$contents" && fail "the package still puts files in /usr/lib: $(grep "^\./usr/lib/" <<<"$contents")"

root=$work/root
dpkg -x "$deb" "$root"

# The desktop entry names an icon that the package has at every size, each
# image as large as its folder says.
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/cvarden.desktop")
[ -f "$root/$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
for size in 16 32 48 64 128 256; do
    image=$root/$icons/${size}x${size}/apps/$icon.png
    width=$(od -An -tu4 --endian=big -j16 -N4 "$image" 2>/dev/null | tr -d ' ')
    height=$(od -An -tu4 --endian=big -j20 -N4 "$image" 2>/dev/null | tr -d ' ')
    [ "$width x $height" = "$size x $size" ] || fail "the ${size}x${size} icon $icon is '$width x $height' pixels"
done

grep -qx "License: GPL-2+" "$root/usr/share/doc/cvarden/copyright" || fail "the copyright file names no GPL-2+ licence"
[ "$(zcat "$root/usr/share/doc/cvarden/changelog.gz" | dpkg-parsechangelog -l - -SVersion)" = \
    "$(dpkg-deb --field "$deb" Version)" ] || fail "the changelog's last entry is not the package's version"

# The programs run from the unpacked tree, on its catalogue; unpacked here
# rather than installed, they are not where they were built to be installed,
# so the catalogue is named.
listing=$(XDG_CONFIG_HOME=$work/config "$root/usr/bin/cvarden-cli" --catalogue "$root/usr/share/cvarden/options.dat" list)
grep -qF $'\tMouse sensitivity\tsensitivity\t' <<<"$listing" ||
    fail "cvarden-cli list from the package lacks Mouse sensitivity"
version=$("$root/usr/bin/cvarden-cli" --version)
grep -qF "License GPL-2.0-or-later" <<<"$version" || fail "cvarden-cli --version names no licence: $version"
[ "$("$root/usr/bin/cvarden" --version)" = "${version/cvarden-cli/cvarden}" ] ||
    fail "cvarden from the package does not say the version cvarden-cli says: $version"

[ "$failures" -eq 0 ]
