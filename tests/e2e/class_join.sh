#!/usr/bin/env bash
# The desktop in a class: a real class service on a free port, a class opened as a teacher's
# page opens it, and the program started with the class's link. The child types a name, leaves
# a game after one answer, and the teacher's board shows it; with the service killed, the next
# result waits in the state folder and arrives once the service is back; a deleted class is
# said, and the program plays without it. Without a link the program writes nothing; a bad
# link is refused with one line and status 2.
source "$(dirname "$0")/lib.sh"

: "${ZIFFERIX_KLASSEN:?path of the zifferix-klassen service}"

service_pid=""
stop_service() {
    [ -z "$service_pid" ] || kill -KILL "$service_pid" 2>/dev/null || true
    [ -z "$service_pid" ] || wait "$service_pid" 2>/dev/null || true
    service_pid=""
}
trap 'stop_service; cleanup' EXIT

# start_service HOST:PORT: the service on its own state folder; sets $base once it listens.
start_service() {
    : >"$work/service.out"
    "$ZIFFERIX_KLASSEN" --listen="$1" --state="$work/service" --config=/dev/null \
        >"$work/service.out" 2>>"$work/service.log" &
    service_pid=$!
    wait_until "the service listens" grep -q '^listening on http://' "$work/service.out"
    base=$(sed -n 's|^listening on \(http://[^ ]*/\)$|\1|p' "$work/service.out" | head -n1)
}

json() { python3 -c "import json,sys; d=json.load(sys.stdin); print($1)"; }
board() { curl -sf -H "Authorization: Bearer $secret" "${base}api/klassen/$class/tafel"; }
# played GAME N: the board has Lea with N games of GAME.
played() {
    [ "$(board | json "[k['spiele'].get('$1',{}).get('gespielt',0) for k in d['kinder'] if k['name']=='Lea']")" = "[$2]" ]
}
waiting() { find "$state/zifferix/warten" -name '*.json' 2>/dev/null | wc -l; }
none_waiting() { [ "$(waiting)" -eq 0 ]; }
one_waiting() { [ "$(waiting)" -eq 1 ]; }

# The balloon ride from the start screen, one wrong answer, and home once the next is posed.
leave_a_balloon_ride() {
    click_at 6500 7560  # "Ballonfahrt"
    click_at 2700 7065  # "voll schwer"
    click_at 12000 9000 # "Los und hopp"
    wait_until "the balloon ride is shown" window_shown "Massemaße"
    # The first problem comes when the balloon has its first size.
    wait_until "the balloon has its first size" pixel_is 133 505 "#00c000"
    wait_until "the weight is drawn" pixel_is_not 134 660 "#ff8000"
    # A key before the problem is posed goes nowhere: one more until the box shows them.
    answer_once_posed() {
        keys 9
        sleep 0.3
        text_in 404 97 156 44
    }
    wait_until "an answer shows in the box" answer_once_posed
    keys Return
    home_once_posed() {
        keys alt+h
        sleep 0.3
        window_gone "Massemaße"
    }
    wait_until "the game is gone" home_once_posed
    wait_until "the start screen is back" window_shown "Zifferix 1"
}

step "a bad link is refused in one line with status 2"
for bad in "ftp://schule.example/#klasse=abcdefgh2345" "http://schule.example/#klasse=kurz"; do
    status=0
    "$ZIFFERIX" --klasse="$bad" >"$work/out" 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "$bad ended with status $status"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$bad did not say one line"
    grep -q -- '--klasse' "$work/err" || fail "$bad: $(cat "$work/err")"
done

step "a teacher opens a class"
start_service 127.0.0.1:0
port=${base##*:}
port=${port%/}
curl -sf -X POST -H 'Content-Type: application/json' \
    -d '{"name":"3b Dienstag","kinder":["Mia","Ben"],"tage":1}' \
    "${base}api/klassen" >"$work/opened" || fail "the class did not open"
class=$(json "d['klasse']" <"$work/opened")
secret=$(json "d['geheim']" <"$work/opened")

start_x 1280 1024

step "without a link the program keeps nothing, also after a game"
state=$work/without
start_program XDG_STATE_HOME="$state" HOME="$work/home"
wait_until "the start screen is shown" window_shown "Zifferix 1"
leave_a_balloon_ride
keys alt+a
wait_until "the program has ended" program_ended
for folder in "$state" "$work/home/.local/state"; do
    [ ! -e "$folder" ] || fail "the program wrote $(find "$folder")"
done
pass >/dev/null

step "with the class's link the child is asked its name and types it"
state=$work/state
PROGRAM_ARGS="--zoom=1 --klasse=${base}index.html#klasse=$class"
start_program XDG_STATE_HOME="$state"
wait_until "the name screen is shown" window_shown "Wie heißt du?"
board | json "[k['name'] for k in d['kinder']]" | grep -q "'Mia', 'Ben'" || fail "the board's children"
xdotool mousemove 600 630 click 1 # into "Oder schreib deinen Namen:"
xdotool type --delay 60 "Lea"
keys Return
wait_until "the start screen is shown" window_shown "Zifferix 1"
[ "$(cat "$state/zifferix/klassen/$class.name")" = "Lea" ] || fail "the name was not remembered"

step "a game left after one answer reaches the board"
leave_a_balloon_ride
wait_until "the board shows the game" played ballon 1
wait_until "nothing waits" none_waiting
game=$(curl -sf -H "Authorization: Bearer $secret" "${base}api/klassen/$class/kinder/Lea" |
    json "[(g['spiel'], g['ergebnis'], [a['richtig'] for a in g['aufgaben']]) for g in d['spiele']]")
[ "$game" = "[('ballon', 'verlassen', [False])]" ] || fail "the child's page shows $game"

step "with the service killed, the next result waits and arrives when it is back"
stop_service
leave_a_balloon_ride
wait_until "the result waits in the state folder" one_waiting
start_service "127.0.0.1:$port"
wait_until "the board shows the second game" played ballon 2
wait_until "nothing waits" none_waiting

step "the next run remembers the name and asks for none"
keys alt+a
wait_until "the program has ended" program_ended
start_program XDG_STATE_HOME="$state"
wait_until "the start screen is shown" window_shown "Zifferix 1"
window_shown "Wie heißt du?" && fail "the name was asked again"
keys alt+a
wait_until "the program has ended" program_ended
played ballon 2 || fail "a result arrived twice"

step "a class the teacher deleted is said, and the program plays without it"
curl -sf -X DELETE -H "Authorization: Bearer $secret" "${base}api/klassen/$class" ||
    fail "the class was not deleted"
start_program XDG_STATE_HOME="$state"
wait_until "the message is shown" window_shown "Zifferix"
keys Return
wait_until "the start screen is shown" window_shown "Zifferix 1"
window_shown "Wie heißt du?" && fail "the name was asked in a deleted class"
keys alt+a
wait_until "the program has ended" program_ended
pass
