#include "oradb/TOraParam.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

using oradb::internal::ParseDateTime;
using oradb::internal::ParseInteger;
using oradb::internal::ParseNumber;

namespace {

// A text literal that cannot end early: quotes are doubled, and '$' is spelled chr(36) so that no
// value can close the dollar quote around a rendered block.
std::string QuoteText(const std::string& value) {
  std::string literal = "'";
  bool spliced = false;
  for (const char c : value) {
    if (c == '\'') {
      literal += "''";
    } else if (c == '$') {
      literal += "' || chr(36) || '";
      spliced = true;
    } else {
      literal += c;
    }
  }
  literal += '\'';
  return spliced ? "(" + literal + ")" : literal;
}

}  // namespace

void TOraParam::SetAsString(const std::string& value) {
  if (value.empty()) {
    Clear();  // Oracle keeps '' as NULL
    return;
  }
  if (value.find('\0') != std::string::npos) {
    throw Exception("O parâmetro '" + FName + "' contém um caractere nulo, que o banco de dados não aceita.");
  }
  FKind = TParamKind::pkString;
  FWire = value;
}

void TOraParam::SetAsFloat(double value) {
  if (!std::isfinite(value)) throw Exception("Valor numérico inválido para o parâmetro '" + FName + "'.");
  FKind = TParamKind::pkFloat;
  FWire = ShortestDecimal(value);
}

void TOraParam::SetAsInteger(long long value) {
  FKind = TParamKind::pkInteger;
  FWire = std::to_string(value);
}

void TOraParam::SetAsDate(TDateTime value) {
  FKind = TParamKind::pkDate;
  FWire = oradb::internal::IsoDateTime(value, true);
}

void TOraParam::SetAsDateTime(TDateTime value) {
  FKind = TParamKind::pkDateTime;
  FWire = oradb::internal::IsoDateTime(value, false);
}

void TOraParam::SetAsDateOrNull(TDateTime value) {
  if (value.IsZero()) {
    Clear();
  } else {
    SetAsDate(value);
  }
}

void TOraParam::SetAsDateTimeOrNull(TDateTime value) {
  if (value.IsZero()) {
    Clear();
  } else {
    SetAsDateTime(value);
  }
}

void TOraParam::Clear() noexcept {
  FKind = TParamKind::pkNull;
  FWire.reset();
}

std::string TOraParam::AsString() const {
  if (!FWire) return {};
  if (FKind == TParamKind::pkDate || FKind == TParamKind::pkDateTime) {
    return oradb::internal::FormatDateTime(AsDateTime(), FKind == TParamKind::pkDate);
  }
  return *FWire;
}

double TOraParam::AsFloat() const {
  if (!FWire) return 0.0;
  if (FKind == TParamKind::pkDate || FKind == TParamKind::pkDateTime) return AsDateTime().Value();
  const auto number = ParseNumber(Trim(*FWire));
  if (!number) throw Exception("O valor '" + *FWire + "' do parâmetro '" + FName + "' não é um número válido.");
  return *number;
}

long long TOraParam::AsInteger() const {
  if (!FWire) return 0;
  if (FKind == TParamKind::pkInteger) return *ParseInteger(*FWire);
  if (const auto exact = ParseInteger(Trim(*FWire))) return *exact;
  const double value = AsFloat();
  if (std::fabs(value) >= 9.2e18) throw Exception("O valor do parâmetro '" + FName + "' não cabe em um inteiro.");
  return std::llround(value);
}

TDateTime TOraParam::AsDateTime() const {
  if (!FWire) return TDateTime();
  if (FKind == TParamKind::pkFloat || FKind == TParamKind::pkInteger) return TDateTime(AsFloat());
  const auto date = ParseDateTime(Trim(*FWire));
  if (!date) throw Exception("O valor '" + *FWire + "' do parâmetro '" + FName + "' não é uma data válida.");
  return *date;
}

std::string TOraParam::SqlLiteral() const {
  if (!FWire) return "NULL";
  switch (FKind) {
    case TParamKind::pkFloat:
    case TParamKind::pkInteger:
      // Parenthesised when negative, so "a -:X" never becomes a "--" comment.
      return (*FWire)[0] == '-' ? "(" + *FWire + ")" : *FWire;
    case TParamKind::pkDate:
    case TParamKind::pkDateTime:
      return "TIMESTAMP '" + *FWire + "'";
    default:
      return QuoteText(*FWire);
  }
}

TOraParam* TOraParams::FindParam(const std::string& name) {
  // Compared in place (names are kept upper case): looked up for every bind of every execution.
  std::string_view wanted(name);
  while (!wanted.empty() && wanted.front() == ' ') wanted.remove_prefix(1);
  while (!wanted.empty() && wanted.back() == ' ') wanted.remove_suffix(1);
  const auto same = [&](const TOraParam& param) {
    const std::string& have = param.Name();
    if (have.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < have.size(); ++i) {
      const char c = wanted[i];
      if (have[i] != ((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c)) return false;
    }
    return true;
  };
  const auto found = std::find_if(FParams.begin(), FParams.end(), same);
  return found == FParams.end() ? nullptr : &*found;
}

TOraParam& TOraParams::ParamByName(const std::string& name) {
  TOraParam* param = FindParam(name);
  if (param == nullptr) throw Exception("Parâmetro '" + name + "' não encontrado.");
  return *param;
}

void TOraParams::Rebuild(const std::vector<std::string>& names) {
  std::vector<TOraParam> rebuilt;
  rebuilt.reserve(names.size());
  for (const std::string& name : names) {
    if (TOraParam* existing = FindParam(name)) {
      rebuilt.push_back(*existing);
    } else {
      rebuilt.emplace_back(UpperAscii(name));
    }
  }
  FParams = std::move(rebuilt);
}
