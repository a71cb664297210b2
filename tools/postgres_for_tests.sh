#!/usr/bin/env bash
# A throwaway PostgreSQL server for the records tests, on a Unix socket in its
# own folder (no TCP port, so runs beside each other do not meet).
#   tools/postgres_for_tests.sh start DIR   initdb in DIR when it is empty, start the
#                                           server, print its address
#   tools/postgres_for_tests.sh stop DIR    stop it (DIR stays, start runs it again)
# The server refuses to run as root, so as root it runs as the user nobody,
# who then owns DIR. The address is postgresql://zelt@/postgres?host=DIR; the
# tests make a database of their own on it.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}
[ $# -eq 2 ] || usage
action=$1
dir=$(realpath -m "$2")

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
if [ -z "$bin" ] || [ ! -x "$bin/pg_ctl" ]; then
    echo "$0: no PostgreSQL server under /usr/lib/postgresql (Debian: apt-get install postgresql)" >&2
    exit 1
fi

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

case $action in
start)
    mkdir -p "$dir"
    [ "$(id -u)" -ne 0 ] || chown nobody "$dir"
    if ! as_owner test -w "$dir"; then
        echo "$0: the server's user cannot write $dir (a folder of its own under /tmp, e.g. from mktemp -d)" >&2
        exit 1
    fi
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        as_owner "$bin/initdb" --auth=trust --username=zelt --encoding=UTF8 --no-sync -D "$dir/data" \
            >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    # fsync stays on: the tests check what survives a killed writer.
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -k '$dir'" start >/dev/null ||
        { cat "$dir/server.log" >&2; exit 1; }
    echo "postgresql://zelt@/postgres?host=$dir"
    ;;
stop)
    [ -f "$dir/data/postmaster.pid" ] || exit 0
    as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    ;;
*)
    usage
    ;;
esac
