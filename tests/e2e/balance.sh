#!/usr/bin/env bash
# The balance opened from the start screen, twice: the first answer can be typed at once, a
# too large one tips the right pan down, and Enter levels the balance for the next problem.
source "$(dirname "$0")/lib.sh"

yellow="#ffffc0"
start_blue="#8080ff" # the pans at the starting level
worse_blue="#0000ff" # one level worse

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"

for game in 1 2; do
    step "game $game: choose the balance and leicht, start with Alt+L"
    click_at 6500 6930 # "die Waage halten"
    click_at 2700 5940 # "leicht"
    keys alt+l
    wait_until "the balance is shown" window_shown "Ausgleich"
    wait_until "the right pan hangs level" pixel_is 608 285 "$start_blue"

    step "a too large answer, typed at once, tips the right pan down"
    keys 9 9 9 Return
    wait_until "the right pan has gone down" pixel_is 608 318 "$start_blue"
    wait_until "its old place is empty" pixel_is 608 285 "$yellow"

    step "Enter levels the balance for the next problem"
    keys Return
    wait_until "the right pan hangs level again, a level worse" pixel_is 608 285 "$worse_blue"

    step "Alt+H goes home"
    keys alt+h
    wait_until "the game is gone" window_gone "Ausgleich"
    wait_until "the start screen is back" window_shown "Zifferix 1"
done

keys alt+a
wait_until "the program has ended" program_ended
pass
