#pragma once

#include "oradb/internal/Private.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// libpq stays behind this header: the plug-in and the public headers never see it.
struct pg_conn;
struct pg_result;

namespace oradb::internal {

// Type OIDs binds travel with: untyped (the server infers, as Oracle converts implicitly) or timestamp.
inline constexpr unsigned kUntypedOid = 0;
inline constexpr unsigned kTimestampOid = 1114;

// One bind value in text form; no value is NULL.
struct Bind {
  const std::string* Value = nullptr;
  unsigned TypeOid = kUntypedOid;
};

// A result the server sent back (rows and command tag); owns the libpq result.
class Result {
 public:
  Result() noexcept = default;
  explicit Result(pg_result* result) noexcept : FResult(result) {}
  ~Result();
  Result(Result&& other) noexcept;
  Result& operator=(Result&& other) noexcept;
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;

  [[nodiscard]] int RowCount() const noexcept;
  [[nodiscard]] int ColumnCount() const noexcept;
  [[nodiscard]] std::string ColumnName(int column) const;
  [[nodiscard]] unsigned ColumnType(int column) const noexcept;
  [[nodiscard]] int ColumnModifier(int column) const noexcept;
  [[nodiscard]] bool IsNull(int row, int column) const noexcept;
  [[nodiscard]] std::string_view Value(int row, int column) const noexcept;
  // Rows inserted, updated, deleted, fetched or selected by the command.
  [[nodiscard]] long long RowsAffected() const noexcept;
  // "COMMIT", "ROLLBACK", "INSERT 0 1" ...
  [[nodiscard]] std::string CommandTag() const;
  [[nodiscard]] pg_result* Get() const noexcept { return FResult; }

