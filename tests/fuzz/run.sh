#!/usr/bin/env bash
# Runs the fuzz targets one after the other, each for a while: run.sh <fuzz build dir> [seconds].
# What a fuzzer learns stays in <build dir>/corpus (translator) and <build dir>/<target>/corpus
# (febraban, request, listas), a failing input in the findings folder beside it.
set -euo pipefail
build=$1
seconds=${2:-120}
here=$(cd "$(dirname "$0")" && pwd)

# The translator. Seeds are the module's statements (tests/integration/translator/corpus.tsv).
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
# A finding of the first target does not keep the second from running; the run fails if either did.
failed=0
"$build/translator_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/sql.dict" -artifact_prefix="$build/findings/" -print_final_stats=1 "$build/corpus" "$seeds" ||
  failed=1

# The FEBRABAN codes. Seeds: a bank-slip barcode and its line (plain and as printed), collection
# slips of modulus 10 and 11 in both forms, and a builder input (0xFE, then R$ 19,99 as a double,
# day 0, bank 1, segment 3, type 8 and a 25-digit free field).
fseeds=$build/febraban/seeds
mkdir -p "$fseeds" "$build/febraban/corpus" "$build/febraban/findings"
printf '00191100000000010000000001234567000000000118' >"$fseeds/boleto-codigo"
printf '00190000090123456700400000001180110000000001000' >"$fseeds/boleto-linha"
printf '00190.00009 01234.567004 00000.001180 1 10000000001000' >"$fseeds/boleto-linha-impressa"
printf '83650000001623200460179160607593050865831483' >"$fseeds/arrecadacao-mod10-codigo"
printf '83650000001-0 62320046017-7 91606075930-2 50865831483-8' >"$fseeds/arrecadacao-mod10-linha"
printf '838900000013623200460177916060759309508658314839' >"$fseeds/arrecadacao-mod11-linha"
printf '\xfe\x3d\x0a\xd7\xa3\x70\xfd\x33\x40\x00\x00\x00\x00\x01\x00\x03\x080000001234567000000000118' \
  >"$fseeds/montagem"
"$build/febraban_fuzz" -max_total_time="$seconds" -max_len=256 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/febraban/findings/" -print_final_stats=1 "$build/febraban/corpus" "$fseeds" ||
  failed=1
# The command line's request decoding. Seeds: a payable entry and a cash movement as requests.
rseeds=$build/request/seeds
mkdir -p "$rseeds" "$build/request/corpus" "$build/request/findings"
printf '{"op": "ContasPagar.Incluir", "record": {"RECNUM": 1, "VALOR": 10.5, "HISTORICO": "x", "DTLANC": "2026-01-02", "TIPOLANC": "C"}}' \
  >"$rseeds/lancamento"
printf '{"record": {"CODBANCO": 1, "CODCOB": "D", "TIPO": "D", "VALOR": 5, "DATA": "2026-01-02", "TRAVARSALDO": true}}' \
  >"$rseeds/movimento"
"$build/request_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/request/findings/" -print_final_stats=1 "$build/request/corpus" "$rseeds" ||
  failed=1

# The guards of lists pasted into SQL. The first byte chooses the guard (see ListasFuzz.cpp).
lseeds=$build/listas/seeds
mkdir -p "$lseeds" "$build/listas/corpus" "$build/listas/findings"
printf '\x001, 2,3,-4.5' >"$lseeds/numeros"
printf "\x01a,b'c, d" >"$lseeds/textos"
printf '\x03x,y' >"$lseeds/textos-negados"
printf '\x0412,34' >"$lseeds/recnums"
"$build/listas_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/listas/findings/" -print_final_stats=1 "$build/listas/corpus" "$lseeds" ||
  failed=1
# The report template reader. Seed: the generic slip layout shipped with the engine.
mseeds=$build/modelo_relatorio/seeds
mkdir -p "$mseeds" "$build/modelo_relatorio/corpus" "$build/modelo_relatorio/findings"
cp "$here/../../platform/report/templates/BoletoPadrao.rtm" "$mseeds/"
"$build/modelo_relatorio_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/modelo_relatorio/findings/" -print_final_stats=1 "$build/modelo_relatorio/corpus" \
  "$mseeds" || failed=1
exit "$failed"
