// Translations whose meaning depends on PostgreSQL (outer joins, NULL, the types inferred for
// untyped binds, orafce's functions), run through the data-access layer over TEMP tables built
// inside the test's transaction, which is rolled back. The exact texts are pinned by the unit tests.
#include <gtest/gtest.h>

#include <string>

#include "OracleRows.h"
#include "support/TestDatabase.h"

namespace {

using namespace translatortest;

class TranslatorSql : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE tit (codcli, codusur, codcob, valor) AS VALUES (1, 100, 'D', 10.00), (2, 200, 'X', 20.00),"
        " (3, NULL, 'CRED', 30.00), (4, 100, 'D', 40.00);"
        "CREATE TEMP TABLE cli (codcli, codpraca, nome) AS VALUES (1,10,'A'), (2,99,'B'), (3,10,'C'), (4,20,'D');"
        "CREATE TEMP TABLE praca (codpraca, praca, ativa) AS VALUES (10, 'P10', 'S'), (20, 'P20', 'N');"
        "CREATE TEMP TABLE usur (codusur, nome, tipo) AS VALUES (100, 'U100', 'R'), (100, 'U100F', 'F');"
        "CREATE TEMP TABLE cob (codcob, cartao) AS VALUES ('D', 'N'), ('CRED', 'S');"
        "CREATE TEMP TABLE ztprest (codfilial, duplic, prest, valor) AS VALUES ('1', 131::numeric(10), 'A', 5.00);"
        "CREATE TEMP TABLE ztlanc (recnum numeric(10), numtrans numeric(10), localizacao varchar(40),"
        " descontofin numeric(12,2), valor numeric(12,2), vpago numeric(12,2), valordev numeric(12,2),"
        " dtpagto timestamp(0), dtprocessamento timestamp(0));"
        "INSERT INTO ztlanc (recnum, numtrans, localizacao, descontofin, valor, valordev) VALUES"
        " (1, NULL, NULL, NULL, 100, 10), (2, 5, 'NF 12 / 3', 3, 50, NULL), (3, 6, 'NF 99', 0, 20, NULL);");
  }

  Rows Run(const std::string& oracle, const Binds& binds = {}) { return RunOracle(Session(), oracle, binds); }
};

