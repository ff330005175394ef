// The translations of SQL statements, run on the real PostgreSQL with orafce over TEMP tables built
// inside the test's transaction, which is rolled back.
#include <gtest/gtest.h>

#include "PgSession.h"

namespace translatortest {
namespace {

using Rows = std::vector<Row>;
constexpr Oid kTimestampOid = 1114;

// Fails with the server's message, so a wrong translation reads at once.
Rows Expect(const Outcome& outcome) {
  EXPECT_TRUE(outcome.Ok()) << outcome.SqlState << ": " << outcome.Error;
  return outcome.Rows;
}

class TranslatorSql : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDb.Connected());
    FDb.ExecSchemaFile("003_oracle_compat.sql");  // USER_TAB_COLUMNS and TO_CHAR of a text
    FDb.Exec(
        "CREATE TEMP TABLE tit (codcli int, codusur int, codcob varchar(4), valor numeric(12,2), numtrans int);"
        "CREATE TEMP TABLE cli (codcli int, codpraca int, nome varchar(20));"
        "CREATE TEMP TABLE praca (codpraca int, praca varchar(20), ativa char(1));"
        "CREATE TEMP TABLE usur (codusur int, nome varchar(20), tipo char(1));"
        "CREATE TEMP TABLE cob (codcob varchar(4), cartao char(1));"
        "CREATE TEMP TABLE nfs (numtrans int, numnota int, serie varchar(2));"
        "CREATE TEMP TABLE itens (numnota int, valor numeric(12,2));"
        "CREATE TEMP TABLE objs (\"obj#\" int, \"owner#\" int, name text);"
        "CREATE TEMP TABLE ztprest (codfilial varchar(2), duplic numeric(10), prest varchar(2), valor numeric(12,2));"
        "CREATE TEMP TABLE ztlanc (recnum numeric(10), numtrans numeric(10), localizacao varchar(40),"
        " descontofin numeric(12,2), txperm numeric(12,2), valor numeric(12,2), vpago numeric(12,2),"
        " valordev numeric(12,2), dtpagto timestamp(0), dtprocessamento timestamp(0));"
        "INSERT INTO tit VALUES (1, 100, 'D', 10, 501), (2, 200, 'X', 20, 502), (3, NULL, 'CRED', 30, NULL),"
        " (4, 100, 'D', 40, 504);"
        "INSERT INTO cli VALUES (1, 10, 'A'), (2, 99, 'B'), (3, 10, 'C'), (4, 20, 'D');"
        "INSERT INTO praca VALUES (10, 'P10', 'S'), (20, 'P20', 'N');"
        "INSERT INTO usur VALUES (100, 'U100', 'R'), (100, 'U100F', 'F');"
        "INSERT INTO cob VALUES ('D', 'N'), ('CRED', 'S');"
        "INSERT INTO nfs VALUES (501, 7001, '1'), (502, 7002, '2');"
        "INSERT INTO itens VALUES (7001, 5), (7001, 6);"
        "INSERT INTO objs VALUES (7, 1, 'ZTLANC'), (8, 1, 'ZTPREST');"
        "INSERT INTO ztprest VALUES ('1', 131, 'A', 5);"
        "INSERT INTO ztlanc (recnum, numtrans, localizacao, descontofin, valor, valordev) VALUES"
        " (1, NULL, NULL, NULL, 100, 10), (2, 5, 'NF 12 / 3', 3, 50, NULL), (3, 6, 'NF 99', 0, 20, NULL);");
  }

  PgSession FDb;
};

struct QueryCase {
  const char* oracle;
  Binds binds;
  Rows expected;
};

