#!/usr/bin/env bash
# The layers run one way: the runtime knows no screen and no toolkit; the start screen and the
# program know no game; a game knows the program and nothing of the start screen or of another
# game; a view knows no screen; the composition root (app/) puts them together, each front end
# with its own view. The tests stand on the layer they test and those beneath it, and on the
# shared player (tests/support/), which stands on the program and no view. Every include names
# its folder, so a file's includes say which layers it stands on; this check holds each folder
# to its own. An include without a folder is of the folder's own files.
set -euo pipefail
cd "$(dirname "$0")/.."

complain() { sed "s|\$|: $1|"; }
includes() { # the includes of the project's own files in a folder, or in given files
    grep -rnHE '^#include "[^"]*/' "$@" --include='*.cpp' --include='*.h' \
        --exclude-dir=node_modules 2>/dev/null || true
}
only() { grep -E "$1" || true; }
but() { grep -vE "$1" || true; }
check() { # folder, then the folders (or folder/file) its files may include from
    local folder=$1
    shift
    local allowed
    allowed=$(printf '%s|' "$@")
    includes "$folder" | but "#include \"(${allowed%|})" |
        complain "a layer this folder does not stand on"
}

checks() {
    local games
    games=$(cd games && printf '%s ' */)
    check shell/forms forms/
    check shell/start forms/ start/
    check shell/qt forms/ qt/
    check shell/web forms/ web/
    for game in games/*/; do
        game=$(basename "$game")
        check "games/$game" forms/ start/ "$game/"
        includes "games/$game" | only '#include "start/frmstart\.h"' |
            complain "a game knows the program, not the start screen"
    done
    # shellcheck disable=SC2086
    check app forms/ start/ app/ $games qt/ web/
    includes app/main.cpp | only '#include "web/' | complain "the desktop's main knows no page"
    includes app/web_main.cpp | only '#include "qt/' | complain "the page's main knows no Qt"
    includes app/Screens.cpp app/Screens.h app/Options.cpp app/Options.h |
        only '#include "(qt|web)/' | complain "the program's table and options know no view"

    check tests/forms forms/ support/FakeServices.h
    check tests/start forms/ start/ support/
    # shellcheck disable=SC2086
    check tests/games forms/ start/ $games support/
    # shellcheck disable=SC2086
    check tests/support forms/ start/ $games app/ support/
    check tests/app forms/ start/ app/
    check tests/monkey support/
    # shellcheck disable=SC2086
    check tests/qt forms/ start/ $games app/ support/ qt/
    check tests/web forms/
}

# A game is named by the table of games (shell/start/Games.h), by the composition root and in its
# own folder, and nowhere else in the program: no other game's folder, no view, not the runtime
# nor the rest of the program.
named() {
    local ids forms
    ids=$(sed -n 's/^ *{Game::\([A-Za-z]*\), .*/\1/p' shell/start/Games.h)
    forms=$(sed -n 's/^ *{Game::[A-Za-z]*, .*"\(frm[A-Za-z]*\)".*/\1/p' shell/start/Games.h)
    [ -n "$ids" ] && [ "$(wc -w <<<"$ids")" = "$(wc -w <<<"$forms")" ] ||
        { echo "shell/start/Games.h: the table of games does not read as one game a line"; return; }
    local id form pattern
    for folder in shell/forms shell/start shell/qt shell/web games/*/; do
        folder=${folder%/}
        pattern=""
        for id in $ids; do
            form=$(sed -n "s/^ *{Game::$id, .*\"\(frm[A-Za-z]*\)\".*/\1/p" shell/start/Games.h)
            # A game's own folder names the game; it is the folder that includes its form.
            [ -f "$folder/$form.h" ] && continue
            pattern+="${pattern:+|}Game::$id\b|\b$form\b"
        done
        { grep -rnHE "$pattern" "$folder" --include='*.cpp' --include='*.h' || true; } |
            but '^shell/start/Games\.h:' | complain "a game named outside its folder and the table"
    done
}

found=$(checks; named)
[ -z "$found" ] || { echo "$found"; exit 1; }
