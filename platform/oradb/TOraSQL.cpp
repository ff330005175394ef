#include "oradb/TOraSQL.h"

#include <algorithm>

#include "oradb/TOraSession.h"
#include "oradb/Translator.h"
#include "oradb/internal/BindNames.h"
#include "oradb/internal/Binding.h"
#include "oradb/internal/Connection.h"
#include "oradb/internal/SessionAccess.h"
#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

using oradb::internal::Connection;
using oradb::internal::Result;
using oradb::internal::RunOptions;

namespace {

Connection& ConnectionOf(TOraSession* session, const char* what) {
  if (session == nullptr) throw Exception(std::string(what) + " não está ligado a uma sessão.");
  return oradb::internal::SessionAccess::Of(*session);
}

bool IsIdentifier(std::string_view part) noexcept {
  if (part.empty()) return false;
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(part[0])) return false;
  return std::all_of(part.begin(), part.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9') || c == '$' || c == '#'; });
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return lower;
}

// An Oracle identifier as PostgreSQL folds it: lower case; quoted when it holds '#'.
std::string PostgresIdentifier(std::string_view part) {
  const std::string lower = Lower(part);
  return lower.find('#') == std::string::npos ? lower : "\"" + lower + "\"";
}

// "PKG.ROUTINE" or "ROUTINE" split and checked: the name is written into the statement text.
std::vector<std::string> RoutineParts(const std::string& name) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = name.find('.', start);
    parts.push_back(name.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  const bool valid = parts.size() <= 2 && std::all_of(parts.begin(), parts.end(), IsIdentifier);
  if (!valid) throw Exception("Nome de procedimento armazenado inválido: '" + name + "'.");
  return parts;
}

bool LooksUpProcedure(Connection& connection, const std::string& name, const std::vector<std::string>& parts) {
  if (const auto known = connection.KnownProcedure(name)) return *known;
  const std::string schema = parts.size() == 2 ? Lower(parts[0]) : std::string();
  const std::string routine = Lower(parts.back());
  const oradb::internal::Bind binds[] = {{&routine, 0}, {&schema, 0}};
  const Result result = connection.Run(
      "SELECT coalesce(pg_catalog.bool_or(p.prokind = 'p'), false) "
      "FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace "
      "WHERE p.proname = $1::name AND CASE WHEN $2::text = '' "
      "THEN n.nspname = ANY (pg_catalog.current_schemas(true)) ELSE n.nspname = $2::text END",
      binds, RunOptions{false, true}, name);
  const bool is_procedure = result.RowCount() == 1 && result.Value(0, 0) == "t";
  connection.RememberProcedure(name, is_procedure);
  return is_procedure;
}

}  // namespace

// ---- TOraSQL ----

void TOraSQL::SyncParams() {
  std::string text = SQL.Text();
  if (text == FParamsText) return;
  FParams.Rebuild(*oradb::internal::ScanBindNamesCached(text));
  FParamsText = std::move(text);
}

TOraParam& TOraSQL::ParamByName(const std::string& name) {
  SyncParams();
  return FParams.ParamByName(name);
}

void TOraSQL::Execute() {
  const std::string text = SQL.Text();
  if (Trim(text).empty()) throw Exception("O bloco não tem instrução SQL.");
  Connection& connection = ConnectionOf(FSession, "O bloco");
  SyncParams();
  const auto translation = oradb::TranslateCached(text);
  static_cast<void>(oradb::internal::RunTranslated(connection, *translation, FParams, text, false));
}

// ---- TOraStoredProc ----

void TOraStoredProc::SetStoredProcName(const std::string& name) {
  FName = Trim(name);
  FParams.clear();
  FResult.reset();
}

TOraParam& TOraStoredProc::ParamByName(const std::string& name) {
  const std::string upper = UpperAscii(Trim(name));
  if (upper == "RESULT") {
    if (!FResult) FResult.emplace("RESULT");
    return *FResult;
  }
  const auto found =
      std::find_if(FParams.begin(), FParams.end(), [&](const TOraParam& param) { return param.Name() == upper; });
  if (found != FParams.end()) return *found;
  if (!IsIdentifier(upper)) throw Exception("Nome de parâmetro inválido: '" + name + "'.");
  return FParams.emplace_back(upper);
}

void TOraStoredProc::ExecProc() {
  if (FName.empty()) throw Exception("Nome do procedimento armazenado não informado.");
  const std::vector<std::string> parts = RoutineParts(FName);
  Connection& connection = ConnectionOf(FSession, "O procedimento armazenado");
  const bool is_procedure = !FIsFunction && LooksUpProcedure(connection, UpperAscii(FName), parts);

  std::string call = is_procedure ? "CALL " : "SELECT ";
  for (std::size_t index = 0; index < parts.size(); ++index) {
    if (index > 0) call += '.';
    call += PostgresIdentifier(parts[index]);
  }
  call += '(';
  std::vector<oradb::internal::Bind> binds;
  binds.reserve(FParams.size());
  for (std::size_t index = 0; index < FParams.size(); ++index) {
    const TOraParam& param = FParams[index];
    if (index > 0) call += ", ";
    call += PostgresIdentifier(param.Name()) + " => $" + std::to_string(index + 1);
    const bool is_date = param.Kind() == TParamKind::pkDate || param.Kind() == TParamKind::pkDateTime;
    binds.push_back({param.WireValue() ? &*param.WireValue() : nullptr,
                     is_date ? oradb::internal::kTimestampOid : oradb::internal::kUntypedOid});
  }
  call += ')';

  const Result result = connection.Run(call, binds, RunOptions{false, true}, call);
  const bool has_row = result.RowCount() > 0;
  if (is_procedure) {
    // INOUT parameters come back as the columns of one row.
    for (int column = 0; has_row && column < result.ColumnCount(); ++column) {
      const std::string name = UpperAscii(result.ColumnName(column));
      const auto found =
          std::find_if(FParams.begin(), FParams.end(), [&](const TOraParam& param) { return param.Name() == name; });
      if (found == FParams.end()) continue;
      std::optional<std::string> value;
      if (!result.IsNull(0, column)) value = std::string(result.Value(0, column));
      oradb::internal::SetParamFromValue(*found, oradb::internal::FieldTypeFromOid(result.ColumnType(column)), value);
    }
    return;
  }
  if (!FResult) FResult.emplace("RESULT");
  std::optional<std::string> value;
  if (has_row && result.ColumnCount() > 0 && !result.IsNull(0, 0)) value = std::string(result.Value(0, 0));
  const unsigned type = result.ColumnCount() > 0 ? result.ColumnType(0) : 0;
  oradb::internal::SetParamFromValue(*FResult, oradb::internal::FieldTypeFromOid(type), value);
}
