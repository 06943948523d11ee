#!/usr/bin/env bash
# Reading aloud on the desktop: with --vorlesen the spider's problems are spoken through
# speech-dispatcher (Qt's speech log says what it says and that the voice speaks), F2 says the
# problem again; and where speech-dispatcher cannot be reached the program says so once and
# plays as ever. Its speech-dispatcher lives in a runtime folder of its own.
source "$(dirname "$0")/lib.sh"
own_bus "$0" "$@"

start_x 1280 1024
runtime=$work/runtime
mkdir -m 700 "$runtime"
# speech-dispatcher as the system has it, with its sound to libao's null driver: a machine
# without a sound card hears nothing, and each text still ends.
mkdir -p "$work/config"
cp -r /etc/speech-dispatcher "$work/config/"
echo 'AudioOutputMethod "libao"' >>"$work/config/speech-dispatcher/speechd.conf"
echo 'default_driver=null' >"$work/.libao"
voice_env=(XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" HOME="$work")
speech_log() { grep -c "$1" "$work/program.log" || true; }
said() { [ "$(speech_log "zifferix.speech: says \"$1")" -ge "${2:-1}" ]; }
problem() { sed -n 's/^zifferix.speech: says "\([0-9]* mal [0-9]*\)"$/\1/p' "$work/program.log" | tail -n1; }

step "the spider, read aloud"
PROGRAM_ARGS="--zoom=1 --vorlesen --spiel=spinne --stufe=leicht"
start_program "${voice_env[@]}" QT_LOGGING_RULES=zifferix.speech.debug=true
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "a German voice is found" grep -q 'German voice: true' "$work/program.log"
wait_until "the start button is read" said "Los und hopp: gegen die Spinne, leicht"
keys Return
wait_until "the first problem is read" grep -q '^zifferix.speech: says "[0-9]* mal [0-9]*"$' "$work/program.log"
wait_until "the voice speaks" grep -q 'zifferix.speech: state 1' "$work/program.log"
first=$(problem)
keys F2
wait_until "F2 reads the problem again" said "$first\"" 2
a=${first% mal *}
b=${first#* mal }
xdotool type --delay 40 "$((a * b))"
keys Return
wait_until "the verdict is read before the next problem" said "Richtig. Noch 15 Aufgaben. "
keys alt+h
wait_until "the start screen is back" window_gone "Multiplikation"
keys alt+a
wait_until "the program has ended" program_ended

step "no speech to be had: said once, and the game plays as ever"
PROGRAM_ARGS="--zoom=1 --vorlesen --spiel=spinne --stufe=leicht"
start_program "${voice_env[@]}" SPEECHD_ADDRESS="unix_socket:$work/nothing-here"
wait_until "the start screen is shown" window_shown "Zifferix 1"
wait_until "the program says there is no voice" grep -q 'Vorlesen geht hier nicht' "$work/program.log"
keys Return
wait_until "the spider is shown" window_shown "Multiplikation"
keys alt+h
wait_until "the start screen is back" window_gone "Multiplikation"
keys alt+a
wait_until "the program has ended" program_ended
[ "$(speech_log 'Vorlesen geht hier nicht')" = 1 ] || fail "said more than once"
echo "PASS"
