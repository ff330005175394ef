#pragma once

#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "oradb/TOraSession.h"

namespace testsupport {

// The connection string of the throwaway test database (QUORVIN_TEST_DSN). Fails the test with a
// clear message when it is not set: integration tests never skip silently.
std::string TestDsn();

// A new session of its own (autocommit until its StartTransaction), `client_info` as its
// application name.
std::unique_ptr<TOraSession> NewSession(const std::string& client_info);

// The first column of the first row of a statement run through the data-access layer (nothing when
// the statement returns no row or NULL).
std::optional<std::string> QueryValue(TOraSession& session, const std::string& sql);

// Installs the platform prerequisites (orafce, the database's search path, the lock and session
// views) when the test database lacks them; committed, so it happens once per database.
void EnsurePlatformSchema(TOraSession& session);

// A fixture with one session in an open transaction, rolled back at the end of the test.
class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Throws when SetUp could not connect, so a derived fixture's SetUp stops there too.
  TOraSession& Session();
  // A second, independent session (autocommit until its own StartTransaction).
  TOraSession& OtherSession();
  // Runs PostgreSQL text on the test's session (inside its transaction).
  void Exec(const std::string& postgres_sql) { Session().ExecuteScript(postgres_sql); }
  std::optional<std::string> Value(const std::string& sql) { return QueryValue(Session(), sql); }

 private:
  std::unique_ptr<TOraSession> FSession;
  std::unique_ptr<TOraSession> FOther;
};

// A committed table every session sees (tests across sessions cannot use the rolled-back one),
// named uniquely for this process and dropped when the object goes away.
class SharedTable {
 public:
  // `definition` is the column list: "(ID integer PRIMARY KEY, NAME text)".
  SharedTable(const std::string& base_name, const std::string& definition);
  ~SharedTable();
  SharedTable(const SharedTable&) = delete;
  SharedTable& operator=(const SharedTable&) = delete;

  [[nodiscard]] const std::string& Name() const noexcept { return FName; }
  // Runs PostgreSQL text in autocommit (rows the other sessions must see).
  void Exec(const std::string& postgres_sql);

 private:
  std::string FName;
  std::unique_ptr<TOraSession> FOwner;
};

}  // namespace testsupport
