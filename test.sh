#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test: the logic and
# view tests, the end-to-end tests under Xvfb, then the logic and monkey tests once more under
# AddressSanitizer and UndefinedBehaviorSanitizer, and last the browser edition in Chromium,
# Firefox ESR and WebKitGTK, and against the oldest browsers it supports, and stormed under the
# sanitizers too.
set -euo pipefail
cd "$(dirname "$0")"
# The tests need a UTF-8 locale; a fresh machine may have none set, and C.UTF-8 is always there.
export LC_ALL=C.UTF-8
source tools/deps.sh
install_missing test

jobs=$(nproc)
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"
# The class service's request checks, fuzzed for a minute with clang's libFuzzer.
service/fuzz/run.sh 60

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

install_browser_test_modules
emcmake cmake --preset web >/dev/null
cmake --build --preset web
ctest --preset web -j "$jobs"

# The page once more under AddressSanitizer and UBSan, stormed for a minute in Chromium.
emcmake cmake --preset web-sanitize >/dev/null
cmake --build --preset web-sanitize
ctest --preset web-sanitize
echo "All tests passed."
