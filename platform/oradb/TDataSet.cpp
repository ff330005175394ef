#include "oradb/TDataSet.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "oradb/internal/FilterExpression.h"
#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

using oradb::internal::FilterExpression;
using oradb::internal::FilterTruth;
using oradb::internal::FilterValue;
using oradb::internal::FoldCase;
using oradb::internal::FormatDateTime;
using oradb::internal::ParseDateTime;
using oradb::internal::ParseInteger;
using oradb::internal::ParseNumber;
using oradb::internal::TextAsBoolean;

struct TDataSet::FilterNode {
  FilterExpression Expression;
};

namespace {

const std::optional<std::string> kNoValue;

bool IsNumeric(TFieldType type) noexcept {
  return type == TFieldType::ftFloat || type == TFieldType::ftInteger;
}
bool IsDate(TFieldType type) noexcept {
  return type == TFieldType::ftDate || type == TFieldType::ftDateTime;
}

[[noreturn]] void FieldNotFound(std::string_view name) {
  throw Exception("Campo '" + std::string(name) + "' não encontrado.");
}

// Date-times compare to the second, as the server keeps them.
long long Seconds(TDateTime value) noexcept {
  return std::llround(value.Value() * 86400.0);
}

bool MatchesKey(const std::optional<std::string>& cell, const TFieldDef& def, const TVariant& wanted,
                bool case_insensitive) {
  if (std::holds_alternative<std::monostate>(wanted)) return !cell;
  if (const auto* text = std::get_if<std::string>(&wanted)) {
    if (!cell) return text->empty();  // '' is NULL
    if (IsNumeric(def.DataType)) {
      const auto have = ParseNumber(*cell);
      const auto want = ParseNumber(Trim(*text));
      if (have && want) return *have == *want;
    } else if (IsDate(def.DataType)) {
      const auto have = ParseDateTime(*cell);
      const auto want = ParseDateTime(Trim(*text));
      if (have && want) return Seconds(*have) == Seconds(*want);
    }
    return case_insensitive ? FoldCase(*cell) == FoldCase(*text) : *cell == *text;
  }
  if (!cell) return false;
  if (const auto* number = std::get_if<double>(&wanted)) {
    if (IsDate(def.DataType)) {
      const auto have = ParseDateTime(*cell);
      return have && Seconds(*have) == Seconds(TDateTime(*number));
    }
    const auto have = ParseNumber(Trim(*cell));
    return have && *have == *number;
  }
  if (const auto* integer = std::get_if<long long>(&wanted)) {
    if (const auto exact = ParseInteger(Trim(*cell))) return *exact == *integer;
    const auto have = ParseNumber(Trim(*cell));
    return have && *have == static_cast<double>(*integer);
  }
  const auto have = ParseDateTime(Trim(*cell));
  return have && Seconds(*have) == Seconds(std::get<TDateTime>(wanted));
}

std::vector<std::string> SplitKeyFields(const std::string& key_fields) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = key_fields.find(';', start);
    std::string name = Trim(key_fields.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (name.empty()) throw Exception("Campos de busca inválidos: '" + key_fields + "'.");
    names.push_back(std::move(name));
    if (end == std::string::npos) return names;
    start = end + 1;
  }
}

}  // namespace

// ---- TField ----

const TFieldDef& TField::Def() const {
  if (FIndex >= FDataSet->FFieldDefs.size()) {
    throw Exception("Campo não disponível: o conjunto de dados foi fechado ou reaberto.");
  }
  return FDataSet->FFieldDefs[FIndex];
}

std::string TField::Label() const {
  return "'" + Def().Name + "'";
}

const std::string& TField::FieldName() const {
  return Def().Name;
}
TFieldType TField::DataType() const {
  return Def().DataType;
}
int TField::Size() const {
  return Def().Size;
}
bool TField::IsNull() const {
  return !RawValue();
}
const std::optional<std::string>& TField::RawValue() const {
  return FDataSet->Cell(FIndex);
}

