#!/usr/bin/env bash
# Installs what is missing and builds the packages, in this folder:
#     zifferix_<version>_amd64.deb           the desktop program, in Release
#     zifferix-klassen_<version>_amd64.deb   the class results service for a school's server
#     zifferix-web_<version>_all.deb         the browser edition for a school's server (Apache, nginx)
#     zifferix-web-<version>.tar.gz          the browser edition's site alone, for any static host
# Install a package with
#     sudo apt install ./zifferix_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing package
cmake --preset release >/dev/null
cmake --build --preset release
cpack --config build/release/CPackConfig.cmake -B build/package >/dev/null
cp build/package/zifferix_*_amd64.deb .
cpack --config build/release/CPackKlassen.cmake -B build/package >/dev/null
cp build/package/zifferix-klassen_*_amd64.deb .

emcmake cmake --preset web >/dev/null
cmake --build --preset web --target all web_archive
cpack --config build/web/CPackConfig.cmake -B build/package >/dev/null
cp build/package/zifferix-web_*_all.deb build/web/zifferix-web-*.tar.gz .
ls zifferix_*_amd64.deb zifferix-klassen_*_amd64.deb zifferix-web_*_all.deb zifferix-web-*.tar.gz
