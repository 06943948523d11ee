#!/usr/bin/env bash
# The browser edition's budgets: transferred size, time to an interactive start screen, the
# cost of animation and of an idle page, in Debian's headless Chromium (see bench/web.mjs).
#     bash bench/web.sh            RUNS=15 bash bench/web.sh
#     ZIFFERIX_EARLIER=/path/to/an/earlier/site bash bench/web.sh    that build beside this one
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
install_missing bench
install_browser_test_modules
emcmake cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
ZIFFERIX_SITE="$PWD/build/web/site" node bench/web.mjs
