#!/usr/bin/env bash
# Runs a command beside a private PostgreSQL 15: a new cluster in a temporary folder, a free
# port, its socket in that folder, run by an unprivileged user (nobody, when called as root).
# The command finds it in ZIFFERIX_TEST_POSTGRES; the server stops when the command ends.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
[ -x "$bin/postgres" ] || { echo "with_postgres.sh: PostgreSQL 15 is not installed" >&2; exit 1; }

dir=$(mktemp -d /tmp/zifferix-pg.XXXXXX)
as=()
if [ "$(id -u)" = 0 ]; then
    chown nobody: "$dir"
    # runuser lives in /usr/sbin, which a CI runner's PATH may leave out.
    as=(/usr/sbin/runuser -u nobody --)
fi
stop() {
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap stop EXIT

# The tests connect as the user that runs them, without a password, over the socket only.
"${as[@]}" "$bin/initdb" -D "$dir/data" -U "$(id -un)" --auth=trust --encoding=UTF8 \
    --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p $port -c listen_addresses='' -c fsync=off" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
"$bin/createdb" -h "$dir" -p "$port" zifferix

export ZIFFERIX_TEST_POSTGRES="postgresql:///zifferix?host=$dir&port=$port"
"$@"
