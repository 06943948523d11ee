#!/usr/bin/env bash
# What animation costs: the CPU of the program and of the X server, and the frames drawn,
# during 5 s of the idle start screen, of flying numbers and of the glass draining, one after
# the other in the same run of the program. See bench/README.md.
#
#   bash bench/animation.sh           # 5 runs
#   RUNS=9 bash bench/animation.sh    # more runs
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${RUNS:-5}"
WATCH=5 # seconds a scene is watched
if ! [[ "$RUNS" =~ ^[1-9][0-9]*$ ]]; then
    echo "animation.sh: RUNS must be a positive whole number, not '$RUNS'" >&2
    exit 64
fi

# --- tools -----------------------------------------------------------------
source "$ROOT/tools/deps.sh"
install_missing bench >&2

cd "$ROOT"
cmake --preset bench >&2
cmake --build --preset bench >&2
BUILD="$ROOT/build/bench"
PROBE="$BUILD/bench/anim_probe"

# The end-to-end helpers start the X server and the program and wait for windows.
# The program as it starts on such a screen: zoomed to fill it.
export ZIFFERIX="$BUILD/app/zifferix" XPROBE=/bin/true LC_ALL=C.UTF-8 PROGRAM_ARGS=""
source "$ROOT/tests/e2e/lib.sh"
trap - ERR
start_x 1280 1024

declare -A results=() # "<scene> <key>" -> values, one per line

# watch <scene> <window title>: the program and the X server while the scene plays, then the
# frames it is drawn in.
watch() {
    local out line
    out=$("$PROBE" "$2" "$WATCH" "$program_pid" "$xvfb_pid")
    while IFS= read -r line; do
        results["$1 ${line%%=*}"]+="${line#*=}"$'\n'
    done <<<"$out"
    results["$1 together"]+="$(awk -F= '/^sched_ms_/ { sum += $2 } END { print sum }' <<<"$out")"$'\n'
    printf '  %-8s %s\n' "$1" "$(tr '\n' ' ' <<<"$out")" >&2
}

# By keyboard from the start screen, whose focus is on its start button: Tab and Down choose
# the next game and send the focus back; then Tab twice to the levels, Down or Space there.
choose() {
    local game=$1 level=$2
    for ((i = 0; i < game; i++)); do
        keys Tab Down
    done
    keys Tab Tab "$level" alt+l
}

for ((run = 1; run <= RUNS; run++)); do
    echo "run $run/$RUNS" >&2
    # The yardstick first, with the Qt settings Zifferix chooses for itself.
    ZIFFERIX="$BUILD/bench/bench_bare_animation" start_program QT_NO_GLIB=1 QT_XCB_NO_MITSHM=1
    wait_until "the bare animation is shown" window_shown "bare animation"
    sleep 1
    watch bare "bare animation"
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true

    start_program
    wait_until "the start screen is shown" window_shown "Zifferix 1"
    sleep 1
    watch idle "Zifferix 1"

    choose 6 Down # flying numbers, normal
    wait_until "flying numbers are shown" window_shown "Addition / Subtraktion"
    keys Return # "Start"
    sleep 1
    watch flying "Addition / Subtraktion"
    keys alt+h
    wait_until "the start screen is back" window_shown "Zifferix 1"

    choose 2 space # the glass, leicht
    wait_until "the glass is shown" window_shown "Bruchteile"
    sleep 13 # the first filling, then it drains
    watch glass "Bruchteile"

    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
done

median() {
    printf '%s' "${results["$1 $2"]}" | sort -g | awk '
        { v[NR] = $1 }
        END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2];
              else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
per_second() { awk -v v="$1" -v s="$WATCH" 'BEGIN { printf "%.1f", v / s }'; }

echo
echo "## What animation costs: CPU per second of the program and of the X server"
echo
echo "- Date: $(date '+%Y-%m-%d %H:%M:%S %Z')"
echo "- Machine: $(nproc) CPUs, $(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "- Display: Xvfb 1280x1024x24, no window manager; $RUNS runs, medians of ${WATCH} s each"
echo "- bare: a bare Qt window moving three numbers drawn once, as flying numbers do (bare_animation.cpp)"
echo
echo "| Scene | program (ms/s) | X server (ms/s) | together (ms/s) | frames/s | longest gap (ms) |"
echo "|---|---:|---:|---:|---:|---:|"
for scene in idle flying glass bare; do
    program=$(median "$scene" sched_ms_0)
    xserver=$(median "$scene" sched_ms_1)
    together=$(median "$scene" together)
    echo "| $scene | $(per_second "$program") | $(per_second "$xserver") |" \
        "$(per_second "$together") | $(per_second "$(median "$scene" frames)") |" \
        "$(median "$scene" longest_gap_ms) |"
done
