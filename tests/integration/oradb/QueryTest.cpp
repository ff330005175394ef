#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "oradb/Translator.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

// ---- Statement text, parameters and execution ----

class QueryRuns : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE run_probe (id integer PRIMARY KEY, texto text); "
        "INSERT INTO run_probe SELECT g, 'T' || g FROM generate_series(1, 5) g");
  }
};

// The cash balance row: Post runs SQLUpdate with the new values and finds the row by its old key. A
// row that vanished is not reported as written; without the statement an edit is refused instead of
// being kept in memory.
TEST_F(QueryRuns, PostRunsTheUpdateByTheOldKeyAndRefusesOneThatWritesNothing) {
  Exec(
      "CREATE TEMP TABLE ZTESTCR (CODCOB varchar(4), CODBANCO integer, VALOR numeric(14,2), "
      "VALORCONCILIADO numeric(14,2), DTULTCONCILIA timestamp(0));"
      "INSERT INTO ZTESTCR VALUES ('D', 1, 100.10, 50, NULL), ('D', 2, 7, 7, NULL)");
  TOraQuery balance(&Session());
  balance.SQL.Add("SELECT * FROM ZTESTCR WHERE CODCOB = :CODCOB AND CODBANCO = :CODBANCO FOR UPDATE");
  balance.SQLUpdate.Add("UPDATE ZTESTCR SET CODBANCO = :CODBANCO, VALOR = :VALOR, VALORCONCILIADO = :VALORCONCILIADO,");
  balance.SQLUpdate.Add("       DTULTCONCILIA = :DTULTCONCILIA");
  balance.SQLUpdate.Add(" WHERE CODCOB = :OLD_CODCOB AND CODBANCO = :OLD_CODBANCO");
  balance.ParamByName("CODCOB").SetAsString("D");
  balance.ParamByName("CODBANCO").SetAsInteger(1);
  balance.Open();
  ASSERT_EQ(balance.RecordCount(), 1u);
  balance.Edit();
  balance.FieldByName("CODBANCO").SetAsInteger(3);
  balance.FieldByName("VALOR").SetAsFloat(balance.FieldByName("VALOR").AsFloat() + 10.5);
  balance.FieldByName("VALORCONCILIADO").Clear();
  balance.FieldByName("DTULTCONCILIA").SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 14, 30, 0));
  balance.Post();
  EXPECT_EQ(balance.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Value("SELECT string_agg(concat_ws('/', CODBANCO, VALOR, VALORCONCILIADO, DTULTCONCILIA), ';' ORDER BY "
                  "CODBANCO) FROM ZTESTCR"),
            "2/7.00/7.00;3/110.60/2026-01-31 14:30:00");
  EXPECT_EQ(balance.FieldByName("VALOR").AsString(), "110.6");
  Exec("DELETE FROM ZTESTCR WHERE CODBANCO = 3");
  balance.Edit();
  balance.FieldByName("VALOR").SetAsFloat(1);
  EXPECT_EQ(Failure([&] { balance.Post(); }), "Exception: A gravação do registro afetou 0 registro(s) em vez de 1.");
  EXPECT_EQ(balance.State(), TDataSetState::dsEdit);
  balance.SQLUpdate.Clear();
  EXPECT_EQ(Failure([&] { balance.Post(); }),
            "Exception: A consulta não tem instrução de atualização (SQLUpdate) para gravar o registro.");
}

TEST_F(QueryRuns, ChangingTheTextKeepsTheValuesOfBindsStillUsedAndReopeningKeepsTheRows) {
  Exec("CREATE TEMP SEQUENCE run_seq");
  TOraQuery query(&Session());
  query.SQL.Add("SELECT texto, nextval('run_seq') AS N FROM run_probe WHERE id = :ID");
  query.ParamByName("ID").SetAsInteger(2);
  query.Open();
  query.Open();  // already open: the rows stay
  EXPECT_EQ(query.FieldByName("TEXTO").AsString(), "T2");
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 1);
  query.Close();
  query.Open();
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 2);
  query.SQL.Add("   OR texto = :TEXTO");
  query.ParamByName("TEXTO").SetAsString("T4");
  query.Open();  // the text changed: runs again
  EXPECT_EQ(query.RecordCount(), 2u);
  EXPECT_EQ(Failure([&] { static_cast<void>(query.ParamByName("OUTRO")); }),
            "Exception: Parâmetro 'OUTRO' não encontrado.");
}

