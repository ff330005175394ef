#include "TestDatabase.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"

namespace testsupport {

std::string TestDsn() {
  const char* dsn = std::getenv("QUORVIN_TEST_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    ADD_FAILURE() << "QUORVIN_TEST_DSN is not set: run the integration tests through `make test`.";
    return {};
  }
  return dsn;
}

std::unique_ptr<TOraSession> NewSession(const std::string& client_info) {
  auto session = std::make_unique<TOraSession>();
  session->Connect(TestDsn(), client_info);
  return session;
}

std::optional<std::string> QueryValue(TOraSession& session, const std::string& sql) {
  TOraQuery query(&session);
  query.SQL.Add(sql);
  query.Open();
  if (query.IsEmpty() || query.FieldCount() == 0 || query.Fields(0).IsNull()) return std::nullopt;
  return query.Fields(0).AsString();
}

void EnsurePlatformSchema(TOraSession& session) {
  const auto ready = QueryValue(session,
                                "SELECT count(*) FROM pg_extension e WHERE e.extname = 'orafce' "
                                "AND to_regclass('sys.\"v_$sess_info\"') IS NOT NULL");
  if (ready == "1") return;
  for (const char* name : {"000_platform.sql", "001_compat_views.sql"}) {
    std::ifstream file(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/" + name);
    std::stringstream script;
    script << file.rdbuf();
    session.ExecuteScript(script.str());
  }
}

void DatabaseTest::SetUp() {
  const std::string dsn = TestDsn();
  ASSERT_FALSE(dsn.empty());
  FSession = std::make_unique<TOraSession>();
  FSession->Connect(dsn, "tests:0");
  EnsurePlatformSchema(*FSession);
  FSession->StartTransaction();
}

void DatabaseTest::TearDown() {
  if (FSession && FSession->Connected() && FSession->InTransaction()) FSession->Rollback();
  FOther.reset();
  FSession.reset();
}

TOraSession& DatabaseTest::Session() {
  if (!FSession) throw std::logic_error("no test session: the database of QUORVIN_TEST_DSN is not reachable");
  return *FSession;
}

TOraSession& DatabaseTest::OtherSession() {
  if (!FOther) FOther = NewSession("tests:1");
  return *FOther;
}

SharedTable::SharedTable(const std::string& base_name, const std::string& definition)
    : FName(UpperAscii(base_name) + "_" + std::to_string(::getpid())), FOwner(NewSession("tests:owner")) {
  // Qualified: an unqualified CREATE would land in the first schema of the search path (orafce's).
  FOwner->ExecuteScript("DROP TABLE IF EXISTS public." + FName + "; CREATE TABLE public." + FName + " " + definition);
}

SharedTable::~SharedTable() {
  try {
    // A fresh session: the owner may be the one a test left waiting or killed.
    NewSession("tests:owner")->ExecuteScript("DROP TABLE IF EXISTS public." + FName);
  } catch (...) {
    ADD_FAILURE() << "could not drop the shared table " << FName;
  }
}

void SharedTable::Exec(const std::string& postgres_sql) {
  FOwner->ExecuteScript(postgres_sql);
}

}  // namespace testsupport
