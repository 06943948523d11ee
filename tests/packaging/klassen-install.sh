#!/usr/bin/env bash
# zifferix-klassen really installed, as on a school's Debian server with Apache: the package
# enables Apache's proxy, the unit's own command runs as systemd would run it (a dynamic user, its
# state folder, the conffile as a credential), a class is opened, a result posted and the board
# read through Apache at http://localhost/zifferix/api/; removing keeps the classes, purging
# deletes them and leaves nothing of the package, while Apache goes on serving.
# For a fresh Debian 12 without systemd running (a chroot; it installs apache2, curl and python3,
# and stops the processes it started):
#     flock /tmp/fresh-debian.lock /work/shared/fresh-debian.sh . tests/packaging/klassen-install.sh
# Usage: klassen-install.sh [zifferix-klassen_<version>_amd64.deb], by default the one
# ./package.sh writes, built first when there is none.
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() {
    echo "FAIL: $*" >&2
    [ -s /tmp/klassen.err ] && cat /tmp/klassen.err >&2
    exit 1
}
step() { echo "--- $*"; }
jget() {
    python3 -c 'import json, sys
value = json.load(sys.stdin)
for key in sys.argv[1].split("."):
    value = value[int(key)] if isinstance(value, list) else value[key]
print(json.dumps(value) if not isinstance(value, str) else value)' "$1"
}

[ ! -d /run/systemd/system ] || fail "systemd runs here: this test is for a system without it"
deb=${1:-$(ls zifferix-klassen_*_amd64.deb 2>/dev/null | head -n1 || true)}
if [ -z "$deb" ]; then
    ./package.sh
    deb=$(ls zifferix-klassen_*_amd64.deb | head -n1)
fi
deb=$(realpath "$deb")

apt() {
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q "$@" >/tmp/apt.log 2>&1 ||
        { cat /tmp/apt.log >&2; fail "apt-get $*"; }
}
pidfile=/var/run/apache2/apache2.pid
running() { [ -s $pidfile ] && kill -0 "$(cat $pidfile)" 2>/dev/null; }
started=
running || started=yes
# Without an init system Debian's invoke-rc.d blocks every start and reload unless a local
# policy allows it; allowed here, the packages' own scripts start and reload Apache.
policy=
if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 0\n' >/usr/sbin/policy-rc.d
    chmod 755 /usr/sbin/policy-rc.d
    policy=yes
fi
service_pid=
made_private=
stop() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf /run/credentials/zifferix-klassen.service
    [ -n "$made_private" ] && rmdir /var/lib/private 2>/dev/null
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
apt install --no-install-recommends apache2 curl python3
running || apache2ctl start
for _ in $(seq 50); do curl -s -o /dev/null http://localhost/ && break; sleep 0.2; done

step "installing $(basename "$deb")"
apt install --no-install-recommends "$deb"
sed -n '/^Setting up zifferix-klassen/,$p' /tmp/apt.log
a2query -c zifferix-klassen >/dev/null || fail "the proxy's configuration is not enabled"
a2query -m proxy_http >/dev/null || fail "mod_proxy_http is not enabled"
[ -L /etc/systemd/system/multi-user.target.wants/zifferix-klassen.service ] ||
    fail "the unit is not enabled for the next boot"
[ "$(stat -c '%a %U' /etc/zifferix/klassen.conf)" = "600 root" ] || fail "the conffile's mode"

step "the unit's command, as systemd runs it"
unit=/lib/systemd/system/zifferix-klassen.service
# A port of this machine the service may take: a chroot shares it with the host, where 8181 may
# be in use. The administrator names another in the conffile and in Apache's proxy.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
sed -i "s/^# listen = 127.0.0.1:8181$/listen = 127.0.0.1:$port/" /etc/zifferix/klassen.conf
sed -i "s|http://127.0.0.1:8181/|http://127.0.0.1:$port/|g" /etc/apache2/conf-available/zifferix-klassen.conf
grep -qx "listen = 127.0.0.1:$port" /etc/zifferix/klassen.conf || fail "the conffile names no listen"
apache2ctl graceful
# What systemd makes for a dynamic user: a user id of its range, the state folder in
# /var/lib/private linked from /var/lib, the credential a copy readable by that user alone.
# /var/lib/private is root's alone; systemd opens the way to the service's own folder in the
# service's mount namespace, here by letting it pass while it runs.
uid=61184
[ -d /var/lib/private ] || { made_private=yes; mkdir -m 0700 /var/lib/private; }
chmod 0711 /var/lib/private
install -d -m 0700 -o $uid -g $uid /var/lib/private/zifferix-klassen
ln -s private/zifferix-klassen /var/lib/zifferix-klassen
credentials=/run/credentials/zifferix-klassen.service
install -d -m 0500 -o $uid -g $uid $credentials
install -m 0400 -o $uid -g $uid /etc/zifferix/klassen.conf $credentials/klassen.conf
command=$(sed -n 's/^ExecStart=//p' $unit)
read -ra words <<<"${command//'${CREDENTIALS_DIRECTORY}'/$credentials}"
[ "${words[0]}" = /usr/bin/zifferix-klassen ] || fail "the unit runs ${words[0]}"
setpriv --reuid=$uid --regid=$uid --clear-groups \
    env -i STATE_DIRECTORY=/var/lib/zifferix-klassen "${words[@]}" >/tmp/klassen.out 2>/tmp/klassen.err &