std::string TField::AsString() const {
  const auto& raw = RawValue();
  if (!raw) return {};
  switch (Def().DataType) {
    case TFieldType::ftFloat:
      return oradb::internal::NormalizeNumericText(*raw);
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: {
      const auto date = ParseDateTime(*raw);
      return date ? FormatDateTime(*date, Def().DataType == TFieldType::ftDate) : *raw;
    }
    case TFieldType::ftBoolean:
      return TextAsBoolean(*raw) ? "True" : "False";
    default:
      return *raw;
  }
}

double TField::AsFloat() const {
  const auto& raw = RawValue();
  if (!raw) return 0.0;
  if (IsDate(Def().DataType)) return AsDateTime().Value();
  if (Def().DataType == TFieldType::ftBoolean) return TextAsBoolean(*raw) ? 1.0 : 0.0;
  const auto number = ParseNumber(Trim(*raw));
  if (!number) throw Exception("O valor '" + *raw + "' do campo " + Label() + " não é um número válido.");
  return *number;
}

long long TField::AsInteger() const {
  const auto& raw = RawValue();
  if (!raw) return 0;
  if (!IsDate(Def().DataType) && Def().DataType != TFieldType::ftBoolean) {
    if (const auto exact = ParseInteger(Trim(*raw))) return *exact;
  }
  const double value = AsFloat();
  if (!(std::fabs(value) < 9.2e18)) throw Exception("O valor do campo " + Label() + " não cabe em um inteiro.");
  return std::llround(value);
}

TDateTime TField::AsDateTime() const {
  const auto& raw = RawValue();
  if (!raw) return TDateTime();
  if (IsNumeric(Def().DataType)) return TDateTime(AsFloat());
  const auto date = ParseDateTime(Trim(*raw));
  if (!date) throw Exception("O valor '" + *raw + "' do campo " + Label() + " não é uma data válida.");
  return *date;
}

bool TField::AsBoolean() const {
  const auto& raw = RawValue();
  if (!raw) return false;
  if (IsNumeric(Def().DataType)) return AsFloat() != 0.0;
  return TextAsBoolean(Trim(*raw));
}

void TField::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();
    return;
  }
  const TFieldType type = Def().DataType;
  if (IsNumeric(type)) {
    const std::string text = Trim(value);
    if (type == TFieldType::ftInteger && ParseInteger(text)) {
      FDataSet->SetCell(FIndex, text);
      return;
    }
    const auto number = ParseNumber(text);
    if (!number || !std::isfinite(*number)) {
      throw Exception("O valor '" + value + "' não é um número válido para o campo " + Label() + ".");
    }
    if (type == TFieldType::ftInteger) {
      SetAsFloat(*number);
    } else {
      FDataSet->SetCell(FIndex, text);
    }
  } else if (IsDate(type)) {
    const auto date = ParseDateTime(Trim(value));
    if (!date) throw Exception("O valor '" + value + "' não é uma data válida para o campo " + Label() + ".");
    SetAsDateTime(*date);
  } else if (type == TFieldType::ftBoolean) {
    SetAsBoolean(TextAsBoolean(Trim(value)));
  } else {
    FDataSet->SetCell(FIndex, value);
  }
}

void TField::SetAsFloat(double value) {
  if (!std::isfinite(value)) throw Exception("Valor numérico inválido para o campo " + Label() + ".");
  switch (Def().DataType) {
    case TFieldType::ftInteger:
      if (!(std::fabs(value) < 9.2e18)) throw Exception("O valor não cabe no campo inteiro " + Label() + ".");
      FDataSet->SetCell(FIndex, std::to_string(std::llround(value)));
      return;
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
      SetAsDateTime(TDateTime(value));
      return;
    case TFieldType::ftBoolean:
      SetAsBoolean(value != 0.0);
      return;
    default:
      FDataSet->SetCell(FIndex, ShortestDecimal(value));
  }
}

void TField::SetAsInteger(long long value) {
  const TFieldType type = Def().DataType;
  if (IsDate(type)) {
    SetAsDateTime(TDateTime(static_cast<double>(value)));
  } else if (type == TFieldType::ftBoolean) {
    SetAsBoolean(value != 0);
  } else {
    FDataSet->SetCell(FIndex, std::to_string(value));
  }
}

