#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

using SessionBehaviour = testsupport::DatabaseTest;

// Lock waits are unbounded unless the host bounds them; a bound set inside a transaction survives
// its rollback.
TEST_F(SessionBehaviour, ConnectSetsThePathLockTimeoutDatesAndClientInfoAndTheLockTimeoutSurvivesARollback) {
  EXPECT_EQ(Value("SELECT concat_ws('|', current_setting('search_path'), current_setting('lock_timeout'), "
                  "current_setting('DateStyle'), current_setting('client_encoding'), application_name, pid) "
                  "FROM pg_stat_activity WHERE pid = pg_backend_pid()"),
            "oracle, pg_catalog, \"$user\", public|0|ISO, DMY|UTF8|tests:0|" + std::to_string(Session().ServerPid()));
  Session().SetLockTimeout(2);
  Session().Rollback();
  EXPECT_EQ(Value("SELECT current_setting('lock_timeout')"), "2s");
}

// PostgreSQL answers COMMIT of an aborted transaction with ROLLBACK and no error: reported as done,
// the caller would believe its work was saved.
TEST_F(SessionBehaviour, TransactionsDoNotNestAndCommitOfAnAbortedOneFailsAndSavesNothing) {
  EXPECT_EQ(Failure([&] { Session().StartTransaction(); }), "Exception: A sessão já está em uma transação.");
  EXPECT_TRUE(Session().InTransaction());
  testsupport::SharedTable table("COMMIT_PROBE", "(ID integer PRIMARY KEY)");
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO " + table.Name() + " (ID) VALUES (1)");
  insert.ExecSQL();
  EXPECT_THROW(insert.ExecSQL(), EOraDuplicateKey);
  EXPECT_EQ(Failure([&] { Session().Commit(); }),
            "EOraError: ORA-02091: transação desfeita: um comando anterior falhou e a transação não pode ser "
            "confirmada");
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(Value("SELECT count(*) FROM " + table.Name()), "0");
  Session().Rollback();  // releases the table before it is dropped
}

// Round trips as the session counts them (what the benchmarks report per operation): a statement
// is one once prepared (its first run prepares it, one more, except as the transaction's first
// statement, whose BEGIN, Parse and run travel together), one too under its statement savepoint
// (savepoint, statement and release go in one pipeline), and a commit is one.
TEST_F(SessionBehaviour, EachStatementIsOneRoundTripOncePreparedAndUnderItsSavepoint) {
  testsupport::SharedTable table("ROUNDTRIP_PROBE", "(ID integer PRIMARY KEY)");
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO " + table.Name() + " (ID) VALUES (:ID)");
  const auto trips = [&, before = oradb::RoundTrips(Session())] { return oradb::RoundTrips(Session()) - before; };
  for (int id = 1; id <= 3; ++id) {
    insert.ParamByName("ID").SetAsInteger(id);
    insert.ExecSQL();
  }
  EXPECT_EQ(trips(), 3u);
  insert.SetStatementSavepoint(true);
  insert.ParamByName("ID").SetAsInteger(4);
  insert.ExecSQL();
  EXPECT_EQ(trips(), 4u);
  // A failure under the savepoint is undone by one more request; the transaction goes on.
  EXPECT_THROW(insert.ExecSQL(), EOraDuplicateKey);
  EXPECT_EQ(trips(), 6u);
  Session().Commit();
  EXPECT_EQ(trips(), 7u);
  EXPECT_EQ(Value("SELECT count(*) FROM " + table.Name()), "4");
  TOraSession unconnected;
  EXPECT_EQ(oradb::RoundTrips(unconnected), 0u);
  Session().Rollback();  // releases the table before it is dropped
}

