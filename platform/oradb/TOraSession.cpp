#include "oradb/TOraSession.h"

#include "oradb/EOraError.h"
#include "oradb/internal/Connection.h"
#include "oradb/internal/ErrorMap.h"

using oradb::internal::TransactionState;

namespace {

// orafce's schema first, and pg_catalog named right after it: otherwise PostgreSQL's own substr,
// decode and friends are found before the Oracle-compatible ones.
constexpr const char* kSessionSearchPath = "SET search_path = oracle, pg_catalog, \"$user\", public";
constexpr const char* kScriptSearchPath = "SET search_path = public, oracle, pg_catalog, \"$user\"";
constexpr const char* kSessionSetup =
    "SET search_path = oracle, pg_catalog, \"$user\", public; "
    "SET client_encoding = 'UTF8'; "
    "SET DateStyle = 'ISO, DMY'; "
    "SET standard_conforming_strings = on; "
    "SET extra_float_digits = 1";

// 0 waits for a lock as long as it takes, as Oracle does.
std::string LockTimeoutSetting(int seconds) {
  return seconds == 0 ? "0" : std::to_string(seconds) + "s";
}

std::string LockTimeoutCommand(int seconds) {
  return "SET lock_timeout = '" + LockTimeoutSetting(seconds) + "'";
}

}  // namespace

TOraSession::TOraSession() = default;

TOraSession::~TOraSession() {
  Disconnect();
}

void TOraSession::Connect(const std::string& dsn, const std::string& client_info) {
  Disconnect();
  auto connection = std::make_unique<oradb::internal::Connection>(dsn, client_info, ++FConnectCount);
  connection->RunScript(std::string(kSessionSetup) + "; " + LockTimeoutCommand(FLockTimeout), "SET");
  connection->SetSessionLockTimeout(LockTimeoutSetting(FLockTimeout));
  FConnection = std::move(connection);
  FLockTimeoutSetInTransaction = false;
}

void TOraSession::Disconnect() noexcept {
  FConnection.reset();
}

bool TOraSession::Connected() const noexcept {
  return FConnection != nullptr && FConnection->Alive();
}

bool TOraSession::InTransaction() const noexcept {
  if (!Connected()) return false;
  const TransactionState state = FConnection->State();
  return state == TransactionState::InTransaction || state == TransactionState::Failed || FConnection->BeginDeferred();
}

oradb::internal::Connection& TOraSession::Connection() {
  if (FConnection == nullptr) {
    throw EOraError(oradb::internal::kOraNotConnected, "não conectado ao banco de dados", "08003");
  }
  if (!FConnection->Alive()) {
    throw EOraError(oradb::internal::kOraNotConnected, "a conexão com o banco de dados foi perdida", "08003");
  }
  return *FConnection;
}

void TOraSession::StartTransaction() {
  auto& connection = Connection();
  if (connection.ImplicitlyBegun()) {
    connection.AdoptTransaction();
  } else if (InTransaction()) {
    throw Exception("A sessão já está em uma transação.");
  } else {
    connection.DeferBegin();  // BEGIN goes with the transaction's first statement
  }
  connection.SetImplicitBegin(true);
}

bool TOraSession::ImplicitTransactions() const noexcept {
  return Connected() && FConnection->ImplicitBegin();
}

void TOraSession::SetImplicitTransactions(bool on) {
  Connection().SetImplicitBegin(on);
}

void TOraSession::Commit() {
  auto& connection = Connection();
  const TransactionState state = connection.State();
  if (state == TransactionState::Idle) {
    connection.DropDeferredBegin();  // a transaction without statements: nothing to send
    return;
  }
  connection.DropDeferredSavepoints();  // COMMIT ends them all
  if (state == TransactionState::Failed) {
    Rollback();
    throw EOraError(oradb::internal::kOraTransactionAborted,
                    "transação desfeita: um comando anterior falhou e a transação não pode ser confirmada", "25P02",
                    "COMMIT");
  }
  oradb::internal::Result result;
  try {
    result = connection.RunControl("COMMIT");
  } catch (...) {
    RestoreSettingsAfterRollback();  // a COMMIT that fails (deferred constraint) ends in a rollback
    throw;
  }
  // The server answers ROLLBACK to a COMMIT of a transaction it has already given up.
  if (result.CommandTag() != "COMMIT") {
    RestoreSettingsAfterRollback();
    throw EOraError(oradb::internal::kOraTransactionAborted, "transação desfeita pelo servidor no COMMIT", "25P02",
                    "COMMIT");
  }
  FLockTimeoutSetInTransaction = false;
}

