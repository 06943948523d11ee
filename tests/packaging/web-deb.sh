#!/usr/bin/env bash
# Packs the browser edition as zifferix-web_<version>_all.deb and checks it: its files and
# control data, lintian finding no error and no warning, and the site served by a private
# Apache from the package's own configuration (extracted, on a free port, unprivileged): the
# types and cache headers of the page, the program and a font (kept for good under names with
# their digests), a 304 for an unchanged file, and one game played in Chromium against it, on a
# first visit that fetches every file once, the service worker's fill included.
# Usage: web-deb.sh <web build directory>
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
apache_pid=
cleanup() {
    [ -n "$apache_pid" ] && kill "$apache_pid" 2>/dev/null && wait "$apache_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/apache/error.log" ] && cat "$work/apache/error.log" >&2
    exit 1
}
step() { echo "--- $*"; }

step "the package and its files"
cpack --config "$build/CPackConfig.cmake" -B "$work/pack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/pack/zifferix-web_*_all.deb 2>/dev/null) || fail "no zifferix-web_<version>_all.deb"
[[ $(basename "$deb") =~ ^zifferix-web_[0-9]+\.[0-9]+\.[0-9]+_all\.deb$ ]] || fail "named $deb"
[ "$(dpkg-deb -f "$deb" Architecture)" = all ] || fail "the architecture"
[ "$(dpkg-deb -f "$deb" Source)" = zifferix ] || fail "the source package"
dpkg-deb -f "$deb" Recommends | grep -q '^apache2 |' || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
web=./usr/share/zifferix/web
for file in $web/index.html $web/sw.js $web/barrierefreiheit.html $web/manifest.webmanifest $web/links.html \
    $web/fonts/LICENSE-LiberationSans.txt ./etc/apache2/conf-available/zifferix.conf \
    ./etc/nginx/snippets/zifferix.conf ./usr/share/doc/zifferix-web/copyright \
    ./usr/share/doc/zifferix-web/changelog.gz; do
    grep -qx -- "$file" "$work/files" || fail "the package lacks $file"
