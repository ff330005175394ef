#!/usr/bin/env bash
# The plan of every statement one payable posting sends (three cost centers, budget control), taken
# on a throwaway cluster with the account's history at 4 x QUORVIN_BENCH_HISTORY entries (default
# 250000: 1,000,000 entries and 3,000,000 cost-center rows) and each statement run once under
# EXPLAIN ANALYZE with the values it was captured with. Also prints the posting rate at n and 4n.
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-explain-$$"
cleanup() { "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true; }
trap cleanup EXIT

QUORVIN_DSN=$("$here/scripts/db.sh" start)
export QUORVIN_DSN
"$build/bin/quorvin-fin" db reset >/dev/null
QUORVIN_BENCH_HISTORY=${QUORVIN_BENCH_HISTORY:-250000} QUORVIN_BENCH_EXPLAIN=1 \
  QUORVIN_BENCH_BATCHES=${QUORVIN_BENCH_BATCHES:-1} QUORVIN_BENCH_HISTORY_BATCHES=${QUORVIN_BENCH_HISTORY_BATCHES:-1} \
  "$build/bin/bench_payable" | grep -v '^tabela|'
