#!/usr/bin/env bash
# Installs what is missing, builds Zifferix in Release and packs it as a Debian package,
# zifferix_<version>_amd64.deb, in this folder. Install it with
#     sudo apt install ./zifferix_*.deb
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing package
cmake --preset release >/dev/null
cmake --build --preset release
cpack --config build/release/CPackConfig.cmake -B build/package >/dev/null
cp build/package/zifferix_*_amd64.deb .
ls zifferix_*_amd64.deb