// StartTransaction sends nothing: the BEGIN travels with the transaction's first request, whatever
// it is (a statement, one under its savepoint that fails, a savepoint, a script), and the work
// after it is inside the transaction. A transaction ended before any statement costs nothing.
TEST_F(SessionBehaviour, ATransactionsBeginTravelsWithItsFirstRequest) {
  const auto trips = [&, before = oradb::RoundTrips(Session())] { return oradb::RoundTrips(Session()) - before; };
  Session().Commit();
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(trips(), 0u);
  Session().ExecuteScript("CREATE TEMP TABLE BEGIN_PROBE (ID integer PRIMARY KEY)");
  Session().Commit();
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO BEGIN_PROBE (ID) VALUES (1)");
  TOraQuery refused(&Session());
  refused.SQL.Add("INSERT INTO BEGIN_PROBE (ID) VALUES (NULL)");
  refused.SetStatementSavepoint(true);
  const std::vector<std::pair<const char*, std::function<void()>>> firsts = {
      {"statement", [&] { insert.ExecSQL(); }},
      {"failing statement under its savepoint",
       [&] {
         EXPECT_THROW(refused.ExecSQL(), EOraError);
         insert.ExecSQL();
       }},
      {"savepoint",
       [&] {
         TOraSavepoint ponto(Session());
         insert.ExecSQL();
         ponto.Release();
       }},
      {"script", [&] { Session().ExecuteScript("INSERT INTO BEGIN_PROBE (ID) VALUES (1)"); }},
  };
  for (const auto& [name, first] : firsts) {
    SCOPED_TRACE(name);
    const std::uint64_t before = trips();
    Session().StartTransaction();
    EXPECT_EQ(trips(), before);
    first();
    EXPECT_EQ(Value("SELECT count(*) FROM BEGIN_PROBE"), "1");
    Session().Rollback();
    EXPECT_EQ(Value("SELECT count(*) FROM BEGIN_PROBE"), "0");
    Session().Rollback();
  }
  // The statement was prepared by the first case: BEGIN and its run are one round trip.
  Session().StartTransaction();
  const std::uint64_t before = trips();
  insert.ExecSQL();
  EXPECT_EQ(trips() - before, 1u);
  Session().Rollback();
}

// Once a caller has opened a transaction the session behaves as an Oracle one: after a commit or a
// rollback the next statement opens the next transaction, so nothing written later autocommits
// behind the caller's back; the caller's next StartTransaction takes that transaction over.
TEST_F(SessionBehaviour, AfterACommitOrRollbackTheNextStatementOpensTheNextTransaction) {
  testsupport::SharedTable table("IMPLICIT_PROBE", "(ID integer)");
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO " + table.Name() + " (ID) VALUES (:ID)");
  const auto write = [&](int id) {
    insert.ParamByName("ID").SetAsInteger(id);
    insert.ExecSQL();
  };
  const auto seen = [&] {
    return testsupport::QueryValue(OtherSession(), "SELECT string_agg(ID::text, ',' ORDER BY ID) FROM " + table.Name())
        .value_or("");
  };
  write(1);
  Session().Commit();
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_TRUE(Session().ImplicitTransactions());
  write(2);
  EXPECT_TRUE(Session().InTransaction());
  EXPECT_EQ(seen(), "1");
  Session().Rollback();
  write(3);
  Session().StartTransaction();  // takes over the transaction that write(3) opened
  write(4);
  Session().Rollback();
  EXPECT_EQ(seen(), "1");
  EXPECT_EQ(Failure([&] {
              write(5);
              Session().StartTransaction();
              Session().StartTransaction();
            }),
            "Exception: A sessão já está em uma transação.");
  Session().Commit();
  EXPECT_EQ(seen(), "1,5");

  // A server cursor needs a transaction: the next one is opened for it.
  TOraQuery cursor(&Session());
  cursor.SetUniDirectional(true);
  cursor.SQL.Add("SELECT ID FROM " + table.Name() + " ORDER BY ID");
  cursor.Open();
  EXPECT_EQ(cursor.FieldByName("ID").AsInteger(), 1);
  EXPECT_TRUE(Session().InTransaction());
  cursor.Close();
  Session().Rollback();
}

