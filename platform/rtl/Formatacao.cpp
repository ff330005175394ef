#include "rtl/Formatacao.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Length of the valid UTF-8 sequence starting at text[pos], or 1 for an invalid byte.
std::size_t SequenceLength(std::string_view text, std::size_t pos) noexcept {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 1;
  }
  if (pos + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::string FixedShortest(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

}  // namespace

TFormatSettings& FormatSettings() noexcept {
  static TFormatSettings settings;
  return settings;
}

double RoundTo(double value, int decimals) {
  if (!std::isfinite(value) || decimals < 0) return value;
  const std::string text = FixedShortest(value);
  const bool negative = !text.empty() && text[0] == '-';
  const std::string unsigned_text = negative ? text.substr(1) : text;
  const std::size_t point = unsigned_text.find('.');
  if (point == std::string::npos) return value;
  const std::string integer_part = unsigned_text.substr(0, point);
  const std::string fraction = unsigned_text.substr(point + 1);
  const auto kept_fraction_length = static_cast<std::size_t>(decimals);
  if (fraction.size() <= kept_fraction_length) return value;

  std::string digits = integer_part + fraction.substr(0, kept_fraction_length);
  const char deciding = fraction[kept_fraction_length];
  const bool rest_nonzero = fraction.find_first_not_of('0', kept_fraction_length + 1) != std::string::npos;
  bool round_up = false;
  if (deciding > '5' || (deciding == '5' && rest_nonzero)) {
    round_up = true;
  } else if (deciding == '5') {
    round_up = ((digits.back() - '0') % 2) == 1;
  }
  if (round_up) {
    std::size_t pos = digits.size();
    while (pos > 0) {
      --pos;
      if (digits[pos] == '9') {
        digits[pos] = '0';
      } else {
        ++digits[pos];
        break;
      }
      if (pos == 0) digits.insert(digits.begin(), '1');
    }
  }
  const std::size_t integer_length = digits.size() - kept_fraction_length;
  std::string rounded = digits.substr(0, integer_length);
  if (kept_fraction_length > 0) {
    rounded += '.';
    rounded.append(digits, integer_length, std::string::npos);
  }
  double result = 0.0;
  std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
  return negative ? -result : result;
}

std::string ShortestDecimal(double value) {
  if (value == 0.0) return "0";
  return FixedShortest(value);
}

std::string FormatarValor(double value) {
  return FormatarValor(value, FormatSettings());
}

std::string FormatarValor(double value, const TFormatSettings& settings) {
  double rounded = RoundTo(value, 2);
  if (rounded == 0.0) rounded = 0.0;  // no "-0,00"
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded), std::chars_format::fixed, 2);
  const std::string plain(buffer, result.ptr);
  const std::size_t point = plain.find('.');
  const std::string integer_part = plain.substr(0, point);
  std::string grouped;
  for (std::size_t i = 0; i < integer_part.size(); ++i) {
    if (i > 0 && (integer_part.size() - i) % 3 == 0) grouped += settings.ThousandSeparator;
    grouped += integer_part[i];
  }
  return (rounded < 0 ? "-" : "") + grouped + settings.DecimalSeparator + plain.substr(point + 1);
}

std::size_t CharCount(std::string_view text) noexcept {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += SequenceLength(text, pos)) ++count;
  return count;
}

std::string Utf8Left(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t taken = 0; taken < count && pos < text.size(); ++taken) pos += SequenceLength(text, pos);
  return std::string(text.substr(0, pos));
}

std::string Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return std::string(text.substr(first, last - first + 1));
}

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::vector<std::string> SplitTrimmed(std::string_view text, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    std::string item = Trim(text.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

std::string ZeroPad(int value, int width) {
  std::string digits = std::to_string(value);
  if (digits.size() < static_cast<std::size_t>(width))
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}
