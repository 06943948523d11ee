#!/usr/bin/env bash
# Packs the class service as zifferix-klassen_<version>_amd64.deb and checks it: its files,
# modes and control data, lintian finding no error and no warning, the unit's hardening as
# systemd-analyze rates it, and the unit's own command, run as systemd would run it (its state
# folder and its configuration as a credential), behind a private Apache with the package's
# proxy: a class opened, a result posted and the board read at /zifferix/api/, another site
# refused, a restarted service answered at once, and no secret in any log.
# Usage: klassen-deb.sh <native build directory>
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "$work/service.err" "$work/apache/error.log"; do
        [ -s "$log" ] && { echo "$log:" >&2; cat "$log" >&2; }
    done
    exit 1
}
step() { echo "--- $*"; }
# jget PATH: the value at PATH (names and indices joined by '.') of the JSON on stdin.
jget() {
    python3 -c 'import json, sys
value = json.load(sys.stdin)
for key in sys.argv[1].split("."):
    value = value[int(key)] if isinstance(value, list) else value[key]
print(json.dumps(value) if not isinstance(value, str) else value)' "$1"
}

step "the package and its files"
cpack --config "$build/CPackKlassen.cmake" -B "$work/pack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/pack/zifferix-klassen_*_amd64.deb 2>/dev/null) ||
    fail "no zifferix-klassen_<version>_amd64.deb"
[[ $(basename "$deb") =~ ^zifferix-klassen_[0-9]+\.[0-9]+\.[0-9]+_amd64\.deb$ ]] || fail "named $deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zifferix-klassen ] || fail "the package's name"
[ "$(field Architecture)" = amd64 ] || fail "the architecture"
[ "$(field Source)" = zifferix ] || fail "the source package"
for needed in libqt6sql6-sqlite libqt6sql6 libqt6core6; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$(field Depends)" || fail "Depends lacks $needed: $(field Depends)"
done
grep -q "apache2 | nginx" <<<"$(field Recommends)" || fail "Recommends: $(field Recommends)"
grep -q "libqt6sql6-psql" <<<"$(field Suggests)" || fail "Suggests: $(field Suggests)"

# Every file the package has, with its mode: nothing more, nothing less.
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { print $1, $2, $6 }' | sort -k3 >"$work/files"
sort -k3 >"$work/expected" <<'EOF'
-rw-r--r-- root/root ./etc/apache2/conf-available/zifferix-klassen.conf
-rw-r--r-- root/root ./etc/nginx/snippets/zifferix-klassen.conf
-rw------- root/root ./etc/zifferix/klassen.conf
-rw-r--r-- root/root ./lib/systemd/system/zifferix-klassen.service
-rwxr-xr-x root/root ./usr/bin/zifferix-klassen
-rw-r--r-- root/root ./usr/share/doc/zifferix-klassen/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/zifferix-klassen/copyright
-rw-r--r-- root/root ./usr/share/lintian/overrides/zifferix-klassen
-rw-r--r-- root/root ./usr/share/man/man1/zifferix-klassen.1.gz
EOF
diff "$work/expected" "$work/files" >&2 || fail "the package's files differ from the list"
! dpkg-deb -c "$deb" | awk '$6 ~ /\/$/ { print $1 }' | grep -vx drwxr-xr-x >&2 ||
    fail "a directory is not 0755"

dpkg-deb -e "$deb" "$work/control"
for conffile in /etc/zifferix/klassen.conf /etc/apache2/conf-available/zifferix-klassen.conf \
    /etc/nginx/snippets/zifferix-klassen.conf; do
    grep -qx "$conffile" "$work/control/conffiles" || fail "$conffile is no conffile"
done
# script PATTERN...: each pattern is in the maintainer script named first.
script() {
    local name=$1 pattern
    shift
    for pattern in "$@"; do
        grep -qF -- "$pattern" "$work/control/$name" || fail "$name lacks: $pattern"
    done
}
script postinst "deb-systemd-helper enable" "deb-systemd-invoke \$action" \
    "apache2_invoke enmod proxy_http" "apache2_invoke enconf zifferix-klassen"
script prerm "deb-systemd-invoke stop" "apache2_invoke disconf zifferix-klassen"
script postrm "deb-systemd-helper purge" "rm -rf /var/lib/zifferix-klassen /var/lib/private/zifferix-klassen" \
    "apache2_invoke disconf zifferix-klassen"
for name in postinst prerm postrm; do
    sh -n "$work/control/$name" || fail "$name is no shell script"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
version=$(field Version)
[[ $(zcat "$root/usr/share/doc/zifferix-klassen/changelog.gz") == "zifferix ($version) "* ]] ||
    fail "the changelog is not of version $version"
