#!/usr/bin/env bash
# The start screen in a real window: the two refusals, keyboard-only choosing and starting,
# the game coming back, and the exit button ending the program.
source "$(dirname "$0")/lib.sh"

teal="#008080"

start_x 1280 1024
start_program
step "the start screen appears"
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "the start screen is drawn" pixel_is 20 900 "$teal"

step "Enter with nothing chosen asks for the difficulty"
keys Return
wait_until "the message Fehler appears" window_shown "Fehler"
keys Return
wait_until "the message is gone" window_gone "Fehler"

step "a difficulty but no game asks which game"
click_at 2700 5940 # "leicht"
click_at 12000 9000 # the start button
wait_until "the message Was soll ich machen? appears" window_shown "Was soll ich machen?"
keys Return
wait_until "the message is gone" window_gone "Was soll ich machen?"

step "keyboard only: Tab to the games, arrows to the glass game, Tab to the levels, Alt+L"
# The focus is on the start button. Choosing a game sends it back there.
keys Tab Down     # into the games: the first, then Down chooses the second
keys Tab Down     # back to the chosen second game, Down chooses the third: the glass game
keys Tab Tab Down # past the games to the chosen "leicht"; Down chooses "normal"
keys alt+l
wait_until "the glass game is shown" window_shown "Bruchteile"

step "closing the game's window brings the start screen back"
"$XPROBE" close "$(window_id Bruchteile)"
wait_until "the glass game is gone" window_gone "Bruchteile"
wait_until "the start screen is back" window_shown "Zifferix 1"

step "after a game neither game nor difficulty is chosen"
keys Return
wait_until "the message Fehler appears again" window_shown "Fehler"
keys Return
wait_until "the message is gone" window_gone "Fehler"

step "the exit button ends the program"
click_at 2500 9000
wait_until "the program has ended" program_ended
pass
