#!/usr/bin/env bash
# The class service under a district's peak, on SQLite and on a private PostgreSQL 15: wrk posts
# distinct valid results across 500 classes at RATE a second (default 2000) for SECONDS (default
# 60) while a second wrk reads a board of 30 children; the service's memory is sampled every
# second; afterwards every acknowledged result is counted in the boards, and a class of 30
# posts at the bell. Prints a short table. Usage: bench/service/run.sh [SECONDS] [RATE]
#   ZIFFERIX_BENCH_BUILD  where the service is built (default build/bench-service)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
rate="${2:-2000}"
build="${ZIFFERIX_BENCH_BUILD:-$repo/build/bench-service}"
binary="$build/service/zifferix-klassen"
# The results' connections, and the board's: 200 teachers' tablets asking once a second.
# Together they stay under the service's 32 workers, each of which serves one connection at a
# time, as many as a school's proxy keeps open to it.
connections=24
board_connections=4
board_rate=200

phase() { # NAME DATABASE-URL: one run against one database; its figures go to $out/NAME.*
    local name="$1" database="$2" folder
    folder="$out/$name"
    mkdir -p "$folder/state"
    # Ten times the usual limits: the classes and the board are prepared in a few seconds, and
    # each class still comes from its own school's address.
    "$binary" --listen=127.0.0.1:0 --state="$folder/state" --config=/dev/null \
        --rate-limit=10 ${database:+--database="$database"} \
        >"$folder/stdout" 2>"$folder/stderr" &
    local pid=$! url="" _
    for _ in $(seq 100); do
        url=$(grep -so 'http://[0-9.:]*' "$folder/stdout" || true)
        [ -n "$url" ] && break
        sleep 0.1
    done
    [ -n "$url" ] || { cat "$folder/stderr" >&2; kill "$pid"; return 1; }

    local before
    before=$(/usr/bin/python3 "$here/classes.py" prepare "$url" "$folder")
    # The service's resident memory, once a second.
    (while grep -s VmRSS "/proc/$pid/status"; do sleep 1; done | awk '{ print $2 }' \
        >"$folder/rss") &
    local sampler=$!
    ZIFFERIX_MODE=board ZIFFERIX_BOARD="$folder/board.txt" ZIFFERIX_RATE=$board_rate \
        ZIFFERIX_CONNECTIONS=$board_connections \
        wrk -t1 -c$board_connections -d"${seconds}s" --timeout 5s -s "$here/load.lua" "$url" \
        >"$folder/board.wrk" 2>&1 &
    local reader=$!
    ZIFFERIX_MODE=results ZIFFERIX_CLASSES="$folder/classes.txt" ZIFFERIX_RATE="$rate" \
        ZIFFERIX_CONNECTIONS=$connections ZIFFERIX_RUN=$RANDOM$RANDOM \
        wrk -t2 -c$connections -d"${seconds}s" --timeout 5s -s "$here/load.lua" "$url" \
        >"$folder/results.wrk" 2>&1
    wait "$reader"
    local after
    after=$(/usr/bin/python3 "$here/classes.py" count "$url" "$folder")
    echo $((after - before)) >"$folder/stored"
    /usr/bin/python3 "$here/classes.py" bell "$url" >"$folder/bell"
    kill "$sampler" 2>/dev/null || true
    kill "$pid"
    wait "$pid" || true
}

# One figure of a wrk line: field NAME of the "zifferix ..." line in FILE.
figure() {
    grep -o "^zifferix .*" "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"
}

report() {
    local name="$1" folder="$out/$1"
    [ -f "$folder/bell" ] || { printf '%-11s did not finish, see %s\n' "$name" "$folder"; return; }
    local acknowledged rss bell_sent bell_stored bell_answered bell_current
    acknowledged=$(figure "$folder/results.wrk" s201)
    rss=$(awk 'NR == 1 { first = $1 } { last = $1; if ($1 > max) max = $1 }
               END { printf "%d/%d/%d", first / 1024, last / 1024, max / 1024 }' "$folder/rss")
    read -r bell_sent bell_stored bell_answered bell_current <"$folder/bell"
    printf '%-11s %7s %6s %6s %6s | %6s %6s %6s | %7s %7s %5s %4s | %-11s | %s\n' \
        "$name" "$(figure "$folder/results.wrk" rate)" "$(figure "$folder/results.wrk" p50)" \
        "$(figure "$folder/results.wrk" p99)" "$(figure "$folder/results.wrk" max)" \
        "$(figure "$folder/board.wrk" rate)" "$(figure "$folder/board.wrk" p50)" \
        "$(figure "$folder/board.wrk" p99)" "${acknowledged:-0}" "$(cat "$folder/stored")" \
        "$(figure "$folder/results.wrk" s429 | grep . || echo 0)" \
        "$(figure "$folder/results.wrk" errors)" "$rss" \
        "$bell_stored/30 stored ($bell_sent 201) in ${bell_answered}s, board ${bell_current}s"
}

if [ "${1:-}" = --phase ]; then
    out="$4" binary="$5" seconds="$6" rate="$7"
    phase "$2" "$3"
    exit
fi

command -v wrk >/dev/null || { echo "run.sh needs wrk (apt-get install wrk)" >&2; exit 1; }
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIFFERIX_VIEW=OFF \
    -DZIFFERIX_TESTS=OFF >/dev/null
cmake --build "$build" --target zifferix-klassen -j2 >/dev/null
out=$(mktemp -d /tmp/zifferix-bench.XXXXXX)
echo "Results at $rate/s for ${seconds}s across 500 classes, a board of 30 read meanwhile ($out)"
phase sqlite ""
# The same service on PostgreSQL, inside a private server (tests/service/with_postgres.sh runs
# it as an unprivileged user and gives its URL); this script runs once more in there.
# shellcheck disable=SC2016 # the inner shell expands them
"$repo/tests/service/with_postgres.sh" bash -c \
    '"$0" --phase postgresql "$ZIFFERIX_TEST_POSTGRES" "$1" "$2" "$3" "$4"' \
    "$here/run.sh" "$out" "$binary" "$seconds" "$rate"

printf '\n%-11s %7s %6s %6s %6s | %6s %6s %6s | %7s %7s %5s %4s | %-11s | %s\n' database \
    results/s p50 p99 max board/s p50 p99 201 stored 429 errs "RSS MB" "a class of 30 at the bell"
printf '%-11s %7s %6s %6s %6s | %6s %6s %6s | %7s %7s %5s %4s | %-11s |\n' "" "" ms ms ms "" ms \
    ms "" "" "" "" first/last/max
for name in sqlite postgresql; do
    report "$name"
done
# The figures and logs stay; the databases go.
rm -rf "$out"/*/state
