#!/usr/bin/env bash
# Makes the Debian package from the built tree, checks what it holds and says
# of itself, unpacks it into a temporary root as dpkg would install it, and
# lists the packaged catalogue with the packaged cvarden-cli.
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

[ "$(dpkg-deb --field "$deb" Package)" = cvarden ] || fail "the package is not named cvarden"
[ "$(dpkg-deb --field "$deb" Section)" = games ] || fail "the package is not in the section games"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libqt6widgets6 libqt6core6 libc6 qt6-qpa-plugins; do
    grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
icons=usr/share/icons/hicolor
for path in ./usr/bin/cvarden ./usr/bin/cvarden-cli ./usr/lib/cvarden/cvarden ./usr/lib/cvarden/cvarden-cli \
    ./usr/lib/cvarden/options.dat ./usr/lib/cvarden/models.txt ./usr/share/applications/cvarden.desktop \
    ./usr/share/metainfo/org.cvarden.Cvarden.metainfo.xml ./usr/share/man/man6/cvarden.6.gz \
    ./usr/share/man/man6/cvarden-cli.6.gz ./usr/share/bash-completion/completions/cvarden-cli \
    ./$icons/scalable/apps/cvarden.svg; do
    grep -qxF "$path" <<<"$contents" || fail "the package lacks $path"
done

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

# The programs on the PATH run from the installed tree, on its catalogue.
listing=$(XDG_CONFIG_HOME=$work/config "$root/usr/bin/cvarden-cli" list)
grep -qF $'\tMouse sensitivity\tsensitivity\t' <<<"$listing" ||
    fail "cvarden-cli list from the package lacks Mouse sensitivity"
version=$("$root/usr/bin/cvarden-cli" --version)
[ "$("$root/usr/bin/cvarden" --version)" = "${version/cvarden-cli/cvarden}" ] ||
    fail "cvarden from the package does not say the version cvarden-cli says: $version"

[ "$failures" -eq 0 ]