grep -qx "License: GPL-3+" "$root/usr/share/doc/zifferix-klassen/copyright" || fail "the copyright file"
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l -Tutf8 -Z \
    "$root/usr/share/man/man1/zifferix-klassen.1.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the manual page: $man_warnings"

step "lintian"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &&
    ! grep -qE '^[EW]: ' "$work/lintian.log" || { cat "$work/lintian.log" >&2; fail "lintian"; }

step "the unit and its hardening"
unit=$root/lib/systemd/system/zifferix-klassen.service
# The settings the hardening rests on, each a line of the unit as it is.
for line in "DynamicUser=yes" "StateDirectory=zifferix-klassen" \
    "LoadCredential=klassen.conf:/etc/zifferix/klassen.conf" "ProtectSystem=strict" \
    "ProtectHome=yes" "PrivateTmp=yes" "PrivateDevices=yes" "NoNewPrivileges=yes" \
    "RestrictAddressFamilies=AF_INET AF_INET6 AF_UNIX" "SystemCallFilter=@system-service" \
    "CapabilityBoundingSet=" "MemoryDenyWriteExecute=yes" "WantedBy=multi-user.target"; do
    grep -qx -- "$line" "$unit" || fail "the unit lacks $line"
done
mkdir -p "$work/verify"
sed "s|=/usr/bin/|=$root/usr/bin/|" "$unit" >"$work/verify/zifferix-klassen.service"
systemd-analyze verify --man=no "$work/verify/zifferix-klassen.service" ||
    fail "systemd-analyze verify"
# Its rating now is 1.2 ("OK"): a setting lost would raise it over 2.0.
rating=$(systemd-analyze security --offline=yes --threshold=20 "$unit" 2>&1) ||
    fail "systemd-analyze security rates it over 2.0: $(tail -n1 <<<"$rating")"
grep -qE "Overall exposure level for zifferix-klassen.service: [0-9.]+ (OK|SAFE|PERFECT)" <<<"$rating" ||
    fail "the rating: $(tail -n1 <<<"$rating")"
echo "${rating##*$'\n'}"

step "the unit's command, as systemd runs it"
# The configuration the administrator wrote: the package's, its keys set; systemd hands a
# copy readable by the service's user alone in $CREDENTIALS_DIRECTORY.
mkdir -p "$work/credentials" "$work/state"
sed -e 's/^# max_days = 365$/max_days = 30/' -e 's/^# password =$/password = Tafelkreide/' \
    -e 's/^# listen = 127.0.0.1:8181$/listen = 127.0.0.1:0/' \
    "$root/etc/zifferix/klassen.conf" >"$work/credentials/klassen.conf"
[ "$(grep -cvE '^(#|$)' "$work/credentials/klassen.conf")" = 3 ] ||
    fail "the conffile does not name max_days, password and listen as expected"
chmod 700 "$work/state"
chmod 400 "$work/credentials/klassen.conf"
as_service=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$work/state" "$work/credentials"
    chmod a+x "$work"
    as_service=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