 private:
  pg_result* FResult = nullptr;
};

// How one statement runs.
struct RunOptions {
  // Inside a transaction: under a savepoint of its own, sent in the same round trip, rolled back
  // when the statement fails so the transaction stays usable.
  bool Savepoint = false;
  // As a named prepared statement, cached per connection (texts that vary with values, like
  // rendered blocks, go unnamed).
  bool Prepare = true;
  // A NOWAIT statement: NOWAIT covers its row locks only, so the wait for its table lock is bounded
  // (kNowaitTableWait) for this statement alone and the session's setting comes back after it.
  bool BoundLockWait = false;
};

// How long a NOWAIT statement waits for a table lock (someone altering or locking the table
// whole) before it fails as busy, as it does at once on a locked row.
inline constexpr const char* kNowaitTableWait = "1s";

enum class TransactionState { Idle, InTransaction, Failed, Unknown };

// One statement of a pipeline: PostgreSQL text with its binds (pointers stay valid until the
// pipeline has run), whether it runs as a cached prepared statement, and the text errors report.
struct PipelineStatement {
  const std::string* Text = nullptr;
  std::vector<Bind> Binds;
  bool Prepare = true;
  const std::string* Statement = nullptr;
};

// Statements a pipeline sends before it waits for their answers; a longer list goes in several
// round trips, so neither side can fill its socket buffer while the other waits to write.
inline constexpr std::size_t kPipelineDepth = 64;

// One PostgreSQL connection with its prepared-statement cache. Every failure is an EOraError.
class Connection {
 public:
  // `generation` tells connections of one session apart (server cursors check it).
  Connection(const std::string& dsn, const std::string& application_name, std::uint64_t generation);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs one PostgreSQL statement with binds; `statement` is the text errors report (the caller's).
  [[nodiscard]] Result Run(const std::string& text, std::span<const Bind> binds, RunOptions options,
                           const std::string& statement);
  // Runs statements in the order given, sent together and answered in one round trip (a BEGIN the
  // implicit begin needs goes in the same one). Each statement keeps its own failure: the first one
  // that fails throws the EOraError it would have thrown alone, and those after it do not run.
  // `results` receives, in order, the results of the statements that succeeded. Outside a
  // transaction, with implicit begin off, every statement is its own transaction: they then run one
  // at a time, so a failure still stops the ones after it.
  void RunPipeline(std::span<const PipelineStatement> statements, std::vector<Result>& results);
  // Runs PostgreSQL text through the simple protocol (several statements allowed, no binds).
  Result RunScript(const std::string& text, const std::string& statement);
  // Runs a session command (SET, BEGIN, COMMIT ...) as it stands: never opens a transaction first.
  Result RunControl(const std::string& text);

  // With implicit begin on, a statement that finds no transaction open opens one first (BEGIN),
  // as an Oracle session does: after a commit or rollback the next statement starts the next
  // transaction, so nothing runs in autocommit.
  void SetImplicitBegin(bool on) noexcept { FImplicitBegin = on; }
  [[nodiscard]] bool ImplicitBegin() const noexcept { return FImplicitBegin; }
  // Whether the transaction open now was opened by a statement rather than by an explicit BEGIN.
  [[nodiscard]] bool ImplicitlyBegun() const noexcept { return FImplicitlyBegun && State() != TransactionState::Idle; }
  // The open transaction becomes the caller's explicit one.
  void AdoptTransaction() noexcept { FImplicitlyBegun = false; }
  // The caller's explicit transaction, opened by the next statement: its BEGIN travels in that
  // statement's round trip. Until then the transaction counts as open (BeginDeferred()); a commit
  // or rollback before any statement ends it with nothing sent.
  void DeferBegin() noexcept {
    FImplicitBegin = true;
    FBeginDeferred = true;
  }
  [[nodiscard]] bool BeginDeferred() const noexcept { return FBeginDeferred && State() == TransactionState::Idle; }
  // A transaction ended before any statement: its BEGIN and savepoint commands are never sent, and
  // the savepoints made in it are gone as if it had run (TransactionSerial() changes).
  void DropDeferredBegin() noexcept;

  // Savepoint commands (SAVEPOINT x, RELEASE SAVEPOINT x) and a NOWAIT statement's SET LOCAL
  // lock_timeout wait for the transaction's next request and go out in front of it, in order, in
  // its round trip: a savepoint taken around an operation costs no round trip of its own. Only commands that cannot
  // fail in a healthy transaction are deferred; a transaction that has failed gets them at once (see TOraSavepoint).
  void DeferSavepointCommand(std::string command) { FDeferred.push_back(std::move(command)); }
  // Whether savepoint `name` is still waiting to be sent; if so it is dropped with whatever was
  // deferred after it (nothing ran under it, so there is nothing to keep or undo).
  [[nodiscard]] bool DropDeferredSavepoint(const std::string& name);
  // The deferred savepoint commands are dropped: the transaction is about to end (COMMIT, ROLLBACK),
  // which makes them moot, and a RELEASE in front of the COMMIT of a failed transaction would keep
  // the COMMIT from running.
  void DropDeferredSavepoints() noexcept { FDeferred.clear(); }

  // The session's lock_timeout as PostgreSQL text ("0" waits as long as it takes), which a NOWAIT
  // statement puts back; set by the session whenever it changes the setting.
  void SetSessionLockTimeout(std::string setting) { FSessionLockTimeout = std::move(setting); }

  [[nodiscard]] bool Alive() const noexcept;
  [[nodiscard]] int BackendPid() const noexcept;
  [[nodiscard]] TransactionState State() const noexcept;
  [[nodiscard]] std::uint64_t Generation() const noexcept { return FGeneration; }
  // Changes whenever a transaction has ended: a server cursor lives only as long as its value.
  [[nodiscard]] std::uint64_t TransactionSerial() const noexcept { return FTransactionSerial; }
  [[nodiscard]] std::size_t PreparedCount() const noexcept { return FPrepared.size(); }
  // Requests that waited for the server's answer since the connection opened: every statement,
  // prepare, BEGIN and SET counts once, and so does a pipeline however many commands it carries.
  [[nodiscard]] std::uint64_t RoundTrips() const noexcept { return FRoundTrips; }
  [[nodiscard]] std::string NextCursorName();

  // Whether a stored routine name is a procedure (CALL) rather than a function, once looked up.
  [[nodiscard]] std::optional<bool> KnownProcedure(const std::string& name) const;
  void RememberProcedure(const std::string& name, bool is_procedure);

 private:
  // Prepared statements are keyed by text and parameter types; looked up without building a key.
  struct PreparedKey {
    std::string Text;
    std::vector<unsigned> Types;
  };
  struct PreparedKeyView {
    std::string_view Text;
    std::span<const unsigned> Types;
  };
  struct PreparedKeyHash {
    using is_transparent = void;
    std::size_t operator()(const PreparedKeyView& key) const noexcept;
    std::size_t operator()(const PreparedKey& key) const noexcept {
      return (*this)(PreparedKeyView{key.Text, key.Types});
    }
  };
  struct PreparedKeyEqual {
    using is_transparent = void;
    static PreparedKeyView View(const PreparedKey& key) noexcept { return {key.Text, key.Types}; }
    static PreparedKeyView View(const PreparedKeyView& key) noexcept { return key; }
    template <typename A, typename B>
    bool operator()(const A& left, const B& right) const noexcept {
      const PreparedKeyView a = View(left);
      const PreparedKeyView b = View(right);
      return a.Text == b.Text && std::equal(a.Types.begin(), a.Types.end(), b.Types.begin(), b.Types.end());
    }
  };
  struct PreparedEntry {
    std::string Name;
    std::uint64_t LastUse = 0;
  };
  struct Request {
    const std::string& Text;
    std::vector<const char*> Values;
    std::vector<unsigned> Types;
    const std::string& Statement;
  };

  [[nodiscard]] Result RunOne(const Request& request, RunOptions options);
  [[nodiscard]] Result RunWithBoundedLockWait(const Request& request, RunOptions options);
  void RestoreLockWait() noexcept;
  [[nodiscard]] Result RunPlain(const Request& request, bool prepare);
  [[nodiscard]] Result RunUnderSavepoint(const Request& request, bool prepare);
  // A text run for the second time: prepared and run in one round trip, and kept in the cache.
  [[nodiscard]] Result PrepareAndRun(const Request& request);
  // The answers of the `commands` commands sent in pipeline mode (none when `sent` is false), up
  // to the sync; leaves pipeline mode.
  [[nodiscard]] std::vector<Result> ReadPipeline(bool sent, std::size_t commands);
  void RunPipelineChunk(std::span<const PipelineStatement> statements, std::vector<Result>& results);
  [[nodiscard]] const std::string* FindPrepared(const Request& request);
  // Whether a text not in the cache is worth a named statement: only from its second run on. A
  // text met once (a value pasted into it) runs unnamed, its Parse in its execution's round trip,
  // and takes no place in the cache nor a DEALLOCATE later.
  [[nodiscard]] bool SeenBefore(const Request& request);
  void Remember(const Request& request, const std::string& name);
  void Forget(const Request& request);
  void MakeRoomForOneMore();
  // Room in the cache for `count` statements about to be prepared.
  void MakeRoomFor(std::size_t count);
  // Drops the least recently used statements from the cache until `count` more fit; answers the
  // names to deallocate on the server (none inside a failed transaction, which refuses DEALLOCATE:
  // those stay until the session ends).
  [[nodiscard]] std::vector<std::string> Evict(std::size_t count);
  [[nodiscard]] std::string NewStatementName();
  // Throws the EOraError of a failed result (or of a connection gone away); returns for a good one.
  // `prepared` names the request whose cached statement ran.
  void Check(const Result& result, const std::string& statement, const Request* prepared = nullptr);
  [[noreturn]] void ThrowFailure(const Result& result, const std::string& statement);
  void CheckUsable(const std::string& statement) const;
  // Whether the next statement must open a transaction first (implicit begin, or a deferred one).
  [[nodiscard]] bool NeedsBegin() const noexcept {
    return (FImplicitBegin || FBeginDeferred) && State() == TransactionState::Idle;
  }
  // A BEGIN the server accepted: the transaction is the caller's when it was deferred.
  void NoteBegun() noexcept {
    FImplicitlyBegun = !FBeginDeferred;
    FBeginDeferred = false;
  }
  // Whether the next request carries commands in front of its own: the BEGIN, deferred savepoints.
  [[nodiscard]] bool HasPrelude() const noexcept { return NeedsBegin() || !FDeferred.empty(); }
  // The deferred savepoint commands, handed over to the request about to send them.
  [[nodiscard]] std::vector<std::string> TakeDeferred() noexcept { return std::exchange(FDeferred, {}); }
  // The prelude as text in front of a simple-protocol request ("BEGIN; SAVEPOINT x; "); answers
  // whether it holds the BEGIN.
  [[nodiscard]] bool TakePreludeText(std::string& text, bool with_begin);
  // In pipeline mode: sends the BEGIN (when `begin`) and the deferred commands; answers how many
  // commands went out, `sent` false once one could not be queued.
  std::size_t SendPrelude(bool begin, bool& sent);
  // Sends the prelude on its own (a statement that cannot carry it: a bounded lock wait).
  void FlushPrelude(const std::string& statement);
  void NoteTransactionState() noexcept;

  pg_conn* FConn = nullptr;
  std::uint64_t FGeneration;
  std::uint64_t FTransactionSerial = 0;
  std::uint64_t FNextStatement = 0;
  std::uint64_t FNextCursor = 0;
  std::uint64_t FUseClock = 0;
  std::uint64_t FRoundTrips = 0;
  std::string FSessionLockTimeout = "0";
  bool FImplicitBegin = false;
  bool FImplicitlyBegun = false;
  bool FBeginDeferred = false;
  std::vector<std::string> FDeferred;
  std::unordered_map<PreparedKey, PreparedEntry, PreparedKeyHash, PreparedKeyEqual> FPrepared;
  // Hashes of the texts (with their parameter types) run once and not prepared; emptied when full.
  // A collision only prepares a text on its first run, as every text was before.
  std::unordered_set<std::size_t> FSeenOnce;
  std::unordered_map<std::string, bool> FProcedures;
};

}  // namespace oradb::internal
