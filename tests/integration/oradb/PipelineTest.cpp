#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraPipeline.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

using PipelineBehaviour = testsupport::DatabaseTest;

// Queries kept alive for the pipeline that runs them.
class Queries {
 public:
  explicit Queries(TOraSession& session) : FSession(session) {}
  TOraQuery& Add(const std::string& sql) {
    TOraQuery& query = FQueries.emplace_back(&FSession);
    query.SQL.Add(sql);
    return query;
  }

 private:
  TOraSession& FSession;
  std::deque<TOraQuery> FQueries;
};

TOraQuery& Insert(Queries& queries, const std::string& table, int id) {
  TOraQuery& insert = queries.Add("INSERT INTO " + table + " (ID, NAME) VALUES (:ID, :NAME)");
  insert.ParamByName("ID").SetAsInteger(id);
  insert.ParamByName("NAME").SetAsString("n" + std::to_string(id));
  return insert;
}

// Inserts, reads and a block go out together: one round trip however many statements and whether
// or not they were prepared before, each query ending as Open() or ExecSQL() leaves it. The values
// are those the parameters held when the query was queued.
TEST_F(PipelineBehaviour, StatementsTravelInOneRoundTripAndEachQueryGetsItsOwnAnswer) {
  Exec("CREATE TEMP TABLE PIPE_PROBE (ID integer PRIMARY KEY, NAME varchar(20))");
  const auto trips = [&, before = oradb::RoundTrips(Session())] { return oradb::RoundTrips(Session()) - before; };
  for (int round = 0; round < 2; ++round) {
    Queries queries(Session());
    TOraPipeline pipeline(&Session());
    const int base = round * 10;
    TOraQuery& first = Insert(queries, "PIPE_PROBE", base + 1);
    pipeline.ExecSQL(first);
    first.ParamByName("ID").SetAsInteger(999);                  // too late: the queued value goes
    pipeline.ExecSQL(Insert(queries, "PIPE_PROBE", base + 2));  // the same text again in one pipeline
    TOraQuery& block = queries.Add("BEGIN UPDATE PIPE_PROBE SET NAME = :NAME WHERE ID = :ID; END;");
    block.ParamByName("NAME").SetAsString("it's blocked");
    block.ParamByName("ID").SetAsInteger(base + 2);
    pipeline.ExecSQL(block);
    TOraQuery& update = queries.Add("UPDATE PIPE_PROBE SET NAME = NAME || '+' WHERE ID <= :ID");
    update.ParamByName("ID").SetAsInteger(base + 2);
    pipeline.ExecSQL(update);
    TOraQuery& count = queries.Add("SELECT COUNT(*) AS N, MIN(NAME) AS LAST FROM PIPE_PROBE WHERE ID > :ID");
    count.ParamByName("ID").SetAsInteger(base);
    pipeline.Open(count);
    TOraQuery& none = queries.Add("SELECT NAME FROM PIPE_PROBE WHERE ID = 12345");
    pipeline.Open(none);
    EXPECT_EQ(pipeline.Count(), 6u);
    const std::uint64_t before = trips();
    pipeline.Execute();
    EXPECT_EQ(trips() - before, 1u) << "round " << round;
    EXPECT_EQ(pipeline.Count(), 0u);
    EXPECT_EQ(first.RowsAffected(), 1);
    EXPECT_EQ(update.RowsAffected(), round == 0 ? 2 : 4);
    ASSERT_TRUE(count.Active());
    EXPECT_EQ(count.FieldByName("N").AsInteger(), 2);
    EXPECT_EQ(count.FieldByName("LAST").AsString(), "it's blocked+");
    EXPECT_TRUE(none.Active());
    EXPECT_TRUE(none.IsEmpty());
    // An open query whose text has not changed keeps its rows and sends nothing, as Open() does.
    pipeline.Open(count);
    EXPECT_EQ(pipeline.Count(), 0u);
  }
  EXPECT_EQ(Value("SELECT string_agg(ID::text, ',' ORDER BY ID) FROM PIPE_PROBE"), "1,2,11,12");
  TOraPipeline empty(&Session());
  const std::uint64_t before = trips();
  empty.Execute();
  EXPECT_EQ(trips(), before);
}

