#pragma once

#include "oradb/internal/Private.h"

#include <string>
#include <string_view>

// How PostgreSQL failures surface as Oracle errors (ORA codes and the EOraError kinds callers catch).
namespace oradb::internal {

// Oracle codes of failures this layer reports on its own (no server error behind them).
inline constexpr int kOraNotConnected = 3114;        // not connected
inline constexpr int kOraConnectionLost = 3113;      // end-of-file on communication channel
inline constexpr int kOraConnectFailed = 12541;      // no listener / cannot connect
inline constexpr int kOraTransactionAborted = 2091;  // transaction rolled back
inline constexpr int kOraInvalidCursor = 1001;       // invalid cursor
inline constexpr int kOraUnmapped = 604;             // error occurred at recursive SQL level

// The Oracle code for a SQLSTATE (the message tells apart the cases one SQLSTATE covers).
[[nodiscard]] int OracleCodeFor(std::string_view sqlstate, std::string_view message) noexcept;

// Throws the EOraError kind of the SQLSTATE, carrying the code, message, SQLSTATE and statement.
[[noreturn]] void ThrowOraError(std::string_view sqlstate, const std::string& message, const std::string& statement);

}  // namespace oradb::internal
