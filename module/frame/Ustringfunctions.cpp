#include "frame/Ustringfunctions.h"

#include <algorithm>
#include <cstddef>

namespace {

// UTF-8 encodes U+00C0..U+00DE as 0xC3 0x80..0x9E and their lower-case forms 0x20 higher;
// U+00D7 (multiplication sign) is the one non-letter in the range.
constexpr unsigned char kLatin1Lead = 0xC3;
constexpr unsigned char kLatin1UpperFirst = 0x80;
constexpr unsigned char kLatin1UpperLast = 0x9E;
constexpr unsigned char kMultiplicationSign = 0x97;
constexpr unsigned char kCaseOffset = 0x20;

[[nodiscard]] bool IsLatin1Upper(unsigned char byte) noexcept {
  return byte >= kLatin1UpperFirst && byte <= kLatin1UpperLast && byte != kMultiplicationSign;
}

// The byte at `pos` in lower case, given the byte before it (accented letters are two bytes).
[[nodiscard]] unsigned char LowerByte(std::string_view text, std::size_t pos) noexcept {
  const auto byte = static_cast<unsigned char>(text[pos]);
  if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + kCaseOffset);
  if (pos > 0 && static_cast<unsigned char>(text[pos - 1]) == kLatin1Lead && IsLatin1Upper(byte)) {
    return static_cast<unsigned char>(byte + kCaseOffset);
  }
  return byte;
}

[[nodiscard]] bool SameTextIgnoringCase(std::string_view left, std::string_view right) noexcept {
  if (left.size() != right.size()) return false;
  for (std::size_t pos = 0; pos < left.size(); ++pos) {
    if (LowerByte(left, pos) != LowerByte(right, pos)) return false;
  }
  return true;
}

}  // namespace

bool TStringFunctions::Contains(std::string_view text, std::string_view item) noexcept {
  return !item.empty() && text.find(item) != std::string_view::npos;
}

bool TStringFunctions::Contains(std::string_view text, const TArrayString& items, bool partial) noexcept {
  return std::any_of(items.begin(), items.end(), [&](const std::string& item) {
    return partial ? Contains(text, item) : SameTextIgnoringCase(text, item);
  });
}