void TField::SetAsDateTime(TDateTime value) {
  switch (Def().DataType) {
    case TFieldType::ftDate:
      FDataSet->SetCell(FIndex, value.DateOnly().ToIso());
      return;
    case TFieldType::ftDateTime:
      FDataSet->SetCell(FIndex, value.ToIso());
      return;
    case TFieldType::ftFloat:
    case TFieldType::ftInteger:
      SetAsFloat(value.Value());
      return;
    case TFieldType::ftBoolean:
      throw Exception("Uma data não pode ser gravada no campo lógico " + Label() + ".");
    default:
      FDataSet->SetCell(FIndex, FormatDateTime(value));
  }
}

void TField::SetAsBoolean(bool value) {
  switch (Def().DataType) {
    case TFieldType::ftBoolean:
      FDataSet->SetCell(FIndex, value ? "t" : "f");
      return;
    case TFieldType::ftFloat:
    case TFieldType::ftInteger:
      FDataSet->SetCell(FIndex, value ? "1" : "0");
      return;
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
      throw Exception("Um valor lógico não pode ser gravado no campo de data " + Label() + ".");
    default:
      FDataSet->SetCell(FIndex, value ? "True" : "False");
  }
}

void TField::Clear() {
  FDataSet->SetCell(FIndex, std::nullopt);
}

std::optional<std::string> TField::OldValue() const {
  static_cast<void>(Def());  // a field of a closed dataset fails here
  switch (FDataSet->FState) {
    case TDataSetState::dsEdit:
      return FDataSet->FOldRow[FIndex];
    case TDataSetState::dsInsert:
      return std::nullopt;
    default:
      return RawValue();
  }
}

// ---- TDataSet ----

TDataSet::TDataSet() = default;
TDataSet::~TDataSet() = default;

void TDataSet::Close() {
  FState = TDataSetState::dsInactive;
  FEditBuffer.clear();
  FOldRow.clear();
  FRows.clear();
  FFieldDefs.clear();
  FCursor = 0;
  FEof = true;
  FBof = true;
  FPassedRows = 0;
}

void TDataSet::Load(std::vector<TFieldDef> defs, std::vector<TRow> rows) {
  for (TFieldDef& def : defs) def.Name = UpperAscii(Trim(def.Name));
  FFieldDefs = std::move(defs);
  FRows = std::move(rows);
  FState = TDataSetState::dsBrowse;
  FEditBuffer.clear();
  FOldRow.clear();
  FPassedRows = 0;
  FCursor = FRows.size();
  FEof = true;
  FBof = true;
  First();
}

void TDataSet::CheckActive() const {
  if (FState == TDataSetState::dsInactive) throw Exception("O conjunto de dados está fechado.");
}

void TDataSet::CheckBrowseMode() {
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) Post();
}

bool TDataSet::Visible(std::size_t row_index) const {
  if (!FFiltered || !FFilterTree) return true;
  const TRow& row = FRows[row_index];
  const auto read_field = [&](const std::string& name) {
    const auto index = FieldIndex(name);
    if (!index) FieldNotFound(name);
    FilterValue value;
    const std::optional<std::string>& cell = row[*index];
    if (!cell) return value;
    const TFieldType type = FFieldDefs[*index].DataType;
    value.ValueKind = FilterValue::Kind::Text;
    value.Text = *cell;
    if (IsNumeric(type)) {
      if (const auto number = ParseNumber(*cell)) {
        value.ValueKind = FilterValue::Kind::Number;
        value.Number = *number;
      }
    } else if (IsDate(type)) {
      if (const auto date = ParseDateTime(*cell)) {
        value.ValueKind = FilterValue::Kind::Date;
        value.Number = date->Value();
      }
    } else if (type == TFieldType::ftBoolean) {
      value.ValueKind = FilterValue::Kind::Boolean;
      value.Number = TextAsBoolean(*cell) ? 1.0 : 0.0;
    }
    return value;
  };
  return FFilterTree->Expression.Evaluate(read_field) == FilterTruth::True;
}

