#include "TestDatabase.h"

#include <cstdlib>

namespace testsupport {

std::string TestDsn() {
  const char* dsn = std::getenv("QUORVIN_TEST_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    ADD_FAILURE() << "QUORVIN_TEST_DSN is not set: run the integration tests through `make test`.";
    return {};
  }
  return dsn;
}

void DatabaseTest::SetUp() {
  const std::string dsn = TestDsn();
  ASSERT_FALSE(dsn.empty());
  FSession = std::make_unique<TOraSession>();
  FSession->Connect(dsn, "tests:0");
  FSession->StartTransaction();
}

void DatabaseTest::TearDown() {
  if (FSession && FSession->Connected() && FSession->InTransaction()) FSession->Rollback();
  FOther.reset();
  FSession.reset();
}

TOraSession& DatabaseTest::OtherSession() {
  if (!FOther) {
    FOther = std::make_unique<TOraSession>();
    FOther->Connect(TestDsn(), "tests:1");
  }
  return *FOther;
}

}  // namespace testsupport
