#include <gtest/gtest.h>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::DatabaseTest;
using testsupport::NewSession;
using testsupport::QueryValue;

class SessionBehaviour : public DatabaseTest {};

TEST_F(SessionBehaviour, ConnectSetsTheOracleSearchPathLockTimeoutAndClientInfo) {
  EXPECT_EQ(Value("SELECT current_setting('search_path')"), "oracle, pg_catalog, \"$user\", public");
  EXPECT_EQ(Value("SELECT current_setting('lock_timeout')"), "5s");
  EXPECT_EQ(Value("SELECT current_setting('DateStyle')"), "ISO, DMY");
  EXPECT_EQ(Value("SELECT current_setting('client_encoding')"), "UTF8");
  EXPECT_EQ(Value("SELECT application_name FROM pg_stat_activity WHERE pid = pg_backend_pid()"), "tests:0");
  EXPECT_EQ(Value("SELECT pg_backend_pid()"), std::to_string(Session().ServerPid()));
}

TEST_F(SessionBehaviour, LockTimeoutSetInsideATransactionSurvivesItsRollback) {
  Session().SetLockTimeout(2);
  Session().Rollback();
  EXPECT_EQ(Value("SELECT current_setting('lock_timeout')"), "2s");
  EXPECT_EQ(Session().LockTimeout(), 2);
  EXPECT_THROW(Session().SetLockTimeout(-1), Exception);
}

TEST_F(SessionBehaviour, StartingASecondTransactionIsRefused) {
  try {
    Session().StartTransaction();
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "A sessão já está em uma transação.");
  }
  EXPECT_TRUE(Session().InTransaction());
}

// PostgreSQL answers COMMIT of an aborted transaction with ROLLBACK and no error: reported as done,
// the caller would believe its work was saved.
TEST_F(SessionBehaviour, CommitOfAnAbortedTransactionFailsAndSavesNothing) {
  Session().Rollback();
  Exec("CREATE TEMP TABLE commit_probe (id integer PRIMARY KEY)");
  Session().StartTransaction();
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO commit_probe (id) VALUES (:ID)");
  insert.ParamByName("ID").SetAsInteger(1);
  insert.ExecSQL();
  EXPECT_THROW(insert.ExecSQL(), EOraDuplicateKey);
  EXPECT_TRUE(Session().InTransaction());
  try {
    Session().Commit();
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.ErrorCode(), 2091);
    EXPECT_EQ(error.SqlState(), "25P02");
    EXPECT_EQ(error.Message(),
              "ORA-02091: transação desfeita: um comando anterior falhou e a transação não pode ser confirmada");
  }
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(Value("SELECT count(*) FROM commit_probe"), "0");
}

TEST_F(SessionBehaviour, TransactionObjectRollsBackUnlessCommitted) {
  Session().Rollback();
  Exec("CREATE TEMP TABLE unit_probe (id integer)");
  {
    TOraTransaction work(Session());
    Exec("INSERT INTO unit_probe VALUES (1)");
  }
  EXPECT_FALSE(Session().InTransaction());
  {
    TOraTransaction work(Session());
    Exec("INSERT INTO unit_probe VALUES (2)");
    work.Commit();
  }
  EXPECT_EQ(Value("SELECT string_agg(id::text, ',') FROM unit_probe"), "2");
}

TEST_F(SessionBehaviour, StatementsOutsideATransactionAutocommit) {
  Session().Rollback();
  testsupport::SharedTable table("AUTOCOMMIT_PROBE", "(ID integer)");
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO " + table.Name() + " (ID) VALUES (:ID)");
  insert.ParamByName("ID").SetAsInteger(7);
  insert.ExecSQL();
  EXPECT_EQ(insert.RowsAffected(), 1);
  EXPECT_FALSE(Session().InTransaction());
  EXPECT_EQ(QueryValue(OtherSession(), "SELECT ID FROM " + table.Name()), "7");
}

TEST_F(SessionBehaviour, ScriptsRunSeveralStatements) {
  Exec("CREATE TEMP TABLE script_probe (id integer); INSERT INTO script_probe VALUES (1), (2);");
  EXPECT_EQ(Value("SELECT sum(id) FROM script_probe"), "3");
}

// orafce's schema comes first in the session's path, so PostgreSQL would create a script's tables
// inside it; scripts create in public and leave the session's path as it was.
TEST_F(SessionBehaviour, ScriptsCreateInPublicAndKeepTheOraclePath) {
  Exec("CREATE TABLE script_home_probe (id integer); CREATE VIEW script_home_view AS SELECT 1 AS x");
  EXPECT_EQ(Value("SELECT string_agg(relnamespace::regnamespace::text, ',') FROM pg_class "
                  "WHERE relname IN ('script_home_probe', 'script_home_view')"),
            "public,public");
  EXPECT_EQ(Value("SELECT current_setting('search_path')"), "oracle, pg_catalog, \"$user\", public");
  Session().Rollback();
  EXPECT_THROW(Exec("CREATE TABLE script_home_probe (id integer); SELECT 1 / 0"), EOraError);
  EXPECT_EQ(Value("SELECT current_setting('search_path')"), "oracle, pg_catalog, \"$user\", public");
  EXPECT_EQ(Value("SELECT count(*) FROM pg_class WHERE relname = 'script_home_probe'"), "0");
}

TEST(SessionConnection, AnUnreachableServerIsAnOracleConnectError) {
  TOraSession session;
  try {
    session.Connect("host=/nonexistent/socket/dir dbname=nothing connect_timeout=2", "tests:x");
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.ErrorCode(), 12541);
    EXPECT_EQ(error.SqlState(), "08001");
    EXPECT_EQ(error.Message().rfind("ORA-12541: não foi possível conectar ao banco de dados: ", 0), 0u)
        << error.Message();
  }
  EXPECT_FALSE(session.Connected());
  EXPECT_FALSE(session.InTransaction());
  try {
    TOraQuery query(&session);
    query.SQL.Add("SELECT 1");
    query.Open();
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.Message(), "ORA-03114: não conectado ao banco de dados");
  }
}

TEST_F(SessionBehaviour, ALostConnectionIsAnOracleErrorNotACrash) {
  const int pid = Session().ServerPid();
  TOraQuery kill(&OtherSession());
  kill.SQL.Add("SELECT pg_terminate_backend(:PID)");
  kill.ParamByName("PID").SetAsInteger(pid);
  kill.Open();
  TOraQuery query(&Session());
  query.SQL.Add("SELECT 1 FROM dual");
  try {
    query.Open();
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.ErrorCode(), 3113);
    EXPECT_EQ(error.Message().rfind("ORA-03113: conexão com o banco de dados perdida: ", 0), 0u) << error.Message();
    EXPECT_EQ(error.Statement(), "SELECT 1 FROM dual");
  }
  EXPECT_FALSE(Session().Connected());
  EXPECT_FALSE(Session().InTransaction());
  try {
    query.Open();
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.Message(), "ORA-03114: a conexão com o banco de dados foi perdida");
  }
  EXPECT_NO_THROW(Session().Rollback());
  Session().Connect(testsupport::TestDsn(), "tests:0");
  EXPECT_EQ(Value("SELECT 1"), "1");
}

}  // namespace
