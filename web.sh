#!/usr/bin/env bash
# Builds Zifferix for the browser: a static site in build/web/site, with index.html at its
# root, that any static web server can serve, also from a subfolder.
#     ./web.sh          installs what is missing (Debian's emscripten and font tools) and builds
#     ./web.sh serve    builds, then serves the site at http://localhost:8080/, with the
#                       school server's cache headers, and the classes' results beside it
#     ./web.sh serve --lan   builds, then serves it to the tablets of a class on this computer's
#                            network at port 8080, with the address of the teacher's page and a
#                            QR code of it
# Served, the class service (zifferix-klassen, built natively in build/service) serves the site
# and keeps the classes in ${XDG_STATE_HOME:-~/.local/state}/zifferix-klassen.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing web
emcmake cmake --preset web >/dev/null
cmake --build --preset web
echo "The site is in build/web/site"
[ "${1:-}" = serve ] || exit 0

install_missing service
cmake -S . -B build/service -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIFFERIX_VIEW=OFF \
    -DZIFFERIX_TESTS=OFF -DZIFFERIX_SERVICE=ON >/dev/null
cmake --build build/service --target zifferix-klassen
state="${XDG_STATE_HOME:-$HOME/.local/state}/zifferix-klassen"
mkdir -p "$state"
serving=(/usr/bin/python3 tools/lan.py --site build/web/site --port 8080
    --service build/service/service/zifferix-klassen --state "$state")
if [ "${2:-}" = --lan ]; then
    exec "${serving[@]}"
fi
exec "${serving[@]}" --local
