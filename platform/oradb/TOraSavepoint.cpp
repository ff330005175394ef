#include "oradb/TOraSavepoint.h"

#include <atomic>

#include "oradb/TOraSession.h"
#include "oradb/internal/Connection.h"
#include "oradb/internal/SessionAccess.h"
#include "rtl/Exception.h"

namespace {

// Unique in the process, so nested savepoints of one session never share a name.
std::string NewSavepointName() {
  static std::atomic<std::uint64_t> next{0};
  return "oradb_sp_" + std::to_string(++next);
}

}  // namespace

TOraSavepoint::TOraSavepoint(TOraSession& session) : FSession(session) {
  if (!FSession.InTransaction()) {
    throw Exception("Ponto de salvamento recusado: a sessão não está em uma transação.");
  }
  oradb::internal::Connection& connection = oradb::internal::SessionAccess::Of(FSession);
  FName = NewSavepointName();
  // The SAVEPOINT goes with the transaction's next request (the BEGIN too, when it is still
  // deferred). A failed transaction refuses it: that refusal is reported here, at once.
  if (connection.State() == oradb::internal::TransactionState::Failed) {
    connection.RunScript("SAVEPOINT " + FName, "SAVEPOINT " + FName);
  } else {
    connection.DeferSavepointCommand("SAVEPOINT " + FName);
  }
  FGeneration = connection.Generation();
  FTransactionSerial = connection.TransactionSerial();
}

TOraSavepoint::~TOraSavepoint() {
  if (!Active()) return;
  try {
    Rollback();
  } catch (...) {
    // Only a connection lost meanwhile gets here: the server has dropped the whole transaction.
  }
}

bool TOraSavepoint::Active() const noexcept {
  if (!FPending || !FSession.Connected()) return false;
  try {
    // A commit or rollback of the whole transaction (or a new connection) took the savepoint away.
    oradb::internal::Connection& connection = oradb::internal::SessionAccess::Of(FSession);
    return connection.Generation() == FGeneration && connection.TransactionSerial() == FTransactionSerial &&
           FSession.InTransaction();
  } catch (...) {
    return false;
  }
}

void TOraSavepoint::Release() {
  if (!Active()) {
    FPending = false;
    return;
  }
  oradb::internal::Connection& connection = oradb::internal::SessionAccess::Of(FSession);
  if (connection.DropDeferredSavepoint(FName)) {
    FPending = false;
    return;
  }
  // A failed transaction refuses the RELEASE: sent at once, so the refusal is this call's. In a
  // healthy one it cannot fail, and it goes with the next request.
  if (connection.State() == oradb::internal::TransactionState::Failed) {
    End("RELEASE SAVEPOINT " + FName);
    return;
  }
  connection.DeferSavepointCommand("RELEASE SAVEPOINT " + FName);
  FPending = false;
}

void TOraSavepoint::Rollback() {
  if (!Active()) {
    FPending = false;
    return;
  }
  // Nothing was sent under a savepoint still waiting to be sent: nothing to undo.
  if (oradb::internal::SessionAccess::Of(FSession).DropDeferredSavepoint(FName)) {
    FPending = false;
    return;
  }
  // ROLLBACK TO keeps the savepoint defined; releasing it too ends the subtransaction here.
  End("ROLLBACK TO SAVEPOINT " + FName + "; RELEASE SAVEPOINT " + FName);
}

void TOraSavepoint::End(const std::string& command) {
  oradb::internal::SessionAccess::Of(FSession).RunControl(command);
  FPending = false;
}