done
# The rest by names with their digests: name PLAIN NAME, the name the package has for it.
name() {
    local stem=${1%.*} suffix=${1##*.} found
    found=$(grep -xE -- "$web/${stem//./\\.}\.[0-9a-f]{8}\.$suffix" "$work/files") ||
        fail "the package has no $1 named after its content"
    [ "$(wc -l <<<"$found")" = 1 ] || fail "the package has more than one $1: $found"
    echo "${found#$web/}"
}
program=$(name zifferix.wasm)
script=$(name zifferix.js)
webfont=$(name fonts/LiberationSans-Regular.woff2)
icon=$(name icons/icon-192.png)
for plain in zifferix.css zifferix.svg fonts/ComicNeue-Regular.woff2 fonts/ComicNeue-Bold.woff2 \
    fonts/LiberationSans-Bold.woff2 icons/icon-512.png icons/icon-maskable-512.png icons/apple-touch-icon.png; do
    name "$plain" >/dev/null
done
! grep -qE -- "^$web/(zifferix\.(js|wasm|css|svg)|fonts/[^/.]*\.woff2|icons/[^/.]*\.png)$" "$work/files" ||
    fail "the package has files by their plain names"
dpkg-deb -e "$deb" "$work/control"
grep -qx /etc/apache2/conf-available/zifferix.conf "$work/control/conffiles" || fail "conffiles"
grep -qx /etc/nginx/snippets/zifferix.conf "$work/control/conffiles" || fail "conffiles"
grep -q "apache2_invoke enconf zifferix" "$work/control/postinst" || fail "postinst enables no conf"
grep -q "apache2_invoke disconf zifferix" "$work/control/prerm" || fail "prerm disables no conf"
grep -q "apache2_invoke disconf zifferix" "$work/control/postrm" || fail "postrm purges no conf"

root=$work/root
dpkg-deb -x "$deb" "$root"
copyright=$root/usr/share/doc/zifferix-web/copyright
for licence in "License: GPL-3+" "License: SIL-OFL-1.1" "License: Expat"; do
    grep -qx "$licence" "$copyright" || fail "the copyright file lacks $licence"
done
for font in LiberationSans ComicNeue; do
    grep -q "^Files: .*fonts/$font" "$copyright" || fail "the copyright file does not cover $font"
done
version=$(dpkg-deb -f "$deb" Version)
[[ $(zcat "$root/usr/share/doc/zifferix-web/changelog.gz") == "zifferix ($version) "* ]] ||
    fail "the changelog is not of version $version"

step "lintian"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &&
    ! grep -qE '^[EW]: ' "$work/lintian.log" || { cat "$work/lintian.log" >&2; fail "lintian"; }

step "a private Apache serves the package's configuration"
mkdir -p "$work/apache"
sed "s|/usr/share/zifferix/web|$root/usr/share/zifferix/web|g" \
    "$root/etc/apache2/conf-available/zifferix.conf" >"$work/apache/zifferix.conf"
modules=/usr/lib/apache2/modules
cat >"$work/apache/apache2.conf.in" <<EOF
ServerRoot $work/apache
ServerName localhost
Listen 127.0.0.1:PORT
PidFile $work/apache/apache2.pid
DefaultRuntimeDir $work/apache
ErrorLog $work/apache/error.log
LogFormat "%U|%{Cache-Control}i|%>s" short
CustomLog $work/apache/access.log short
LoadModule mpm_event_module $modules/mod_mpm_event.so
LoadModule authz_core_module $modules/mod_authz_core.so
LoadModule alias_module $modules/mod_alias.so
LoadModule dir_module $modules/mod_dir.so
LoadModule mime_module $modules/mod_mime.so
LoadModule headers_module $modules/mod_headers.so
LoadModule filter_module $modules/mod_filter.so
LoadModule deflate_module $modules/mod_deflate.so
TypesConfig /etc/mime.types
# What Debian's apache2 compresses by default.
AddOutputFilterByType DEFLATE text/html text/plain text/xml text/css text/javascript
AddOutputFilterByType DEFLATE application/javascript application/rss+xml application/xml
Include $work/apache/zifferix.conf
EOF
# As root, the instance still runs as nobody: it needs to read the site and write its logs only.
chmod -R a+rX "$work"
chown nobody "$work/apache"
as_nobody=()
[ "$(id -u)" -eq 0 ] && as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# A port probed free may be taken by another test before Apache binds it: Apache then ends
# before it writes its pid file (which it does once it listens), and tries another.
for attempt in 1 2 3 4 5; do
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    sed "s/PORT/$port/" "$work/apache/apache2.conf.in" >"$work/apache/apache2.conf"
    rm -f "$work/apache/apache2.pid"
    "${as_nobody[@]}" /usr/sbin/apache2 -f "$work/apache/apache2.conf" -DFOREGROUND &
    apache_pid=$!
    until [ -s "$work/apache/apache2.pid" ] || ! kill -0 "$apache_pid" 2>/dev/null; do sleep 0.1; done
    kill -0 "$apache_pid" 2>/dev/null && break
    wait "$apache_pid" 2>/dev/null || true
    apache_pid=
    [ "$attempt" -lt 5 ] || fail "Apache did not start"
done
site=http://127.0.0.1:$port/zifferix/
for _ in $(seq 100); do
    curl -s -o /dev/null "$site" && break
    kill -0 "$apache_pid" 2>/dev/null || fail "Apache did not start"
    sleep 0.1
done

# fetch PATH [CURL OPTIONS...]: the status, and the type, cache, encoding and sniffing headers,
# one a line, their names in lower case.
fetch() {
    local path=$1 status
    shift
    status=$(curl -s -o /dev/null -D "$work/headers" -w '%{http_code}' "$@" "$site$path") ||
        fail "fetching $path"
    echo "status: $status"
    tr -d '\r' <"$work/headers" | sed -n 's/^\([A-Za-z-]*\): \(.*\)$/\L\1\E: \2/p' |
        grep -E '^(content-type|cache-control|content-encoding|x-content-type-options): ' || true
}
expect() { # expect PATH LINE...
    local path=$1 got
    shift
    got=$(fetch "$path" --compressed)
    for line in "$@"; do
        grep -qxF "$line" <<<"$got" || fail "$path: no \"$line\" in: $(tr '\n' ';' <<<"$got")"
    done
}

step "types and cache headers"
forever="cache-control: public, max-age=31536000, immutable"
expect "" "status: 200" "content-type: text/html; charset=utf-8" "cache-control: no-cache"
expect index.html "status: 200" "content-type: text/html; charset=utf-8" "cache-control: no-cache" \
    "x-content-type-options: nosniff" "content-encoding: gzip"
expect "$program" "status: 200" "content-type: application/wasm" "$forever" "content-encoding: gzip" \
    "x-content-type-options: nosniff"
expect "$script" "status: 200" "content-type: text/javascript; charset=utf-8" "$forever" "content-encoding: gzip"
expect sw.js "status: 200" "content-type: text/javascript; charset=utf-8" "cache-control: no-cache"
expect manifest.webmanifest "status: 200" "content-type: application/manifest+json; charset=utf-8" \
    "cache-control: no-cache"
expect "$webfont" "status: 200" "content-type: font/woff2" "$forever"
expect "$icon" "status: 200" "content-type: image/png" "$forever"
expect links.html "status: 200" "content-type: text/html; charset=utf-8" "cache-control: no-cache"
expect fonts/LICENSE-LiberationSans.txt "status: 200" "cache-control: no-cache"
# The page names the files of its own build.
page=$(curl -s "$site")
for file in "$program" "$script" "$webfont"; do
    grep -qF "\"$file\"" <<<"$page" || fail "the page does not name $file"
done
got=$(curl -s -o /dev/null -w '%{http_code} %{redirect_url}' "${site%/}")
[ "$got" = "301 $site" ] || fail "the address without its slash: $got"

step "an unchanged file is revalidated with a short 304, compressed or not; a new one comes whole"
# validators PATH ENCODING: the headers a browser sends to revalidate what it got, one a line.
validators() {
    curl -s -o /dev/null -D - -H "Accept-Encoding: $2" "$site$1" | tr -d '\r' |
        sed -n 's/^[Ee][Tt]ag: /If-None-Match: /p; s/^[Ll]ast-[Mm]odified: /If-Modified-Since: /p'
}
# revalidate PATH ENCODING VALIDATORS: the status of the second request.
revalidate() {
    local headers=()
    while read -r line; do headers+=(-H "$line"); done <<<"$3"
    curl -s -o /dev/null -w '%{http_code}' -H "Accept-Encoding: $2" "${headers[@]}" "$site$1"
}
for path in index.html "$program" "$webfont"; do
    for encoding in gzip identity; do
        got=$(validators "$path" "$encoding")
        [ -n "$got" ] || fail "$path ($encoding) has nothing to revalidate by"
        status=$(revalidate "$path" "$encoding" "$got")
        [ "$status" = 304 ] || fail "$path ($encoding) came again whole: $status for $got"
    done
done
got=$(validators index.html gzip)
echo >>"$root/usr/share/zifferix/web/index.html"
touch -d "+2 seconds" "$root/usr/share/zifferix/web/index.html"
status=$(revalidate index.html gzip "$got")
[ "$status" = 200 ] || fail "a new index.html was answered with $status"
truncate -s -1 "$root/usr/share/zifferix/web/index.html"

step "a game played in Chromium against it, and the service worker's fetches"
: >"$work/apache/access.log"
ZIFFERIX_URL=$site ZIFFERIX_TABLES=$build/answer-tables.json node --test "$here/../web/server.test.mjs" ||
    fail "the game in Chromium"
# A first visit asked for every file of the build once, and the worker took what the page had
# loaded from the browser's cache: each file was sent whole once, and nothing else was asked.
files=$(sed -n 's/^ *"\([^"]*\)": "[0-9a-f]\{64\}",\{0,1\}$/\1/p' "$root/usr/share/zifferix/web/sw.js")
[ "$(wc -l <<<"$files")" -ge 15 ] || fail "the service worker lists only: $files"
sed 's,^/zifferix/|,/zifferix/index.html|,' "$work/apache/access.log" >"$work/asked"
for file in $files; do
    asked=$(grep -c "^/zifferix/$file|" "$work/asked" || true)
    sent=$(grep -c "^/zifferix/$file|.*|200$" "$work/asked" || true)
    [ "$asked" = 1 ] && [ "$sent" = 1 ] ||
        fail "$file was asked for $asked times and sent $sent times: $(grep "^/zifferix/$file|" "$work/asked" | tr '\n' ' ')"
done
others=$(grep -v "^/zifferix/sw\.js|" "$work/asked" | cut -d'|' -f1 | sed 's,^/zifferix/,,' | grep -vxF -- "$files" || true)
[ -z "$others" ] || fail "the first visit asked for more: $others"
echo "PASS: $(basename "$deb"), served by Apache at $site"