std::optional<std::size_t> TDataSet::FindVisible(std::size_t from, int direction) const {
  if (direction > 0) {
    for (std::size_t row = from; row < FRows.size(); ++row) {
      if (Visible(row)) return row;
    }
    return std::nullopt;
  }
  if (FRows.empty()) return std::nullopt;
  for (std::size_t row = std::min(from, FRows.size() - 1) + 1; row-- > 0;) {
    if (Visible(row)) return row;
  }
  return std::nullopt;
}

bool TDataSet::LoadNextChunk() {
  std::vector<TRow> chunk;
  if (!FetchMore(chunk) || chunk.empty()) return false;
  if (!FForwardOnly) {
    FRows.insert(FRows.end(), std::make_move_iterator(chunk.begin()), std::make_move_iterator(chunk.end()));
    return true;
  }
  // The loaded rows are dropped, except the current one: it is carried over in front of the new
  // chunk, so it stays current (and counted) when the new rows hold no visible one.
  const bool keep_current = FCursor < FRows.size();
  for (std::size_t row = 0; row < FRows.size(); ++row) {
    if ((!keep_current || row != FCursor) && Visible(row)) ++FPassedRows;
  }
  std::vector<TRow> rows;
  rows.reserve(chunk.size() + 1);
  if (keep_current) rows.push_back(std::move(FRows[FCursor]));
  rows.insert(rows.end(), std::make_move_iterator(chunk.begin()), std::make_move_iterator(chunk.end()));
  FRows = std::move(rows);
  FCursor = keep_current ? 0 : FRows.size();
  return true;
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  if (FForwardOnly && FPassedRows > 0) {
    throw Exception("Operação não permitida em um conjunto de dados unidirecional.");
  }
  std::optional<std::size_t> first = FindVisible(0, 1);
  FCursor = FRows.size();  // nothing current to carry over while looking for the first visible row
  while (!first) {
    const std::size_t loaded = FRows.size();
    if (!LoadNextChunk()) break;
    first = FindVisible(FForwardOnly ? 0 : loaded, 1);
  }
  FCursor = first.value_or(FRows.size());
  FBof = true;
  FEof = !first;
}

void TDataSet::Next() {
  CheckActive();
  CheckBrowseMode();
  std::size_t from = FCursor < FRows.size() ? FCursor + 1 : FRows.size();
  for (;;) {
    if (const auto next = FindVisible(from, 1)) {
      FCursor = *next;
      FBof = false;
      FEof = false;
      return;
    }
    const std::size_t loaded = FRows.size();
    if (!LoadNextChunk()) break;
    from = FForwardOnly ? (FCursor < FRows.size() ? FCursor + 1 : 0) : loaded;
  }
  FEof = true;
}

void TDataSet::Prior() {
  CheckActive();
  CheckBrowseMode();
  if (FForwardOnly) throw Exception("Operação não permitida em um conjunto de dados unidirecional.");
  if (FCursor < FRows.size() && FCursor > 0) {
    if (const auto prior = FindVisible(FCursor - 1, -1)) {
      FCursor = *prior;
      FBof = false;
      FEof = false;
      return;
    }
  }
  FBof = true;
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  if (FForwardOnly) FCursor = FRows.size();  // skipping to the end: nothing to carry over
  while (LoadNextChunk()) {
  }
  const auto last = FRows.empty() ? std::nullopt : FindVisible(FRows.size() - 1, -1);
  FCursor = last.value_or(FRows.size());
  FEof = true;
  FBof = !last;
}

bool TDataSet::Eof() const noexcept {
  return FEof;
}
bool TDataSet::Bof() const noexcept {
  return FBof;
}

bool TDataSet::IsEmpty() const {
  if (FState == TDataSetState::dsInactive) return true;
  if (FState == TDataSetState::dsInsert) return false;
  return !FindVisible(0, 1);
}

