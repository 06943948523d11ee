#!/usr/bin/env bash
# Packs this build as a Debian package and checks it: its name, its files in the places a
# desktop looks for them, its copyright file, changelog and manual page, the dependencies a
# fresh Debian 12 needs, a program that runs, and lintian finding no error and no warning.
# Usage: deb.sh <build directory>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/zifferix_*_amd64.deb 2>/dev/null) || fail "no zifferix_<version>_amd64.deb"
[[ $(basename "$deb") =~ ^zifferix_[0-9]+\.[0-9]+\.[0-9]+_amd64\.deb$ ]] || fail "named $deb"

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
for file in ./usr/bin/zifferix \
    ./usr/share/applications/org.zifferix.Zifferix.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.zifferix.Zifferix.svg \
    ./usr/share/metainfo/org.zifferix.Zifferix.metainfo.xml \
    ./usr/share/doc/zifferix/copyright \
    ./usr/share/doc/zifferix/changelog.gz \
    ./usr/share/man/man6/zifferix.6.gz; do
    grep -qx -- "$file" "$work/files" || fail "the package lacks $file"
done

[ "$(dpkg-deb -f "$deb" Package)" = zifferix ] || fail "the package's name"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "the architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6texttospeech6 \
    qt6-speech-speechd-plugin speech-dispatcher fonts-liberation fonts-comic-neue; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

version=$(dpkg-deb -f "$deb" Version)
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/zifferix" --version | grep -qx "zifferix $version" ||
    fail "the packed program does not tell its version"
changelog=$(zcat "$work/root/usr/share/doc/zifferix/changelog.gz")
[[ $changelog == "zifferix ($version) "* ]] || fail "the changelog is not of version $version"
grep -qx "License: GPL-3+" "$work/root/usr/share/doc/zifferix/copyright" ||
    fail "the copyright file does not name the GPL-3+"

# Info tags may stay; every error and warning fails.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &&
    ! grep -qE '^[EW]: ' "$work/lintian.log" || { cat "$work/lintian.log" >&2; fail "lintian"; }
echo "PASS: $(basename "$deb"): $depends"
