// The translations of SQL statements, run on the real PostgreSQL with orafce: each test builds its
// own TEMP tables inside a transaction that is rolled back.
#include <gtest/gtest.h>

#include "PgSession.h"
#include "oradb/Translator.h"

namespace translatortest {
namespace {

using Rows = std::vector<Row>;
constexpr Oid kTimestampOid = 1114;

// The compatibility view that the schema provides (the same text as in the schema scripts).
constexpr const char* kUserTabColumnsView = R"sql(
CREATE VIEW public.user_tab_columns AS
SELECT upper(c.relname)::varchar(128) AS table_name,
       upper(a.attname)::varchar(128) AS column_name,
       (CASE WHEN t.typname IN ('numeric', 'int2', 'int4', 'int8', 'float4', 'float8') THEN 'NUMBER'
             WHEN t.typname IN ('varchar', 'text') THEN 'VARCHAR2'
             WHEN t.typname = 'bpchar' THEN 'CHAR'
             WHEN t.typname IN ('timestamp', 'timestamptz', 'date') THEN 'DATE'
             ELSE upper(t.typname) END)::varchar(128) AS data_type,
       (CASE WHEN t.typname IN ('varchar', 'bpchar') AND a.atttypmod > 4 THEN a.atttypmod - 4
             WHEN t.typname IN ('timestamp', 'timestamptz', 'date') THEN 7
             ELSE 22 END)::numeric AS data_length,
       (CASE WHEN t.typname = 'numeric' AND a.atttypmod > 4 THEN ((a.atttypmod - 4) >> 16) & 65535 END)::numeric
           AS data_precision,
       (CASE WHEN t.typname = 'numeric' AND a.atttypmod > 4 THEN (a.atttypmod - 4) & 65535 END)::numeric AS data_scale,
       (CASE WHEN a.attnotnull THEN 'N' ELSE 'Y' END)::varchar(1) AS nullable,
       row_number() OVER (PARTITION BY c.oid ORDER BY a.attnum)::numeric AS column_id
  FROM pg_catalog.pg_class c
  JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace
  JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid
  JOIN pg_catalog.pg_type t ON t.oid = a.atttypid
 WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f')
   AND a.attnum > 0 AND NOT a.attisdropped AND a.attname <> 'rowid'
   AND n.nspname NOT IN ('pg_catalog', 'information_schema', 'oracle')
   AND pg_catalog.pg_table_is_visible(c.oid)
)sql";

std::string Text(const std::optional<std::string>& value) {
  return value.value_or("<NULL>");
}

// Fails with the server's message, so a wrong translation reads at once.
Rows Expect(const Outcome& outcome) {
  EXPECT_TRUE(outcome.Ok()) << outcome.SqlState << ": " << outcome.Error;
  return outcome.Rows;
}

class TranslatorSql : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDb.Connected()); }
  PgSession FDb;
};

