#pragma once

#include <memory>
#include <string>
#include <vector>

#include "oradb/TDataSet.h"
#include "oradb/TOraParam.h"
#include "rtl/TStringList.h"

class TOraPipeline;
class TOraSession;

namespace oradb {
struct Translation;
namespace internal {
class Connection;
class Result;
}  // namespace internal
}  // namespace oradb

// A statement in Oracle dialect built line by line, run on a session through the translator.
//   TOraQuery q(&session);
//   q.SQL.Add("SELECT VALOR FROM ZTESTCR WHERE CODCOB = :CODCOB");
//   q.ParamByName("CODCOB").SetAsString("D");
//   q.Open();  ...  q.FieldByName("VALOR").AsFloat();
class TOraQuery : public TDataSet {
 public:
  explicit TOraQuery(TOraSession* session = nullptr);
  ~TOraQuery() override;

  void SetSession(TOraSession* session) noexcept { FSession = session; }
  [[nodiscard]] TOraSession* Session() const noexcept { return FSession; }

  // The statement text. Changing it closes the query; binds keep the values of names still used.
  TStringList SQL;
  // Run by Post() of an edited row: ":FIELD" binds the new values, ":OLD_FIELD" the old ones; other
  // names take the query's own parameters. The statement must touch exactly one row. Posting or
  // deleting without its statement fails: the change would otherwise live only in memory.
  TStringList SQLUpdate;
  TStringList SQLInsert;
  TStringList SQLDelete;

  [[nodiscard]] TOraParam& ParamByName(const std::string& name);
  [[nodiscard]] TOraParams& Params();

  // Runs a SELECT and loads its rows (all at once, or in chunks when unidirectional). Opening an
  // open query whose text has not changed keeps its rows.
  void Open();
  void Close() override;
  // Runs DML or a block (a statement that returns rows leaves them open in the query).
  void ExecSQL();
  [[nodiscard]] long long RowsAffected() const noexcept { return FRowsAffected; }

  // Reads rows in chunks through a server cursor instead of loading them all: memory stays
  // bounded; only forward navigation. Needs an open transaction.
  void SetUniDirectional(bool value) noexcept { FUniDirectional = value; }
  void SetFetchRows(int rows) noexcept { FFetchRows = rows; }

  // Runs the statement under a savepoint of its own, so its failure leaves the transaction usable
  // (as a failed statement does in Oracle). Opt in only where the caller catches and carries on.
  void SetStatementSavepoint(bool value) noexcept { FStatementSavepoint = value; }

 protected:
  void DoPostEdit(const TRow& old_row, const TRow& new_row) override;
  void DoPostInsert(const TRow& new_row) override;
  void DoDelete(const TRow& row) override;
  bool FetchMore(std::vector<TRow>& rows) override;

 private:
  // A pipeline queues the query as Open() or ExecSQL() would run it and hands it its result.
  friend class TOraPipeline;
  struct Cursor;
  // Rebuilds the parameters when the SQL lines changed; returns the statement text.
  const std::string& SyncParams();
  [[nodiscard]] const oradb::Translation& CurrentTranslation();
  [[nodiscard]] oradb::internal::Connection& SessionConnection();
  void OpenCursor(oradb::internal::Connection& connection, const oradb::Translation& translation,
                  const std::string& text);
  [[nodiscard]] oradb::internal::Result FetchChunk(oradb::internal::Connection& connection);
  [[nodiscard]] bool CursorUsable(const oradb::internal::Connection& connection) const noexcept;
  void CloseCursor() noexcept;
  // What Open() (`opened`) or ExecSQL() keeps of a statement's result; `text` is the query's text.
  void TakeResult(const oradb::internal::Result& result, bool opened, const std::string& text);
  void RunRowStatement(const TStringList& sql, const char* purpose, const TRow* old_row, const TRow* new_row);

  TOraSession* FSession;
  TOraParams FParams;
  std::vector<std::string> FParamsLines;                   // the SQL lines FParams were built from
  std::string FParamsText;                                 // ... and their text
  std::shared_ptr<const oradb::Translation> FTranslation;  // of FParamsText, once translated
  std::string FOpenedText;                                 // the SQL text of the open result
  long long FRowsAffected = 0;
  bool FUniDirectional = false;
  int FFetchRows = 1000;
  bool FStatementSavepoint = false;
  std::unique_ptr<Cursor> FCursor;
};
