# Shared by the end-to-end tests: a private X server, the real program, and waiting for
# conditions with generous time-outs instead of fixed sleeps.
# Expects ZIFFERIX (the program) and XPROBE (the X helper) in the environment.

set -euo pipefail

# The test tools match titles such as "Massemaße": they need a UTF-8 locale, which a fresh
# machine may not have set. The program itself starts without any, as it would there.
export LC_ALL=C.UTF-8

: "${ZIFFERIX:?path of the zifferix program}"
: "${XPROBE:?path of the xprobe helper}"
TIMEOUT=${E2E_TIMEOUT:-30}

work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        "$XPROBE" shot "$work/failure.png" 2>/dev/null &&
            cp "$work/failure.png" "${E2E_ARTIFACTS:-/tmp}/e2e-failure-$(basename "$0" .sh).png" 2>/dev/null || true
    fi
    exit 1
}

# start_x WIDTH HEIGHT: an X server of that size, on a free display.
start_x() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "${1}x${2}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    local waited=0
    until [ -s "$work/display" ]; do
        sleep 0.1
        waited=$((waited + 1))
        [ "$waited" -lt $((TIMEOUT * 10)) ] || fail "the X server did not start"
    done
    export DISPLAY=":$(head -n1 "$work/display")"
}

# The tests place their clicks and pixels at 15 twips a pixel: the design size, not zoomed
# to fill the screen. A test of the zoom sets PROGRAM_ARGS itself.
PROGRAM_ARGS=${PROGRAM_ARGS---zoom=1}

# start_program [NAME=VALUE...]: the program, with these variables set besides.
start_program() {
    # shellcheck disable=SC2086 # the arguments are words
    env -u LC_ALL -u LANG -u LANGUAGE -u LC_CTYPE -u LC_MESSAGES -u XDG_RUNTIME_DIR "$@" \
        "$ZIFFERIX" $PROGRAM_ARGS >"$work/program.log" 2>&1 &
    program_pid=$!
}

# Ends a passing test: the program, started without a locale, said nothing on the terminal.
pass() {
    if [ -s "$work/program.log" ]; then
        cat "$work/program.log" >&2
        fail "the program printed messages"
    fi
    echo "PASS"
}

# wait_until DESCRIPTION COMMAND...: retries the command until it succeeds.
wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting until $what"
        sleep 0.1
    done
}

# A window title as a regular expression that matches only that title.
title_pattern() { printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\\.*^$?+(){}|]/\\&/g')"; }
window_shown() { xdotool search --onlyvisible --name "$(title_pattern "$1")" >/dev/null; }
window_gone() { ! window_shown "$1"; }
window_id() { xdotool search --onlyvisible --name "$(title_pattern "$1")" | head -n1; }
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

pixel() { "$XPROBE" pixel "$1" "$2"; }
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
pixel_is_not() { [ "$(pixel "$1" "$2")" != "$3" ]; }
# text_in X Y W H: more dark pixels in that part of the screen than a caret has.
text_in() { [ "$("$XPROBE" dark "$1" "$2" "$3" "$4")" -gt 60 ]; }

# Twips to pixels: the windows fill the screen from its top left corner.
px() { echo $((($1 + 7) / 15)); }

# click_at X Y: a click at a point of the screen given in twips.
click_at() { xdotool mousemove "$(px "$1")" "$(px "$2")" click 1; }

keys() { xdotool key --delay 40 "$@"; }

# own_bus "$0" "$@", first in a test that reads the accessibility bus: runs the test once more
# inside a session bus of its own and a runtime folder of its own (0700, removed afterwards).
# Without XDG_RUNTIME_DIR every accessibility bus listens at ~/.cache/at-spi/bus, so two such
# tests side by side, as ctest -j runs them, would take that one socket from each other.
own_bus() {
    [ -z "${ZIFFERIX_OWN_BUS:-}" ] || return 0
    local runtime status=0
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    ZIFFERIX_OWN_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- bash "$@" || status=$?
    rm -rf "$runtime"
    exit "$status"
}

# Reads a little on the window under test while waiting, so a failure tells where it was.
step() { echo "--- $*"; }
