#include "oradb/internal/Connection.h"

#include <libpq-fe.h>

#include <charconv>

#include "oradb/EOraError.h"
#include "oradb/internal/ErrorMap.h"

namespace oradb::internal {

namespace {

// Prepared statements kept per connection; the least recently used is deallocated beyond this, so
// texts that embed values (filters built as text) cannot grow the server's memory without bound.
constexpr std::size_t kPreparedCapacity = 256;
constexpr const char* kStatementSavepoint = "oradb_statement";
// Texts remembered as run once, before the memory is emptied.
constexpr std::size_t kSeenOnceCapacity = 4096;

std::string TrimmedMessage(const char* text) {
  std::string message = text == nullptr ? "" : text;
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return message;
}

void IgnoreNotice(void* /*arg*/, const char* /*message*/) {}

bool Succeeded(const Result& result) noexcept {
  if (result.Get() == nullptr) return false;
  const ExecStatusType status = PQresultStatus(result.Get());
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY;
}

}  // namespace

Result::~Result() {
  if (FResult != nullptr) PQclear(FResult);
}

Result::Result(Result&& other) noexcept : FResult(other.FResult) {
  other.FResult = nullptr;
}

Result& Result::operator=(Result&& other) noexcept {
  if (this != &other) {
    if (FResult != nullptr) PQclear(FResult);
    FResult = other.FResult;
    other.FResult = nullptr;
  }
  return *this;
}

int Result::RowCount() const noexcept {
  return FResult == nullptr ? 0 : PQntuples(FResult);
}
int Result::ColumnCount() const noexcept {
  return FResult == nullptr ? 0 : PQnfields(FResult);
}
std::string Result::ColumnName(int column) const {
  return PQfname(FResult, column);
}
unsigned Result::ColumnType(int column) const noexcept {
  return PQftype(FResult, column);
}
int Result::ColumnModifier(int column) const noexcept {
  return PQfmod(FResult, column);
}
bool Result::IsNull(int row, int column) const noexcept {
  return PQgetisnull(FResult, row, column) != 0;
}

std::string_view Result::Value(int row, int column) const noexcept {
  return {PQgetvalue(FResult, row, column), static_cast<std::size_t>(PQgetlength(FResult, row, column))};
}

long long Result::RowsAffected() const noexcept {
  if (FResult == nullptr) return 0;
  const std::string_view tuples = PQcmdTuples(FResult);
  long long count = 0;
  std::from_chars(tuples.data(), tuples.data() + tuples.size(), count);
  return count;
}

std::string Result::CommandTag() const {
  return FResult == nullptr ? std::string() : PQcmdStatus(FResult);
}

Connection::Connection(const std::string& dsn, const std::string& application_name, std::uint64_t generation)
    : FGeneration(generation) {
  // The DSN comes first so the application name given here wins over one inside it.
  const char* const keywords[] = {"dbname", "application_name", "client_encoding", nullptr};
  const char* const values[] = {dsn.c_str(), application_name.c_str(), "UTF8", nullptr};
  FConn = PQconnectdbParams(keywords, values, 1);
  if (FConn == nullptr || PQstatus(FConn) != CONNECTION_OK) {
    const std::string message = TrimmedMessage(FConn == nullptr ? "sem memória" : PQerrorMessage(FConn));
    if (FConn != nullptr) PQfinish(FConn);
    FConn = nullptr;
    throw EOraError(kOraConnectFailed, "não foi possível conectar ao banco de dados: " + message, "08001");
  }
  PQsetNoticeProcessor(FConn, IgnoreNotice, nullptr);
}

Connection::~Connection() {
  if (FConn != nullptr) PQfinish(FConn);
}

bool Connection::Alive() const noexcept {
  return FConn != nullptr && PQstatus(FConn) == CONNECTION_OK;
}

int Connection::BackendPid() const noexcept {
  return FConn == nullptr ? 0 : PQbackendPID(FConn);
}

TransactionState Connection::State() const noexcept {
  if (FConn == nullptr) return TransactionState::Unknown;
  switch (PQtransactionStatus(FConn)) {
    case PQTRANS_IDLE:
      return TransactionState::Idle;
    case PQTRANS_INTRANS:
      return TransactionState::InTransaction;
    case PQTRANS_INERROR:
      return TransactionState::Failed;
    default:
      return TransactionState::Unknown;
  }
}

std::string Connection::NextCursorName() {
  return "oradb_cursor_" + std::to_string(++FNextCursor);
}

std::optional<bool> Connection::KnownProcedure(const std::string& name) const {
  const auto found = FProcedures.find(name);
  if (found == FProcedures.end()) return std::nullopt;
  return found->second;
}

void Connection::RememberProcedure(const std::string& name, bool is_procedure) {
  FProcedures[name] = is_procedure;
}

void Connection::CheckUsable(const std::string& statement) const {
  if (!Alive()) throw EOraError(kOraNotConnected, "não conectado ao banco de dados", "08003", statement);
}

void Connection::NoteTransactionState() noexcept {
  if (State() == TransactionState::Idle) {
    ++FTransactionSerial;
    FImplicitlyBegun = false;
  }
}

void Connection::DropDeferredBegin() noexcept {
  if (!FBeginDeferred && FDeferred.empty()) return;
  FBeginDeferred = false;
  FDeferred.clear();
  ++FTransactionSerial;
}

bool Connection::DropDeferredSavepoint(const std::string& name) {
  const std::string command = "SAVEPOINT " + name;
  const auto found = std::find(FDeferred.begin(), FDeferred.end(), command);
  if (found == FDeferred.end()) return false;
  FDeferred.erase(found, FDeferred.end());
  return true;
}

bool Connection::TakePreludeText(std::string& text, bool with_begin) {
  const bool begin = with_begin && NeedsBegin();
  if (begin) text += "BEGIN; ";
  for (const std::string& command : TakeDeferred()) text += command + "; ";
  return begin;
}

std::size_t Connection::SendPrelude(bool begin, bool& sent) {
  std::size_t commands = 0;
  if (begin && sent) {
    sent = PQsendQueryParams(FConn, "BEGIN", 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    ++commands;
  }
  for (const std::string& command : TakeDeferred()) {
    if (!sent) break;
    sent = PQsendQueryParams(FConn, command.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    ++commands;
  }
  return commands;
}

void Connection::FlushPrelude(const std::string& statement) {
  if (!HasPrelude()) return;
  std::string text;
  const bool begin = TakePreludeText(text, true);
  text.resize(text.size() - 2);  // the last "; "
  ++FRoundTrips;
  Result result(PQexec(FConn, text.c_str()));
  if (begin && State() != TransactionState::Idle) NoteBegun();
  Check(result, statement);
}

Result Connection::Run(const std::string& text, std::span<const Bind> binds, RunOptions options,
                       const std::string& statement) {
  CheckUsable(statement);
  if (options.BoundLockWait && (State() == TransactionState::InTransaction || NeedsBegin())) {
    // Inside a transaction the bound is a SET LOCAL (a rollback cannot leave it behind) that goes
    // out in front of the statement, and the session's setting comes back in front of the next
    // request (or ends with the transaction): neither costs a round trip of its own.
    DeferSavepointCommand(std::string("SET LOCAL lock_timeout = '") + kNowaitTableWait + "'");
    options.BoundLockWait = false;
    const auto restore = [this] {
      // A transaction the statement aborted drops its SET LOCAL when it ends.
      if (Alive() && State() == TransactionState::InTransaction) {
        DeferSavepointCommand("SET LOCAL lock_timeout = '" + FSessionLockTimeout + "'");
      }
    };
    try {
      Result result = Run(text, binds, options, statement);
      restore();
      return result;
    } catch (...) {
      restore();
      throw;
    }
  }
  // A statement that opens the transaction carries its BEGIN (and its Parse) in its round trip, as
  // one after a new savepoint carries the SAVEPOINT.
  const bool prelude = HasPrelude() && !options.BoundLockWait;
  if (prelude && !options.Savepoint) {
    const PipelineStatement one{&text, std::vector<Bind>(binds.begin(), binds.end()), options.Prepare, &statement};
    std::vector<Result> results;
    RunPipelineChunk(std::span<const PipelineStatement>(&one, 1), results);
    return std::move(results.front());
  }
  if (!prelude) FlushPrelude(statement);
  Request request{text, {}, {}, statement};
  request.Values.reserve(binds.size());
  request.Types.reserve(binds.size());
  for (const Bind& bind : binds) {
    request.Values.push_back(bind.Value == nullptr ? nullptr : bind.Value->c_str());
    request.Types.push_back(bind.TypeOid);
  }
  if (options.BoundLockWait) return RunWithBoundedLockWait(request, options);
  if (prelude) return RunUnderSavepoint(request, options.Prepare);
  return RunOne(request, options);
}

Result Connection::RunOne(const Request& request, RunOptions options) {
  // Outside a transaction a failed statement aborts nothing, so no savepoint is needed (nor allowed).
  if (options.Savepoint && State() == TransactionState::InTransaction)
    return RunUnderSavepoint(request, options.Prepare);
  return RunPlain(request, options.Prepare);
}

Result Connection::RunWithBoundedLockWait(const Request& request, RunOptions options) {
  // Only outside a transaction (Run defers the bound of one that is open or about to open): the
  // statement is its own transaction and the session's setting is changed around it.
  RunControl(std::string("SET lock_timeout = '") + kNowaitTableWait + "'");
  try {
    Result result = RunOne(request, options);
    RestoreLockWait();
    return result;
  } catch (...) {
    RestoreLockWait();
    throw;
  }
}

void Connection::RestoreLockWait() noexcept {
  if (!Alive()) return;
  const std::string restore = "SET lock_timeout = '" + FSessionLockTimeout + "'";
  ++FRoundTrips;
  PQclear(PQexec(FConn, restore.c_str()));
}

Result Connection::RunPlain(const Request& request, bool prepare) {
  const int count = static_cast<int>(request.Values.size());
  if (!prepare) {
    ++FRoundTrips;
    Result result(PQexecParams(FConn, request.Text.c_str(), count, request.Types.data(), request.Values.data(), nullptr,
                               nullptr, 0));
    Check(result, request.Statement);
    return result;
  }
  const std::string* cached = FindPrepared(request);
  if (cached == nullptr) return SeenBefore(request) ? PrepareAndRun(request) : RunPlain(request, false);
  ++FRoundTrips;
  Result result(PQexecPrepared(FConn, cached->c_str(), count, request.Values.data(), nullptr, nullptr, 0));
  Check(result, request.Statement, &request);
  return result;
}

Result Connection::PrepareAndRun(const Request& request) {
  const int count = static_cast<int>(request.Values.size());
  // The DEALLOCATEs that make room for it, its Parse and its execution go out together.
  const std::vector<std::string> dropped = Evict(1);
  const std::string name = NewStatementName();
  if (PQenterPipelineMode(FConn) != 1) {
    CheckUsable(request.Statement);
    throw EOraError(kOraUnmapped, "a conexão não aceitou o comando preparado", "", request.Statement);
  }
  bool sent = true;
  for (const std::string& old : dropped) {
    if (sent)
      sent = PQsendQueryParams(FConn, ("DEALLOCATE " + old).c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
  }
  if (sent) sent = PQsendPrepare(FConn, name.c_str(), request.Text.c_str(), count, request.Types.data()) == 1;
  if (sent) sent = PQsendQueryPrepared(FConn, name.c_str(), count, request.Values.data(), nullptr, nullptr, 0) == 1;
  if (sent) sent = PQpipelineSync(FConn) == 1;
  ++FRoundTrips;
  std::vector<Result> answers = ReadPipeline(sent, dropped.size() + 2);
  if (answers.size() != dropped.size() + 2) {
    NoteTransactionState();
    Result lost;
    ThrowFailure(lost, request.Statement);
  }
  const Result& parse = answers[dropped.size()];
  if (PQresultStatus(parse.Get()) == PGRES_COMMAND_OK) Remember(request, name);
  for (const Result& answer : answers) {
    if (&answer == &answers.back()) break;
    if (!Succeeded(answer)) {
      NoteTransactionState();
      ThrowFailure(answer, request.Statement);
    }
  }
  Check(answers.back(), request.Statement, &request);
  return std::move(answers.back());
}

std::vector<Result> Connection::ReadPipeline(bool sent, std::size_t commands) {
  std::vector<Result> answers;
  answers.reserve(commands);
  while (sent && answers.size() < commands) {
    PGresult* raw = PQgetResult(FConn);
    if (raw == nullptr) break;
    answers.emplace_back(raw);
    while (PGresult* extra = PQgetResult(FConn)) PQclear(extra);  // the NULL that closes each command
  }
  if (sent) {
    while (PGresult* tail = PQgetResult(FConn)) {
      const bool synced = PQresultStatus(tail) == PGRES_PIPELINE_SYNC;
      PQclear(tail);
      if (synced) break;
    }
  }
  PQexitPipelineMode(FConn);
  if (!sent) answers.clear();
  return answers;
}

Result Connection::RunUnderSavepoint(const Request& request, bool prepare) {
  const int count = static_cast<int>(request.Values.size());
  std::string name;
  bool needs_prepare = false;
  if (prepare) {
    if (const std::string* cached = FindPrepared(request)) {
      name = *cached;
    } else if (!SeenBefore(request)) {
      prepare = false;
    } else {
      MakeRoomForOneMore();
      name = NewStatementName();
      needs_prepare = true;
    }
  }
  const std::string savepoint = std::string("SAVEPOINT ") + kStatementSavepoint;
  const std::string release = std::string("RELEASE SAVEPOINT ") + kStatementSavepoint;

  // [BEGIN], [deferred savepoint commands], SAVEPOINT, [Parse], the statement and RELEASE go out
  // together and come back in one round trip.
  const bool begin = NeedsBegin();
  if (PQenterPipelineMode(FConn) != 1) {
    CheckUsable(request.Statement);
    throw EOraError(kOraUnmapped, "a conexão não aceitou o comando sob ponto de salvamento", "", request.Statement);
  }
  bool sent = true;
  const std::size_t first = SendPrelude(begin, sent);  // the SAVEPOINT's answer
  if (sent) sent = PQsendQueryParams(FConn, savepoint.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
  if (sent && needs_prepare) {
    sent = PQsendPrepare(FConn, name.c_str(), request.Text.c_str(), count, request.Types.data()) == 1;
  }
  if (sent) {
    sent = prepare ? PQsendQueryPrepared(FConn, name.c_str(), count, request.Values.data(), nullptr, nullptr, 0) == 1
                   : PQsendQueryParams(FConn, request.Text.c_str(), count, request.Types.data(), request.Values.data(),
                                       nullptr, nullptr, 0) == 1;
  }
  if (sent) sent = PQsendQueryParams(FConn, release.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
  if (sent) sent = PQpipelineSync(FConn) == 1;
  ++FRoundTrips;

  const std::size_t commands = first + (needs_prepare ? 4 : 3);
  std::vector<Result> results = ReadPipeline(sent, commands);
  if (results.size() != commands) {
    NoteTransactionState();
    Result lost;
    ThrowFailure(lost, request.Statement);
  }

  if (begin && Succeeded(results[0])) NoteBegun();
  const std::size_t statement_index = first + (needs_prepare ? 2 : 1);
  if (needs_prepare && PQresultStatus(results[first + 1].Get()) == PGRES_COMMAND_OK) Remember(request, name);
  const Result* failure = nullptr;
  for (const Result& result : results) {
    if (!Succeeded(result) && PQresultStatus(result.Get()) != PGRES_PIPELINE_ABORTED) {
      failure = &result;
      break;
    }
  }
  if (failure == nullptr) {
    NoteTransactionState();
    return std::move(results[statement_index]);
  }
  if (State() == TransactionState::Failed && Succeeded(results[first])) {
    const std::string undo = std::string("ROLLBACK TO SAVEPOINT ") + kStatementSavepoint + "; " + release;
    ++FRoundTrips;
    PQclear(PQexec(FConn, undo.c_str()));
  }
  if (prepare && failure == &results[statement_index]) Check(*failure, request.Statement, &request);
  ThrowFailure(*failure, request.Statement);
}

void Connection::RunPipeline(std::span<const PipelineStatement> statements, std::vector<Result>& results) {
  if (statements.empty()) return;
  CheckUsable(*statements.front().Statement);
  // Without a transaction every statement commits on its own, and a pipeline would make them one:
  // a failure would take back the ones before it. They go one at a time instead.
  if (!NeedsBegin() && State() == TransactionState::Idle) {
    for (const PipelineStatement& statement : statements) {
      results.push_back(
          Run(*statement.Text, statement.Binds, RunOptions{false, statement.Prepare}, *statement.Statement));
    }
    return;
  }
  for (std::size_t start = 0; start < statements.size(); start += kPipelineDepth) {
    RunPipelineChunk(statements.subspan(start, std::min(kPipelineDepth, statements.size() - start)), results);
  }
}

void Connection::RunPipelineChunk(std::span<const PipelineStatement> statements, std::vector<Result>& results) {
  const std::string& first = *statements.front().Statement;
  CheckUsable(first);
  struct Slot {
    Request Req;
    bool Prepare = true;
    std::string Name;
    bool NeedsPrepare = false;
    std::size_t PrepareAt = 0;  // index of its Parse's answer, when it needs one
    std::size_t ResultAt = 0;   // index of the statement's answer
  };
  std::vector<Slot> slots;
  slots.reserve(statements.size());
  for (const PipelineStatement& statement : statements) {
    Slot slot{Request{*statement.Text, {}, {}, *statement.Statement}, statement.Prepare, {}, false, 0, 0};
    slot.Req.Values.reserve(statement.Binds.size());
    slot.Req.Types.reserve(statement.Binds.size());
    for (const Bind& bind : statement.Binds) {
      slot.Req.Values.push_back(bind.Value == nullptr ? nullptr : bind.Value->c_str());
      slot.Req.Types.push_back(bind.TypeOid);
    }
    slots.push_back(std::move(slot));
  }
  // Cached statements are looked up first (that marks them used, so making room never drops them);
  // a text met twice in the list is prepared once.
  std::size_t to_prepare = 0;
  for (std::size_t index = 0; index < slots.size(); ++index) {
    Slot& slot = slots[index];
    if (!slot.Prepare) continue;
    if (const std::string* cached = FindPrepared(slot.Req)) {
      slot.Name = *cached;
      continue;
    }
    const auto earlier =
        std::find_if(slots.begin(), slots.begin() + static_cast<std::ptrdiff_t>(index), [&](const Slot& other) {
          return other.NeedsPrepare && other.Req.Text == slot.Req.Text && other.Req.Types == slot.Req.Types;
        });
    if (earlier != slots.begin() + static_cast<std::ptrdiff_t>(index)) {
      slot.Name = earlier->Name;
      continue;
    }
    if (!SeenBefore(slot.Req)) {
      slot.Prepare = false;
      continue;
    }
    slot.Name = NewStatementName();
    slot.NeedsPrepare = true;
    ++to_prepare;
  }
  // The statements dropped to make room are deallocated in this round trip, ahead of the new ones.
  const std::vector<std::string> dropped = Evict(to_prepare);

  const bool begin = NeedsBegin();
  if (PQenterPipelineMode(FConn) != 1) {
    CheckUsable(first);
    throw EOraError(kOraUnmapped, "a conexão não aceitou o lote de comandos", "", first);
  }
  bool sent = true;
  std::size_t commands = SendPrelude(begin, sent);
  for (const std::string& name : dropped) {
    if (!sent) break;
    sent = PQsendQueryParams(FConn, ("DEALLOCATE " + name).c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    ++commands;
  }
  for (Slot& slot : slots) {
    if (!sent) break;
    const int count = static_cast<int>(slot.Req.Values.size());
    if (slot.NeedsPrepare) {
      sent = PQsendPrepare(FConn, slot.Name.c_str(), slot.Req.Text.c_str(), count, slot.Req.Types.data()) == 1;
      slot.PrepareAt = commands++;
    }
    if (!sent) break;
    sent = slot.Prepare
               ? PQsendQueryPrepared(FConn, slot.Name.c_str(), count, slot.Req.Values.data(), nullptr, nullptr, 0) == 1
               : PQsendQueryParams(FConn, slot.Req.Text.c_str(), count, slot.Req.Types.data(), slot.Req.Values.data(),
                                   nullptr, nullptr, 0) == 1;
    slot.ResultAt = commands++;
  }
  if (sent) sent = PQpipelineSync(FConn) == 1;
  ++FRoundTrips;

  std::vector<Result> answers = ReadPipeline(sent, commands);
  if (answers.size() != commands) {
    NoteTransactionState();
    Result lost;
    ThrowFailure(lost, first);
  }

  if (begin && Succeeded(answers[0])) NoteBegun();
  for (const Slot& slot : slots) {
    if (slot.NeedsPrepare && PQresultStatus(answers[slot.PrepareAt].Get()) == PGRES_COMMAND_OK) {
      Remember(slot.Req, slot.Name);
    }
  }
  std::size_t failed = commands;
  for (std::size_t index = 0; index < commands && failed == commands; ++index) {
    if (!Succeeded(answers[index]) && PQresultStatus(answers[index].Get()) != PGRES_PIPELINE_ABORTED) failed = index;
  }
  for (const Slot& slot : slots) {
    if (slot.ResultAt >= failed || (slot.NeedsPrepare && slot.PrepareAt >= failed)) {
      // The statement that failed (or the BEGIN before the first): its own answer, with what a
      // cached statement's failure implies.
      if (slot.ResultAt == failed && slot.Prepare) Check(answers[failed], slot.Req.Statement, &slot.Req);
      NoteTransactionState();
      ThrowFailure(answers[failed], slot.Req.Statement);
    }
    results.push_back(std::move(answers[slot.ResultAt]));
  }
  NoteTransactionState();
}

Result Connection::RunScript(const std::string& text, const std::string& statement) {
  CheckUsable(statement);
  // A BEGIN the script needs goes in front of it, in the same request: the transaction it opens
  // outlasts the script, as one sent alone would.
  std::string request;
  const bool begin = TakePreludeText(request, true);
  request += text;
  ++FRoundTrips;
  Result result(PQexec(FConn, request.c_str()));
  if (begin && State() != TransactionState::Idle) NoteBegun();
  Check(result, statement);
  return result;
}

Result Connection::RunControl(const std::string& text) {
  CheckUsable(text);
  // Deferred savepoint commands go in front (with the BEGIN they need, when it is still deferred);
  // without them a control command never opens a transaction.
  std::string request;
  const bool begin = !FDeferred.empty() && TakePreludeText(request, true);
  request += text;
  ++FRoundTrips;
  Result result(PQexec(FConn, request.c_str()));
  if (begin && State() != TransactionState::Idle) NoteBegun();
  Check(result, text);
  return result;
}

std::size_t Connection::PreparedKeyHash::operator()(const PreparedKeyView& key) const noexcept {
  std::size_t hash = std::hash<std::string_view>{}(key.Text);
  for (const unsigned type : key.Types) hash = hash * 31 + type;
  return hash;
}

const std::string* Connection::FindPrepared(const Request& request) {
  const auto found = FPrepared.find(PreparedKeyView{request.Text, request.Types});
  if (found == FPrepared.end()) return nullptr;
  found->second.LastUse = ++FUseClock;
  return &found->second.Name;
}

bool Connection::SeenBefore(const Request& request) {
  const std::size_t key = PreparedKeyHash{}(PreparedKeyView{request.Text, request.Types});
  if (FSeenOnce.erase(key) != 0) return true;
  if (FSeenOnce.size() >= kSeenOnceCapacity) FSeenOnce.clear();
  FSeenOnce.insert(key);
  return false;
}

void Connection::Remember(const Request& request, const std::string& name) {
  FPrepared.insert_or_assign(PreparedKey{request.Text, request.Types}, PreparedEntry{name, ++FUseClock});
}

void Connection::Forget(const Request& request) {
  const auto found = FPrepared.find(PreparedKeyView{request.Text, request.Types});
  if (found != FPrepared.end()) FPrepared.erase(found);
}

void Connection::MakeRoomForOneMore() {
  MakeRoomFor(1);
}

void Connection::MakeRoomFor(std::size_t count) {
  for (const std::string& name : Evict(count)) {
    ++FRoundTrips;
    PQclear(PQexec(FConn, ("DEALLOCATE " + name).c_str()));
  }
}

std::vector<std::string> Connection::Evict(std::size_t count) {
  std::vector<std::string> names;
  while (!FPrepared.empty() && FPrepared.size() + count > kPreparedCapacity) {
    const auto oldest = std::min_element(FPrepared.begin(), FPrepared.end(), [](const auto& a, const auto& b) {
      return a.second.LastUse < b.second.LastUse;
    });
    if (State() != TransactionState::Failed) names.push_back(oldest->second.Name);
    FPrepared.erase(oldest);
  }
  return names;
}

std::string Connection::NewStatementName() {
  return "oradb_" + std::to_string(++FNextStatement);
}

void Connection::Check(const Result& result, const std::string& statement, const Request* prepared) {
  NoteTransactionState();
  if (Succeeded(result)) return;
  const char* sqlstate = result.Get() == nullptr ? nullptr : PQresultErrorField(result.Get(), PG_DIAG_SQLSTATE);
  // A prepared SELECT * whose table changed shape cannot run again: prepare it afresh next time.
  if (prepared != nullptr && sqlstate != nullptr && std::string_view(sqlstate) == "0A000") Forget(*prepared);
  ThrowFailure(result, statement);
}

void Connection::ThrowFailure(const Result& result, const std::string& statement) {
  const PGresult* raw = result.Get();
  const char* sqlstate = raw == nullptr ? nullptr : PQresultErrorField(raw, PG_DIAG_SQLSTATE);
  const char* primary = raw == nullptr ? nullptr : PQresultErrorField(raw, PG_DIAG_MESSAGE_PRIMARY);
  std::string message = primary != nullptr ? primary : TrimmedMessage(PQerrorMessage(FConn));
  if (!Alive()) {
    throw EOraError(kOraConnectionLost, "conexão com o banco de dados perdida: " + message,
                    sqlstate != nullptr ? sqlstate : "08006", statement);
  }
  ThrowOraError(sqlstate != nullptr ? sqlstate : "", message, statement);
}

}  // namespace oradb::internal
