#include "oradb/internal/TextValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "rtl/Formatacao.h"

namespace oradb::internal {

namespace {

bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// "-?digits(.digits)?": the plain form numeric columns are written in.
bool IsPlainDecimal(std::string_view text) noexcept {
  std::size_t pos = text.size() > 0 && text[0] == '-' ? 1 : 0;
  const std::size_t digits_start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  if (pos == digits_start) return false;
  if (pos == text.size()) return true;
  if (text[pos] != '.') return false;
  ++pos;
  const std::size_t fraction_start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos == text.size() && pos > fraction_start;
}

bool ReadInt(std::string_view text, std::size_t& pos, std::size_t max_digits, int& out) noexcept {
  const std::size_t start = pos;
  while (pos < text.size() && pos - start < max_digits && IsDigit(text[pos])) ++pos;
  if (pos == start) return false;
  std::from_chars(text.data() + start, text.data() + pos, out);
  return true;
}

std::optional<TDateTime> ParseBrazilian(std::string_view text) noexcept {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  std::size_t pos = 0;
  if (!ReadInt(text, pos, 2, day) || pos >= text.size() || text[pos++] != '/') return std::nullopt;
  if (!ReadInt(text, pos, 2, month) || pos >= text.size() || text[pos++] != '/') return std::nullopt;
  const std::size_t year_start = pos;
  if (!ReadInt(text, pos, 4, year) || pos - year_start != 4) return std::nullopt;
  if (pos < text.size()) {
    if (text[pos++] != ' ') return std::nullopt;
    if (!ReadInt(text, pos, 2, hour) || pos >= text.size() || text[pos++] != ':') return std::nullopt;
    if (!ReadInt(text, pos, 2, minute)) return std::nullopt;
    if (pos < text.size() && (text[pos++] != ':' || !ReadInt(text, pos, 2, second))) return std::nullopt;
    if (pos != text.size()) return std::nullopt;
  }
  char iso[32];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
  return TDateTime::FromIso(iso);
}

// Decodes UTF-8 into code points; an invalid byte stands for itself.
std::vector<char32_t> CodePoints(std::string_view text) {
  std::vector<char32_t> points;
  points.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    char32_t point = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      point = lead & 0x07;
    }
    bool valid = length > 1 && pos + length <= text.size();
    for (std::size_t i = 1; valid && i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[pos + i]);
      valid = (next & 0xC0) == 0x80;
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid) {
      length = 1;
      point = lead;
    }
    points.push_back(point);
    pos += length;
  }
  return points;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) noexcept {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<long long> ParseInteger(std::string_view text) noexcept {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<TDateTime> ParseDateTime(std::string_view text) noexcept {
  if (text.size() >= 10 && text[4] == '-') {
    // A time zone after the seconds (timestamptz) is dropped: the value is read as wall-clock
    // time in the session's zone, as an Oracle DATE holds it.
    if (text.size() > 19) {
      const std::size_t zone = text.find_first_of("+-", 19);
      if (zone != std::string_view::npos) text = text.substr(0, zone);
    }
    return TDateTime::FromIso(text);
  }
  if (text.find('/') != std::string_view::npos) return ParseBrazilian(text);
  return std::nullopt;
}

std::string NormalizeNumericText(std::string_view text) {
  if (IsPlainDecimal(text)) {
    std::string result(text);
    if (result.find('.') != std::string::npos) {
      while (result.back() == '0') result.pop_back();
      if (result.back() == '.') result.pop_back();
    }
    if (result == "-0") result = "0";
    return result;
  }
  const auto value = ParseNumber(text);
  if (!value || !std::isfinite(*value)) return std::string(text);
  return ShortestDecimal(*value);
}

std::string IsoDateTime(TDateTime value, bool midnight) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  value.DecodeDate(year, month, day);
  if (!midnight) value.DecodeTime(hour, minute, second);
  if (year < 0 || year > 9999) return value.ToIso();
  std::string text = "0000-00-00 00:00:00";
  const auto put = [&](std::size_t at, int number, int digits) {
    for (int digit = digits - 1; digit >= 0; --digit) {
      text[at + static_cast<std::size_t>(digit)] = static_cast<char>('0' + number % 10);
      number /= 10;
    }
  };
  put(0, year, 4);
  put(5, month, 2);
  put(8, day, 2);
  put(11, hour, 2);
  put(14, minute, 2);
  put(17, second, 2);
  return text;
}

std::string FormatDateTime(TDateTime value, bool date_only) {
  int hour = 0, minute = 0, second = 0;
  value.DecodeTime(hour, minute, second);
  if (date_only || (hour == 0 && minute == 0 && second == 0)) return value.ToBrazilian();
  char time[16];
  std::snprintf(time, sizeof time, " %02d:%02d:%02d", hour, minute, second);
  return value.ToBrazilian() + time;
}

TFieldType FieldTypeFromOid(unsigned type_oid) noexcept {
  switch (type_oid) {
    case 20:  // int8
    case 21:  // int2
    case 23:  // int4
    case 26:  // oid
      return TFieldType::ftInteger;
    case 700:   // float4
    case 701:   // float8
    case 790:   // money
    case 1700:  // numeric
      return TFieldType::ftFloat;
    case 1082:  // date
    case 1114:  // timestamp
    case 1184:  // timestamptz
      return TFieldType::ftDateTime;
    case 16:  // bool
      return TFieldType::ftBoolean;
    default:
      return TFieldType::ftString;
  }
}

int TextWidthFromModifier(unsigned type_oid, int modifier) noexcept {
  constexpr int kVarHeader = 4;  // the type modifier of char(n)/varchar(n) is n + 4
  if ((type_oid == 1042 || type_oid == 1043) && modifier > kVarHeader) return modifier - kVarHeader;
  return 0;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (byte >= 'A' && byte <= 'Z') {
      folded[i] = static_cast<char>(byte - 'A' + 'a');
    } else if (byte == 0xC3 && i + 1 < folded.size()) {
      // U+00C0..U+00DE (À..Þ, except ×) fold to U+00E0..U+00FE.
      const auto next = static_cast<unsigned char>(folded[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return folded;
}

bool LikeMatch(std::string_view text, std::string_view pattern) {
  const std::vector<char32_t> subject = CodePoints(text);
  const std::vector<char32_t> mask = CodePoints(pattern);
  std::size_t s = 0, p = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (s < subject.size()) {
    if (p < mask.size() && (mask[p] == U'_' || (mask[p] != U'%' && mask[p] == subject[s]))) {
      ++s;
      ++p;
    } else if (p < mask.size() && mask[p] == U'%') {
      star = p++;
      resume = s;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (p < mask.size() && mask[p] == U'%') ++p;
  return p == mask.size();
}

bool TextAsBoolean(std::string_view text) noexcept {
  const std::string folded = FoldCase(text);
  return folded == "t" || folded == "true" || folded == "s" || folded == "sim" || folded == "y" || folded == "yes" ||
         folded == "1";
}

}  // namespace oradb::internal
