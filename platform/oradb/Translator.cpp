#include "oradb/Translator.h"

#include <atomic>
#include <map>
#include <mutex>

#include "oradb/EOraError.h"

namespace oradb {

namespace {

std::atomic<std::size_t> g_translations{0};

bool IsIdentChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '#' ||
         c == '$';
}

}  // namespace

// Binds only: ":NAME" outside quotes becomes "$n". The full dialect translation replaces this.
Translation Translate(std::string_view oracle_text) {
  ++g_translations;
  Translation result;
  std::map<std::string, std::size_t> numbers;
  std::size_t pos = 0;
  while (pos < oracle_text.size()) {
    const char c = oracle_text[pos];
    if (c == '\'') {
      const std::size_t end = oracle_text.find('\'', pos + 1);
      if (end == std::string_view::npos) throw ETranslationError("Texto entre aspas sem fechamento.");
      result.Text.append(oracle_text.substr(pos, end - pos + 1));
      pos = end + 1;
      continue;
    }
    if (c == ':' && pos + 1 < oracle_text.size() && IsIdentChar(oracle_text[pos + 1]) &&
        (pos == 0 || oracle_text[pos - 1] != ':')) {
      std::size_t end = pos + 1;
      while (end < oracle_text.size() && IsIdentChar(oracle_text[end])) ++end;
      std::string name(oracle_text.substr(pos + 1, end - pos - 1));
      for (char& ch : name) ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
      auto [it, inserted] = numbers.emplace(name, result.ParamNames.size() + 1);
      if (inserted) result.ParamNames.push_back(name);
      result.Text += "$" + std::to_string(it->second);
      pos = end;
      continue;
    }
    result.Text += c;
    ++pos;
  }
  std::size_t first = result.Text.find_first_not_of(" \t\r\n(");
  const std::string head = first == std::string::npos ? "" : result.Text.substr(first, 6);
  result.ReturnsRows = head == "SELECT" || head == "select" || head.rfind("WITH", 0) == 0;
  return result;
}

const Translation& TranslateCached(std::string_view oracle_text) {
  static std::mutex lock;
  static std::map<std::string, Translation, std::less<>> cache;
  const std::lock_guard guard(lock);
  const auto found = cache.find(oracle_text);
  if (found != cache.end()) return found->second;
  return cache.emplace(std::string(oracle_text), Translate(oracle_text)).first->second;
}

std::string RenderBlock(const Translation& translation, std::span<const std::string> literals) {
  std::string text;
  std::size_t pos = 0;
  for (const auto& marker : translation.BlockMarkers) {
    text.append(translation.Text, pos, marker.Offset - pos);
    text += literals[marker.Param];
    pos = marker.Offset + marker.Length;
  }
  text.append(translation.Text, pos, std::string::npos);
  return text;
}

std::size_t TranslationCount() noexcept { return g_translations.load(); }

}  // namespace oradb
