#include "oradb/TransactionMark.h"

#include "oradb/internal/Connection.h"
#include "oradb/internal/SessionAccess.h"

namespace oradb {

std::optional<TransactionMark> OpenTransaction(TOraSession& session) noexcept {
  if (!session.Connected()) return std::nullopt;
  const internal::Connection& connection = internal::SessionAccess::Of(session);
  if (connection.State() != internal::TransactionState::InTransaction) return std::nullopt;
  return TransactionMark{connection.Generation(), connection.TransactionSerial()};
}

}  // namespace oradb
