#!/usr/bin/env bash
# Packs this build as a Debian package and checks it: its name, its files in the places a
# desktop looks for them, the dependencies a fresh Debian 12 needs, and a program that runs.
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
    ./usr/share/metainfo/org.zifferix.Zifferix.metainfo.xml; do
    grep -qx -- "$file" "$work/files" || fail "the package lacks $file"
done

[ "$(dpkg-deb -f "$deb" Package)" = zifferix ] || fail "the package's name"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "the architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 fonts-liberation \
    fonts-comic-neue; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/zifferix" --version | grep -qx "zifferix $(dpkg-deb -f "$deb" Version)" ||
    fail "the packed program does not tell its version"
echo "PASS: $(basename "$deb"): $depends"
