#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class TOraQuery;
class TOraSession;

// Statements that do not need each other's results, sent to the server together and answered in
// one round trip. Each query is queued as Open() or ExecSQL() would run it now (its text and its
// parameters' values are read when it is queued) and ends as that call would have left it: rows
// loaded, rows affected counted.
//   TOraPipeline lote(&session);
//   lote.Open(pago);
//   lote.Open(aberto);
//   lote.Execute();  ...  pago.FieldByName("VALOR").AsFloat();
// The server runs them one after another in the order queued, each under the same rules as alone:
// the first one that fails throws the error it would have thrown alone (its class, its message,
// its text), and those queued after it do not run. A statement under its own savepoint or with
// NOWAIT travels alone, at its place in the order; so does every statement of a session without a
// transaction, where each commits on its own. Queued queries must outlive Execute() and stay
// as they are until it has run.
class TOraPipeline {
 public:
  explicit TOraPipeline(TOraSession* session);
  // What was queued and not executed is dropped unsent.
  ~TOraPipeline();
  TOraPipeline(const TOraPipeline&) = delete;
  TOraPipeline& operator=(const TOraPipeline&) = delete;

  // Queues a query to be opened. An open query whose text has not changed keeps its rows and sends
  // nothing, as Open() does.
  void Open(TOraQuery& query);
  // Queues DML or a block.
  void ExecSQL(TOraQuery& query);
  [[nodiscard]] std::size_t Count() const noexcept { return FItems.size(); }
  // Runs what was queued; the queue is empty afterwards, whether it ran or failed.
  void Execute();

 private:
  struct Item {
    TOraQuery* Query = nullptr;
    bool Opens = false;
    std::string Text;       // what the server runs (a block with its values written in)
    std::string Statement;  // the query's own text, which errors report
    std::vector<std::optional<std::string>> Values;
    std::vector<unsigned> Types;
    bool Prepare = true;
    bool Alone = false;
    bool Savepoint = false;
    bool Nowait = false;
  };
  void Queue(TOraQuery& query, bool opens);
  void RunQueued(std::vector<Item>& items);

  TOraSession* FSession;
  std::vector<Item> FItems;
};
