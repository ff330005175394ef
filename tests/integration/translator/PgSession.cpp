#include "PgSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace translatortest {

PgSession::PgSession() {
  const char* dsn = std::getenv("QUORVIN_TEST_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    ADD_FAILURE() << "QUORVIN_TEST_DSN is not set: run the integration tests through `make test`.";
    return;
  }
  FConnection = PQconnectdb(dsn);
  if (PQstatus(FConnection) != CONNECTION_OK) {
    ADD_FAILURE() << "cannot connect: " << PQerrorMessage(FConnection);
    PQfinish(FConnection);
    FConnection = nullptr;
    return;
  }
  Exec("SET client_min_messages = warning; CREATE EXTENSION IF NOT EXISTS orafce");
  Exec("SET search_path = oracle, pg_catalog, \"$user\", public");
  Exec("BEGIN");
}

PgSession::~PgSession() {
  if (FConnection == nullptr) return;
  PQclear(PQexec(FConnection, "ROLLBACK"));
  PQfinish(FConnection);
}

void PgSession::Exec(const std::string& postgres_sql) {
  ASSERT_NE(FConnection, nullptr);
  PGresult* result = PQexec(FConnection, postgres_sql.c_str());
  const ExecStatusType status = PQresultStatus(result);
  EXPECT_TRUE(status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) << postgres_sql << "\n"
                                                                       << PQresultErrorMessage(result);
  PQclear(result);
}

void PgSession::ExecSchemaFile(const std::string& name) {
  std::stringstream script;
  script << std::ifstream(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/" + name).rdbuf();
  ASSERT_FALSE(script.str().empty()) << name;
  Exec(script.str());
}

Outcome PgSession::Collect(PGresult* result) {
  Outcome outcome;
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    outcome.SqlState = state != nullptr ? state : "?????";
    outcome.Error = PQresultErrorMessage(result);
  }
  for (int row = 0; row < PQntuples(result); ++row) {
    Row& values = outcome.Rows.emplace_back();
    for (int column = 0; column < PQnfields(result); ++column) {
      values.push_back(PQgetisnull(result, row, column) ? std::nullopt
                                                        : std::optional<std::string>(PQgetvalue(result, row, column)));
    }
  }
  PQclear(result);
  // An expected failure must leave the test's transaction usable.
  PQclear(PQexec(FConnection, outcome.Ok() ? "RELEASE SAVEPOINT translator_statement"
                                           : "ROLLBACK TO SAVEPOINT translator_statement"));
  return outcome;
}

Outcome PgSession::Run(const std::string& oracle_sql, const Binds& binds) {
  if (FConnection == nullptr) return Outcome{{}, "08000", "not connected"};
  const oradb::Translation translation = oradb::Translate(oracle_sql);
  std::vector<const char*> values;
  std::vector<Oid> types;
  for (const std::string& name : translation.ParamNames) {
    const auto bind = std::find_if(binds.begin(), binds.end(), [&](const auto& b) { return b.first == name; });
    if (bind == binds.end()) {
      ADD_FAILURE() << "no value for :" << name;
      return Outcome{{}, "22023", "missing bind"};
    }
    values.push_back(bind->second.Text ? bind->second.Text->c_str() : nullptr);
    types.push_back(bind->second.Type);
  }
  PQclear(PQexec(FConnection, "SAVEPOINT translator_statement"));
  return Collect(PQexecParams(FConnection, translation.Text.c_str(), static_cast<int>(values.size()), types.data(),
                              values.data(), nullptr, nullptr, 0));
}

Outcome PgSession::RunBlock(const std::string& oracle_block,
                            const std::vector<std::pair<std::string, std::string>>& literals) {
  if (FConnection == nullptr) return Outcome{{}, "08000", "not connected"};
  const oradb::Translation translation = oradb::Translate(oracle_block);
  EXPECT_TRUE(translation.IsBlock);
  std::vector<std::string> ordered;
  for (const std::string& name : translation.ParamNames) {
    const auto bind = std::find_if(literals.begin(), literals.end(), [&](const auto& b) { return b.first == name; });
    ordered.push_back(bind == literals.end() ? "NULL" : bind->second);
  }
  PQclear(PQexec(FConnection, "SAVEPOINT translator_statement"));
  return Collect(PQexec(FConnection, oradb::RenderBlock(translation, ordered).c_str()));
}

std::optional<std::string> PgSession::Value1(const std::string& postgres_sql) {
  if (FConnection == nullptr) return std::nullopt;
  PQclear(PQexec(FConnection, "SAVEPOINT translator_statement"));
  const Outcome outcome = Collect(PQexec(FConnection, postgres_sql.c_str()));
  EXPECT_TRUE(outcome.Ok()) << postgres_sql << "\n" << outcome.Error;
  return outcome.Rows.size() == 1 ? outcome.Rows[0][0] : std::nullopt;
}

std::string Quoted(const std::string& text) {
  std::string literal = "'";
  for (const char c : text) literal += c == '\'' ? "''" : std::string(1, c);
  return literal + "'";
}

}  // namespace translatortest
