#pragma once

#include "oradb/internal/Private.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "oradb/TDataSet.h"
#include "oradb/TOraParam.h"
#include "oradb/Translator.h"
#include "oradb/internal/Connection.h"

// What statements of every kind share: binding parameters by name and reading results.
namespace oradb::internal {

// The binds of a translated statement ($k gets the parameter named ParamNames[k-1]).
[[nodiscard]] std::vector<Bind> BindsFor(const Translation& translation, TOraParams& params);
[[nodiscard]] std::vector<Bind> BindsFor(const Translation& translation, const std::vector<TOraParam>& params);
// A block's text with every bind written as an escaped literal (DO blocks take no parameters).
[[nodiscard]] std::string RenderWithLiterals(const Translation& translation, TOraParams& params);
[[nodiscard]] std::string RenderWithLiterals(const Translation& translation, const std::vector<TOraParam>& params);

// Runs a translated statement: a block with its binds inlined (never prepared: its text changes
// with the values), anything else as a cached prepared statement with binds.
[[nodiscard]] Result RunTranslated(Connection& connection, const Translation& translation, TOraParams& params,
                                   const std::string& statement, bool savepoint);

// Whether a PostgreSQL statement ends with NOWAIT (its lock clause), whose table-lock wait is bounded.
[[nodiscard]] bool EndsWithNowait(std::string_view text) noexcept;

// Field definitions and rows of a result, values kept as the server's text.
[[nodiscard]] std::vector<TFieldDef> ReadFieldDefs(const Result& result);
[[nodiscard]] std::vector<TDataSet::TRow> ReadRows(const Result& result);

// A parameter holding a value read from a result or a row (dates as dates, the rest as text).
void SetParamFromValue(TOraParam& param, TFieldType type, const std::optional<std::string>& value);

}  // namespace oradb::internal
