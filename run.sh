#!/usr/bin/env bash
# Installs what is missing, builds Zifferix in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing run
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/app/zifferix "$@"
