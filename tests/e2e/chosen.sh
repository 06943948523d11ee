#!/usr/bin/env bash
# A game and a level chosen on the command line: the start screen comes with them chosen and
# one Enter starts the game; an unknown name is refused with one line and status 2.
PROGRAM_ARGS="--zoom=1 --spiel waage --stufe=normal"
source "$(dirname "$0")/lib.sh"

step "an unknown game or level is refused without a window, naming the choices"
for bad in --spiel=schach --stufe=mittel; do
    status=0
    "$ZIFFERIX" "$bad" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "$bad ended with status $status"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$bad did not say one line"
    grep -qE 'uhr, berg|leicht, normal, schwer' "$work/err" || fail "$bad: $(cat "$work/err")"
done
"$ZIFFERIX" --help | grep -q -- '--spiel=SPIEL' || fail "--help"

start_x 1280 1024
start_program
wait_until "the start screen is shown" window_shown "Zifferix 1"
sleep 1
window_shown "Ausgleich" && fail "the balance started by itself"

step "Enter starts the balance at normal"
keys Return
wait_until "the balance is shown" window_shown "Ausgleich"
pass
