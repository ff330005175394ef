#include "oradb/TOraQuery.h"

#include <algorithm>

#include "oradb/EOraError.h"
#include "oradb/TOraSession.h"
#include "oradb/Translator.h"
#include "oradb/internal/BindNames.h"
#include "oradb/internal/Binding.h"
#include "oradb/internal/Connection.h"
#include "oradb/internal/ErrorMap.h"
#include "oradb/internal/SessionAccess.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

using oradb::internal::Connection;
using oradb::internal::Result;
using oradb::internal::RunOptions;

// A server cursor of a unidirectional query; it lives as long as the transaction it was opened in.
struct TOraQuery::Cursor {
  std::string Name;
  std::uint64_t Generation = 0;
  std::uint64_t TransactionSerial = 0;
};

namespace {

bool IsBlank(const std::string& text) noexcept {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::optional<std::size_t> IndexOf(const std::vector<TFieldDef>& defs, std::string_view name) {
  for (std::size_t index = 0; index < defs.size(); ++index) {
    if (defs[index].Name == name) return index;
  }
  return std::nullopt;
}

}  // namespace

TOraQuery::TOraQuery(TOraSession* session) : FSession(session) {}

TOraQuery::~TOraQuery() {
  try {
    Close();
  } catch (...) {
    // Closing never fails in a way the caller could act on while the query is being destroyed.
  }
}

TOraParam& TOraQuery::ParamByName(const std::string& name) {
  SyncParams();
  return FParams.ParamByName(name);
}

TOraParams& TOraQuery::Params() {
  SyncParams();
  return FParams;
}

const std::string& TOraQuery::SyncParams() {
  // Lines compare without building the text: a statement run in a loop costs no rebuild.
  if (SQL.Lines() != FParamsLines) {
    FParamsLines = SQL.Lines();
    FParamsText = SQL.Text();
    FTranslation = nullptr;
    FParams.Rebuild(*oradb::internal::ScanBindNamesCached(FParamsText));
  }
  return FParamsText;
}

const oradb::Translation& TOraQuery::CurrentTranslation() {
  const std::string& text = SyncParams();
  if (FTranslation == nullptr) FTranslation = oradb::TranslateCached(text);
  return *FTranslation;
}

Connection& TOraQuery::SessionConnection() {
  if (FSession == nullptr) throw Exception("A consulta não está ligada a uma sessão.");
  return oradb::internal::SessionAccess::Of(*FSession);
}

void TOraQuery::Open() {
  const std::string& text = SyncParams();
  if (Active()) {
    if (text == FOpenedText) return;
    Close();
  }
  if (IsBlank(text)) throw Exception("A consulta não tem instrução SQL.");
  Connection& connection = SessionConnection();
  const oradb::Translation& translation = CurrentTranslation();
  if (FUniDirectional && translation.ReturnsRows && !translation.IsBlock) {
    OpenCursor(connection, translation, text);
  } else {
    const Result result = oradb::internal::RunTranslated(connection, translation, FParams, text, FStatementSavepoint);
    FRowsAffected = result.RowsAffected();
    Load(oradb::internal::ReadFieldDefs(result), oradb::internal::ReadRows(result));
  }
  FOpenedText = text;
}

void TOraQuery::OpenCursor(Connection& connection, const oradb::Translation& translation, const std::string& text) {
  if (!FSession->InTransaction() && !FSession->ImplicitTransactions()) {
    throw Exception("Uma consulta unidirecional precisa de uma transação aberta.");
  }
  const std::string name = connection.NextCursorName();
  const auto binds = oradb::internal::BindsFor(translation, FParams);
  static_cast<void>(connection.Run("DECLARE " + name + " NO SCROLL CURSOR FOR " + translation.Text, binds,
                                   RunOptions{FStatementSavepoint, false}, text));
  FCursor = std::make_unique<Cursor>(Cursor{name, connection.Generation(), connection.TransactionSerial()});
  FOpenedText = text;
  const Result first = FetchChunk(connection);
  FRowsAffected = first.RowCount();
  SetForwardOnly(true);
  Load(oradb::internal::ReadFieldDefs(first), oradb::internal::ReadRows(first));
}

Result TOraQuery::FetchChunk(Connection& connection) {
  const int rows = std::max(FFetchRows, 1);
  Result chunk = connection.Run("FETCH " + std::to_string(rows) + " FROM " + FCursor->Name, {},
                                RunOptions{false, false}, FOpenedText);
  if (chunk.RowCount() < rows) CloseCursor();  // exhausted: free it on the server now
  return chunk;
}

bool TOraQuery::CursorUsable(const Connection& connection) const noexcept {
  return FCursor != nullptr && connection.Generation() == FCursor->Generation &&
         connection.TransactionSerial() == FCursor->TransactionSerial &&
         connection.State() == oradb::internal::TransactionState::InTransaction;
}

bool TOraQuery::FetchMore(std::vector<TRow>& rows) {
  if (FCursor == nullptr) return false;
  Connection& connection = SessionConnection();
  if (!CursorUsable(connection)) {
    FCursor.reset();
    throw EOraError(oradb::internal::kOraInvalidCursor,
                    "cursor inválido: a transação em que a consulta foi aberta terminou", "34000", FOpenedText);
  }
  const Result chunk = FetchChunk(connection);
  rows = oradb::internal::ReadRows(chunk);
  return !rows.empty();
}

void TOraQuery::CloseCursor() noexcept {
  if (FCursor == nullptr) return;
  const std::unique_ptr<Cursor> cursor = std::move(FCursor);
  try {
    if (FSession == nullptr || !FSession->Connected()) return;
    Connection& connection = oradb::internal::SessionAccess::Of(*FSession);
    if (connection.Generation() != cursor->Generation || connection.TransactionSerial() != cursor->TransactionSerial ||
        connection.State() != oradb::internal::TransactionState::InTransaction) {
      return;  // gone with its transaction
    }
    static_cast<void>(connection.Run("CLOSE " + cursor->Name, {}, RunOptions{false, false}, "CLOSE " + cursor->Name));
  } catch (...) {
    // The cursor goes away with its transaction anyway.
  }
}

void TOraQuery::Close() {
  TDataSet::Close();
  CloseCursor();
  SetForwardOnly(false);
  FOpenedText.clear();
}

void TOraQuery::ExecSQL() {
  const std::string& text = SyncParams();
  if (IsBlank(text)) throw Exception("A consulta não tem instrução SQL.");
  Connection& connection = SessionConnection();
  if (Active()) Close();
  const oradb::Translation& translation = CurrentTranslation();
  const Result result = oradb::internal::RunTranslated(connection, translation, FParams, text, FStatementSavepoint);
  FRowsAffected = result.RowsAffected();
  if (result.ColumnCount() > 0) {
    Load(oradb::internal::ReadFieldDefs(result), oradb::internal::ReadRows(result));
    FOpenedText = text;
  }
}

void TOraQuery::TakeResult(const Result& result, bool opened, const std::string& text) {
  FRowsAffected = result.RowsAffected();
  if (opened || result.ColumnCount() > 0) {
    Load(oradb::internal::ReadFieldDefs(result), oradb::internal::ReadRows(result));
    FOpenedText = text;
  }
}

void TOraQuery::DoPostEdit(const TRow& old_row, const TRow& new_row) {
  RunRowStatement(SQLUpdate, "atualização (SQLUpdate)", &old_row, &new_row);
}

void TOraQuery::DoPostInsert(const TRow& new_row) {
  RunRowStatement(SQLInsert, "inclusão (SQLInsert)", nullptr, &new_row);
}

void TOraQuery::DoDelete(const TRow& row) {
  RunRowStatement(SQLDelete, "exclusão (SQLDelete)", &row, &row);
}

void TOraQuery::RunRowStatement(const TStringList& sql, const char* purpose, const TRow* old_row, const TRow* new_row) {
  const std::string text = sql.Text();
  if (IsBlank(text)) {
    throw Exception(std::string("A consulta não tem instrução de ") + purpose + " para gravar o registro.");
  }
  Connection& connection = SessionConnection();
  const auto translation_held = oradb::TranslateCached(text);
  const oradb::Translation& translation = *translation_held;
  const std::vector<TFieldDef>& defs = FieldDefs();
  SyncParams();
  std::vector<TOraParam> values;
  values.reserve(translation.ParamNames.size());
  for (const std::string& name : translation.ParamNames) {
    if (name.empty()) continue;  // a value lifted from the text, which BindsFor supplies
    TOraParam param(name);
    const TRow* source = nullptr;
    std::optional<std::size_t> field;
    if (name.rfind("OLD_", 0) == 0 && old_row != nullptr && (field = IndexOf(defs, name.substr(4)))) {
      source = old_row;
    } else if ((field = IndexOf(defs, name))) {
      source = new_row != nullptr ? new_row : old_row;
    }
    if (source != nullptr) {
      oradb::internal::SetParamFromValue(param, defs[*field].DataType, (*source)[*field]);
    } else if (const TOraParam* own = FParams.FindParam(name)) {
      param = *own;
    } else {
      throw Exception("O parâmetro '" + name + "' da instrução de " + purpose +
                      " não corresponde a nenhum campo da consulta.");
    }
    values.push_back(std::move(param));
  }
  Result result;
  if (translation.IsBlock) {
    result = connection.Run(oradb::internal::RenderWithLiterals(translation, values), {},
                            RunOptions{FStatementSavepoint, false}, text);
    return;
  }
  const auto binds = oradb::internal::BindsFor(translation, values);
  result = connection.Run(translation.Text, binds, RunOptions{FStatementSavepoint, true}, text);
  // A row that was changed or deleted meanwhile (or a key that matches several rows) must not pass
  // as written.
  if (result.RowsAffected() != 1) {
    throw Exception("A gravação do registro afetou " + std::to_string(result.RowsAffected()) +
                    " registro(s) em vez de 1.");
  }
}
