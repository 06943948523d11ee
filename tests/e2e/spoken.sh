#!/usr/bin/env bash
# The spider game in the real window as a child who cannot see it hears it, through the
# accessibility bus that Orca reads: radio buttons on the start screen, the problem in the answer
# box, every verdict from a notification. It needs buses of its own.
source "$(dirname "$0")/lib.sh"
own_bus "$0" "$@"

start_x 1280 1024
/usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)'
PROGRAM_ARGS="--zoom=1 --spiel=spinne --stufe=leicht"
start_program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
wait_until "the start screen is shown" window_shown "Zifferix 1"
/usr/bin/python3 "$(dirname "$0")/spoken.py" || fail "the spider game was not heard through"
keys alt+a
wait_until "the program has ended" program_ended
pass
