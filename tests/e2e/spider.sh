#!/usr/bin/env bash
# The spider game opened from the start screen, twice: the first answer can be typed at once,
# a wrong one knits the first spoke of the web, and the next game starts without a web.
source "$(dirname "$0")/lib.sh"

grey="#f0f0f0"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"

for game in 1 2; do
    step "game $game: choose the spider and normal, start with Alt+L"
    click_at 6500 6360 # "gegen die Spinne"
    click_at 2700 6470 # "normal"
    keys alt+l
    wait_until "the spider game is shown" window_shown "Multiplikation"
    wait_until "the spider is drawn" pixel_is_not 400 350 "$grey"
    wait_until "no strand of the web is drawn" pixel_is 400 20 "$grey"

    step "a wrong answer, typed at once, knits the upward spoke"
    keys 1 Return
    wait_until "the upward spoke is drawn" pixel_is_not 400 20 "$grey"
    keys 7
    wait_until "the answer shows in the box" text_in 898 119 62 33

    step "Alt+H goes home"
    keys alt+h
    wait_until "the game is gone" window_gone "Multiplikation"
    wait_until "the start screen is back" window_shown "Zifferix 1"
done

keys alt+a
wait_until "the program has ended" program_ended
pass