TEST_F(TranslatorSql, GivesOraclesRows) {
  const Value date{"2024-03-05 10:00:00", kTimestampOid};
  const QueryCase cases[] = {
      // PRACA is outer-joined to CLI, which comes after it in the FROM list; the constant (+) condition
      // and the two conditions on USUR belong to their joins; the NVL on COB filters after the join.
      {"SELECT T.VALOR, C.NOME, R.PRACA, U.NOME USUARIO, B.CARTAO FROM TIT T, PRACA R, CLI C, USUR U, COB B\n"
       " WHERE T.CODCLI = C.CODCLI AND C.CODPRACA = R.CODPRACA(+) AND R.ATIVA(+) = 'S'\n"
       "   AND T.CODUSUR = U.CODUSUR(+) AND U.TIPO(+) = :TIPO AND T.CODCOB = B.CODCOB(+)\n"
       "   AND NVL(B.CARTAO, 'N') <> 'S' ORDER BY T.VALOR",
       {{"TIPO", {"R"}}},
       {{"10.00", "A", "P10", "U100", "N"},
        {"20.00", "B", std::nullopt, std::nullopt, std::nullopt},
        {"40.00", "D", std::nullopt, "U100", "N"}}},
      // A chain through an outer table and a sub-select.
      {"SELECT T.CODCLI, N.NUMNOTA, X.TOTAL FROM TIT T, NFS N, (SELECT NUMNOTA, SUM(VALOR) TOTAL FROM ITENS GROUP BY "
       "NUMNOTA) X WHERE T.NUMTRANS = N.NUMTRANS(+) AND N.NUMNOTA = X.NUMNOTA(+) AND T.CODCLI IN (1, 2, 3) ORDER BY 1",
       {},
       {{"1", "7001", "11.00"}, {"2", "7002", std::nullopt}, {"3", std::nullopt, std::nullopt}}},
      // As in Oracle, N.SERIE = '1' without (+) drops the rows the outer join completed with NULLs.
      {"SELECT T.CODCLI FROM TIT T, NFS N WHERE T.NUMTRANS = N.NUMTRANS(+) AND N.SERIE = '1' ORDER BY 1", {}, {{"1"}}},
      // FOR UPDATE locks the preserved table only (PostgreSQL refuses the nullable side).
      {"SELECT T.VALOR FROM TIT T, COB B WHERE T.CODCOB = B.CODCOB(+) AND T.CODCLI = 1 FOR UPDATE NOWAIT",
       {},
       {{"10.00"}}},
      // Two USUR rows match; ROWNUM = 1 keeps one before COUNT, so the count is 1 as in Oracle.
      {"SELECT (SELECT SUBSTR(U.NOME, 1, 4) FROM USUR U WHERE U.CODUSUR = 100 AND ROWNUM = 1) PRIMEIRO,\n"
       "       (SELECT COUNT(U.CODUSUR) QTD FROM USUR U WHERE U.CODUSUR = :CODUSUR AND ROWNUM = 1) QTD,\n"
       "       CASE WHEN (SELECT COUNT(L.CODUSUR) QTD FROM USUR L WHERE L.CODUSUR = C.CODCLI AND ROWNUM = 1) >= 1\n"
       "            THEN 'S' ELSE 'N' END TEMPERMISSAO FROM CLI C WHERE C.CODCLI = 1",
       {{"CODUSUR", {"100"}}},
       {{"U100", "1", "N"}}},
      {"SELECT C.OBJ#, OWNER#, C.NAME FROM OBJS C WHERE C.OBJ# = :ID", {{"ID", {"7"}}}, {{"7", "1", "ZTLANC"}}},
      {"SELECT LPAD(CODFILIAL || TRIM(TO_CHAR(DUPLIC, '0000000')) || TO_CHAR(PREST), 10, ' ') MDUPLICPREST, "
       "TO_CHAR(DUPLIC) || '-' || PREST DOCBAIXA, TO_CHAR(VALOR), REPLACE(TO_CHAR(VALOR * 1.5), '.') FROM ZTPREST",
       {},
       {{" 10000131A", "131-A", "5", "75"}}},
      {"SELECT :A + 1 X, -:A Y, :A * 100 Z, 2 - :A W FROM DUAL", {{"A", {"1.5"}}}, {{"2.5", "-1.5", "150.0", "0.5"}}},
      {"SELECT NVL(:X, 0) A, NVL(:X, 'N') B, NVL(:Y, 0) C FROM DUAL",
       {{"X", {}}, {"Y", {"12345678901.25"}}},
       {{"0", "N", "12345678901.25"}}},
      {"SELECT TO_CHAR(:N) A, TO_CHAR(:M, '0000') B, TO_CHAR(:D, 'DD/MM/YYYY') C FROM DUAL",
       {{"N", {"77"}}, {"M", {"42"}}, {"D", date}},
       {{"77", " 0042", "05/03/2024"}}},
      {"SELECT 'A' || NULL || 'B' A, NULL || '' B, 'x' || :V || '' C, TO_CHAR(3) || '-' || 'Z' D FROM DUAL",
       {{"V", {}}},
       {{"AB", std::nullopt, "x", "3-Z"}}},
      {"SELECT COUNT(*) FROM ZTLANC WHERE LOCALIZACAO LIKE '%'||:NUMNOTANF||'%'", {{"NUMNOTANF", {"12"}}}, {{"1"}}},
      {"SELECT (SELECT COUNT(*) FROM ZTLANC WHERE NVL(LOCALIZACAO, '') IS NULL) A, COUNT(*) B FROM ZTLANC "
       "WHERE LOCALIZACAO <> ''",
       {},
       {{"1", "0"}}},
      {"SELECT DECODE(:T, 'D', 1, 'C', -1, 0) A, DECODE(NULL, NULL, 'nulo', 'outro') B, "
       "DECODE(:N, 0, 'zero', 1.5, 'um e meio', 'outro') C, DECODE(1, 1, :R, 2) D FROM DUAL",
       {{"T", {"C"}}, {"N", {"1.5"}}, {"R", {"2.5"}}},
       {{"-1", "nulo", "um e meio", "2.5"}}},
      {"SELECT NVL(SUM(DECODE(LOCALIZACAO, 'NF 99', VALOR, (VALOR * (-1)))), 0) SALDO FROM ZTLANC", {}, {{"-130.00"}}},
      {"SELECT COUNT(*) FROM ZTLANC WHERE RECNUM <> NVL(:RECNUM, 0) AND :RECNUM IN (RECNUM, NUMTRANS)",
       {{"RECNUM", {"5"}}},
       {{"1"}}},
      {"SELECT EXTRACT(YEAR FROM :D) YEAR, TRUNC(:D) - 1 ONTEM FROM DUAL",
       {{"D", date}},
       {{"2024", "2024-03-04 00:00:00"}}},
      {"SELECT X FROM (SELECT 1 X FROM DUAL UNION SELECT 2 FROM DUAL MINUS SELECT 2 FROM DUAL) Q", {}, {{"1"}}},
  };
  for (const QueryCase& c : cases) EXPECT_EQ(Expect(FDb.Run(c.oracle, c.binds)), c.expected) << c.oracle;
}

