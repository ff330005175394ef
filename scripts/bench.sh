#!/usr/bin/env bash
# Runs the benchmarks of a build folder against a throwaway PostgreSQL cluster, then prints one
# table of every path measured: the module's rate beside its floor (the same work through bare
# libpq), their ratio, round trips per operation and the peak memory of the benchmark's process.
set -euo pipefail
build=${1:?usage: scripts/bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)

export QUORVIN_DB_DIR="${TMPDIR:-/tmp}/quorvin-bench-$$"
linhas="$QUORVIN_DB_DIR.table"
cleanup() {
  "$here/scripts/db.sh" destroy >/dev/null 2>&1 || true
  rm -f "$linhas"
}
trap cleanup EXIT

dsn=$("$here/scripts/db.sh" start)
export QUORVIN_DSN="$dsn"
"$build/bin/quorvin-fin" db reset >/dev/null
: >"$linhas"
status=0
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" | tee >(grep '^tabela|' >>"$linhas" || true) | grep -v '^tabela|' || status=1
done
sleep 1  # the last tee's reader

echo
echo "== $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB, $(date -u +%Y-%m-%d)"
python3 - "$linhas" <<'PY'
import sys
rows = {}
order = []
for line in open(sys.argv[1], encoding="utf-8"):
    _, op, side, rate, trips, peak = line.rstrip("\n").split("|")
    if op not in rows:
        rows[op] = {}
        order.append(op)
    rows[op][side] = (float(rate), trips, int(peak))
# trips: the module's round trips per operation; floor: the floor's.
print(f"{'operation':<52} {'module/s':>10} {'floor/s':>10} {'ratio':>6} {'trips':>6} {'floor':>6} {'peak KB':>9}")
for op in order:
    m = rows[op].get("modulo")
    f = rows[op].get("piso")
    ratio = f"{m[0] / f[0]:.2f}" if m and f and f[0] else "-"
    trips = m[1] if m else "-"
    floor_trips = f[1] if f else "-"
    peak = max(x[2] for x in rows[op].values())
    print(f"{op:<52} {m[0] if m else float('nan'):>10.1f} {f[0] if f else float('nan'):>10.1f} {ratio:>6} {trips:>6} {floor_trips:>6} {peak:>9}")
PY
exit "$status"
