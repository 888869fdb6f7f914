#!/usr/bin/env bash
# Starts a private PostgreSQL cluster on 127.0.0.1 for the tests and exports
# CZ_TEST_PG, the connection string the tests use. Sourced by scripts/test.
cz_pg_start() {
    local dir=$1
    local bin
    bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
    export CZ_PG_PORT=${CZ_PG_PORT:-54329}
    export CZ_PG_DIR=$dir
    export CZ_PG_BIN=$bin
    local runas=()
    if [ "$(id -u)" -eq 0 ]; then
        runas=(runuser -u postgres --)
    fi
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
    "${runas[@]}" "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
    "${runas[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w \
        -o "-p $CZ_PG_PORT -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off -c max_connections=200" start >/dev/null
    "${runas[@]}" "$bin/psql" -h 127.0.0.1 -p "$CZ_PG_PORT" -U postgres -q -c "create role czpm login superuser password 'czpm'" >/dev/null
    export CZ_TEST_PG="Provider=PostgreSQL;User ID=czpm;Password=czpm;Initial Catalog=postgres;Data Source=127.0.0.1,$CZ_PG_PORT;"
    CZ_PG_RUNAS="${runas[*]}"
    export CZ_PG_RUNAS
}

cz_pg_stop() {
    [ -n "${CZ_PG_DIR:-}" ] || return 0
    # shellcheck disable=SC2086
    $CZ_PG_RUNAS "$CZ_PG_BIN/pg_ctl" -D "$CZ_PG_DIR/data" -m fast stop >/dev/null 2>&1 || true
}