// With the session's statement cache full, the statements dropped to make room for a pipeline's new
// ones are deallocated in the pipeline's own round trip; the server keeps no more than the cache.
TEST_F(PipelineBehaviour, AFullStatementCacheDeallocatesInThePipelinesRoundTrip) {
  const auto texto = [](int n) { return "SELECT " + std::to_string(n) + " AS N FROM dual /* cache probe */"; };
  // A text is prepared from its second run on: each runs twice.
  for (int n = 0; n < 300; ++n) {
    for (int vez = 0; vez < 2; ++vez) {
      TOraQuery query(&Session());
      query.SQL.Add(texto(n));
      query.Open();
    }
  }
  // The pipeline's new texts are met once before, so the pipeline prepares them.
  for (int n = 1000; n < 1003; ++n) {
    TOraQuery query(&Session());
    query.SQL.Add(texto(n));
    query.Open();
  }
  const std::string servidor = "SELECT count(*) FROM pg_prepared_statements";
  const std::optional<std::string> cheio = Value(servidor);
  Queries queries(Session());
  TOraPipeline pipeline(&Session());
  for (int n = 1000; n < 1003; ++n) pipeline.Open(queries.Add(texto(n)));
  TOraQuery& antigo = queries.Add(texto(299));
  pipeline.Open(antigo);
  const std::uint64_t before = oradb::RoundTrips(Session());
  pipeline.Execute();
  EXPECT_EQ(oradb::RoundTrips(Session()) - before, 1u);
  EXPECT_EQ(antigo.Fields(0).AsInteger(), 299);
  EXPECT_EQ(Value(servidor), cheio);
  EXPECT_EQ(Value("SELECT count(*) FROM pg_prepared_statements WHERE statement LIKE 'SELECT 100_ %'"), "3");
  // A dropped statement runs again when it comes back.
  TOraQuery primeiro(&Session());
  primeiro.SQL.Add(texto(0));
  primeiro.Open();
  EXPECT_EQ(primeiro.Fields(0).AsInteger(), 0);
}

// The statement that fails reports exactly what it reports alone (class, message, its own text),
// the statements after it do not run, and the transaction is left as that failure leaves it: a
// rollback leaves nothing of the pipeline written.
TEST_F(PipelineBehaviour, AFailureReportsAsItsStatementAloneAndStopsTheRest) {
  testsupport::SharedTable table("PIPE_FAIL", "(ID integer PRIMARY KEY, NAME varchar(20))");
  table.Exec("INSERT INTO " + table.Name() + " (ID, NAME) VALUES (2, 'kept')");
  std::string alone;
  std::string alone_statement;
  {
    Queries queries(Session());
    TOraQuery& duplicate = Insert(queries, table.Name(), 2);
    try {
      duplicate.ExecSQL();
    } catch (const EOraError& failure) {
      alone = testsupport::ClassAndMessage(failure);
      alone_statement = failure.Statement();
    }
    Session().Rollback();
  }
  ASSERT_FALSE(alone.empty());

  Session().StartTransaction();
  Queries queries(Session());
  TOraPipeline pipeline(&Session());
  pipeline.ExecSQL(Insert(queries, table.Name(), 1));
  TOraQuery& read = queries.Add("SELECT COUNT(*) AS N FROM " + table.Name());
  pipeline.Open(read);
  pipeline.ExecSQL(Insert(queries, table.Name(), 2));
  TOraQuery& after = Insert(queries, table.Name(), 3);
  pipeline.ExecSQL(after);
  std::string in_pipeline;
  std::string statement;
  try {
    pipeline.Execute();
  } catch (const EOraError& failure) {
    EXPECT_NE(dynamic_cast<const EOraDuplicateKey*>(&failure), nullptr);
    in_pipeline = testsupport::ClassAndMessage(failure);
    statement = failure.Statement();
  }
  EXPECT_EQ(in_pipeline, alone);
  EXPECT_EQ(statement, alone_statement);
  EXPECT_EQ(pipeline.Count(), 0u);
  // What ran before the failure answered; what comes after it never ran.
  ASSERT_TRUE(read.Active());
  EXPECT_EQ(read.FieldByName("N").AsInteger(), 2);
  EXPECT_EQ(after.RowsAffected(), 0);
  EXPECT_TRUE(Session().InTransaction());
  EXPECT_FAILS_WITH(Session().Commit(),
                    "EOraError: ORA-02091: transação desfeita: um comando anterior falhou e a transação não pode ser "
                    "confirmada");
  EXPECT_EQ(testsupport::QueryValue(OtherSession(), "SELECT string_agg(NAME, ',') FROM " + table.Name()), "kept");

  // A statement the server cannot prepare fails the same way, and its text is not taken as prepared.
  Session().StartTransaction();
  Queries more(Session());
  TOraPipeline again(&Session());
  again.ExecSQL(Insert(more, table.Name(), 5));
  again.Open(more.Add("SELECT NO_SUCH_COLUMN FROM " + table.Name()));
  const std::string bad = Failure([&] { again.Execute(); });
  EXPECT_NE(bad.find("no_such_column"), std::string::npos) << bad;
  EXPECT_EQ(bad.rfind("EOraError: ORA-", 0), 0u) << bad;
  Session().Rollback();
  EXPECT_EQ(Failure([&] { testsupport::QueryValue(Session(), "SELECT NO_SUCH_COLUMN FROM " + table.Name()); }), bad);
  Session().Rollback();
}