TEST_F(TranslatorSql, SysdateIsTheStatementTimeCutToTheSecond) {
  // Repeated across fractions of a second: rounding would show as a time after the statement began.
  for (int attempt = 0; attempt < 4; ++attempt) {
    const Rows rows =
        Expect(FDb.Run("SELECT TO_CHAR(SYSDATE, 'US') MICRO,\n"
                       "       CASE WHEN SYSDATE <= CAST(statement_timestamp() AS timestamp)\n"
                       "             AND SYSDATE > CAST(statement_timestamp() AS timestamp) - INTERVAL '1' SECOND\n"
                       "            THEN 'S' ELSE 'N' END DENTRO,\n"
                       "       TO_CHAR(TRUNC(SYSDATE), 'HH24:MI:SS') DIA, TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')) HORA,\n"
                       "       TO_CHAR(SYSDATE, 'W') SEMANA\n"
                       "  FROM DUAL"));
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(Text(rows[0][0]), "000000");
    EXPECT_EQ(Text(rows[0][1]), "S");
    EXPECT_EQ(Text(rows[0][2]), "00:00:00");
    FDb.Exec("SELECT pg_sleep(0.3)");
  }
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

class TranslatorOuterJoin : public TranslatorSql {
 protected:
  void SetUp() override {
    TranslatorSql::SetUp();
    FDb.Exec(
        "CREATE TEMP TABLE tit (codcli int, codusur int, codcob varchar(4), valor numeric(12,2), numtrans int);"
        "CREATE TEMP TABLE cli (codcli int, codpraca int, nome varchar(20));"
        "CREATE TEMP TABLE praca (codpraca int, praca varchar(20), ativa char(1));"
        "CREATE TEMP TABLE usur (codusur int, nome varchar(20), tipo char(1));"
        "CREATE TEMP TABLE cob (codcob varchar(4), cartao char(1));"
        "CREATE TEMP TABLE nfs (numtrans int, numnota int, serie varchar(2));"
        "CREATE TEMP TABLE itens (numnota int, valor numeric(12,2));"
        "INSERT INTO tit VALUES (1, 100, 'D', 10, 501), (2, 200, 'X', 20, 502), (3, NULL, 'CRED', 30, NULL),"
        "                       (4, 100, 'D', 40, 504);"
        "INSERT INTO cli VALUES (1, 10, 'A'), (2, 99, 'B'), (3, 10, 'C'), (4, 20, 'D');"
        "INSERT INTO praca VALUES (10, 'P10', 'S'), (20, 'P20', 'N');"
        "INSERT INTO usur VALUES (100, 'U100', 'R'), (100, 'U100F', 'F');"
        "INSERT INTO cob VALUES ('D', 'N'), ('CRED', 'S');"
        "INSERT INTO nfs VALUES (501, 7001, '1'), (502, 7002, '2');"
        "INSERT INTO itens VALUES (7001, 5), (7001, 6);");
  }
};

TEST_F(TranslatorOuterJoin, KeepsEveryConditionAndJoinsInAValidOrder) {
  // PRACA is outer-joined to CLI, which comes after it in the FROM list; the constant (+) condition
  // and the two conditions on USUR belong to their joins; the NVL on COB filters after the join.
  const Rows rows =
      Expect(FDb.Run("SELECT T.VALOR, C.NOME, R.PRACA, U.NOME USUARIO, B.CARTAO\n"
                     "  FROM TIT T, PRACA R, CLI C, USUR U, COB B\n"
                     " WHERE T.CODCLI = C.CODCLI\n"
                     "   AND C.CODPRACA = R.CODPRACA(+)\n"
                     "   AND R.ATIVA(+) = 'S'\n"
                     "   AND T.CODUSUR = U.CODUSUR(+)\n"
                     "   AND U.TIPO(+) = :TIPO\n"
                     "   AND T.CODCOB = B.CODCOB(+)\n"
                     "   AND NVL(B.CARTAO, 'N') <> 'S'\n"
                     " ORDER BY T.VALOR",
                     {{"TIPO", {"R"}}}));
  const Rows expected = {{"10.00", "A", "P10", "U100", "N"},
                         {"20.00", "B", std::nullopt, std::nullopt, std::nullopt},
                         {"40.00", "D", std::nullopt, "U100", "N"}};
  EXPECT_EQ(rows, expected);
}

TEST_F(TranslatorOuterJoin, ChainsThroughAnOuterTableAndASubSelect) {
  const Rows rows =
      Expect(FDb.Run("SELECT T.CODCLI, N.NUMNOTA, X.TOTAL\n"
                     "  FROM TIT T, NFS N, (SELECT NUMNOTA, SUM(VALOR) TOTAL FROM ITENS GROUP BY NUMNOTA) X\n"
                     " WHERE T.NUMTRANS = N.NUMTRANS(+)\n"
                     "   AND N.NUMNOTA = X.NUMNOTA(+)\n"
                     "   AND T.CODCLI IN (1, 2, 3)\n"
                     " ORDER BY T.CODCLI"));
  const Rows expected = {{"1", "7001", "11.00"}, {"2", "7002", std::nullopt}, {"3", std::nullopt, std::nullopt}};
  EXPECT_EQ(rows, expected);
}

TEST_F(TranslatorOuterJoin, AConditionWithoutTheMarkerStillFiltersAfterTheJoin) {
  // As in Oracle: N.SERIE = '1' without (+) drops the rows the outer join completed with NULLs.
  const Rows rows = Expect(
      FDb.Run("SELECT T.CODCLI FROM TIT T, NFS N WHERE T.NUMTRANS = N.NUMTRANS(+) AND N.SERIE = '1' ORDER BY 1"));
  EXPECT_EQ(rows, (Rows{{"1"}}));
}

TEST_F(TranslatorOuterJoin, LocksThePreservedTablesOnly) {
  const Rows rows = Expect(
      FDb.Run("SELECT T.VALOR FROM TIT T, COB B WHERE T.CODCOB = B.CODCOB(+) AND T.CODCLI = 1 FOR UPDATE NOWAIT"));
  EXPECT_EQ(rows, (Rows{{"10.00"}}));
}

TEST_F(TranslatorOuterJoin, RownumOneLimitsTheSubSelectBeforeCounting) {
  // Two USUR rows match; ROWNUM = 1 keeps one before COUNT, so the count is 1 as in Oracle.
  const Rows rows = Expect(FDb.Run(
      "SELECT C.NOME,\n"
      "       (SELECT U.NOME FROM USUR U WHERE U.CODUSUR = 100 AND ROWNUM = 1) PRIMEIRO,\n"
      "       (SELECT COUNT(U.CODUSUR) QTD FROM USUR U WHERE U.CODUSUR = :CODUSUR AND ROWNUM = 1) QTD,\n"
      "       CASE WHEN (SELECT COUNT(L.CODUSUR) QTD FROM USUR L WHERE L.CODUSUR = C.CODCLI AND ROWNUM = 1) >= 1\n"
      "            THEN 'S' ELSE 'N' END TEMPERMISSAO\n"
      "  FROM CLI C WHERE C.CODCLI = 1",
      {{"CODUSUR", {"100"}}}));
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_TRUE(rows[0][1] == "U100" || rows[0][1] == "U100F");
  EXPECT_EQ(Text(rows[0][2]), "1");
  EXPECT_EQ(Text(rows[0][3]), "N");
}

TEST_F(TranslatorOuterJoin, LockHolderQueryRunsOverTheCompatibilityViews) {
  // Stand-ins for the lock views; the translation's SYS objects are read from pg_temp here so the test
  // never touches a real schema.
  FDb.Exec(
      "CREATE TEMP TABLE \"v$lock\" (sid int, id1 int, id2 int);"
      "CREATE TEMP TABLE \"v$session\" (sid int, osuser text, username text, program text, terminal text,"
      "                                 machine text);"
      "CREATE TEMP TABLE \"obj$\" (\"obj#\" int, \"owner#\" int, name text);"
      "CREATE TEMP TABLE \"user$\" (\"user#\" int, name text);"
      "CREATE TEMP TABLE \"v_$sess_info\" (sid int, client_info text, program text, terminal text, machine text);"
      "CREATE TEMP TABLE ztempr (matricula numeric, nome varchar(40));"
      "INSERT INTO \"v$lock\" VALUES (11, 900, 0), (12, 900, 0);"
      "INSERT INTO \"v$session\" VALUES (11, 'ana', 'quorvin', 'psql', 'pts/1', 'srv'),"
      "                                 (12, 'bia', 'quorvin', 'batch', 'pts/2', 'srv');"
      "INSERT INTO \"obj$\" VALUES (900, 1, 'ztlanc');"
      "INSERT INTO \"user$\" VALUES (1, 'public');"
      "INSERT INTO \"v_$sess_info\" VALUES (11, 'rotina746:15', 'rotina746', 'estacao1', 'srv');"
      "INSERT INTO ztempr VALUES (15, 'ANA SILVA');");
  const oradb::Translation translation = oradb::Translate(
      "SELECT B.OSUSER, A.SID, B.USERNAME, D.NAME || '.' || C.NAME NAME, A.ID1, A.ID2, B.PROGRAM, B.TERMINAL, "
      "B.MACHINE, U.MATRICULA MATRICULAQUOR, U.NOME NOMEQUOR, U.PROGRAM PROGRAMAQUOR, U.TERMINAL TERMINALQUOR, "
      "U.MACHINE MACHINEQUOR FROM V$LOCK A, V$SESSION B, SYS.OBJ$ C, SYS.USER$ D, (SELECT SID, ZTEMPR.MATRICULA, "
      "ZTEMPR.NOME, PROGRAM, TERMINAL, MACHINE FROM SYS.V_$SESS_INFO, ZTEMPR WHERE SUBSTR(CLIENT_INFO, "
      "INSTR(CLIENT_INFO, ':') + 1, LENGTH(CLIENT_INFO)) = to_char(ZTEMPR.MATRICULA)) U WHERE A.ID1 = C.OBJ#(+) AND "
      "A.SID = B.SID AND B.SID = U.SID(+) AND C.OWNER# = D.USER#(+) AND B.USERNAME IS NOT NULL AND "
      "UPPER(C.NAME) = UPPER('ZTLANC') ORDER BY 1");
  std::string text = translation.Text;
  for (std::size_t at = text.find("SYS."); at != std::string::npos; at = text.find("SYS.", at)) {
    text.replace(at, 4, "pg_temp.");
  }
  const std::optional<std::string> holders = FDb.Value1(
      "SELECT string_agg(concat_ws('|', osuser, sid, name, matriculaquor, nomequor, programaquor), ';') FROM (" + text +
      ") q");
  EXPECT_EQ(Text(holders), "ana|11|public.ztlanc|15|ANA SILVA|rotina746;bia|12|public.ztlanc");
}

TEST_F(TranslatorSql, HashIdentifiersAreQuotedLowerCase) {
  FDb.Exec(
      "CREATE TEMP TABLE objs (\"obj#\" int, \"owner#\" int, name text);"
      "INSERT INTO objs VALUES (7, 1, 'ZTLANC'), (8, 1, 'ZTPREST');");
  EXPECT_EQ(Expect(FDb.Run("SELECT C.OBJ#, OWNER#, C.NAME FROM OBJS C WHERE C.OBJ# = :ID", {{"ID", {"7"}}})),
            (Rows{{"7", "1", "ZTLANC"}}));
}

TEST_F(TranslatorSql, UserTabColumnsListsTheVisibleTableUpperCase) {
  if (!FDb.Value1("SELECT to_regclass('public.user_tab_columns')::text")) FDb.Exec(kUserTabColumnsView);
  FDb.Exec(
      "CREATE TEMP TABLE ztlanc (rowid bigint GENERATED ALWAYS AS IDENTITY, recnum numeric(10) NOT NULL,"
      " historico varchar(40), valor numeric(12,2), dtlanc timestamp(0));"
      "ALTER TABLE ztlanc DROP COLUMN historico;");
  const Rows rows = Expect(FDb.Run(
      "SELECT COLUMN_NAME, DATA_TYPE, NULLABLE, COLUMN_ID FROM USER_TAB_COLUMNS WHERE UPPER(TABLE_NAME) = 'ZTLANC' "
      "ORDER BY COLUMN_ID"));
  const Rows expected = {{"RECNUM", "NUMBER", "N", "1"}, {"VALOR", "NUMBER", "Y", "2"}, {"DTLANC", "DATE", "Y", "3"}};
  EXPECT_EQ(rows, expected);
}

// The schema's to_char(text): Oracle's TO_CHAR of a text returns it; orafce has no such overload.
constexpr const char* kToCharText =
    "CREATE FUNCTION public.to_char(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS 'SELECT $1'";

TEST_F(TranslatorSql, ToCharOfTextAndNumbersAsOracleWritesThem) {
  if (!FDb.Value1("SELECT to_regprocedure('public.to_char(text)')::text")) FDb.Exec(kToCharText);
  FDb.Exec(
      "CREATE TEMP TABLE ztprest (codfilial varchar(2), duplic numeric(10), prest varchar(2), valor numeric(12,2));"
      "INSERT INTO ztprest VALUES ('1', 131, 'A', 5);");
  EXPECT_EQ(Expect(FDb.Run("SELECT LPAD(CODFILIAL || TRIM(TO_CHAR(DUPLIC, '0000000')) || TO_CHAR(PREST), 10, ' ') "
                           "MDUPLICPREST, TO_CHAR(DUPLIC) || '-' || PREST DOCBAIXA, TO_CHAR(VALOR), "
                           "REPLACE(TO_CHAR(VALOR * 1.5), '.') SEMPONTO FROM ZTPREST")),
            (Rows{{" 10000131A", "131-A", "5", "75"}}));
}

class TranslatorBinds : public TranslatorSql {
 protected:
  void SetUp() override {
    TranslatorSql::SetUp();
    FDb.Exec(
        "CREATE TEMP TABLE ztlanc (recnum numeric(10), numtrans numeric(10), localizacao varchar(40),"
        " descontofin numeric(12,2), txperm numeric(12,2), valor numeric(12,2), vpago numeric(12,2),"
        " valordev numeric(12,2), dtpagto timestamp(0), dtprocessamento timestamp(0));"
        "INSERT INTO ztlanc (recnum, numtrans, localizacao, descontofin, valor, valordev) VALUES"
        " (1, NULL, NULL, NULL, 100, 10), (2, 5, 'NF 12 / 3', 3, 50, NULL), (3, 6, 'NF 99', 0, 20, NULL);");
  }
};

TEST_F(TranslatorBinds, SettlementUpdateInfersEveryBind) {
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
  const Rows rows = Expect(
      FDb.Run("SELECT RECNUM, VPAGO, LOCALIZACAO, NUMTRANS, DESCONTOFIN, TO_CHAR(DTPAGTO, 'YYYY-MM-DD') FROM ZTLANC "
              "WHERE RECNUM IN (1, 2) ORDER BY RECNUM"));
  const Rows expected = {{"1", "90.00", "77", "77", "7.50", "2024-03-05"},
                         {"2", "50.00", "NF 12 / 3", "5", "3.00", "2024-03-05"}};
  EXPECT_EQ(rows, expected);
}

struct ExpressionCase {
  const char* oracle;
  std::vector<std::pair<std::string, Value>> binds;
  Row expected;
};

class TranslatorExpression : public TranslatorBinds, public ::testing::WithParamInterface<ExpressionCase> {};

TEST_P(TranslatorExpression, GivesOraclesValue) {
  const ExpressionCase& c = GetParam();
  EXPECT_EQ(Expect(FDb.Run(c.oracle, c.binds)), (Rows{c.expected})) << c.oracle;
}

INSTANTIATE_TEST_SUITE_P(
    Oracle, TranslatorExpression,
    ::testing::Values(
        ExpressionCase{"SELECT :A + 1 X, -:A Y, :A * 100 Z, 2 - :A W FROM DUAL",
                       {{"A", {"1.5"}}},
                       {"2.5", "-1.5", "150.0", "0.5"}},
        ExpressionCase{"SELECT NVL(:X, 0) A, NVL(:X, 'N') B, NVL(:Y, 0) C FROM DUAL",
                       {{"X", {}}, {"Y", {"12345678901.25"}}},
                       {"0", "N", "12345678901.25"}},
        ExpressionCase{"SELECT TO_CHAR(:N) A, TO_CHAR(:M, '0000') B, TO_CHAR(:D, 'DD/MM/YYYY') C FROM DUAL",
                       {{"N", {"77"}}, {"M", {"42"}}, {"D", {"2024-03-05 10:00:00", kTimestampOid}}},
                       {"77", " 0042", "05/03/2024"}},
        ExpressionCase{"SELECT 'A' || NULL || 'B' A, NULL || '' B, 'x' || :V || '' C, TO_CHAR(3) || '-' || 'Z' D "
                       "FROM DUAL",
                       {{"V", {}}},
                       {"AB", std::nullopt, "x", "3-Z"}},
        ExpressionCase{
            "SELECT COUNT(*) FROM ZTLANC WHERE LOCALIZACAO LIKE '%'||:NUMNOTANF||'%'", {{"NUMNOTANF", {"12"}}}, {"1"}},
        ExpressionCase{"SELECT (SELECT COUNT(*) FROM ZTLANC WHERE NVL(LOCALIZACAO, '') IS NULL) A, COUNT(*) B "
                       "FROM ZTLANC WHERE LOCALIZACAO <> ''",
                       {},
                       {"1", "0"}},
        ExpressionCase{"SELECT DECODE(:T, 'D', 1, 'C', -1, 0) A, DECODE(NULL, NULL, 'nulo', 'outro') B, "
                       "DECODE(:N, 0, 'zero', 1.5, 'um e meio', 'outro') C, DECODE(1, 1, :R, 2) D FROM DUAL",
                       {{"T", {"C"}}, {"N", {"1.5"}}, {"R", {"2.5"}}},
                       {"-1", "nulo", "um e meio", "2.5"}},
        ExpressionCase{"SELECT NVL(SUM(DECODE(LOCALIZACAO, 'NF 99', VALOR, (VALOR * (-1)))), 0) SALDO FROM ZTLANC",
                       {},
                       {"-130.00"}},
        ExpressionCase{"SELECT COUNT(*) FROM ZTLANC WHERE RECNUM <> NVL(:RECNUM, 0) AND :RECNUM IN (RECNUM, NUMTRANS)",
                       {{"RECNUM", {"5"}}},
                       {"1"}},
        ExpressionCase{"SELECT EXTRACT(YEAR FROM :D) YEAR, TRUNC(:D) - 1 ONTEM FROM DUAL",
                       {{"D", {"2024-03-05 10:00:00", kTimestampOid}}},
                       {"2024", "2024-03-04 00:00:00"}},
        ExpressionCase{
            "SELECT X FROM (SELECT 1 X FROM DUAL UNION SELECT 2 FROM DUAL MINUS SELECT 2 FROM DUAL) Q", {}, {"1"}}));

TEST_F(TranslatorBinds, DeleteWithoutFromAndUpdateOfAnAlias) {
  Expect(FDb.Run("UPDATE ZTLANC L SET L.VPAGO = :V WHERE L.RECNUM = :R", {{"V", {"1.5"}}, {"R", {"3"}}}));
  Expect(FDb.Run("DELETE ZTLANC WHERE RECNUM = :R", {{"R", {"1"}}}));
  EXPECT_EQ(Expect(FDb.Run("SELECT RECNUM, VPAGO FROM ZTLANC ORDER BY RECNUM")),
            (Rows{{"2", std::nullopt}, {"3", "1.50"}}));
}

}  // namespace
}  // namespace translatortest
