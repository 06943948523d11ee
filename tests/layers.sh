#!/usr/bin/env bash
# The layers run one way: the runtime knows no screen and no toolkit, the start screen no game,
# a game no other game, and a view no screen. Every include names its folder, so a file's
# includes say which layers it stands on; this check holds each folder to its own.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
check() { # folder, then the folders its files may include from
    local folder=$1
    shift
    local allowed
    allowed=$(printf '%s/|' "$@")
    while IFS= read -r line; do
        echo "$line: a layer this folder does not stand on"
        status=1
    done < <(grep -rnE '^#include "' "$folder" --include='*.cpp' --include='*.h' |
        grep -vE "#include \"(${allowed%|})")
}

check shell/forms forms
check shell/start forms start
check shell/view forms view
check shell/web forms web
for game in games/*/; do
    game=$(basename "$game")
    check "games/$game" forms start "$game"
done
exit $status