// Without a transaction each statement commits on its own: the pipeline sends them one at a time,
// so a failure neither takes back those before it nor lets those after it run. With implicit
// transactions the BEGIN goes in the same round trip as the statements.
TEST_F(PipelineBehaviour, AutocommitRunsOneAtATimeAndAnImplicitBeginTravelsWithTheStatements) {
  testsupport::SharedTable table("PIPE_AUTO", "(ID integer PRIMARY KEY, NAME varchar(20))");
  table.Exec("INSERT INTO " + table.Name() + " (ID, NAME) VALUES (2, 'kept')");
  const auto names = [&] {
    return testsupport::QueryValue(OtherSession(), "SELECT string_agg(ID::text, ',' ORDER BY ID) FROM " + table.Name())
        .value_or("");
  };
  const std::unique_ptr<TOraSession> autocommit = testsupport::NewSession("tests:pipeline");
  ASSERT_FALSE(autocommit->InTransaction());
  {
    Queries queries(*autocommit);
    TOraPipeline pipeline(autocommit.get());
    pipeline.ExecSQL(Insert(queries, table.Name(), 1));
    pipeline.ExecSQL(Insert(queries, table.Name(), 2));
    pipeline.ExecSQL(Insert(queries, table.Name(), 3));
    EXPECT_THROW(pipeline.Execute(), EOraDuplicateKey);
  }
  EXPECT_FALSE(autocommit->InTransaction());
  EXPECT_EQ(names(), "1,2");

  autocommit->StartTransaction();
  autocommit->Commit();
  ASSERT_FALSE(autocommit->InTransaction());
  Queries queries(*autocommit);
  TOraPipeline pipeline(autocommit.get());
  pipeline.ExecSQL(Insert(queries, table.Name(), 4));
  pipeline.ExecSQL(Insert(queries, table.Name(), 5));
  const std::uint64_t before = oradb::RoundTrips(*autocommit);
  pipeline.Execute();
  EXPECT_EQ(oradb::RoundTrips(*autocommit) - before, 1u);
  EXPECT_TRUE(autocommit->InTransaction());
  EXPECT_EQ(names(), "1,2");
  autocommit->Rollback();
  EXPECT_EQ(names(), "1,2");
}

// A statement under its own savepoint travels alone at its place, so its failure still leaves the
// transaction usable; a unidirectional query and a query of another session are refused up front.
TEST_F(PipelineBehaviour, SavepointStatementsTravelAloneAndWhatCannotGoIsRefused) {
  Exec("CREATE TEMP TABLE PIPE_SAVE (ID integer PRIMARY KEY, NAME varchar(20))");
  Exec("INSERT INTO PIPE_SAVE VALUES (2, 'kept')");
  Queries queries(Session());
  TOraPipeline pipeline(&Session());
  pipeline.ExecSQL(Insert(queries, "PIPE_SAVE", 1));
  TOraQuery& guarded = Insert(queries, "PIPE_SAVE", 2);
  guarded.SetStatementSavepoint(true);
  pipeline.ExecSQL(guarded);
  pipeline.ExecSQL(Insert(queries, "PIPE_SAVE", 3));
  EXPECT_THROW(pipeline.Execute(), EOraDuplicateKey);
  EXPECT_EQ(Value("SELECT string_agg(ID::text, ',' ORDER BY ID) FROM PIPE_SAVE"), "1,2");

  TOraQuery& cursor = queries.Add("SELECT ID FROM PIPE_SAVE");
  cursor.SetUniDirectional(true);
  EXPECT_FAILS_WITH(pipeline.Open(cursor),
                    "Exception: Uma consulta unidirecional não vai em um lote de comandos: abra-a sozinha.");
  TOraQuery foreign(&OtherSession());
  foreign.SQL.Add("SELECT 1 FROM DUAL");
  EXPECT_FAILS_WITH(pipeline.Open(foreign),
                    "Exception: A consulta está ligada a outra sessão que a do lote de comandos.");
  TOraQuery blank(&Session());
  EXPECT_FAILS_WITH(pipeline.ExecSQL(blank), "Exception: A consulta não tem instrução SQL.");
  EXPECT_EQ(pipeline.Count(), 0u);
}

}  // namespace