TEST_F(TranslatorSql, GivesOraclesRows) {
  const TDateTime date = TDateTime::EncodeDateTime(2024, 3, 5, 10, 0, 0);
  const std::nullopt_t null = std::nullopt;
  const struct {
    const char* oracle;
    Rows expected;
    Binds binds = {};
  } cases[] = {
      // PRACA is outer-joined to CLI, which comes after it in the FROM list; the constant (+) condition
      // and the two conditions on USUR belong to their joins; the NVL on COB filters after the join.
      {"SELECT T.VALOR, C.NOME, R.PRACA, U.NOME USUARIO, B.CARTAO FROM TIT T, PRACA R, CLI C, USUR U, COB B\n"
       " WHERE T.CODCLI = C.CODCLI AND C.CODPRACA = R.CODPRACA(+) AND R.ATIVA(+) = 'S'\n"
       "   AND T.CODUSUR = U.CODUSUR(+) AND U.TIPO(+) = :TIPO AND T.CODCOB = B.CODCOB(+)\n"
       "   AND NVL(B.CARTAO, 'N') <> 'S' ORDER BY T.VALOR",
       {{"10.00", "A", "P10", "U100", "N"}, {"20.00", "B", null, null, null}, {"40.00", "D", null, "U100", "N"}},
       {{"TIPO", "R"}}},
      // FOR UPDATE locks the preserved table only (PostgreSQL refuses the nullable side).
      {"SELECT T.VALOR FROM TIT T, COB B WHERE T.CODCOB = B.CODCOB(+) AND T.CODCLI = 1 FOR UPDATE NOWAIT", {{"10.00"}}},
      // Two USUR rows match; ROWNUM = 1 keeps one before COUNT, so the count is 1 as in Oracle.
      {"SELECT (SELECT SUBSTR(U.NOME, 1, 4) FROM USUR U WHERE U.CODUSUR = 100 AND ROWNUM = 1) PRIMEIRO,\n"
       "       (SELECT COUNT(U.CODUSUR) QTD FROM USUR U WHERE U.CODUSUR = :CODUSUR AND ROWNUM = 1) QTD,\n"
       "       CASE WHEN (SELECT COUNT(L.CODUSUR) QTD FROM USUR L WHERE L.CODUSUR = C.CODCLI AND ROWNUM = 1) >= 1\n"
       "            THEN 'S' ELSE 'N' END TEMPERMISSAO FROM CLI C WHERE C.CODCLI = 1",
       {{"U100", "1", "N"}},
       {{"CODUSUR", "100"}}},
      {"SELECT LPAD(CODFILIAL || TRIM(TO_CHAR(DUPLIC, '0000000')) || TO_CHAR(PREST), 10, ' ') MDUPLICPREST, "
       "TO_CHAR(DUPLIC) || '-' || PREST DOCBAIXA, TO_CHAR(VALOR), REPLACE(TO_CHAR(VALOR * 1.5), '.') FROM ZTPREST",
       {{" 10000131A", "131-A", "5", "75"}}},
      // Untyped binds in arithmetic, NVL and TO_CHAR.
      {"SELECT :A + 1 X, -:A Y, :A * 100 Z, 2 - :A W, NVL(:X, 0) A, NVL(:X, 'N') B, NVL(:Y, 0) C, TO_CHAR(:N) D, "
       "TO_CHAR(:M, '0000') E, TO_CHAR(:D, 'DD/MM/YYYY') F FROM DUAL",
       {{"2.5", "-1.5", "150.0", "0.5", "0", "N", "12345678901.25", "77", " 0042", "05/03/2024"}},
       {{"A", "1.5"}, {"X", {}}, {"Y", "12345678901.25"}, {"N", "77"}, {"M", "42"}, {"D", nullptr, date}}},
      {"SELECT 'A' || NULL || 'B' A, NULL || '' B, 'x' || :V || '' C, TO_CHAR(3) || '-' || 'Z' D FROM DUAL",
       {{"AB", null, "x", "3-Z"}},
       {{"V", {}}}},
      {"SELECT (SELECT COUNT(*) FROM ZTLANC WHERE NVL(LOCALIZACAO, '') IS NULL) A, COUNT(*) B FROM ZTLANC "
       "WHERE LOCALIZACAO <> ''",
       {{"1", "0"}}},
      {"SELECT DECODE(:T, 'D', 1, 'C', -1, 0) A, DECODE(NULL, NULL, 'nulo', 'outro') B, "
       "DECODE(:N, 0, 'zero', 1.5, 'um e meio', 'outro') C, DECODE(1, 1, :R, 2) D, EXTRACT(YEAR FROM :D) YEAR, "
       "TRUNC(:D) - 1 ONTEM FROM DUAL",
       {{"-1", "nulo", "um e meio", "2.5", "2024", "2024-03-04 00:00:00"}},
       {{"T", "C"}, {"N", "1.5"}, {"R", "2.5"}, {"D", nullptr, date}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.oracle, c.binds), c.expected) << c.oracle;
}

// A bind the statement reads as text in one place and as a number in others has one type the server
// accepts; a NULL one leaves the column as it was.
TEST_F(TranslatorSql, SettlementUpdateInfersEveryBind) {
  const char* settlement =
      "UPDATE ZTLANC SET ZTLANC.VPAGO = NVL(ZTLANC.VALOR, 0) - NVL(ZTLANC.VALORDEV, 0),\n"
      "LOCALIZACAO = DECODE(TRIM(NVL(LOCALIZACAO, '')), '', TO_CHAR(:NUMTRANS), LOCALIZACAO),\n"
      "DTPAGTO = :DTPAGTO,\n"
      "NUMTRANS = DECODE(NVL(:NUMTRANS, 0), 0, NUMTRANS, :NUMTRANS),\n"
      "DESCONTOFIN = DECODE(NVL(DESCONTOFIN,0), 0, :DESCONTOFIN, DESCONTOFIN),\n"
      "DTPROCESSAMENTO = TRUNC(SYSDATE)\n"
      "WHERE ZTLANC.DTPAGTO IS NULL AND ZTLANC.RECNUM = :RECNUM";
  const TDateTime date = TDateTime::EncodeDate(2024, 3, 5);
  Run(settlement, {{"NUMTRANS", "77"}, {"DTPAGTO", nullptr, date}, {"DESCONTOFIN", "7.5"}, {"RECNUM", "1"}});
  Run(settlement, {{"NUMTRANS", {}}, {"DTPAGTO", nullptr, date}, {"DESCONTOFIN", "1.25"}, {"RECNUM", "2"}});
  EXPECT_EQ(
      Run("SELECT RECNUM, VPAGO, LOCALIZACAO, NUMTRANS, DESCONTOFIN, TO_CHAR(DTPAGTO, 'YYYY-MM-DD') FROM "
          "ZTLANC WHERE RECNUM IN (1, 2) ORDER BY RECNUM"),
      (Rows{{"1", "90.00", "77", "77", "7.50", "2024-03-05"}, {"2", "50.00", "NF 12 / 3", "5", "3.00", "2024-03-05"}}));
}

// The compatibility view: upper-case names and Oracle types, no dropped or technical rowid column,
// numbered in order.
TEST_F(TranslatorSql, UserTabColumnsListsTheVisibleTableUpperCase) {
  Exec(
      "CREATE TEMP TABLE ztcolunas (rowid bigint GENERATED ALWAYS AS IDENTITY, recnum numeric(10) NOT NULL,"
      " historico varchar(40), valor numeric(12,2), dtlanc timestamp(0));"
      "ALTER TABLE ztcolunas DROP COLUMN historico;");
  EXPECT_EQ(Run("SELECT COLUMN_NAME, DATA_TYPE, NULLABLE, COLUMN_ID FROM USER_TAB_COLUMNS WHERE "
                "UPPER(TABLE_NAME) = 'ZTCOLUNAS' ORDER BY COLUMN_ID"),
            (Rows{{"RECNUM", "NUMBER", "N", "1"}, {"VALOR", "NUMBER", "Y", "2"}, {"DTLANC", "DATE", "Y", "3"}}));
}

}  // namespace
