#!/usr/bin/env bash
# "das Spiel" at leicht, played through in the real window by reading every problem from the
# screen, every game in the order of the program's row, and the row's total on the start screen;
# before each answer the problem has been heard, as Orca would say it.
# The texts are read through the accessibility bus, which needs buses of its own.
source "$(dirname "$0")/lib.sh"
own_bus "$0" "$@"

start_x 1280 1024
# The accessibility bus is up before the program looks for it.
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)'
start_program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
wait_until "the start screen is shown" window_shown "Zifferix 1"

step "choose das Spiel and leicht, start with Alt+L"
click_at 6500 8745 # "das Spiel"
click_at 2700 5940 # "leicht"
keys alt+l
/usr/bin/python3 "$(dirname "$0")/row.py" || fail "the row was not played through"

keys alt+a
wait_until "the program has ended" program_ended
pass
