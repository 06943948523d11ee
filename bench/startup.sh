#!/usr/bin/env bash
# Startup, memory and idle-CPU benchmark: the real program against a bare
# Qt window, both on a private Xvfb display. See bench/README.md.
#
#   bash bench/startup.sh            # 7 runs of each program
#   RUNS=15 bash bench/startup.sh    # more runs
#   WARMUP=0 bash bench/startup.sh   # no discarded warm-up pair
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${RUNS:-7}"
WARMUP="${WARMUP:-1}"
if ! [[ "$RUNS" =~ ^[1-9][0-9]*$ ]]; then
    echo "startup.sh: RUNS must be a positive whole number, not '$RUNS'" >&2
    exit 64
fi
if ! [[ "$WARMUP" =~ ^[0-9]+$ ]]; then
    echo "startup.sh: WARMUP must be a whole number, not '$WARMUP'" >&2
    exit 64
fi

# --- tools -----------------------------------------------------------------
source "$ROOT/tools/deps.sh"
install_missing bench >&2

# --- build -----------------------------------------------------------------
cd "$ROOT"
cmake --preset bench >&2
cmake --build --preset bench >&2

BUILD="$ROOT/build/bench"
MAP_TIMER="$BUILD/bench/map_timer"
BARE="$BUILD/bench/bench_bare_window"
REAL="$BUILD/app/zifferix"
for exe in "$MAP_TIMER" "$BARE" "$REAL"; do
    if [[ ! -x "$exe" ]]; then
        echo "startup.sh: $exe was not built" >&2
        exit 1
    fi
done

# --- private X server --------------------------------------------------------
WORK="$(mktemp -d "${TMPDIR:-/tmp}/zifferix-bench.XXXXXX")"
XVFB_PID=""
cleanup() {
    if [[ -n "$XVFB_PID" ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to fd 3 when ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do
    [[ -s "$WORK/display" ]] && break
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "startup.sh: Xvfb did not start:" >&2
        cat "$WORK/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
read -r DISPLAY_NUMBER <"$WORK/display" || true
if ! [[ "${DISPLAY_NUMBER:-}" =~ ^[0-9]+$ ]]; then
    echo "startup.sh: Xvfb did not report its display number" >&2
    exit 1
fi

export DISPLAY=":$DISPLAY_NUMBER"
export QT_QPA_PLATFORM=xcb
# Both programs get the same private runtime directory (Qt warns without one).
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# --- measurements ------------------------------------------------------------
declare -A results=() # "<program> <key>" -> values, one per line

# measure <name> <title> <keep|discard> <command> [args...]
measure() {
    local name="$1" title="$2" keep="$3" out
    shift 3
    if ! out="$("$MAP_TIMER" "$title" "$@" 2>>"$WORK/programs.log")"; then
        echo "startup.sh: measuring $name failed; its messages:" >&2
        tail -n 20 "$WORK/programs.log" >&2
        exit 1
    fi
    printf '%s\n' "$out" >>"$WORK/raw.log"
    [[ "$keep" == discard ]] && return 0
    local line key
    while IFS= read -r line; do
        key="${line%%=*}"
        results["$name $key"]+="${line#*=}"$'\n'
    done <<<"$out"
    printf '  %-9s %s\n' "$name" "$(tr '\n' ' ' <<<"$out")" >&2
}

# One round: the three programs in turn, so that slow phases hit all alike.
round() {
    measure bare bare "$1" "$BARE"
    measure label bare "$1" "$BARE" --label
    measure zifferix "Zifferix 1" "$1" "$REAL"
}
for ((i = 1; i <= WARMUP; i++)); do
    echo "warm-up $i/$WARMUP (discarded)" >&2
    round discard
done
for ((i = 1; i <= RUNS; i++)); do
    echo "run $i/$RUNS" >&2
    round keep
done

# summary <program> <key> <median|min|max>
summary() {
    printf '%s' "${results["$1 $2"]}" | sort -g | awk -v what="$3" '
        { v[NR] = $1 }
        END {
            if (NR == 0) { print "nan"; exit }
            if (what == "min") print v[1]
            else if (what == "max") print v[NR]
            else if (NR % 2) print v[(NR + 1) / 2]
            else print (v[NR / 2] + v[NR / 2 + 1]) / 2
        }'
}
fmt() { awk -v v="$1" -v f="$2" 'BEGIN { printf f, v }'; }
mib() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'; }

b_map=$(summary bare map_ms median)
z_map=$(summary zifferix map_ms median)
l_map=$(summary label map_ms median)
b_rss=$(summary bare rss_kb median)
l_rss=$(summary label rss_kb median)
z_rss=$(summary zifferix rss_kb median)

cpu_model=$(awk -F': *' '/^model name/ { print $2; exit }' /proc/cpuinfo)
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)

echo
echo "## Startup, memory and idle CPU: zifferix against a bare Qt window"
echo
echo "- Date: $(date '+%Y-%m-%d %H:%M:%S %Z')"
echo "- Machine: $(nproc) CPUs, ${cpu_model:-unknown CPU}"
echo "- Kernel: $(uname -r); Qt package: $qt_version; display: Xvfb 1280x1024x24, no window manager"
echo "- Runs: $RUNS of each, interleaved (plus $WARMUP discarded warm-up pair(s))"
echo
echo "| Measure | bare | bare + label | zifferix | zifferix/bare | zifferix/(bare + label) | Target |"
echo "|---|---:|---:|---:|---:|---:|---:|"
echo "| Startup to window mapped, median (ms) | $(fmt "$b_map" %.1f) | $(fmt "$l_map" %.1f) | $(fmt "$z_map" %.1f) | $(ratio "$z_map" "$b_map") | $(ratio "$z_map" "$l_map") | ≤ 1.10x |"
echo "| Startup min / max (ms) | $(fmt "$(summary bare map_ms min)" %.1f) / $(fmt "$(summary bare map_ms max)" %.1f) | $(fmt "$(summary label map_ms min)" %.1f) / $(fmt "$(summary label map_ms max)" %.1f) | $(fmt "$(summary zifferix map_ms min)" %.1f) / $(fmt "$(summary zifferix map_ms max)" %.1f) | | | |"
echo "| Resident memory 1.5 s after mapping, median (MiB) | $(mib "$b_rss") | $(mib "$l_rss") | $(mib "$z_rss") | $(ratio "$z_rss" "$b_rss") | $(ratio "$z_rss" "$l_rss") | ≤ 1.30x |"
echo "| Idle CPU in 5 s, median (ms, utime+stime) | $(fmt "$(summary bare idle_cpu_ms median)" %.0f) | $(fmt "$(summary label idle_cpu_ms median)" %.0f) | $(fmt "$(summary zifferix idle_cpu_ms median)" %.0f) | | | 0 |"
echo "| Idle CPU in 5 s, median (ms, scheduler) | $(fmt "$(summary bare idle_sched_ms median)" %.1f) | $(fmt "$(summary label idle_sched_ms median)" %.1f) | $(fmt "$(summary zifferix idle_sched_ms median)" %.1f) | | | 0 |"
echo "| Context switches in 5 s idle, median | $(fmt "$(summary bare idle_switches median)" %.0f) | $(fmt "$(summary label idle_switches median)" %.0f) | $(fmt "$(summary zifferix idle_switches median)" %.0f) | | | 0 |"
