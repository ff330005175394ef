#!/usr/bin/env bash
# Runs the translator's fuzz target for a while: run.sh <fuzz build dir> [seconds].
# Seeds are the module's statements (tests/integration/translator/corpus.tsv); what the fuzzer learns
# stays in <build dir>/corpus, a failing input in <build dir>/findings.
set -euo pipefail
build=$1
seconds=${2:-120}
here=$(cd "$(dirname "$0")" && pwd)
seeds=$build/seeds
mkdir -p "$seeds" "$build/corpus" "$build/findings"
# One seed per statement: the text after the label, its \r and \n written back as line breaks.
python3 - "$here/../integration/translator/corpus.tsv" "$seeds" <<'PY'
import sys
for n, line in enumerate(open(sys.argv[1], encoding="utf-8")):
    label, tab, text = line.rstrip("\n").partition("\t")
    if label.startswith("#") or not tab:
        continue
    with open(f"{sys.argv[2]}/statement-{n}.sql", "w", encoding="utf-8", newline="") as seed:
        seed.write(text.replace("\\r", "\r").replace("\\n", "\n"))
PY
# Depth seeds (0xFF, a count, head NUL tail): 20,000 parentheses, blocks and CASE expressions.
printf '\xff\x4e\x20SELECT (\0001) FROM DUAL' >"$seeds/depth-parentheses.sql"
printf '\xff\x4e\x20BEGIN \0 END;' >"$seeds/depth-blocks.sql"
printf '\xff\x4e\x20SELECT CASE WHEN A = 1 THEN \0 END' >"$seeds/depth-case.sql"
exec "$build/translator_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/sql.dict" -artifact_prefix="$build/findings/" -print_final_stats=1 "$build/corpus" "$seeds"
