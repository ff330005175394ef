#include "oradb/internal/Binding.h"

#include <algorithm>

#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace oradb::internal {

namespace {

Bind BindOf(const TOraParam& param) {
  const bool is_date = param.Kind() == TParamKind::pkDate || param.Kind() == TParamKind::pkDateTime;
  return Bind{param.WireValue() ? &*param.WireValue() : nullptr, is_date ? kTimestampOid : kUntypedOid};
}

const TOraParam& Require(const std::vector<TOraParam>& params, const std::string& name) {
  const auto found =
      std::find_if(params.begin(), params.end(), [&](const TOraParam& param) { return param.Name() == name; });
  if (found == params.end()) throw Exception("Parâmetro '" + name + "' não encontrado.");
  return *found;
}

// $k's bind: a value lifted from the text (an empty name), else the parameter `find` gives.
template <typename Find>
std::vector<Bind> BindsOf(const Translation& translation, Find&& find) {
  std::vector<Bind> binds;
  binds.reserve(translation.ParamNames.size());
  std::size_t lifted = 0;
  for (const std::string& name : translation.ParamNames) {
    binds.push_back(name.empty() ? Bind{&translation.Lifted.at(lifted++), kUntypedOid} : BindOf(find(name)));
  }
  return binds;
}

}  // namespace

std::vector<Bind> BindsFor(const Translation& translation, TOraParams& params) {
  return BindsOf(translation, [&](const std::string& name) -> const TOraParam& { return params.ParamByName(name); });
}

std::vector<Bind> BindsFor(const Translation& translation, const std::vector<TOraParam>& params) {
  return BindsOf(translation, [&](const std::string& name) -> const TOraParam& { return Require(params, name); });
}

std::string RenderWithLiterals(const Translation& translation, TOraParams& params) {
  std::vector<std::string> literals;
  literals.reserve(translation.ParamNames.size());
  for (const std::string& name : translation.ParamNames) literals.push_back(params.ParamByName(name).SqlLiteral());
  return RenderBlock(translation, literals);
}

std::string RenderWithLiterals(const Translation& translation, const std::vector<TOraParam>& params) {
  std::vector<std::string> literals;
  literals.reserve(translation.ParamNames.size());
  for (const std::string& name : translation.ParamNames) literals.push_back(Require(params, name).SqlLiteral());
  return RenderBlock(translation, literals);
}

Result RunTranslated(Connection& connection, const Translation& translation, TOraParams& params,
                     const std::string& statement, bool savepoint) {
  if (translation.IsBlock) {
    return connection.Run(RenderWithLiterals(translation, params), {}, RunOptions{savepoint, false}, statement);
  }
  const std::vector<Bind> binds = BindsFor(translation, params);
  return connection.Run(translation.Text, binds, RunOptions{savepoint, true, EndsWithNowait(translation.Text)},
                        statement);
}

bool EndsWithNowait(std::string_view text) noexcept {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\n' || text[end - 1] == '\r' || text[end - 1] == '\t' ||
                     text[end - 1] == ';')) {
    --end;
  }
  constexpr std::string_view kWord = "NOWAIT";
  if (end < kWord.size() + 1) return false;
  for (std::size_t index = 0; index < kWord.size(); ++index) {
    const char c = text[end - kWord.size() + index];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != kWord[index]) return false;
  }
  const char before = text[end - kWord.size() - 1];
  return before == ' ' || before == '\n' || before == '\r' || before == '\t';
}

std::vector<TFieldDef> ReadFieldDefs(const Result& result) {
  std::vector<TFieldDef> defs;
  const int columns = result.ColumnCount();
  defs.reserve(static_cast<std::size_t>(columns));
  for (int column = 0; column < columns; ++column) {
    const unsigned type = result.ColumnType(column);
    defs.push_back(TFieldDef{UpperAscii(result.ColumnName(column)), FieldTypeFromOid(type),
                             TextWidthFromModifier(type, result.ColumnModifier(column)), false});
  }
  return defs;
}

std::vector<TDataSet::TRow> ReadRows(const Result& result) {
  const int rows = result.RowCount();
  const int columns = result.ColumnCount();
  std::vector<TDataSet::TRow> loaded(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    TDataSet::TRow& target = loaded[static_cast<std::size_t>(row)];
    target.reserve(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column) {
      if (result.IsNull(row, column)) {
        target.emplace_back(std::nullopt);
      } else {
        target.emplace_back(std::string(result.Value(row, column)));
      }
    }
  }
  return loaded;
}

void SetParamFromValue(TOraParam& param, TFieldType type, const std::optional<std::string>& value) {
  if (!value) {
    param.Clear();
    return;
  }
  if (type == TFieldType::ftDate || type == TFieldType::ftDateTime) {
    if (const auto date = ParseDateTime(*value)) {
      param.SetAsDateTime(*date);
      return;
    }
  }
  param.SetAsString(*value);
}

}  // namespace oradb::internal
