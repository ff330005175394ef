#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Oracle dialect to PostgreSQL. A pure function of the text: no database, no bind values.
namespace oradb {

struct Translation {
  // PostgreSQL text. Binds appear as $1..$n, one number per distinct bind name, plus one more for a
  // bind that is both tested for NULL and used elsewhere (the test reads its own copy as text).
  std::string Text;
  // Upper-case bind name of $k at index k-1: the binds in order of first appearance, then the
  // names of those copies (a name may appear twice; both take the bind's value).
  std::vector<std::string> ParamNames;
  // An anonymous block (DO ...): binds cannot be sent as parameters; RenderBlock inlines them.
  bool IsBlock = false;
  // A statement that returns rows (SELECT / WITH).
  bool ReturnsRows = false;
  // Where each bind of a block sits in Text: byte offset, length of its "$k" marker, index k-1.
  struct Marker {
    std::size_t Offset;
    std::size_t Length;
    std::size_t Param;
  };
  std::vector<Marker> BlockMarkers;
  // Values the cached translation took out of the text and sends as parameters: $k takes the j-th
  // of them when ParamNames[k-1] is the j-th empty name (see TranslateCached).
  std::vector<std::string> Lifted;
};

// Translates one statement or block. Throws ETranslationError naming the construct it cannot
// carry over; it never returns a guess.
[[nodiscard]] Translation Translate(std::string_view oracle_text);

// The same, from a process-wide cache keyed by the exact text (thread-safe). A quoted string of
// digits compared or assigned to a column (`WHERE ROWID = '12'`, a value the text was built with)
// travels as a parameter instead, in a statement that is not a block and has no grouping, ordering,
// set operator, hierarchy, ROWNUM or outer-join marker: texts that differ only in such values share
// one translation and one prepared statement on the server, and the column's type still decides
// how the value is read, as it did the literal's. The cache keeps the
// most recently used texts only (kTranslationCacheSize), so texts with values written into them
// (blocks, IN lists) cannot make a long-running host grow without bound; a caller keeps the
// translation it holds alive for as long as it needs it.
inline constexpr std::size_t kTranslationCacheSize = 4096;
[[nodiscard]] std::shared_ptr<const Translation> TranslateCached(std::string_view oracle_text);

// A block's text with each bind replaced by its literal (already escaped: literals[k] for $k+1).
[[nodiscard]] std::string RenderBlock(const Translation& translation, std::span<const std::string> literals);

// Statistics of the cache, for benchmarks and tests: how many texts were actually translated.
[[nodiscard]] std::size_t TranslationCount() noexcept;

}  // namespace oradb