TEST_F(TranslatorSql, SysdateIsTheStatementTimeCutToTheSecond) {
  // Repeated across fractions of a second: rounding would show as a time after the statement began.
  for (int attempt = 0; attempt < 4; ++attempt) {
    EXPECT_EQ(Expect(FDb.Run("SELECT TO_CHAR(SYSDATE, 'US'), CASE WHEN SYSDATE <= CAST(statement_timestamp() AS "
                             "timestamp) AND SYSDATE > CAST(statement_timestamp() AS timestamp) - INTERVAL '1' SECOND "
                             "THEN 'S' ELSE 'N' END, TO_CHAR(TRUNC(SYSDATE), 'HH24:MI:SS') FROM DUAL")),
              (Rows{{"000000", "S", "00:00:00"}}));
    FDb.Exec("SELECT pg_sleep(0.3)");
  }
  Expect(FDb.Run("SELECT TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')) HORA, TO_CHAR(SYSDATE, 'W') SEMANA FROM DUAL"));
}

TEST_F(TranslatorSql, SequencesAreDrawnByName) {
  FDb.Exec("CREATE TEMP SEQUENCE dfseq_tradutor START 41");
  FDb.Exec("CREATE TEMP TABLE ztrecado_t (numrecado numeric, dtab timestamp(0), assunto varchar(40))");
  EXPECT_EQ(Expect(FDb.Run("SELECT DFSEQ_TRADUTOR.NEXTVAL NUMSEQ FROM DUAL")), (Rows{{"41"}}));
  Expect(FDb.Run("INSERT INTO ZTRECADO_T (NUMRECADO, DTAB, ASSUNTO) VALUES (DFSEQ_TRADUTOR.NEXTVAL, SYSDATE, :ASSUNTO)",
                 {{"ASSUNTO", {"Aprovação"}}}));
  EXPECT_EQ(Expect(FDb.Run("SELECT NUMRECADO, ASSUNTO FROM ZTRECADO_T WHERE NUMRECADO = DFSEQ_TRADUTOR.CURRVAL")),
            (Rows{{"42", "Aprovação"}}));
}

