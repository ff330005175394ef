#!/usr/bin/env bash
# A private PostgreSQL 15 cluster (with orafce) for this checkout.
#   scripts/db.sh start|ensure|stop|status|dsn|destroy
# "ensure" starts the cluster as "start" does unless it was stopped with "stop": a stop holds until
# the next "start" (the command line starts the cluster on its own with "ensure").
# QUORVIN_DB_DIR picks another cluster folder (the tests use a throwaway one);
# QUORVIN_DB_FAST=1 turns off fsync for throwaway clusters.
# The server listens on a Unix socket inside the cluster folder only, so clusters of
# different checkouts never compete for a port. As root the server runs as "postgres".
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
pgbin=/usr/lib/postgresql/15/bin
dbname=quorvin

default_dir() {
  local key
  key=$(printf '%s' "$here" | cksum | cut -d' ' -f1)
  printf '%s/quorvin-pg-%s-%s' "${TMPDIR:-/tmp}" "$(id -u)" "$key"
}
dir=${QUORVIN_DB_DIR:-$(default_dir)}
data="$dir/data"
sock="$dir/run"

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
server_user() {
  if [ "$(id -u)" -eq 0 ]; then echo postgres; else id -un; fi
}
dsn() { printf 'host=%s port=5432 dbname=%s user=%s\n' "$sock" "$dbname" "$(server_user)"; }
running() { as_server "$pgbin/pg_ctl" -D "$data" status >/dev/null 2>&1; }

init_cluster() {
  [ -x "$pgbin/initdb" ] || { echo "db.sh: PostgreSQL 15 is not installed (run scripts/deps.sh)" >&2; exit 2; }
  mkdir -p "$dir"
  chmod 755 "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres:postgres "$dir"; fi
  as_server mkdir -p "$sock"
  as_server "$pgbin/initdb" -D "$data" -U "$(server_user)" --auth=trust -E UTF8 --locale=C.UTF-8 >/dev/null
  {
    echo "listen_addresses = ''"
    echo "unix_socket_directories = '$sock'"
    echo "port = 5432"
    echo "max_connections = 60"
    echo "shared_buffers = 128MB"
    if [ "${QUORVIN_DB_FAST:-0}" = 1 ]; then
      echo "fsync = off"
      echo "synchronous_commit = off"
      echo "full_page_writes = off"
    fi
  } | as_server tee -a "$data/postgresql.conf" >/dev/null
}

start() {
  [ -f "$data/PG_VERSION" ] || init_cluster
  if ! running; then
    as_server "$pgbin/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 60 start >/dev/null
  fi
  if ! as_server psql -h "$sock" -p 5432 -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname = '$dbname'" | grep -q 1; then
    as_server "$pgbin/createdb" -h "$sock" -p 5432 "$dbname"
  fi
}

case "${1:-}" in
  start) rm -f "$dir/stopped"; start; dsn ;;
  ensure)
    if [ -f "$dir/stopped" ] && ! running; then
      echo "db.sh: o banco local foi parado com 'db stop'; inicie-o com 'quorvin-fin db start'." >&2
      exit 4
    fi
    start; dsn ;;
  stop)
    if running; then as_server "$pgbin/pg_ctl" -D "$data" -m fast -w stop >/dev/null; fi
    if [ -d "$dir" ]; then touch "$dir/stopped"; fi ;;
  status) if running; then echo "running: $(dsn)"; else echo "stopped"; exit 3; fi ;;
  dsn) dsn ;;
  destroy)
    if running; then as_server "$pgbin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null; fi
    rm -rf "$dir" ;;
  *) echo "usage: scripts/db.sh start|ensure|stop|status|dsn|destroy" >&2; exit 2 ;;
esac
