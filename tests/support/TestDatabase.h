#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "oradb/TOraSession.h"

namespace testsupport {

// The connection string of the throwaway test database (QUORVIN_TEST_DSN). Fails the test with a
// clear message when it is not set: integration tests never skip silently.
std::string TestDsn();

// A fixture with one session in an open transaction, rolled back at the end of the test.
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TOraSession& Session() { return *FSession; }
  // A second, independent session (autocommit until its own StartTransaction).
  TOraSession& OtherSession();

 private:
  std::unique_ptr<TOraSession> FSession;
  std::unique_ptr<TOraSession> FOther;
};

}  // namespace testsupport
