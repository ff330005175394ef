#include "oradb/internal/BindNames.h"

#include <algorithm>

#include "oradb/internal/RecentTexts.h"
#include "oradb/internal/SqlLexer.h"

namespace oradb::internal {

// The binds the translator numbers, from the same lexer, so both agree on what is a bind.
std::vector<std::string> ScanBindNames(std::string_view text) {
  std::vector<std::string> names;
  TokenScanner scanner(text, LexMode::Tolerant);
  for (Token token; scanner.Next(token);) {
    if (token.Kind != TokenKind::Bind) continue;
    if (std::find(names.begin(), names.end(), token.Upper) == names.end()) names.push_back(std::move(token.Upper));
  }
  return names;
}

std::shared_ptr<const std::vector<std::string>> ScanBindNamesCached(const std::string& text) {
  static RecentTexts<std::vector<std::string>> cache(kBindNamesCacheSize);
  return cache.Get(text, [&] { return ScanBindNames(text); });
}

}  // namespace oradb::internal
