#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Separators the host formats amounts with (pt-BR unless the host says otherwise).
struct TFormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
};

// The process-wide settings, set by the host at start-up.
TFormatSettings& FormatSettings() noexcept;

// Rounds to `decimals` places on the value's shortest decimal text, ties to the even digit:
// RoundTo(2.675, 2) == 2.68, RoundTo(0.125, 2) == 0.12, RoundTo(10.456, 2) == 10.46.
[[nodiscard]] double RoundTo(double value, int decimals);

// The shortest decimal text that reads back as the same double, never in exponent form:
// 12 -> "12", 12.5 -> "12.5", -0.25 -> "-0.25".
[[nodiscard]] std::string ShortestDecimal(double value);

// "###,###,##0.00" with the host's separators: 1234.5 -> "1.234,50", -0.004 -> "0,00".
[[nodiscard]] std::string FormatarValor(double value);
[[nodiscard]] std::string FormatarValor(double value, const TFormatSettings& settings);

// Width of a UTF-8 text in characters (code points); an invalid byte counts as one character.
[[nodiscard]] std::size_t CharCount(std::string_view text) noexcept;
// The first `count` characters of a UTF-8 text, never splitting a character.
[[nodiscard]] std::string Utf8Left(std::string_view text, std::size_t count);
// Leading and trailing blanks (spaces, tabs, CR, LF) removed.
[[nodiscard]] std::string Trim(std::string_view text);
// ASCII upper case (identifiers and codes; accents untouched).
[[nodiscard]] std::string UpperAscii(std::string_view text);
// The non-blank items of a separated list, each trimmed: " 1, ,2 " -> {"1", "2"}.
[[nodiscard]] std::vector<std::string> SplitTrimmed(std::string_view text, char separator);
// A non-negative number with zeros on the left up to `width` digits: (3, 2) -> "03".
[[nodiscard]] std::string ZeroPad(int value, int width);