command=$(sed -n 's/^ExecStart=//p' "$unit")
command=${command//'${CREDENTIALS_DIRECTORY}'/$work/credentials}
read -ra words <<<"${command/#\/usr\/bin\//$root/usr/bin/}"
# launch NAME [ARGUMENTS...]: the unit's command with them, its output in $work/NAME.out, its
# pid in $launched and its address in $address.
launch() {
    local out=$work/$1.out
    shift
    : >"$out"
    "${as_service[@]}" env -i STATE_DIRECTORY="$work/state" "${words[@]}" "$@" \
        >"$out" 2>>"$work/service.err" &
    launched=$!
    pids+=("$launched")
    for _ in $(seq 100); do
        address=$(sed -n 's,^listening on \(http://[^ ]*/\)$,\1,p' "$out")
        [ -n "$address" ] && return 0
        kill -0 "$launched" 2>/dev/null || fail "the service ended"
        sleep 0.1
    done
    fail "the service does not say where it listens"
}
# start_service [ARGUMENTS...]: the service behind Apache, its pid in $service_pid.
start_service() {
    launch service "$@"
    service_pid=$launched
    service=$address
}
start_service
echo "the service listens on $service"
[ -f "$work/state/klassen.sqlite" ] || fail "no database in the state folder: $(ls "$work/state")"

step "a private Apache proxies /zifferix/api/ to it"
mkdir -p "$work/apache" "$work/site"
port=${service##*:}
port=${port%/}
sed "s|http://127.0.0.1:8181/|http://127.0.0.1:$port/|g" \
    "$root/etc/apache2/conf-available/zifferix-klassen.conf" >"$work/apache/zifferix-klassen.conf"
grep -q "127.0.0.1:$port" "$work/apache/zifferix-klassen.conf" || fail "the proxy names no 127.0.0.1:8181"
# The site's own configuration, from the source tree, for the teacher page's headers.
sed "s|/usr/share/zifferix/web|$work/site|g" "$here/../../packaging/web/apache.conf" \
    >"$work/apache/zifferix.conf"
printf '<!doctype html>\n<title>Lehrer</title>\n' >"$work/site/lehrer.html"
modules=/usr/lib/apache2/modules
cat >"$work/apache/apache2.conf.in" <<EOF
ServerRoot $work/apache
ServerName localhost
Listen 127.0.0.1:PORT
PidFile $work/apache/apache2.pid
DefaultRuntimeDir $work/apache
ErrorLog $work/apache/error.log
CustomLog $work/apache/access.log combined
LogFormat "%h %l %u %t \"%r\" %>s %b \"%{Referer}i\" \"%{User-Agent}i\"" combined
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule alias_module $modules/mod_alias.so
LoadModule dir_module $modules/mod_dir.so
LoadModule mime_module $modules/mod_mime.so
LoadModule headers_module $modules/mod_headers.so
LoadModule proxy_module $modules/mod_proxy.so
LoadModule proxy_http_module $modules/mod_proxy_http.so
TypesConfig /etc/mime.types
Include $work/apache/zifferix.conf
Include $work/apache/zifferix-klassen.conf
EOF
chmod -R a+rX "$work/apache" "$work/site"
[ "$(id -u)" -eq 0 ] && chown nobody "$work/apache"
for attempt in 1 2 3 4 5; do
    aport=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    sed "s/PORT/$aport/" "$work/apache/apache2.conf.in" >"$work/apache/apache2.conf"
    rm -f "$work/apache/apache2.pid"
    "${as_service[@]}" /usr/sbin/apache2 -f "$work/apache/apache2.conf" -DFOREGROUND &
    apache_pid=$!
    until [ -s "$work/apache/apache2.pid" ] || ! kill -0 "$apache_pid" 2>/dev/null; do sleep 0.1; done
    kill -0 "$apache_pid" 2>/dev/null && { pids+=("$apache_pid"); break; }
    wait "$apache_pid" 2>/dev/null || true
    [ "$attempt" -lt 5 ] || fail "Apache did not start"
done
site=http://127.0.0.1:$aport/zifferix/
api=${site}api
for _ in $(seq 100); do curl -s -o /dev/null "$api/gesund" && break; sleep 0.1; done

# call METHOD PATH [CURL OPTIONS...]: the status in $status, the body in $body, the headers in
# $work/headers, through Apache.
call() {
    local method=$1 path=$2
    shift 2
    status=$(curl -s -X "$method" -o "$work/body" -D "$work/headers" -w '%{http_code}' "$@" "$api/$path")
    body=$(cat "$work/body")
}
header() { tr -d '\r' <"$work/headers" | sed -n "s/^$1: //Ip"; }
# expect STATUS WHAT: the last call was answered so, with the service's headers.
expect() {
    [ "$status" = "$1" ] || fail "$2: $status $body"
    [ "$(header Cache-Control)" = no-store ] || fail "$2: Cache-Control $(header Cache-Control)"
    [ "$(header X-Content-Type-Options)" = nosniff ] || fail "$2: no nosniff"
    [ -z "$(header Access-Control-Allow-Origin)" ] || fail "$2: an Access-Control-Allow-Origin"
}
json=(-H "Content-Type: application/json")
ours=(-H "Origin: http://127.0.0.1:$aport")

call GET gesund
expect 200 "the health check"
[ "$(jget max_tage <<<"$body")" = 30 ] || fail "max_days of the conffile is not read: $body"
[ "$(jget passwort <<<"$body")" = true ] || fail "the password of the conffile is not read: $body"

class='{"name": "3b Dienstag", "kinder": ["Mia", "Ben"], "tage": 7'
call POST klassen "${json[@]}" "${ours[@]}" --data "$class}"
expect 403 "a class opened without the password"
[ "$(jget fehler <<<"$body")" = "Das Passwort stimmt nicht." ] || fail "the message: $body"
call POST klassen "${json[@]}" -H "Origin: http://andere-schule.example" \
    --data "$class, \"passwort\": \"Tafelkreide\"}"
expect 403 "a class opened from another site"
call POST klassen "${json[@]}" "${ours[@]}" --data "$class, \"passwort\": \"Tafelkreide\"}"
expect 201 "a class opened through Apache, from the site's own page"
klasse=$(jget klasse <<<"$body")
geheim=$(jget geheim <<<"$body")
[[ $klasse =~ ^[a-z2-7]{12}$ ]] || fail "the class id $klasse"
teacher=(-H "Authorization: Bearer $geheim")

call GET "klassen/$klasse"
expect 200 "the class for a child's page"
[ "$(jget kinder <<<"$body")" = '["Mia", "Ben"]' ] || fail "the children: $body"

result='{"id": "0f8fad5b-d9cb-469f-a165-70867728950e", "kind": "Mia", "spiel": "uhr", "stufe": 1,
  "punkte": 120, "ergebnis": "gewonnen", "reihe": false, "sekunden": 61.5,
  "aufgaben": [{"aufgabe": "7 mal 8", "antwort": "54", "richtig": false, "sekunden": 2.4}]}'
call POST "klassen/$klasse/ergebnisse" "${json[@]}" "${ours[@]}" --data "$result"
expect 201 "a result posted through Apache"
call POST "klassen/$klasse/ergebnisse" "${json[@]}" "${ours[@]}" --data "$result"
expect 200 "the same result again"

call GET "klassen/$klasse/tafel" "${teacher[@]}"
expect 200 "the board"
[ "$(jget kinder.0.name <<<"$body")" = Mia ] || fail "the board's first child: $body"
[ "$(jget kinder.0.spiele.uhr.beste <<<"$body")" = 120 ] || fail "Mia's best: $body"
[ "$(jget kinder.0.spiele.uhr.gespielt <<<"$body")" = 1 ] || fail "Mia played once: $body"
[ "$(jget schwierig.0.aufgabe <<<"$body")" = "7 mal 8" ] || fail "the hardest problem: $body"
etag=$(header ETag)
[ -n "$etag" ] || fail "the board has no ETag through Apache"
call GET "klassen/$klasse/tafel" "${teacher[@]}" -H "If-None-Match: $etag"
[ "$status" = 304 ] || fail "an unchanged board through Apache: $status"
# Another first character: the last one of 43 carries 2 bits of padding.
wrong=$([ "${geheim:0:1}" = A ] && echo B || echo A)${geheim:1}
call GET "klassen/$klasse/tafel" -H "Authorization: Bearer $wrong"
expect 404 "the board with a wrong secret"
[ "$(jget fehler <<<"$body")" = "Diese Klasse gibt es nicht." ] || fail "the message: $body"
call GET "klassen/$klasse/export.csv" "${teacher[@]}"
expect 200 "the CSV"
[ "$(head -c3 "$work/body" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the CSV has no BOM"

step "the teacher's page gets the service's Content-Security-Policy from Apache too"
csp=$(curl -s -o /dev/null -D - "${site}lehrer.html" | tr -d '\r' | sed -n 's/^Content-Security-Policy: //Ip')
[ -n "$csp" ] || fail "Apache sends lehrer.html without a Content-Security-Policy"
launch site --site="$work/site" --listen=127.0.0.1:0
service_csp=$(curl -s -o /dev/null -D - "${address}lehrer.html" | tr -d '\r' |
    sed -n 's/^Content-Security-Policy: //Ip')
kill "$launched"
[ "$csp" = "$service_csp" ] || fail "Apache's policy \"$csp\" is not the service's \"$service_csp\""
echo "$csp"

step "a service killed and started again is asked at once"
kill -KILL "$service_pid"
{ wait "$service_pid"; } 2>/dev/null || true
call GET gesund
[ "$status" = 503 ] || fail "with the service gone, Apache answers $status"
start_service --listen="127.0.0.1:$port"
call GET gesund
expect 200 "the health check right after the restart"
call GET "klassen/$klasse/tafel" "${teacher[@]}"
expect 200 "the board after the restart"
[ "$(jget kinder.0.spiele.uhr.gespielt <<<"$body")" = 1 ] || fail "the result is lost: $body"

step "deleting the class"
call DELETE "klassen/$klasse" "${teacher[@]}" "${ours[@]}"
[ "$status" = 204 ] || fail "the class was not deleted: $status $body"
call GET "klassen/$klasse"
expect 404 "a deleted class"
! grep -qF "$geheim" "$work/apache/access.log" "$work/apache/error.log" "$work/service.err" ||
    fail "the teacher's secret is in a log"
! grep -qF "Mia" "$work/service.err" || fail "a child's name is in the service's log"
echo "PASS: $(basename "$deb"), its unit's command behind Apache at $api/"
