#!/usr/bin/env bash
# The reliability suite, long: every concurrency test with QUORVIN_SOAK_N sessions, every hostile
# value in every field, SOAK_ROUNDS times, against a throwaway PostgreSQL cluster.
set -euo pipefail
build=${1:?usage: scripts/soak.sh BUILD_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-soak-$$"
export QUORVIN_DB_FAST=1
export QUORVIN_SOAK_N="${QUORVIN_SOAK_N:-20}"
cleanup() { "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true; }
trap cleanup EXIT

dsn=$("$here/scripts/db.sh" start)
export QUORVIN_DSN="$dsn" QUORVIN_TEST_DSN="$dsn"
"$build/bin/quorvin-fin" db reset >/dev/null

filter='*Concorrencia*:*Concurrency*:*Reliability*:*HostileInput*:CliSweep*:*FaultInjection*:KilledClient*:LockWaits*'
log="$QUORVIN_DB_DIR.log"
status=0
"$build/bin/integration_tests" --gtest_filter="$filter" --gtest_repeat="${SOAK_ROUNDS:-3}" --gtest_brief=1 \
  >"$log" 2>&1 || status=$?
grep -E '^\[figures\]|^\[ sweep|FAILED|PASSED|Failure' "$log" || true
rm -f "$log"
exit "$status"
