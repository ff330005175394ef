#pragma once

#include <cstdint>
#include <optional>

class TOraSession;

namespace oradb {

// Which transaction a session is in: two marks of one session are equal exactly when no
// transaction ended and no reconnection happened between them. A value a caller read from the
// server inside a transaction can be kept for as long as the mark stays the same.
struct TransactionMark {
  std::uint64_t Connection = 0;
  std::uint64_t Transaction = 0;
  friend bool operator==(const TransactionMark&, const TransactionMark&) = default;
};

// The mark of the transaction the server has open for the session; nothing when none is open on
// the server (autocommit, a BEGIN not sent yet, a transaction a failed statement aborted, or no
// connection).
[[nodiscard]] std::optional<TransactionMark> OpenTransaction(TOraSession& session) noexcept;

}  // namespace oradb
