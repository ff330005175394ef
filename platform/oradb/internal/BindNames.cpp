#include "oradb/internal/BindNames.h"

#include <algorithm>
#include <list>
#include <mutex>
#include <unordered_map>

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
  // Most recently used first; the index points into the list.
  using Entry = std::pair<std::string, std::shared_ptr<const std::vector<std::string>>>;
  static std::mutex lock;
  static std::list<Entry> recent;
  static std::unordered_map<std::string_view, std::list<Entry>::iterator> index;
  const std::lock_guard guard(lock);
  if (const auto found = index.find(text); found != index.end()) {
    recent.splice(recent.begin(), recent, found->second);
    return found->second->second;
  }
  recent.emplace_front(text, std::make_shared<const std::vector<std::string>>(ScanBindNames(text)));
  index.emplace(recent.front().first, recent.begin());
  if (recent.size() > kBindNamesCacheSize) {
    index.erase(recent.back().first);
    recent.pop_back();
  }
  return recent.front().second;
}

}  // namespace oradb::internal
