#!/usr/bin/env bash
# Builds Zifferix for the browser: a static site in build/web/site, with index.html at its
# root, that any static web server can serve, also from a subfolder.
#     ./web.sh          installs what is missing (Debian's emscripten and font tools) and builds
#     ./web.sh serve    builds, then serves the site at http://localhost:8080/, with the
#                       school server's cache headers
#     ./web.sh serve --lan   builds, then serves it to the tablets of a class on this computer's
#                            network at port 8080, with its address and a QR code of it
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_missing web
emcmake cmake --preset web >/dev/null
cmake --build --preset web
echo "The site is in build/web/site"
if [ "${1:-}" = serve ] && [ "${2:-}" = --lan ]; then
    exec /usr/bin/python3 tools/lan.py --site build/web/site --port 8080
fi
if [ "${1:-}" = serve ]; then
    exec /usr/bin/python3 tools/lan.py --site build/web/site --port 8080 --local
fi
