#!/usr/bin/env bash
# The glass game opened from the start screen: it fills by itself, poses a problem, takes
# keys, and its window's close box brings the start screen back.
source "$(dirname "$0")/lib.sh"

cyan="#c0ffff"
water="#c0c0ff"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
click_at 6500 5685 # "ein Glas füllen"
click_at 2700 5940 # "leicht"
click_at 12000 9000 # "Los und hopp"
wait_until "the glass game is shown" window_shown "Bruchteile"

step "the glass fills by itself"
wait_until "water stands at the floor" pixel_is 567 655 "$water"
wait_until "the water passes a third of the glass" pixel_is 567 535 "$water"

step "the first problem appears with its answer box"
wait_until "the answer box is shown" pixel_is 360 105 "#ffffff"
wait_until "the fraction bar is drawn" pixel_is 60 103 "#000000"
keys 0 Return BackSpace 1 2
wait_until "the typed answer shows in the box" text_in 322 92 76 28

step "the close box leaves the game"
"$XPROBE" close "$(window_id Bruchteile)"
wait_until "the glass game is gone" window_gone "Bruchteile"
wait_until "the start screen is back" window_shown "Zifferix 1"
click_at 2500 9000
wait_until "the program has ended" program_ended
pass
