#!/usr/bin/env bash
# `./web.sh serve --lan` serves the site for a class: it announces its address, its QR code in
# the terminal reads as that address, and the program comes as application/wasm, kept for good
# under its name with its digest, while the page is revalidated; `./web.sh serve` (--local)
# serves the same way at localhost only. With the class service (zifferix-klassen), the one
# process serves the site and the classes: the teacher's page is announced, its code reads as
# its address, the files are sent with the same cache headers, and the service answers.
# Usage: lan.sh <site folder> [<zifferix-klassen>]
set -euo pipefail
site=$1
klassen=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=
local=
trap '[ -n "$server" ] && kill "$server"; [ -n "$local" ] && kill "$local"; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    cat "$work/out" >&2
    exit 1
}

/usr/bin/python3 "$here/../../tools/lan.py" --site "$site" --port 0 --address 127.0.0.1 >"$work/out" 2>&1 &
server=$!
for _ in $(seq 50); do grep -q "Strg+C" "$work/out" && break; sleep 0.1; done
url=$(grep -oE 'http://127\.0\.0\.1:[0-9]+/' "$work/out" | head -n1)
[ -n "$url" ] || fail "no address announced"
grep -qF "${url}links.html" "$work/out" || fail "links.html is not named"

# The terminal's half blocks back into a picture: a drawn half is light, a blank one dark.
read_code() {
/usr/bin/python3 - "$work/out" "$work/code.pbm" <<'PY'
import sys
lines = [l for l in open(sys.argv[1], encoding="utf-8").read().splitlines() if l and set(l) <= set("█▀▄ ")]
halves = {"█": (0, 0), "▀": (0, 1), "▄": (1, 0), " ": (1, 1)}
rows = [r for line in lines for r in zip(*(halves[c] for c in line))]
scale = 8
with open(sys.argv[2], "w") as out:
    out.write(f"P1\n{len(rows[0]) * scale} {len(rows) * scale}\n")
    for row in rows:
        line = " ".join(str(m) for m in row for _ in range(scale))
        out.write((line + "\n") * scale)
PY
zbarimg --quiet --raw "$work/code.pbm" 2>/dev/null || fail "the terminal's code does not read"
}
decoded=$(read_code)
[ "$decoded" = "$url" ] || fail "the code reads $decoded, not $url"

# cache URL PATH: the Cache-Control header of a 200 with the right type, or a failure.
program=$(cd "$site" && ls zifferix.*.wasm)
[[ $program =~ ^zifferix\.[0-9a-f]{8}\.wasm$ ]] || fail "the program is named $program"
cache() {
    local headers
    headers=$(curl -s -o /dev/null -D - "$1$2" | tr -d '\r')
    grep -q "^HTTP/[0-9.]* 200" <<<"$headers" || fail "$2: $headers"
    [[ $2 != *.wasm ]] || grep -qix "Content-Type: application/wasm" <<<"$headers" || fail "the program: $headers"
    sed -n 's/^[Cc]ache-[Cc]ontrol: //p' <<<"$headers"
}
[ "$(cache "$url" "$program")" = "public, max-age=31536000, immutable" ] || fail "the program is not kept for good"
for name in "" index.html sw.js manifest.webmanifest; do
    [ "$(cache "$url" "$name")" = no-cache ] || fail "/$name is not revalidated"
done
grep -q "<title>Zifferix</title>" <<<"$(curl -s "$url")" || fail "the page"

/usr/bin/python3 "$here/../../tools/lan.py" --site "$site" --port 0 --local >"$work/local" 2>&1 &
local=$!
for _ in $(seq 50); do grep -q "Ctrl+C" "$work/local" && break; sleep 0.1; done
at=$(grep -oE 'http://localhost:[0-9]+/' "$work/local" | head -n1)
[ -n "$at" ] || fail "--local names no address: $(cat "$work/local")"
[ "$(cache "$at" "$program")" = "public, max-age=31536000, immutable" ] || fail "--local: the program"
[ "$(cache "$at" "")" = no-cache ] || fail "--local: the page"
kill "$server" "$local"
server=
local=

if [ ! -x "$klassen" ]; then
    echo "PASS: $url, its code read back; $at (the class service is not built: ${klassen:-not given}, its part not run)"
    exit 0
fi
/usr/bin/python3 "$here/../../tools/lan.py" --site "$site" --port 0 --address 127.0.0.1 \
    --service "$klassen" --state "$work/state" >"$work/out" 2>"$work/log" &
server=$!
for _ in $(seq 50); do grep -q "Strg+C" "$work/out" && break; sleep 0.1; done
url=$(grep -oE 'http://127\.0\.0\.1:[0-9]+/' "$work/out" | head -n1)
[ -n "$url" ] || fail "the service's address is not announced"
grep -qF "${url}lehrer.html" "$work/out" || fail "the teacher's page is not named"
decoded=$(read_code)
[ "$decoded" = "${url}lehrer.html" ] || fail "the service's code reads $decoded, not ${url}lehrer.html"
[ "$(cache "$url" "$program")" = "public, max-age=31536000, immutable" ] || fail "the service: the program is not kept for good"
for name in "" index.html sw.js manifest.webmanifest lehrer.html; do
    [ "$(cache "$url" "$name")" = no-cache ] || fail "the service: /$name is not revalidated"
done
grep -q '"ok": *true' <<<"$(curl -s "${url}api/gesund")" || fail "the service does not answer"
echo "PASS: $url, its code read back; $at; the class service at ${url}lehrer.html"