// A transaction object rolls back unless committed, and a session that autocommitted before it
// autocommits again after it (a host between two calls); a new session autocommits.
TEST_F(SessionBehaviour, TransactionObjectRollsBackUnlessCommittedAndLeavesAnAutocommitSessionAsItFoundIt) {
  testsupport::SharedTable table("AUTOCOMMIT_PROBE", "(ID integer)");
  auto session = testsupport::NewSession("tests:autocommit");
  EXPECT_FALSE(session->ImplicitTransactions());
  TOraQuery insert(session.get());
  insert.SQL.Add("INSERT INTO " + table.Name() + " (ID) VALUES (:ID)");
  for (int id : {1, 2}) {
    TOraTransaction work(*session);
    insert.ParamByName("ID").SetAsInteger(id);
    insert.ExecSQL();
    if (id == 2) work.Commit();
  }
  EXPECT_FALSE(session->InTransaction());
  EXPECT_FALSE(session->ImplicitTransactions());
  insert.ParamByName("ID").SetAsInteger(7);
  insert.ExecSQL();
  EXPECT_FALSE(session->InTransaction());
  {
    // Inside a caller's transaction mode the object leaves the mode on.
    Session().Rollback();
    TOraTransaction work(Session());
  }
  EXPECT_TRUE(Session().ImplicitTransactions());
  EXPECT_EQ(
      testsupport::QueryValue(OtherSession(), "SELECT string_agg(ID::text, ',' ORDER BY ID) FROM " + table.Name()),
      "2,7");
}

// orafce's schema comes first in the session's path, so PostgreSQL would create a script's tables
// inside it; scripts create in public and leave the session's path as it was.
TEST_F(SessionBehaviour, ScriptsCreateInPublicAndKeepTheOraclePath) {
  Exec("CREATE TABLE script_home_probe (id integer); CREATE VIEW script_home_view AS SELECT 1 AS x");
  EXPECT_EQ(Value("SELECT string_agg(relnamespace::regnamespace::text, ',') FROM pg_class "
                  "WHERE relname IN ('script_home_probe', 'script_home_view')"),
            "public,public");
  EXPECT_EQ(Value("SELECT current_setting('search_path')"), "oracle, pg_catalog, \"$user\", public");
  Session().SetImplicitTransactions(false);
  Session().Rollback();
  EXPECT_THROW(Exec("CREATE TABLE script_home_probe (id integer); SELECT 1 / 0"), EOraError);
  EXPECT_EQ(Value("SELECT current_setting('search_path')"), "oracle, pg_catalog, \"$user\", public");
  EXPECT_EQ(Value("SELECT count(*) FROM pg_class WHERE relname = 'script_home_probe'"), "0");
}

// A lost connection is an Oracle error, not a crash; so is reconnecting while the server cannot be
// reached, and the session connects again once it can.
TEST_F(SessionBehaviour, ALostOrUnreachableConnectionIsAnOracleErrorNotACrash) {
  testsupport::QueryValue(OtherSession(), "SELECT pg_terminate_backend(" + std::to_string(Session().ServerPid()) + ")");
  TOraQuery query(&Session());
  query.SQL.Add("SELECT 1 FROM dual");
  std::string failure = Failure([&] { query.Open(); });
  EXPECT_EQ(failure.rfind("EOraError: ORA-03113: conexão com o banco de dados perdida: ", 0), 0u) << failure;
  EXPECT_FALSE(Session().Connected());
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(Failure([&] { query.Open(); }), "EOraError: ORA-03114: a conexão com o banco de dados foi perdida");
  EXPECT_NO_THROW(Session().Rollback());
  failure = Failure([&] { Session().Connect("host=/nonexistent/socket/dir dbname=nothing connect_timeout=2", "x"); });
  EXPECT_EQ(failure.rfind("EOraError: ORA-12541: não foi possível conectar ao banco de dados: ", 0), 0u) << failure;
  EXPECT_FALSE(Session().Connected());
  Session().Connect(testsupport::TestDsn(), "tests:0");
  EXPECT_EQ(Value("SELECT 1"), "1");
}

}  // namespace