TEST_F(TranslatorSql, UserTabColumnsListsTheVisibleTableUpperCase) {
  FDb.Exec(
      "CREATE TEMP TABLE ztcolunas (rowid bigint GENERATED ALWAYS AS IDENTITY, recnum numeric(10) NOT NULL,"
      " historico varchar(40), valor numeric(12,2), dtlanc timestamp(0));"
      "ALTER TABLE ztcolunas DROP COLUMN historico;");
  EXPECT_EQ(Expect(FDb.Run("SELECT COLUMN_NAME, DATA_TYPE, NULLABLE, COLUMN_ID FROM USER_TAB_COLUMNS WHERE "
                           "UPPER(TABLE_NAME) = 'ZTCOLUNAS' ORDER BY COLUMN_ID")),
            (Rows{{"RECNUM", "NUMBER", "N", "1"}, {"VALOR", "NUMBER", "Y", "2"}, {"DTLANC", "DATE", "Y", "3"}}));
}

TEST_F(TranslatorSql, SettlementUpdateInfersEveryBind) {
  const char* settlement =
      "UPDATE ZTLANC SET ZTLANC.VPAGO = NVL(ZTLANC.VALOR, 0) - NVL(ZTLANC.VALORDEV, 0),\n"
      "LOCALIZACAO = DECODE(TRIM(NVL(LOCALIZACAO, '')), '', TO_CHAR(:NUMTRANS), LOCALIZACAO),\n"
      "DTPAGTO = :DTPAGTO,\n"
      "NUMTRANS = DECODE(NVL(:NUMTRANS, 0), 0, NUMTRANS, :NUMTRANS),\n"
      "DESCONTOFIN = DECODE(NVL(DESCONTOFIN,0), 0, :DESCONTOFIN, DESCONTOFIN),\n"
      "DTPROCESSAMENTO = TRUNC(SYSDATE)\n"
      "WHERE ZTLANC.DTPAGTO IS NULL AND ZTLANC.RECNUM = :RECNUM";
  const Value date{"2024-03-05 00:00:00", kTimestampOid};
  Expect(FDb.Run(settlement, {{"NUMTRANS", {"77"}}, {"DTPAGTO", date}, {"DESCONTOFIN", {"7.5"}}, {"RECNUM", {"1"}}}));
  Expect(FDb.Run(settlement, {{"NUMTRANS", {}}, {"DTPAGTO", date}, {"DESCONTOFIN", {"1.25"}}, {"RECNUM", {"2"}}}));
  EXPECT_EQ(
      Expect(FDb.Run("SELECT RECNUM, VPAGO, LOCALIZACAO, NUMTRANS, DESCONTOFIN, TO_CHAR(DTPAGTO, 'YYYY-MM-DD') FROM "
                     "ZTLANC WHERE RECNUM IN (1, 2) ORDER BY RECNUM")),
      (Rows{{"1", "90.00", "77", "77", "7.50", "2024-03-05"}, {"2", "50.00", "NF 12 / 3", "5", "3.00", "2024-03-05"}}));
}

TEST_F(TranslatorSql, DeleteWithoutFromAndUpdateOfAnAlias) {
  Expect(FDb.Run("UPDATE ZTLANC L SET L.VPAGO = :V WHERE L.RECNUM = :R", {{"V", {"1.5"}}, {"R", {"3"}}}));
  Expect(FDb.Run("DELETE ZTLANC WHERE RECNUM = :R", {{"R", {"1"}}}));
  EXPECT_EQ(Expect(FDb.Run("SELECT RECNUM, VPAGO FROM ZTLANC ORDER BY RECNUM")),
            (Rows{{"2", std::nullopt}, {"3", "1.50"}}));
}

}  // namespace
}  // namespace translatortest