std::size_t TDataSet::RecordCount() const {
  if (FState == TDataSetState::dsInactive) return 0;
  if (!FFiltered || !FFilterTree) return FRows.size();
  std::size_t count = 0;
  for (std::size_t row = 0; row < FRows.size(); ++row) {
    if (Visible(row)) ++count;
  }
  return count;
}

std::size_t TDataSet::RecNo() const {
  if (FState == TDataSetState::dsInactive || FCursor >= FRows.size()) return 0;
  std::size_t position = FPassedRows;
  for (std::size_t row = 0; row <= FCursor; ++row) {
    if (Visible(row)) ++position;
  }
  return position;
}

std::optional<std::size_t> TDataSet::FieldIndex(std::string_view name) const {
  const std::string upper = UpperAscii(Trim(name));
  for (std::size_t index = 0; index < FFieldDefs.size(); ++index) {
    if (FFieldDefs[index].Name == upper) return index;
  }
  return std::nullopt;
}

std::size_t TDataSet::RequireField(std::string_view name) const {
  const auto index = FieldIndex(name);
  if (!index) FieldNotFound(name);
  return *index;
}

TField TDataSet::FieldByName(std::string_view name) {
  return TField(*this, RequireField(name));
}

std::optional<TField> TDataSet::FindField(std::string_view name) {
  const auto index = FieldIndex(name);
  if (!index) return std::nullopt;
  return TField(*this, *index);
}

TField TDataSet::Fields(std::size_t index) {
  if (index >= FFieldDefs.size()) throw Exception("Campo de índice " + std::to_string(index) + " não existe.");
  return TField(*this, index);
}

const std::optional<std::string>& TDataSet::Cell(std::size_t field_index) const {
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return FEditBuffer[field_index];
  if (FCursor < FRows.size()) return FRows[FCursor][field_index];
  return kNoValue;
}

void TDataSet::SetCell(std::size_t field_index, std::optional<std::string> value) {
  if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) {
    throw Exception("O conjunto de dados não está em modo de edição ou inclusão.");
  }
  // Oracle keeps an empty text as NULL.
  if (value && value->empty()) value.reset();
  FEditBuffer[field_index] = std::move(value);
}

void TDataSet::SetFilter(const std::string& filter) {
  if (Active()) CheckBrowseMode();
  FilterExpression parsed = FilterExpression::Parse(filter);
  std::shared_ptr<const FilterNode> tree;
  if (!parsed.Empty()) tree = std::make_shared<const FilterNode>(FilterNode{std::move(parsed)});
  std::string previous_text = std::exchange(FFilter, filter);
  std::shared_ptr<const FilterNode> previous_tree = std::exchange(FFilterTree, std::move(tree));
  if (!Active() || !FFiltered) return;
  try {
    First();
  } catch (...) {
    FFilter = std::move(previous_text);  // a filter naming a missing field is not kept
    FFilterTree = std::move(previous_tree);
    throw;
  }
}

void TDataSet::SetFiltered(bool filtered) {
  if (Active()) CheckBrowseMode();
  if (filtered == FFiltered) return;
  FFiltered = filtered;
  if (!Active()) return;
  try {
    First();
  } catch (...) {
    FFiltered = !filtered;
    throw;
  }
}

bool TDataSet::Locate(const std::string& key_fields, const std::vector<TVariant>& values, bool case_insensitive) {
  CheckActive();
  CheckBrowseMode();
  const std::vector<std::string> names = SplitKeyFields(key_fields);
  if (names.size() != values.size()) {
    throw Exception("A busca por '" + key_fields + "' recebeu " + std::to_string(values.size()) + " valor(es) para " +
                    std::to_string(names.size()) + " campo(s).");
  }
  std::vector<std::size_t> indexes;
  indexes.reserve(names.size());
  for (const std::string& name : names) indexes.push_back(RequireField(name));
  for (std::size_t row = 0; row < FRows.size(); ++row) {
    bool match = true;
    for (std::size_t key = 0; key < indexes.size() && match; ++key) {
      match = MatchesKey(FRows[row][indexes[key]], FFieldDefs[indexes[key]], values[key], case_insensitive);
    }
    if (match && Visible(row)) {
      FCursor = row;
      FEof = false;
      FBof = false;
      return true;
    }
  }
  return false;
}