TEST_F(QueryRuns, ExecSqlCountsTheRowsItChangedOrReadAndLeavesASelectOpenToCopy) {
  TOraQuery update(&Session());
  update.SQL.Add("UPDATE run_probe SET texto = :TEXTO WHERE id <= :ATE");
  update.ParamByName("TEXTO").SetAsString("X");
  update.ParamByName("ATE").SetAsInteger(3);
  update.ExecSQL();
  EXPECT_EQ(update.RowsAffected(), 3);
  TOraQuery select(&Session());
  select.SQL.Add("SELECT id FROM run_probe ORDER BY id");
  select.ExecSQL();
  EXPECT_EQ(select.RowsAffected(), 5);
  // The visible rows of an open query copy into memory as an unchanged baseline.
  select.SetFilter("ID >= 4");
  select.SetFiltered(true);
  TClientDataSet copy;
  copy.CopyFrom(select);
  EXPECT_EQ(copy.RecordCount(), 2u);
  EXPECT_FALSE(copy.HasChanges());
  copy.First();
  copy.Delete();
  copy.CancelUpdates();
  EXPECT_EQ(copy.RecordCount(), 2u);
  EXPECT_EQ(copy.FieldByName("ID").AsInteger(), 4);
  EXPECT_EQ(Failure([&] { copy.CopyFrom(copy); }),
            "Exception: Um conjunto de dados não pode ser copiado sobre si mesmo.");
}

TEST_F(QueryRuns, AStatementIsPreparedOncePerSessionAndParameterTypesAndTranslatedOnce) {
  const std::string text = "SELECT texto FROM run_probe WHERE id = :ID /* prepared once */";
  const std::size_t translations = oradb::TranslationCount();
  for (int id = 1; id <= 3; ++id) {
    TOraQuery query(&Session());
    query.SQL.Add(text);
    query.ParamByName("ID").SetAsInteger(id);
    query.Open();
    EXPECT_EQ(query.FieldByName("TEXTO").AsString(), "T" + std::to_string(id));
  }
  EXPECT_EQ(oradb::TranslationCount(), translations + 1);
  const auto plans = [&](const std::string& oracle) {
    return Value(
        "SELECT count(*) || '/' || sum(generic_plans + custom_plans) FROM pg_prepared_statements "
        "WHERE statement = '" +
        oradb::TranslateCached(oracle)->Text + "'");
  };
  // Its first run went unnamed; the second prepared it, the third reused it.
  EXPECT_EQ(plans(text), "1/2");
  // A date where there was a number travels with another parameter type: another statement.
  const std::string cast_text = "SELECT CAST(:V AS text) AS T FROM dual";
  TOraQuery typed(&Session());
  typed.SQL.Add(cast_text);
  for (int vez = 0; vez < 2; ++vez) {
    typed.Close();
    typed.ParamByName("V").SetAsInteger(1);
    typed.Open();
    typed.Close();
    typed.ParamByName("V").SetAsDate(TDateTime::EncodeDate(2026, 1, 31));
    typed.Open();
  }
  EXPECT_EQ(typed.FieldByName("T").AsString(), "2026-01-31 00:00:00");
  EXPECT_EQ(plans(cast_text), "2/2");
  // A text with a value pasted into it, run once, is never prepared: it takes no place on the
  // server, and outside a transaction it is one round trip.
  const std::string once = "SELECT texto FROM run_probe WHERE id = 2 /* run once */";
  TOraQuery literal(&Session());
  literal.SQL.Add(once);
  const std::uint64_t before = oradb::RoundTrips(Session());
  literal.Open();
  EXPECT_EQ(oradb::RoundTrips(Session()) - before, 1u);
  EXPECT_EQ(literal.FieldByName("TEXTO").AsString(), "T2");
  EXPECT_EQ(plans(once), "0/");
}

// Texts that differ only in a digit string written after "COLUMN =" (a row address pasted in)
// share one translation and one prepared statement, and each reads and writes its own value, read
// as the column's type ('004' is the integer 4; '0042' stays text in a text column).
TEST_F(QueryRuns, TextsThatDifferOnlyInAPastedDigitStringShareOneStatement) {
  const std::size_t translations = oradb::TranslationCount();
  for (const char* id : {"1", "004", "5"}) {
    TOraQuery update(&Session());
    update.SQL.Add(std::string("UPDATE run_probe SET texto = '0042' WHERE id = '") + id + "' /* lifted */");
    update.ExecSQL();
    EXPECT_EQ(update.RowsAffected(), 1);
    TOraQuery select(&Session());
    select.SQL.Add(std::string("SELECT id FROM run_probe WHERE id = '") + id + "' AND texto = :T /* lifted */");
    select.ParamByName("T").SetAsString("0042");
    select.Open();
    EXPECT_EQ(select.Fields(0).AsInteger(), std::stoi(id));
  }
  EXPECT_EQ(oradb::TranslationCount(), translations + 2);
  EXPECT_EQ(Value("SELECT string_agg(id || '=' || texto, ',' ORDER BY id) FROM run_probe"),
            "1=0042,2=T2,3=T3,4=0042,5=0042");
  EXPECT_EQ(Value("SELECT count(*) FROM pg_prepared_statements WHERE statement LIKE '%/* lifted */%'"), "2");
}