void TOraSession::RestoreSettingsAfterRollback() noexcept {
  if (!FLockTimeoutSetInTransaction) return;
  FLockTimeoutSetInTransaction = false;
  try {
    if (Connected() && FConnection->State() == TransactionState::Idle) ApplyLockTimeout();
  } catch (...) {
    // The next Connect applies it again; a session that cannot run SET has bigger failures to report.
  }
}

void TOraSession::Rollback() {
  if (!Connected()) return;
  if (FConnection->State() == TransactionState::Idle) {
    FConnection->DropDeferredBegin();
    return;
  }
  FConnection->DropDeferredSavepoints();
  FConnection->RunControl("ROLLBACK");
  RestoreSettingsAfterRollback();
}

void TOraSession::SetLockTimeout(int seconds) {
  // PostgreSQL keeps the bound in milliseconds in an int.
  if (seconds < 0 || seconds > 2'000'000)
    throw Exception("Tempo de espera por bloqueio inválido: " + std::to_string(seconds) + ".");
  FLockTimeout = seconds;
  if (Connected()) ApplyLockTimeout();
}

void TOraSession::ApplyLockTimeout() {
  auto& connection = Connection();
  if (connection.State() == TransactionState::Failed) {
    FLockTimeoutSetInTransaction = true;  // applied after the rollback
    return;
  }
  connection.RunControl(LockTimeoutCommand(FLockTimeout));
  connection.SetSessionLockTimeout(LockTimeoutSetting(FLockTimeout));
  if (connection.State() == TransactionState::InTransaction) FLockTimeoutSetInTransaction = true;
}

void TOraSession::ExecuteScript(const std::string& postgres_sql) {
  auto& connection = Connection();
  // With orafce's schema first in the path, PostgreSQL would create every unqualified table, view or
  // function of a script inside it. Scripts run with public first: objects land in public, and
  // names still resolve to the Oracle-compatible functions before PostgreSQL's own.
  connection.RunScript(kScriptSearchPath, "SET search_path");
  try {
    connection.RunScript(postgres_sql, postgres_sql);
  } catch (...) {
    RestoreSearchPath();
    throw;
  }
  RestoreSearchPath();
}

void TOraSession::RestoreSearchPath() noexcept {
  try {
    // Inside a transaction the script aborted, the rollback restores it instead.
    if (Connected() && FConnection->State() != TransactionState::Failed) {
      FConnection->RunScript(kSessionSearchPath, "SET search_path");
    }
  } catch (...) {
    // Only a lost connection gets here; the next Connect sets the path again.
  }
}

int TOraSession::ServerPid() const {
  if (!Connected()) throw EOraError(oradb::internal::kOraNotConnected, "não conectado ao banco de dados", "08003");
  return FConnection->BackendPid();
}

TOraTransaction::TOraTransaction(TOraSession& session)
    : FSession(session), FWasAutocommit(!session.ImplicitTransactions()) {
  FSession.StartTransaction();
}

TOraTransaction::~TOraTransaction() {
  if (!FOpen) return;
  try {
    FSession.Rollback();
  } catch (...) {
    // A rollback that fails (connection gone) leaves nothing to undo: the server dropped the work.
  }
  RestoreMode();
}

void TOraTransaction::RestoreMode() noexcept {
  if (!FWasAutocommit) return;
  try {
    if (FSession.Connected()) FSession.SetImplicitTransactions(false);
  } catch (...) {
    // Only a connection lost meanwhile gets here; a new connection autocommits anyway.
  }
}

void TOraTransaction::Commit() {
  // Whatever COMMIT answers, the transaction is over: a failed commit has already been rolled back.
  FOpen = false;
  try {
    FSession.Commit();
  } catch (...) {
    RestoreMode();
    throw;
  }
  RestoreMode();
}

void TOraTransaction::Rollback() {
  FOpen = false;
  try {
    FSession.Rollback();
  } catch (...) {
    RestoreMode();
    throw;
  }
  RestoreMode();
}
