#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace oradb::internal {
class Connection;
struct SessionAccess;
}  // namespace oradb::internal

// One database session (a PostgreSQL connection speaking through the Oracle translator).
// The host opens and ends transactions; the module only reads InTransaction(), except where it
// is told to commit. A new session autocommits each statement until its first StartTransaction;
// from then on it behaves as an Oracle session: a Commit or Rollback ends the transaction and the
// next statement opens the next one, so work after a commit inside the module still belongs to
// the caller's final commit or rollback.
class TOraSession {
 public:
  TOraSession();
  ~TOraSession();
  TOraSession(const TOraSession&) = delete;
  TOraSession& operator=(const TOraSession&) = delete;

  // Connects with a libpq connection string; `client_info` becomes the session's application_name
  // ("program:usercode"), which the lock views report. Sets search_path and the lock wait.
  void Connect(const std::string& dsn, const std::string& client_info = "quorvin");
  void Disconnect() noexcept;
  [[nodiscard]] bool Connected() const noexcept;

  // True while a transaction is open: from StartTransaction, or from the first statement after a
  // Commit/Rollback, until the next Commit/Rollback; also while a failed statement has aborted it.
  [[nodiscard]] bool InTransaction() const noexcept;
  // Opens the caller's unit of work and turns implicit transactions on. A transaction that a
  // statement opened implicitly is taken over as it stands; an explicit one still open is refused.
  // Its BEGIN travels with its first statement (no round trip of its own); from here on the session
  // is in a transaction, and a commit or rollback before any statement sends nothing.
  void StartTransaction();
  // Whether a statement that finds no transaction open opens one (on from StartTransaction).
  [[nodiscard]] bool ImplicitTransactions() const noexcept;
  // Off: once the current transaction ends, statements autocommit again (a host between calls).
  void SetImplicitTransactions(bool on);
  // A transaction that a failed statement aborted cannot commit: it is rolled back and the commit
  // fails with ORA-02091, never reported as done. Without a transaction, nothing happens.
  void Commit();
  void Rollback();

  // Seconds a lock wait may last before it fails as busy (ORA-00054). Default 0: a statement waits
  // for a lock until its holder ends, as on Oracle (a second poster waits for the first to commit).
  // A bound is the host's choice. NOWAIT statements fail at once on a locked row either way.
  void SetLockTimeout(int seconds);
  [[nodiscard]] int LockTimeout() const noexcept { return FLockTimeout; }
  // Runs PostgreSQL text as it stands (no translation, several statements allowed): schema
  // scripts and administration only, never the module's SQL. Unqualified objects it creates land
  // in schema public (not in orafce's schema, which comes first in the session's path).
  void ExecuteScript(const std::string& postgres_sql);

  // The server's backend process id (the session's SID in the lock views).
  [[nodiscard]] int ServerPid() const;

 private:
  // The driver's connection is the data-access library's own: its statements reach it through
  // oradb::internal::SessionAccess, never through this class's public face.
  friend struct oradb::internal::SessionAccess;
  // Throws EOraError (ORA-03114) when not connected.
  [[nodiscard]] oradb::internal::Connection& Connection();
  void ApplyLockTimeout();
  void RestoreSettingsAfterRollback() noexcept;
  void RestoreSearchPath() noexcept;

  std::unique_ptr<oradb::internal::Connection> FConnection;
  int FLockTimeout = 0;
  // SET inside a transaction is undone by its rollback: re-applied afterwards.
  bool FLockTimeoutSetInTransaction = false;
  std::uint64_t FConnectCount = 0;
};

// Rolls back on destruction unless committed: one unit of work for hosts and tests. A session that
// autocommitted before the unit autocommits again after it.
class TOraTransaction {
 public:
  explicit TOraTransaction(TOraSession& session);
  ~TOraTransaction();
  TOraTransaction(const TOraTransaction&) = delete;
  TOraTransaction& operator=(const TOraTransaction&) = delete;
  void Commit();
  void Rollback();

 private:
  void RestoreMode() noexcept;

  TOraSession& FSession;
  bool FOpen = true;
  bool FWasAutocommit;
};
