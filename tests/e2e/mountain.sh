#!/usr/bin/env bash
# The mountain opened from the start screen, twice, by keyboard: Enter presses "Los", the
# instructions go, the answer can be typed at once, and Alt+H goes home.
source "$(dirname "$0")/lib.sh"

ball="#c04000"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"

no_text_in() { ! text_in "$@"; }

for game in 1 2; do
    step "game $game: choose the mountain and leicht, start with Alt+L"
    click_at 6500 4995 # "den Berg hinauf"
    click_at 2700 5940 # "leicht"
    keys alt+l
    wait_until "the mountain is shown" window_shown "Längenmaße"
    wait_until "the ball waits at the foot" pixel_is 23 576 "$ball"
    wait_until "the instructions are shown" text_in 70 230 600 150

    step "Enter presses Los: the instructions go and the answer can be typed at once"
    keys Return
    wait_until "the instructions are gone" no_text_in 70 230 600 150
    keys 9 comma 5
    wait_until "the answer shows in the box" text_in 355 121 150 45
    keys BackSpace Return
    wait_until "the box is empty again" no_text_in 355 121 150 45

    step "Alt+H goes home"
    keys alt+h
    wait_until "the game is gone" window_gone "Längenmaße"
    wait_until "the start screen is back" window_shown "Zifferix 1"
done

keys alt+a
wait_until "the program has ended" program_ended
pass
