#include "oradb/internal/ErrorMap.h"

#include <array>

#include "oradb/EOraError.h"

namespace oradb::internal {

namespace {

struct StateCode {
  std::string_view SqlState;
  int Code;
};

// SQLSTATE -> ORA code for the states with one meaning. Codes are those an Oracle server gives for
// the same failure, so messages and catch sites read as they would there.
constexpr std::array kStateCodes{
    StateCode{"55P03", 54},                      // lock_not_available (NOWAIT, lock_timeout): resource busy
    StateCode{"23505", 1},                       // unique_violation
    StateCode{"23502", 1400},                    // not_null_violation
    StateCode{"22001", 12899},                   // string_data_right_truncation: value too large for column
    StateCode{"P0002", 1403},                    // no_data_found (SELECT INTO STRICT)
    StateCode{"P0003", 1422},                    // too_many_rows: exact fetch returns more than requested
    StateCode{"21000", 1427},                    // cardinality_violation: single-row subquery returns more than one row
    StateCode{"23514", 2290},                    // check_violation
    StateCode{"22012", 1476},                    // division_by_zero
    StateCode{"22007", 1861},                    // invalid_datetime_format: literal does not match format string
    StateCode{"22008", 1839},                    // datetime_field_overflow: date not valid for month specified
    StateCode{"22021", 29275},                   // invalid byte sequence: partial multibyte character
    StateCode{"40P01", 60},                      // deadlock_detected
    StateCode{"40001", 8177},                    // serialization_failure
    StateCode{"42P01", 942},                     // undefined_table: table or view does not exist
    StateCode{"42703", 904},                     // undefined_column: invalid identifier
    StateCode{"42601", 900},                     // syntax_error: invalid SQL statement
    StateCode{"42501", 1031},                    // insufficient_privilege
    StateCode{"57014", 1013},                    // query_canceled (statement_timeout): user requested cancel
    StateCode{"25P02", kOraTransactionAborted},  // in_failed_sql_transaction
    StateCode{"34000", kOraInvalidCursor},       // invalid_cursor_name
    StateCode{"P0001", 20000},                   // raise_exception: an application error raised by a block
};

bool Contains(std::string_view text, std::string_view part) noexcept {
  return text.find(part) != std::string_view::npos;
}

bool IsNumericInputError(std::string_view message) noexcept {
  return Contains(message, "type numeric") || Contains(message, "type integer") || Contains(message, "type bigint") ||
         Contains(message, "type smallint") || Contains(message, "type double precision") ||
         Contains(message, "type real");
}

bool IsDateInputError(std::string_view message) noexcept {
  return Contains(message, "type timestamp") || Contains(message, "type date") || Contains(message, "type time");
}

}  // namespace

int OracleCodeFor(std::string_view sqlstate, std::string_view message) noexcept {
  for (const StateCode& entry : kStateCodes) {
    if (entry.SqlState == sqlstate) return entry.Code;
  }
  if (sqlstate == "22P02") {
    if (IsNumericInputError(message)) return 1722;  // invalid number
    if (IsDateInputError(message)) return 1861;
    return 932;  // inconsistent datatypes
  }
  if (sqlstate == "22003") {
    // A value wider than its column's precision, or an arithmetic result out of range.
    return Contains(message, "numeric field overflow") ? 1438 : 1426;
  }
  if (sqlstate == "23503") {
    // Deleting a parent still referenced vs. writing a child without a parent.
    return Contains(message, "is still referenced") || Contains(message, "update or delete") ? 2292 : 2291;
  }
  if (sqlstate == "42883") return Contains(message, "operator does not exist") ? 932 : 904;
  if (sqlstate.substr(0, 2) == "08") return kOraConnectionLost;
  return kOraUnmapped;
}

void ThrowOraError(std::string_view sqlstate, const std::string& message, const std::string& statement) {
  const int code = OracleCodeFor(sqlstate, message);
  std::string state(sqlstate);
  switch (code) {
    case 54:
      throw EOraBusy(message, std::move(state), statement);
    case 1:
      throw EOraDuplicateKey(message, std::move(state), statement);
    case 1400:
      throw EOraNotNull(message, std::move(state), statement);
    case 12899:
      throw EOraTooWide(message, std::move(state), statement);
    case 1722:
      throw EOraInvalidNumber(message, std::move(state), statement);
    case 1403:
      throw EOraNoDataFound(message, std::move(state), statement);
    default:
      throw EOraError(code, message, std::move(state), statement);
  }
}

}  // namespace oradb::internal