// ---- One statement under its own savepoint ----

TEST_F(QueryRuns, AFailedStatementUnderItsSavepointLeavesTheTransactionUsableAndNoSavepointBehind) {
  TOraQuery insert(&Session());
  insert.SetStatementSavepoint(true);
  insert.SQL.Add("INSERT INTO run_probe (id, texto) VALUES (:ID, 'novo')");
  insert.ParamByName("ID").SetAsInteger(6);
  insert.ExecSQL();
  EXPECT_THROW(insert.ExecSQL(), EOraDuplicateKey);
  insert.ParamByName("ID").SetAsInteger(7);
  insert.ExecSQL();
  EXPECT_EQ(Value("SELECT string_agg(id::text, ',') FROM run_probe WHERE id > 5"), "6,7");
  EXPECT_EQ(Value("SELECT count(*) FROM pg_prepared_statements WHERE statement LIKE 'INSERT INTO run_probe%'"), "1");
  EXPECT_EQ(Failure([&] { Exec("RELEASE SAVEPOINT oradb_statement"); }),
            "EOraError: ORA-00604: savepoint \"oradb_statement\" does not exist");
  // Outside a transaction there is nothing to protect: the statement runs without one.
  Session().Rollback();
  TOraQuery query(&Session());
  query.SetStatementSavepoint(true);
  query.SQL.Add("SELECT 1 / :D FROM dual");
  query.ParamByName("D").SetAsInteger(0);
  EXPECT_THROW(query.Open(), EOraError);
  query.ParamByName("D").SetAsInteger(1);
  query.Open();
  EXPECT_EQ(query.Fields(0).AsInteger(), 1);
}

// ---- Unidirectional reading through a server cursor ----

// Rows come through a server cursor, 1000 at a time: memory holds one chunk plus the current row
// carried over, the cursor closes at the end, and going back is refused once rows were dropped.
// Under a filter positions count the visible rows, and when the last chunks hold none the last
// visible row stays current.
TEST_F(QueryRuns, UnidirectionalStreamsThroughACursorInBoundedChunks) {
  const auto cursors = [&] { return Value("SELECT count(*) FROM pg_cursors WHERE name LIKE 'oradb_cursor_%'"); };
  TOraQuery query(&Session());
  query.SetUniDirectional(true);
  query.SQL.Add("SELECT g AS N FROM generate_series(1, :ATE) g ORDER BY g");
  query.ParamByName("ATE").SetAsInteger(2500);
  query.Open();
  EXPECT_EQ(cursors(), "1");
  long long sum = 0;
  std::size_t most_in_memory = 0;
  for (; !query.Eof(); query.Next()) {
    sum += query.FieldByName("N").AsInteger();
    most_in_memory = std::max(most_in_memory, query.RecordCount());
  }
  EXPECT_EQ(query.RecNo(), 2500u);
  EXPECT_EQ(sum, 3126250LL);
  EXPECT_LE(most_in_memory, 1001u);
  EXPECT_EQ(Failure([&] { query.First(); }),
            "Exception: Operação não permitida em um conjunto de dados unidirecional.");
  EXPECT_EQ(cursors(), "0");
  query.Close();
  query.SetFilter("N = 999 OR N = 1001");
  query.SetFiltered(true);
  query.Open();
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 999);
  query.Next();
  query.Next();
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 1001);
  EXPECT_EQ(query.RecNo(), 2u);
}

TEST_F(QueryRuns, UnidirectionalNeedsATransactionAndDiesWithIt) {
  Session().SetImplicitTransactions(false);
  Session().Rollback();
  TOraQuery query(&Session());
  query.SetUniDirectional(true);
  query.SetFetchRows(10);
  query.SQL.Add("SELECT g AS ID FROM generate_series(1, 50) g ORDER BY g");
  EXPECT_EQ(Failure([&] { query.Open(); }), "Exception: Uma consulta unidirecional precisa de uma transação aberta.");
  Session().StartTransaction();
  query.Open();
  Session().Commit();
  Session().StartTransaction();
  for (int row = 0; row < 9; ++row) query.Next();
  EXPECT_EQ(Failure([&] { query.Next(); }),
            "EOraError: ORA-01001: cursor inválido: a transação em que a consulta foi aberta terminou");
  EXPECT_EQ(Value("SELECT 1"), "1");  // the new transaction was not touched
}

}  // namespace
