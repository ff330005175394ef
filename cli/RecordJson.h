#pragma once

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include <nlohmann/json.hpp>

#include "rtl/Formatacao.h"
#include "sdk/RecordFields.h"

namespace cli {

using Json = nlohmann::ordered_json;

// A request the command-line host cannot carry out as given (bad JSON, wrong type, unknown name).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Deepest nesting of arrays and objects a request may have; records need three levels.
inline constexpr int kMaxJsonDepth = 64;

// Parses the text of one request. Malformed JSON, nesting deeper than kMaxJsonDepth, numbers out of
// range (1e400) and invalid UTF-8 are usage errors with a message fit to answer.
[[nodiscard]] Json ParseRequestText(std::string_view text);
// An answer as text: a text that is not valid UTF-8 is written with replacement characters instead
// of failing; `indent` < 0 writes one line.
[[nodiscard]] std::string AnswerText(const Json& answer, int indent);

[[nodiscard]] std::string JsonTypeName(const Json& value);
// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS"; 0 and null mean not set.
[[nodiscard]] TDateTime ReadDate(const Json& value, const std::string& where);
[[nodiscard]] Json WriteDate(TDateTime value, bool with_time);
// A number as JSON: integral values without a fraction (12, not 12.0).
[[nodiscard]] Json NumberJson(double value);

// Integers beyond 2^53 have no exact double: a record number there would name another record.
inline constexpr double kLargestExactInteger = 9007199254740992.0;

// A JSON number without a fraction (5, 5.0, 1e3; not 5.5, 5e-324 or -0.001).
[[nodiscard]] bool IsWholeNumber(const Json& value);

// Reads one field of a record or argument list from JSON, checking its type and width. Kept out of
// line: inlined into a caller whose record is smaller than some member type of the field variant
// (a lone int), GCC's optimizer reports the branches that never run for it as out-of-bounds reads.
template <class R>
[[gnu::noinline]] void ReadField(const FieldDef<R>& field, const Json& value, R& record, const std::string& where) {
  const std::string name = where + "." + field.Name;
  std::visit(
      [&](auto member) {
        using Member = std::remove_reference_t<decltype(record.*member)>;
        Member& target = record.*member;
        if constexpr (std::is_same_v<Member, std::string>) {
          if (value.is_null()) {
            target.clear();
            return;
          }
          if (!value.is_string()) throw UsageError(name + ": esperado texto, recebido " + JsonTypeName(value) + ".");
          const auto& text = value.get_ref<const std::string&>();
          // The database stores no NUL character: refused here rather than failing in the module.
          if (text.find('\0') != std::string::npos) throw UsageError(name + ": texto com caractere nulo (\\u0000).");
          if (field.MaxChars > 0 && CharCount(text) > field.MaxChars) {
            throw UsageError(name + ": no máximo " + std::to_string(field.MaxChars) + " caracteres.");
          }
          target = text;
        } else if constexpr (std::is_same_v<Member, bool>) {
          if (value.is_null()) {
            target = false;
            return;
          }
          if (!value.is_boolean())
            throw UsageError(name + ": esperado true/false, recebido " + JsonTypeName(value) + ".");
          target = value.get<bool>();
        } else if constexpr (std::is_same_v<Member, double>) {
          if (value.is_null()) {
            target = 0;
            return;
          }
          if (!value.is_number()) throw UsageError(name + ": esperado número, recebido " + JsonTypeName(value) + ".");
          const double number = value.get<double>();
          if (!std::isfinite(number)) throw UsageError(name + ": número inválido.");
          if (field.Kind == FieldKind::Integer) {
            if (!IsWholeNumber(value)) throw UsageError(name + ": esperado número inteiro, recebido número.");
            if (std::fabs(number) > kLargestExactInteger) throw UsageError(name + ": inteiro fora do intervalo.");
          }
          target = number == 0 ? 0.0 : number;  // -0 is 0
        } else if constexpr (std::is_same_v<Member, int>) {
          if (value.is_null()) {
            target = 0;
            return;
          }
          if (!IsWholeNumber(value))
            throw UsageError(name + ": esperado número inteiro, recebido " + JsonTypeName(value) + ".");
          const double number = value.get<double>();
          if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
            throw UsageError(name + ": inteiro fora do intervalo.");
          }
          target = static_cast<int>(number);
        } else {
          static_assert(std::is_same_v<Member, TDateTime>);
          target = ReadDate(value, name);
        }
      },
      field.Pointer);
}

// Fills a record from a JSON object: unknown names, wrong types and missing required fields are
// refused before anything runs.
template <class R>
void ReadRecord(const Json& object, R& record, FieldTable<R> table, const std::string& where) {
  if (!object.is_null() && !object.is_object()) {
    throw UsageError(where + ": esperado objeto JSON, recebido " + JsonTypeName(object) + ".");
  }
  if (object.is_object()) {
    for (const auto& [key, value] : object.items()) {
      bool known = false;
      for (const auto& field : table) {
        if (key == field.Name) {
          ReadField(field, value, record, where);
          known = true;
          break;
        }
      }
      if (!known) throw UsageError(where + ": campo desconhecido \"" + key + "\".");
    }
  }
  for (const auto& field : table) {
    if (field.Required && (!object.is_object() || !object.contains(field.Name))) {
      throw UsageError(where + ": campo obrigatório ausente \"" + field.Name + "\".");
    }
  }
}

template <class R>
[[nodiscard]] Json WriteRecord(const R& record, FieldTable<R> table) {
  Json object = Json::object();
  for (const auto& field : table) {
    std::visit(
        [&](auto member) {
          using Member = std::remove_cv_t<std::remove_reference_t<decltype(record.*member)>>;
          const Member& value = record.*member;
          if constexpr (std::is_same_v<Member, TDateTime>) {
            object[field.Name] = WriteDate(value, field.Kind == FieldKind::DateTime);
          } else if constexpr (std::is_same_v<Member, double>) {
            object[field.Name] = NumberJson(value);
          } else {
            object[field.Name] = value;
          }
        },
        field.Pointer);
  }
  return object;
}

// JSON names and types of a table, for --describe.
template <class R>
[[nodiscard]] Json DescribeTable(FieldTable<R> table) {
  Json fields = Json::array();
  for (const auto& field : table) {
    Json entry = {{"name", field.Name}, {"type", FieldKindName(field.Kind)}};
    if (field.MaxChars > 0) entry["max_chars"] = field.MaxChars;
    if (field.Required) entry["required"] = true;
    fields.push_back(entry);
  }
  return fields;
}

}  // namespace cli
