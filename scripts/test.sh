#!/usr/bin/env bash
# Runs the whole test suite of a build folder against a throwaway PostgreSQL cluster.
set -euo pipefail
build=${1:?usage: scripts/test.sh BUILD_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-test-$$"
export QUORVIN_DB_FAST=1
cleanup() { "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true; }
trap cleanup EXIT

dsn=$("$here/scripts/db.sh" start)
export QUORVIN_DSN="$dsn" QUORVIN_TEST_DSN="$dsn"
"$build/bin/quorvin-fin" db reset >/dev/null

cd "$build"
ctest -L unit -j "$(nproc)" --output-on-failure
ctest -L integration --output-on-failure
