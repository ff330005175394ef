#include "oradb/internal/BindNames.h"

#include <algorithm>

namespace oradb::internal {

namespace {

bool IsBindChar(char c) noexcept {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '#' || c == '$';
}

// Position just after the closing `quote` of a quoted run starting at `pos` (doubled quotes stay inside).
std::size_t SkipQuoted(std::string_view text, std::size_t pos, char quote) noexcept {
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == quote) {
      if (pos + 1 < text.size() && text[pos + 1] == quote) {
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    ++pos;
  }
  return pos;
}

}  // namespace

std::vector<std::string> ScanBindNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '\'' || c == '"') {
      pos = SkipQuoted(text, pos, c);
    } else if (c == '-' && pos + 1 < text.size() && text[pos + 1] == '-') {
      const std::size_t end = text.find_first_of("\r\n", pos);
      pos = end == std::string_view::npos ? text.size() : end;
    } else if (c == '/' && pos + 1 < text.size() && text[pos + 1] == '*') {
      const std::size_t end = text.find("*/", pos + 2);
      pos = end == std::string_view::npos ? text.size() : end + 2;
    } else if (c == ':' && pos + 1 < text.size() && (text[pos + 1] == ':' || text[pos + 1] == '=')) {
      pos += 2;
    } else if (c == ':' && pos + 1 < text.size() && IsBindChar(text[pos + 1])) {
      std::size_t end = pos + 1;
      std::string name;
      while (end < text.size() && IsBindChar(text[end])) {
        const char ch = text[end++];
        name += (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
      }
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
      pos = end;
    } else {
      ++pos;
    }
  }
  return names;
}

}  // namespace oradb::internal
