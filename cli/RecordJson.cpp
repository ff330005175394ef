#include "RecordJson.h"

#include <algorithm>
#include <cmath>

namespace cli {

namespace {

// The deepest nesting of arrays and objects in a JSON text, strings skipped; counted before
// parsing, because every later step over a value (copy, compare, dump) recurses per level.
int NestingDepth(std::string_view text) noexcept {
  int depth = 0;
  int deepest = 0;
  bool in_string = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (in_string) {
      if (c == '\\') {
        ++at;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// Offset of the first byte that does not belong to well-formed UTF-8 (RFC 3629: no overlong forms,
// no surrogates, nothing past U+10FFFF), or npos.
std::size_t FirstInvalidUtf8(std::string_view text) noexcept {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return at;
    }
    if (at + length > text.size()) return at;
    for (std::size_t next = 1; next < length; ++next) {
      const auto byte = static_cast<unsigned char>(text[at + next]);
      if (byte < (next == 1 ? low : 0x80) || byte > (next == 1 ? high : 0xBF)) return at;
    }
    at += length;
  }
  return std::string_view::npos;
}

}  // namespace

Json ParseRequestText(std::string_view text) {
  if (NestingDepth(text) > kMaxJsonDepth) {
    throw UsageError("JSON inválido: aninhamento acima de " + std::to_string(kMaxJsonDepth) + " níveis.");
  }
  if (const std::size_t invalid = FirstInvalidUtf8(text); invalid != std::string_view::npos) {
    throw UsageError("JSON inválido: o byte " + std::to_string(invalid + 1) + " não é UTF-8 válido.");
  }
  try {
    return Json::parse(text);
  } catch (const Json::out_of_range&) {
    throw UsageError("JSON inválido: número fora do intervalo de um double.");
  } catch (const Json::exception& error) {
    // The parser's message may quote the offending bytes; AnswerText keeps them printable.
    throw UsageError(std::string("JSON inválido: ") + error.what());
  }
}

std::string AnswerText(const Json& answer, int indent) {
  return answer.dump(indent, ' ', false, Json::error_handler_t::replace);
}

bool IsWholeNumber(const Json& value) {
  if (value.is_number_integer()) return true;
  if (!value.is_number_float()) return false;
  const double number = value.get<double>();
  return std::isfinite(number) && std::floor(number) == number;
}

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
