#!/usr/bin/env bash
# The balloon ride opened from the start screen: the balloon grows to its first size, the
# problem can be answered with a comma, and Alt+H goes home.
source "$(dirname "$0")/lib.sh"

orange="#ff8000"
green="#00c000"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
click_at 6500 7560 # "Ballonfahrt"
click_at 2700 7065 # "voll schwer"
click_at 12000 9000 # "Los und hopp"
wait_until "the balloon ride is shown" window_shown "Massemaße"

step "the balloon grows to its first size before the first problem"
wait_until "the balloon has its first size" pixel_is 133 505 "$green"
wait_until "the weight is drawn" pixel_is_not 134 660 "$orange"

step "an answer with a comma"
keys 1 comma comma 5
wait_until "the answer shows in the box" text_in 404 97 156 44
keys Return

step "Alt+H goes home once the next problem is posed"
home_once_posed() {
    keys alt+h
    sleep 0.3
    window_gone "Massemaße"
}
wait_until "the game is gone" home_once_posed
wait_until "the start screen is back" window_shown "Zifferix 1"
keys alt+a
wait_until "the program has ended" program_ended
pass
