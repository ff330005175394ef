#pragma once

#include <memory>
#include <string>

namespace oradb::internal {
class Connection;
}

// One database session (a PostgreSQL connection speaking through the Oracle translator).
// The host opens and ends transactions; the module only reads InTransaction(), except where it
// is told to commit.
class TOraSession {
 public:
  TOraSession();
  ~TOraSession();
  TOraSession(const TOraSession&) = delete;
  TOraSession& operator=(const TOraSession&) = delete;

  // Connects with a libpq connection string; `client_info` becomes the session's application_name
  // ("program:usercode"), which the lock views report. Sets search_path and lock_timeout.
  void Connect(const std::string& dsn, const std::string& client_info = "quorvin");
  void Disconnect() noexcept;
  [[nodiscard]] bool Connected() const noexcept;

  [[nodiscard]] bool InTransaction() const noexcept { return FInTransaction; }
  void StartTransaction();
  void Commit();
  void Rollback();

  // Seconds a lock wait may last before it fails as busy (ORA-00054). Default 5.
  void SetLockTimeout(int seconds);
  // Runs PostgreSQL text as it stands (no translation, several statements allowed): schema
  // scripts and administration only, never the module's SQL.
  void ExecuteScript(const std::string& postgres_sql);

  // The server's backend process id (the session's SID in the lock views).
  [[nodiscard]] int ServerPid() const;

  [[nodiscard]] oradb::internal::Connection& Connection();

 private:
  std::unique_ptr<oradb::internal::Connection> FConnection;
  bool FInTransaction = false;
};

// Rolls back on destruction unless committed: one unit of work for hosts and tests.
class TOraTransaction {
 public:
  explicit TOraTransaction(TOraSession& session);
  ~TOraTransaction();
  TOraTransaction(const TOraTransaction&) = delete;
  TOraTransaction& operator=(const TOraTransaction&) = delete;
  void Commit();
  void Rollback();

 private:
  TOraSession& FSession;
  bool FOpen = true;
};
