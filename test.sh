#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test: the logic and
# view tests, the end-to-end tests under Xvfb, then the logic and monkey tests once more under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing test

jobs=$(nproc)
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"
echo "All tests passed."