service_pid=$!
for _ in $(seq 100); do
    grep -qx "listening on http://127.0.0.1:$port/" /tmp/klassen.out && break
    kill -0 $service_pid 2>/dev/null || fail "the service ended"
    sleep 0.1
done
grep -qx "listening on http://127.0.0.1:$port/" /tmp/klassen.out || fail "the service does not listen"
echo "$(cat /tmp/klassen.out), as user $uid"

step "a class through Apache at http://localhost/zifferix/api/"
api=http://localhost/zifferix/api
# call METHOD PATH [CURL OPTIONS...]: the status in $status, the body in $body.
call() {
    local method=$1 path=$2
    shift 2
    status=$(curl -s -X "$method" -o /tmp/body -w '%{http_code}' "$@" "$api/$path")
    body=$(cat /tmp/body)
}
json=(-H "Content-Type: application/json" -H "Origin: http://localhost")
call GET gesund
[ "$status" = 200 ] || fail "the health check: $status $body"
[ "$(jget passwort <<<"$body")" = false ] || fail "a password is needed out of the box: $body"
[ "$(jget max_tage <<<"$body")" = 365 ] || fail "the server's maximum is not 365 days: $body"
call POST klassen "${json[@]}" --data '{"name": "4a Mittwoch", "kinder": ["Lea", "Tom"]}'
[ "$status" = 201 ] || fail "opening a class: $status $body"
klasse=$(jget klasse <<<"$body")
geheim=$(jget geheim <<<"$body")
call POST "klassen/$klasse/ergebnisse" "${json[@]}" --data '{"id": "6a2f41a3-c54c-4fbe-9e1b-2a1b8c6f0d3e",
  "kind": "Tom", "spiel": "waage", "stufe": 2, "punkte": 45, "ergebnis": "gewonnen", "reihe": false,
  "sekunden": 80, "aufgaben": [{"aufgabe": "36 = 4 mal ?", "antwort": "9", "richtig": true, "sekunden": 3.5}]}'
[ "$status" = 201 ] || fail "posting a result: $status $body"
call GET "klassen/$klasse/tafel" -H "Authorization: Bearer $geheim"
[ "$status" = 200 ] || fail "the board: $status $body"
tom=$(jget kinder <<<"$body" | python3 -c 'import json, sys
print(json.dumps([c for c in json.load(sys.stdin) if c["name"] == "Tom"][0]["spiele"]["waage"]))')
[ "$(jget beste <<<"$tom")" = 45 ] && [ "$(jget gespielt <<<"$tom")" = 1 ] || fail "Tom's game: $body"
echo "the board of $(jget name <<<"$body") shows Tom's game: $tom"
! grep -rqF "$geheim" /var/log/apache2 /tmp/klassen.err || fail "the teacher's secret is in a log"
[ -s /var/lib/private/zifferix-klassen/klassen.sqlite ] || fail "no database in the state folder"
kill $service_pid
wait $service_pid 2>/dev/null || true
service_pid=
rm -rf $credentials
chmod 0700 /var/lib/private

step "removing keeps the classes"
apt remove zifferix-klassen
! a2query -c zifferix-klassen >/dev/null 2>&1 || fail "the proxy is still enabled"
[ ! -e /usr/bin/zifferix-klassen ] || fail "the program is still there"
[ -s /var/lib/private/zifferix-klassen/klassen.sqlite ] || fail "removing deleted the database"
[ -e /etc/zifferix/klassen.conf ] || fail "removing deleted the conffile"
echo "the program gone; the database and the configuration kept"

step "purging deletes them"
apt purge zifferix-klassen
! dpkg -s zifferix-klassen >/dev/null 2>&1 || fail "dpkg still knows zifferix-klassen"
left=$(find / -xdev \( -path /proc -o -path /src -o -path /tmp \) -prune -o \
    -iname '*zifferix*' -print 2>/dev/null)
[ -z "$left" ] || fail "left behind: $left"
[ ! -e /etc/nginx ] || fail "/etc/nginx is left behind"
echo "nothing named zifferix is left outside the source tree"

step "Apache goes on serving"
running || fail "Apache is not running"
apache2ctl configtest 2>&1 | grep -q "Syntax OK" || fail "Apache's configuration is broken"
status=$(curl -s -o /dev/null -w '%{http_code}' http://localhost/)
[ "$status" = 200 ] || fail "Apache's own page answers $status"
echo "PASS: $(basename "$deb") installed, served through Apache, removed and purged"
