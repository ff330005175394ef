#pragma once

#include <libpq-fe.h>

#include <optional>
#include <string>
#include <vector>

#include "oradb/Translator.h"

// A bare libpq session for the translator's tests: the session settings the driver uses, one
// transaction rolled back at the end, statements run exactly as translated. Nothing else of the
// data-access layer is involved.
namespace translatortest {

// A bind value: text (NULL when empty) sent untyped, or typed when `Type` is set (the driver sends
// dates as timestamp).
struct Value {
  std::optional<std::string> Text;
  Oid Type = 0;
};

using Row = std::vector<std::optional<std::string>>;
using Binds = std::vector<std::pair<std::string, Value>>;

// What the server answered: rows, or the SQLSTATE and message of the failure.
struct Outcome {
  std::vector<Row> Rows;
  std::string SqlState;
  std::string Error;
  [[nodiscard]] bool Ok() const { return SqlState.empty(); }
};

class PgSession {
 public:
  PgSession();
  ~PgSession();
  PgSession(const PgSession&) = delete;
  PgSession& operator=(const PgSession&) = delete;

  [[nodiscard]] bool Connected() const { return FConnection != nullptr; }
  // PostgreSQL text as it stands (setup); fails the test on error.
  void Exec(const std::string& postgres_sql);
  // A script of platform/schema (the compatibility objects the translations rely on).
  void ExecSchemaFile(const std::string& name);
  // Translates the Oracle text and runs it with the values bound by name (ParamNames order).
  Outcome Run(const std::string& oracle_sql, const Binds& binds = {});
  // Runs an Oracle anonymous block: translated, the literals written in, executed as DO.
  Outcome RunBlock(const std::string& oracle_block, const std::vector<std::pair<std::string, std::string>>& literals);
  // The single value of a PostgreSQL query (checks).
  std::optional<std::string> Value1(const std::string& postgres_sql);

 private:
  Outcome Collect(PGresult* result);

  PGconn* FConnection = nullptr;
};

// A text literal as the driver writes one into a block.
[[nodiscard]] std::string Quoted(const std::string& text);

}  // namespace translatortest
