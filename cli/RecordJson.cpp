#include "RecordJson.h"

#include <cmath>

namespace cli {

std::string JsonTypeName(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return "null";
    case Json::value_t::boolean:
      return "booleano";
    case Json::value_t::string:
      return "texto";
    case Json::value_t::array:
      return "lista";
    case Json::value_t::object:
      return "objeto";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
      return "número";
    default:
      return "valor inválido";
  }
}

TDateTime ReadDate(const Json& value, const std::string& where) {
  if (value.is_null()) return {};
  if (value.is_number() && value.get<double>() == 0) return {};
  if (!value.is_string()) {
    throw UsageError(where + ": esperada data \"AAAA-MM-DD\" ou \"AAAA-MM-DDTHH:MM:SS\", recebido " +
                     JsonTypeName(value) + ".");
  }
  const auto parsed = TDateTime::FromIso(value.get_ref<const std::string&>());
  if (!parsed) {
    throw UsageError(where + ": data inválida \"" + value.get<std::string>() +
                     "\" (use AAAA-MM-DD ou AAAA-MM-DDTHH:MM:SS).");
  }
  return *parsed;
}

Json NumberJson(double value) {
  constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
  if (std::floor(value) == value && std::fabs(value) < kExactIntegers) return static_cast<long long>(value);
  return value;
}

Json WriteDate(TDateTime value, bool with_time) {
  if (value.IsZero()) return nullptr;
  std::string text = value.ToIso(!with_time);
  if (with_time) text[10] = 'T';
  return text;
}

}  // namespace cli
