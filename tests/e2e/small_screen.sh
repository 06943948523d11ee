#!/usr/bin/env bash
# On an 800 x 600 screen the start screen and the games use their small layout, and repeated
# games do not shift it.
source "$(dirname "$0")/lib.sh"

teal="#008080"

start_x 800 600
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "the start screen is drawn" pixel_is 790 590 "$teal"

step "the exit button has moved up: where the large layout has the difficulty frame"
wait_until "the exit button is drawn in its small place" pixel_is_not 150 500 "$teal"
step "the start button is on the screen"
wait_until "the start button is drawn in its small place" pixel_is_not 650 480 "$teal"

for game in 1 2; do
    step "glass game number $game: the glass stands higher on a small screen"
    click_at 5000 4000 # "ein Glas füllen" in the moved frame
    click_at 2000 4650 # "leicht" in the moved frame
    click_at 9500 7300 # the moved start button
    wait_until "the glass game is shown" window_shown "Bruchteile"
    wait_until "the glass's left wall starts at 2000 twips" pixel_is 467 200 "#000000"
    "$XPROBE" close "$(window_id Bruchteile)"
    wait_until "the start screen is back" window_shown "Zifferix 1"
    wait_until "the start button has not moved" pixel_is_not 650 480 "$teal"
    wait_until "the exit button has not moved" pixel_is_not 150 500 "$teal"
done

keys alt+a
wait_until "the program has ended" program_ended
pass
