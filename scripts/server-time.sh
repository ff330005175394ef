#!/usr/bin/env bash
# Where the server spends a benchmark's time: runs one benchmark of a build folder against a
# throwaway cluster with pg_stat_statements loaded (planning tracked too) and prints, per statement
# text, its calls, planning and execution time, and its mean, most expensive first. Both sides of a
# benchmark share a text when they send the same one; a text the module pastes a value into (a row
# address) appears once with its literals folded into $n.
#   scripts/server-time.sh build-bench bench_dni [rows]
set -euo pipefail
build=${1:?usage: scripts/server-time.sh BUILD_DIR BENCH [ROWS]}
bench=${2:?usage: scripts/server-time.sh BUILD_DIR BENCH [ROWS]}
rows=${3:-25}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-server-time-$$"
cleanup() { "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true; }
trap cleanup EXIT

"$here/scripts/db.sh" start >/dev/null
as_server() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
printf "shared_preload_libraries = 'pg_stat_statements'\npg_stat_statements.track_planning = on\n" |
  as_server tee -a "$QUORVIN_DB_DIR/data/postgresql.conf" >/dev/null
"$here/scripts/db.sh" stop
dsn=$("$here/scripts/db.sh" start)
export QUORVIN_DSN="$dsn"
"$build/bin/quorvin-fin" db reset >/dev/null
psql "$dsn" -qAtc "CREATE EXTENSION IF NOT EXISTS pg_stat_statements; SELECT pg_stat_statements_reset()" >/dev/null
"$build/bin/$bench" | grep -v '^tabela|'
echo
psql "$dsn" -P pager=off -c "
SELECT calls, round(total_plan_time::numeric, 1) AS plan_ms, round(total_exec_time::numeric, 1) AS exec_ms,
       round(((total_plan_time + total_exec_time) / greatest(calls, 1))::numeric, 3) AS mean_ms,
       left(regexp_replace(query, '\s+', ' ', 'g'), 90) AS statement
  FROM pg_stat_statements
 WHERE query NOT ILIKE '%pg_stat_statements%'
 ORDER BY total_plan_time + total_exec_time DESC
 LIMIT $rows"
