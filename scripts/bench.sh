#!/usr/bin/env bash
# Runs the benchmarks of a build folder against a throwaway PostgreSQL cluster.
set -euo pipefail
build=${1:?usage: scripts/bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-bench-$$"
cleanup() { "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true; }
trap cleanup EXIT

dsn=$("$here/scripts/db.sh" start)
export QUORVIN_DSN="$dsn"
"$build/bin/quorvin-fin" db reset >/dev/null
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
