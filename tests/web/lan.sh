#!/usr/bin/env bash
# `./web.sh serve --lan` serves the site for a class: it announces its address, its QR code in
# the terminal reads as that address, and the program comes as application/wasm, revalidated.
# Usage: lan.sh <site folder>
set -euo pipefail
site=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
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
decoded=$(zbarimg --quiet --raw "$work/code.pbm" 2>/dev/null) || fail "the terminal's code does not read"
[ "$decoded" = "$url" ] || fail "the code reads $decoded, not $url"

headers=$(curl -s -o /dev/null -D - "${url}zifferix.wasm" | tr -d '\r')
grep -qix "Content-Type: application/wasm" <<<"$headers" || fail "the program: $headers"
grep -qix "Cache-Control: no-cache" <<<"$headers" || fail "no no-cache: $headers"
grep -q "<title>Zifferix</title>" <<<"$(curl -s "$url")" || fail "the page"
echo "PASS: $url, its code read back"
