#!/usr/bin/env bash
# zifferix-web really installed, as on a school's Debian server: with Apache, the page, the
# program and a font are fetched with their types and cache headers from
# http://localhost/zifferix/, and a game is played to its end in Chromium against it; then the
# package is removed and purged, and nothing of it is left while Apache goes on serving.
# For a fresh Debian 12 (it installs apache2 and curl, and stops an Apache it started itself):
#     flock /tmp/fresh-debian.lock /work/shared/fresh-debian.sh . tests/packaging/web-install.sh
# Usage: web-install.sh [zifferix-web_<version>_all.deb], by default the one ./package.sh
# writes, built first when there is none.
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "--- $*"; }

deb=${1:-$(ls zifferix-web_*_all.deb 2>/dev/null | head -n1 || true)}
if [ -z "$deb" ]; then
    ./package.sh
    deb=$(ls zifferix-web_*_all.deb | head -n1)
fi
deb=$(realpath "$deb")

apt() {
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q "$@" >/tmp/apt.log 2>&1 ||
        { cat /tmp/apt.log >&2; fail "apt-get $*"; }
}
# Apache's own process, by its pid file: other Apaches may run beside a chroot.
pidfile=/var/run/apache2/apache2.pid
running() { [ -s $pidfile ] && kill -0 "$(cat $pidfile)" 2>/dev/null; }
started=
running || started=yes
# Without an init system (a chroot) Debian's invoke-rc.d blocks every start and reload unless a
# local policy allows it; allowed here, Apache is started and reloaded by the packages' own
# scripts, as on a server.
policy=
if [ ! -d /run/systemd/system ] && [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 0\n' >/usr/sbin/policy-rc.d
    chmod 755 /usr/sbin/policy-rc.d
    policy=yes
fi
# An Apache this script started is gone when it ends, every process of it.
stop() {
    [ -n "$policy" ] && rm -f /usr/sbin/policy-rc.d
    [ -n "$started" ] && running || return 0
    local pid
    pid=$(cat $pidfile)
    apache2ctl stop
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
}
trap stop EXIT

step "Apache"
apt update
apt install --no-install-recommends apache2 curl
running || apache2ctl start
for _ in $(seq 50); do curl -s -o /dev/null http://localhost/ && break; sleep 0.2; done

step "installing $(basename "$deb")"
apt install --no-install-recommends "$deb"
sed -n '/^Setting up zifferix-web/,$p' /tmp/apt.log
a2query -c zifferix >/dev/null || fail "the configuration is not enabled"
a2query -m headers >/dev/null || fail "mod_headers is not enabled"

# serves PATH TYPE CACHE: the address answers 200 with this type and this Cache-Control.
serves() {
    local headers
    headers=$(curl -s -o /dev/null -D - "http://localhost/zifferix/$1" | tr -d '\r')
    grep -q "^HTTP/[0-9.]* 200" <<<"$headers" || fail "$1: $(head -n1 <<<"$headers")"
    grep -qix "Content-Type: $2" <<<"$headers" || fail "$1 is not $2: $headers"
    grep -qix "Cache-Control: $3" <<<"$headers" || fail "$1 has no $3: $headers"
    echo "http://localhost/zifferix/$1: 200, $2, $3"
}
# named PLAIN NAME: the installed file's name, with the digest of its content.
named() {
    local found
    found=$(cd /usr/share/zifferix/web && ls -d ${1%.*}.????????.${1##*.} 2>/dev/null) ||
        fail "no $1 named after its content"
    echo "$found"
}
forever="public, max-age=31536000, immutable"
for _ in $(seq 50); do curl -sf -o /dev/null http://localhost/zifferix/ && break; sleep 0.2; done
serves "" "text/html; charset=utf-8" no-cache
serves "$(named zifferix.wasm)" "application/wasm" "$forever"
serves "$(named zifferix.js)" "text/javascript; charset=utf-8" "$forever"
serves "$(named fonts/LiberationSans-Regular.woff2)" "font/woff2" "$forever"
serves links.html "text/html; charset=utf-8" no-cache
grep -q "<title>Zifferix</title>" <<<"$(curl -s http://localhost/zifferix/)" || fail "the page is not Zifferix"

step "a game played in Chromium against the installed site"
source tools/deps.sh
apt install --no-install-recommends chromium "$(command -v npm >/dev/null && echo chromium || echo npm)"
install_browser_test_modules >/dev/null
ZIFFERIX_URL=http://localhost/zifferix/ node --test tests/web/server.test.mjs >/tmp/game.log 2>&1 ||
    { cat /tmp/game.log >&2; fail "the game in Chromium"; }
echo "the spider game won from http://localhost/zifferix/, the build kept for offline play"

gone() { # gone PATH: the address answers 404
    local status
    status=$(curl -s -o /dev/null -w '%{http_code}' "http://localhost/zifferix/$1")
    [ "$status" = 404 ] || fail "/zifferix/$1 still answers $status"
}
step "removing"
apt remove zifferix-web
for _ in $(seq 50); do [ "$(curl -s -o /dev/null -w '%{http_code}' http://localhost/zifferix/)" = 404 ] && break; sleep 0.2; done
gone ""
! a2query -c zifferix >/dev/null 2>&1 || fail "the configuration is still enabled"
[ ! -e /usr/share/zifferix ] || fail "the site is still there"
echo "/zifferix/: 404, the configuration disabled, the site gone"

step "purging"
apt purge zifferix-web
! dpkg -s zifferix-web >/dev/null 2>&1 || fail "dpkg still knows zifferix-web"
left=$(find / -xdev \( -path /proc -o -path /src -o -path /tmp \) -prune -o \
    -iname '*zifferix*' -print 2>/dev/null)
[ -z "$left" ] || fail "left behind: $left"
[ ! -e /etc/nginx ] || fail "/etc/nginx is left behind"
echo "nothing named zifferix is left outside the source tree; conf: $(a2query -c zifferix 2>&1 || true)"

step "Apache goes on serving"
running || fail "Apache is not running"
apache2ctl configtest 2>&1 | grep -q "Syntax OK" || fail "Apache's configuration is broken"
status=$(curl -s -o /dev/null -w '%{http_code}' http://localhost/)
[ "$status" = 200 ] || fail "Apache's own page answers $status"
echo "http://localhost/: 200; mod_headers stays enabled, for other sites may use it"
echo "PASS: $(basename "$deb") installed, served, removed and purged"