void TDataSet::Edit() {
  CheckActive();
  if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert) return;
  if (FCursor >= FRows.size()) {
    Append();
    return;
  }
  FOldRow = FRows[FCursor];
  FEditBuffer = FOldRow;
  FState = TDataSetState::dsEdit;
}

void TDataSet::Append() {
  CheckActive();
  CheckBrowseMode();
  FEditBuffer.assign(FFieldDefs.size(), std::nullopt);
  FOldRow.clear();
  FState = TDataSetState::dsInsert;
}

void TDataSet::Post() {
  if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
  for (std::size_t index = 0; index < FFieldDefs.size(); ++index) {
    const TFieldDef& def = FFieldDefs[index];
    const std::optional<std::string>& value = FEditBuffer[index];
    if (def.Required && !value) throw Exception("Campo '" + def.Name + "' deve ser preenchido.");
    if (def.DataType == TFieldType::ftString && def.Size > 0 && value &&
        CharCount(*value) > static_cast<std::size_t>(def.Size)) {
      throw Exception("Campo '" + def.Name + "' excede o tamanho máximo de " + std::to_string(def.Size) +
                      " caracteres.");
    }
  }
  std::size_t posted = 0;
  if (FState == TDataSetState::dsInsert) {
    DoPostInsert(FEditBuffer);
    FRows.push_back(std::move(FEditBuffer));
    posted = FRows.size() - 1;
  } else {
    DoPostEdit(FOldRow, FEditBuffer);
    FRows[FCursor] = std::move(FEditBuffer);
    posted = FCursor;
  }
  FState = TDataSetState::dsBrowse;
  FEditBuffer.clear();
  FOldRow.clear();
  PlaceAfterChange(posted);
}

void TDataSet::PlaceAfterChange(std::size_t row_index) {
  if (row_index < FRows.size() && Visible(row_index)) {
    FCursor = row_index;
    FEof = false;
    FBof = false;
    return;
  }
  // The row no longer passes the filter (or is gone): the next visible row takes its place, else the
  // previous one with the cursor at the end.
  if (const auto next = FindVisible(row_index, 1)) {
    FCursor = *next;
    FEof = false;
    FBof = false;
  } else if (const auto prior = row_index > 0 ? FindVisible(row_index - 1, -1) : std::nullopt) {
    FCursor = *prior;
    FEof = true;
    FBof = false;
  } else {
    FCursor = FRows.size();
    FEof = true;
    FBof = true;
  }
}

void TDataSet::Cancel() {
  if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert) return;
  FState = TDataSetState::dsBrowse;
  FEditBuffer.clear();
  FOldRow.clear();
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  Cancel();
  if (FCursor >= FRows.size()) throw Exception("Não há registro para excluir: o conjunto de dados está vazio.");
  DoDelete(FRows[FCursor]);
  const std::size_t deleted = FCursor;
  FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(deleted));
  PlaceAfterChange(deleted < FRows.size() ? deleted : FRows.size());
}

std::optional<std::size_t> TDataSet::CurrentRowIndex() const {
  if (FState == TDataSetState::dsInactive || FCursor >= FRows.size()) return std::nullopt;
  return FCursor;
}

const TDataSet::TRow* TDataSet::EditBuffer() const noexcept {
  return FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert ? &FEditBuffer : nullptr;
}

const TDataSet::TRow* TDataSet::OldRow() const noexcept {
  return FState == TDataSetState::dsEdit ? &FOldRow : nullptr;
}

void TDataSet::DoPostEdit(const TRow& /*old_row*/, const TRow& /*new_row*/) {}
void TDataSet::DoPostInsert(const TRow& /*new_row*/) {}
void TDataSet::DoDelete(const TRow& /*row*/) {}
bool TDataSet::FetchMore(std::vector<TRow>& /*rows*/) {
  return false;
}
