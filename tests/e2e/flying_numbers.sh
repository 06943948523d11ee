#!/usr/bin/env bash
# Flying numbers opened from the start screen: Enter starts, the numbers fly, the answer can
# be typed at once, and Alt+H goes home.
source "$(dirname "$0")/lib.sh"

pink="#ff80ff"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
click_at 6500 8220 # "fliegende Zahlen"
click_at 2700 6470 # "normal"
click_at 12000 9000 # "Los und hopp"
wait_until "the flying numbers are shown" window_shown "Addition / Subtraktion"
wait_until "the start button is drawn" pixel_is_not 5200 5160 "$pink"

step "Enter starts: the start button goes and the answer box comes"
keys Return
wait_until "the start button is gone" pixel_is 347 344 "$pink"
wait_until "the answer box is shown" pixel_is 850 340 "#ffffff"

step "the numbers move"
before=$("$XPROBE" shot "$work/a.png" && md5sum <"$work/a.png")
moved() { "$XPROBE" shot "$work/b.png" && [ "$(md5sum <"$work/b.png")" != "$before" ]; }
wait_until "the screen changes by itself" moved

step "the answer can be typed at once"
keys 9 9
wait_until "the digits show in the box" text_in 810 320 96 36

step "Alt+H goes home"
keys alt+h
wait_until "the game is gone" window_gone "Addition / Subtraktion"
wait_until "the start screen is back" window_shown "Zifferix 1"
keys alt+a
wait_until "the program has ended" program_ended
pass
