#pragma once

#include <cstdint>
#include <string>

class TOraSession;

// A savepoint of the open transaction as an object: what runs while it lives is undone by its
// destructor (ROLLBACK TO SAVEPOINT) unless Release() keeps it. An operation that answers a failure
// without throwing uses one, so that a caller who commits after the answer commits none of it; the
// caller's earlier work in the transaction is never touched. Savepoints nest as the scopes that hold
// them do, each under a name of its own. Outside a transaction there is nothing to return to: the
// constructor refuses.
//
// Every savepoint is a subtransaction of the server: hold one per operation, never one per row of a
// long loop.
class TOraSavepoint {
 public:
  explicit TOraSavepoint(TOraSession& session);
  ~TOraSavepoint();
  TOraSavepoint(const TOraSavepoint&) = delete;
  TOraSavepoint& operator=(const TOraSavepoint&) = delete;

  // Keeps what ran under the savepoint as part of the transaction. Fails (and stays active, so the
  // destructor still undoes the work) when a failed statement has aborted the transaction.
  void Release();
  // Undoes at once what ran under the savepoint; the transaction stays open and usable.
  void Rollback();

  [[nodiscard]] const std::string& Name() const noexcept { return FName; }
  // Neither released nor rolled back, and the transaction it belongs to still open.
  [[nodiscard]] bool Active() const noexcept;

 private:
  void End(const std::string& command);

  TOraSession& FSession;
  std::string FName;
  std::uint64_t FGeneration = 0;
  std::uint64_t FTransactionSerial = 0;
  bool FPending = true;
};
