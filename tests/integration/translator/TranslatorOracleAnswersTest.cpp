// Oracle text run on PostgreSQL through the data-access layer: each case's expected rows are what
// Oracle answers for the same text. Dates are read through TO_CHAR, so the expected text is Oracle's
// own rendering. The tables are TEMP tables inside the test's transaction, which is rolled back.
#include <gtest/gtest.h>

#include <string>

#include "OracleRows.h"
#include "support/TestDatabase.h"

namespace {

using namespace translatortest;
const std::nullopt_t null = std::nullopt;

struct OracleCase {
  const char* name;
  const char* oracle;
  Rows expected;
  Binds binds = {};
};

class TranslatorOracleAnswers : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE tit (codcli numeric(6), valor numeric(12,2), dtlanc timestamp(0), dtvenc timestamp(0),"
        " historico varchar(40));"
        "INSERT INTO tit VALUES (1, 10.00, '2026-01-01', '2026-01-06', ' '),"
        " (2, 20.00, '2026-01-01 12:00', '2026-01-03', NULL), (3, 30.00, '2026-01-02', '2026-01-02', 'NF 3'),"
        " (4, 40.00, '2026-01-02', '2026-02-01', 'NF 4');");
  }
};

const OracleCase kCases[] = {
    // Division is never integer division. A number's text carries no trailing zeros in Oracle: TO_CHAR
    // gives it here too (the raw column keeps PostgreSQL's scale, the value is the same).
    {"IntegerDivision",
     "SELECT 10/4 A, 7/7 B, -7/2 C, ROUND(100*(1/3), 6) D, TO_CHAR(1/8*8) E FROM DUAL",
     {{"2.5", "1", "-3.5", "33.333333", "1"}}},
    {"DivisionOfColumns",
     "SELECT TO_CHAR(CODCLI/4) Q, TO_CHAR(VALOR/3, 'FM990.0000') R FROM TIT WHERE CODCLI = 2",
     {{"0.5", "6.6667"}}},
    {"CountDividedByANumber",
     "SELECT ROUND(COUNT(*)/3, 4) M, COUNT(*) FROM TIT HAVING COUNT(*)/3 > 1",
     {{"1.3333", "4"}}},
    // A number added to a date is a number of days, fractions included.
    {"DatePlusFractionOfADay",
     "SELECT TO_CHAR(DATE '2026-01-01' + 1/24, 'YYYY-MM-DD HH24:MI:SS') A, TO_CHAR(DTLANC + 0.5, 'YYYY-MM-DD "
     "HH24:MI:SS') B,"
     " TO_CHAR(DTLANC + 1/24/60, 'HH24:MI:SS') C, TO_CHAR(DTVENC - 1/24, 'YYYY-MM-DD HH24:MI') D,"
     " TO_CHAR(DATE '2026-01-31' + 1, 'YYYY-MM-DD') E FROM TIT WHERE CODCLI = 1",
     {{"2026-01-01 01:00:00", "2026-01-01 12:00:00", "00:01:00", "2026-01-05 23:00", "2026-02-01"}}},
    // A date minus a date is a number of days, with the fraction of a day.
    {"DateMinusDate",
     "SELECT CODCLI, DTVENC - DTLANC D, ROUND(DTVENC - DTLANC) R, TRUNC(DTVENC) - TRUNC(DTLANC) T FROM TIT"
     " WHERE DTVENC - DTLANC > 1 ORDER BY DTVENC - DTLANC",
     {{"2", "1.5", "2", "2"}, {"1", "5", "5", "5"}, {"4", "30", "30", "30"}}},
    {"DateLiteralsAndSysdate",
     "SELECT DATE '2026-01-06' - DATE '2026-01-01' A, CASE WHEN SYSDATE - DTLANC > 0 THEN 'S' END B,"
     " TO_CHAR(SYSDATE - SYSDATE) C FROM TIT WHERE CODCLI = 1",
     {{"5", "S", "0"}}},
    {"BindDateMinusColumn", "SELECT :HOJE - DTLANC D FROM TIT WHERE CODCLI = 2", {{"9.5"}}, {{"HOJE", "2026-01-11"}}},
    // '' is NULL: string functions that come to '' answer NULL; '' compared is NULL compared.
    {"StringFunctionsGiveNullForEmpty",
     "SELECT NVL(TRIM('  '), 'vazio') A, SUBSTR('ab', 5) B, REPLACE('a', 'a') C, LPAD('x', 0) D,"
     " NVL(LTRIM('xx', 'x'), '-') E, RTRIM('ab ') || '|' F, TRANSLATE('aa', 'a', ' ') G FROM DUAL",
     {{"vazio", null, null, null, "-", "ab|", "  "}}},
    {"EmptyTrimIsNull",
     "SELECT CASE WHEN TRIM(' ') IS NULL THEN 'S' ELSE 'N' END A, (SELECT COUNT(*) FROM TIT WHERE TRIM(HISTORICO) IS "
     "NULL) B,"
     " (SELECT COUNT(*) FROM TIT WHERE HISTORICO = '') C, (SELECT COUNT(*) FROM TIT WHERE SUBSTR(HISTORICO, 4) IS "
     "NULL) D"
     " FROM DUAL",
     {{"S", "2", "0", "2"}}},
    {"EmptyBindIsNull",
     "SELECT NVL(:H, 'vazio') A, CASE WHEN :H IS NULL THEN 'S' ELSE 'N' END B FROM DUAL",
     {{"vazio", "S"}},
     {{"H", ""}}},
    // GREATEST and LEAST are NULL as soon as one argument is.
    {"GreatestAndLeastWithNull",
     "SELECT GREATEST(1, NULL, 3) A, LEAST(1, NULL) B, GREATEST(1, 3, 2) C, LEAST('b', 'a') D,"
     " GREATEST(VALOR, :LIMITE) E, LEAST(:LIMITE, 0) F, GREATEST(HISTORICO, 'A') G, GREATEST(DTLANC, DTVENC) H"
     " FROM TIT WHERE CODCLI = 2",
     {{null, null, "3", "a", "20.00", "0", null, "2026-01-03 00:00:00"}},
     {{"LIMITE", "12.5"}}},
    {"GreatestWithAnUnsetBind",
     "SELECT GREATEST(:A, 0) A, LEAST(DTLANC, :D) B, NVL(:A, 7) C FROM TIT WHERE CODCLI = 1",
     {{null, null, "7"}},
     {{"A"}, {"D"}}},
    {"NvlOfNull",
     "SELECT NVL(NULL, 5) A, NVL(NULL, 'x') B, NVL(2.5, NULL) C, NVL('', 'vazio') D, NVL(NULL, DTLANC) E,"
     " NVL(HISTORICO, NULL) F FROM TIT WHERE CODCLI = 2",
     {{"5", "x", "2.5", "vazio", "2026-01-01 12:00:00", null}}},
    // A bind left unset is NULL in DECODE and CASE, alone or beside its other uses.
    {"DecodeAndCaseWithAnUnsetBind",
     "SELECT DECODE(:P, NULL, 'a', 'b') A, CASE WHEN :P IS NULL THEN 'a' ELSE 'b' END B,"
     " CASE WHEN :Q IS NULL THEN 0 ELSE :Q + 1 END C, DECODE(:Q, NULL, 'nulo', 1, 'um', 'outro') D,"
     " (SELECT COUNT(*) FROM TIT WHERE :C IS NULL OR CODCLI = :C) E FROM DUAL",
     {{"a", "a", "0", "nulo", "4"}},
     {{"P"}, {"Q"}, {"C"}}},
    {"DecodeAndCaseWithASetBind",
     "SELECT DECODE(:P, NULL, 'a', 'b') A, CASE WHEN :P IS NULL THEN 'a' ELSE 'b' END B,"
     " CASE WHEN :Q IS NULL THEN 0 ELSE :Q + 1 END C, DECODE(:Q, NULL, 'nulo', 1, 'um', 'outro') D,"
     " (SELECT COUNT(*) FROM TIT WHERE :C IS NULL OR CODCLI = :C) E FROM DUAL",
     {{"b", "b", "2", "um", "1"}},
     {{"P", "x"}, {"Q", "1"}, {"C", "3"}}},
    // ROWNUM over an ordered sub-query: the first rows in that order.
    {"RownumOverAnOrderedSubquery",
     "SELECT CODCLI FROM (SELECT CODCLI FROM TIT ORDER BY VALOR DESC) WHERE ROWNUM <= 2",
     {{"4"}, {"3"}}},
    {"RownumBelowABind",
     "SELECT CODCLI FROM (SELECT CODCLI FROM TIT ORDER BY CODCLI) WHERE ROWNUM < :N",
     {{"1"}, {"2"}},
     {{"N", "2.5"}}},
    {"RownumWithAnUnsetBind", "SELECT CODCLI FROM TIT WHERE ROWNUM <= :N", {}, {{"N"}}},
    // Oracle counts after numbering: at most three rows counted.
    {"RownumBeforeCount", "SELECT COUNT(*) FROM TIT T WHERE VALOR > 5 AND ROWNUM <= 3", {{"3"}}},
    // What the receivable, slip and credit statements are made of.
    {"ReceivableDateWindowAndDelay",
     "SELECT CODCLI, TO_CHAR(CODCLI) || '-' || NVL(HISTORICO, 'X') DOC, ROUND(DATE '2026-02-10' - DTVENC) ATRASO,"
     " ROUND(VALOR * 2 / 100 / 30, 2) JUROS FROM TIT"
     " WHERE NVL(DTVENC, DTLANC) BETWEEN :DTINI AND :DTFIM AND DATE '2026-02-10' - DTVENC > 0 ORDER BY CODCLI",
     {{"1", "1- ", "35", "0.01"}, {"2", "2-X", "38", "0.01"}, {"4", "4-NF 4", "9", "0.03"}},
     {{"DTINI", "2026-01-03"}, {"DTFIM", "2026-02-01"}}},
    {"WeekOfMonthAndFirstOfMonth",
     "SELECT TO_CHAR(DATE '2026-01-15', 'W') W, TO_CHAR(TO_DATE(('01/' || 1 || '/' || 2026), 'DD/MM/YYYY'), "
     "'YYYY-MM-DD') D,"
     " TO_CHAR(TRUNC(DTLANC), 'YYYY-MM-DD HH24:MI:SS') T FROM TIT WHERE CODCLI = 2",
     {{"3", "2026-01-01", "2026-01-01 00:00:00"}}},
    {"NotExistsOverAUnion",
     "SELECT T.CODCLI FROM TIT T WHERE NOT EXISTS (SELECT 1 FROM TIT A WHERE A.CODCLI = T.CODCLI AND A.VALOR > 25"
     " UNION ALL SELECT 1 FROM TIT B WHERE B.CODCLI = T.CODCLI AND B.HISTORICO IS NULL) ORDER BY T.CODCLI",
     {{"1"}}},
};

TEST_F(TranslatorOracleAnswers, AsOracle) {
  for (const OracleCase& c : kCases) EXPECT_EQ(RunOracle(Session(), c.oracle, c.binds), c.expected) << c.name;
}

}  // namespace
