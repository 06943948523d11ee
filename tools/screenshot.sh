#!/usr/bin/env bash
# Takes the README's picture of the start screen in a real X window under Xvfb.
# Usage: tools/screenshot.sh [build directory]   (default: build/ci, built by ./test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
export ZIFFERIX="$build/app/zifferix" XPROBE="$build/tests/e2e/xprobe"
source tests/e2e/lib.sh

start_x 960 700
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "the start screen is drawn" pixel_is 950 690 "#008080"
"$XPROBE" shot docs/start-screen.png
echo "docs/start-screen.png"
