#include "PgSession.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
  PQclear(PQexec(FConnection, "SET client_min_messages = warning"));
  Exec("CREATE EXTENSION IF NOT EXISTS orafce");
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

Outcome PgSession::Collect(PGresult* result) {
  Outcome outcome;
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    outcome.SqlState = state != nullptr ? state : "?????";
    outcome.Error = PQresultErrorMessage(result);
    PQclear(result);
    // Keep the test's transaction usable after an expected failure.
    PQclear(PQexec(FConnection, "ROLLBACK TO SAVEPOINT translator_statement"));
    return outcome;
  }
  for (int row = 0; row < PQntuples(result); ++row) {
    Row values;
    for (int column = 0; column < PQnfields(result); ++column) {
      if (PQgetisnull(result, row, column)) {
        values.emplace_back(std::nullopt);
      } else {
        values.emplace_back(PQgetvalue(result, row, column));
      }
    }
    outcome.Rows.push_back(std::move(values));
  }
  PQclear(result);
  PQclear(PQexec(FConnection, "RELEASE SAVEPOINT translator_statement"));
  return outcome;
}

Outcome PgSession::Run(const std::string& oracle_sql, const std::vector<std::pair<std::string, Value>>& binds) {
  if (FConnection == nullptr) return Outcome{{}, "08000", "not connected"};
  const oradb::Translation translation = oradb::Translate(oracle_sql);
  std::vector<const char*> values;
  std::vector<Oid> types;
  for (const std::string& name : translation.ParamNames) {
    const Value* value = nullptr;
    for (const auto& [bind_name, bind_value] : binds) {
      if (bind_name == name) value = &bind_value;
    }
    if (value == nullptr) {
      ADD_FAILURE() << "no value for :" << name;
      return Outcome{{}, "22023", "missing bind"};
    }
    values.push_back(value->Text ? value->Text->c_str() : nullptr);
    types.push_back(value->Type);
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
    std::string literal = "NULL";
    for (const auto& [bind_name, bind_literal] : literals) {
      if (bind_name == name) literal = bind_literal;
    }
    ordered.push_back(literal);
  }
  PQclear(PQexec(FConnection, "SAVEPOINT translator_statement"));
  return Collect(PQexec(FConnection, oradb::RenderBlock(translation, ordered).c_str()));
}

std::optional<std::string> PgSession::Value1(const std::string& postgres_sql) {
  if (FConnection == nullptr) return std::nullopt;
  PGresult* result = PQexec(FConnection, postgres_sql.c_str());
  std::optional<std::string> value;
  if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1 && !PQgetisnull(result, 0, 0)) {
    value = PQgetvalue(result, 0, 0);
  } else if (PQresultStatus(result) != PGRES_TUPLES_OK) {
    ADD_FAILURE() << postgres_sql << "\n" << PQresultErrorMessage(result);
  }
  PQclear(result);
  return value;
}

std::string Quoted(const std::string& text) {
  std::string literal = "'";
  for (const char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

}  // namespace translatortest
