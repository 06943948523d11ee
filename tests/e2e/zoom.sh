#!/usr/bin/env bash
# On a 1920 x 1080 screen the start screen is zoomed to fill its height (1080 / 710), sharply;
# a bad command line is refused with one line and status 2, and starts nothing.
PROGRAM_ARGS=""
source "$(dirname "$0")/lib.sh"

teal="#008080"
z_px() { awk -v t="$1" 'BEGIN { printf "%d", t * 1080 / 710 / 15 + 0.5 }'; }

step "a bad factor and an unknown option are refused without a window"
for bad in --zoom=5 --zoom=eins --bunt; do
    status=0
    "$ZIFFERIX" "$bad" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "$bad ended with status $status"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$bad did not say one line"
    [ ! -s "$work/out" ] || fail "$bad wrote to the standard output"
done
"$ZIFFERIX" --version | grep -q '^zifferix [0-9]' || fail "--version"
"$ZIFFERIX" --help | grep -q -- '--zoom=F' || fail "--help"

start_x 1920 1080
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "the start screen is drawn" pixel_is 1900 1060 "$teal"

step "Los und hopp stands at its design place times the zoom"
left=$(z_px 11160) top=$(z_px 8490) right=$(z_px $((11160 + 2310))) bottom=$(z_px $((8490 + 1290)))
wait_until "the button's left edge is where it belongs" pixel_is "$((left - 2))" "$((top + 40))" "$teal"
wait_until "the button starts there" pixel_is_not "$((left + 3))" "$((top + 40))" "$teal"
wait_until "the button ends at its zoomed right edge" pixel_is "$((right + 2))" "$((top + 40))" "$teal"
wait_until "and at its zoomed bottom" pixel_is "$((left + 40))" "$((bottom + 2))" "$teal"
pixel_is_not "$((left + 40))" "$((bottom - 3))" "$teal" || fail "the button is shorter than zoomed"

keys alt+a
wait_until "the program has ended" program_ended
pass
