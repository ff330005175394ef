// Feeds arbitrary text to the Oracle-to-PostgreSQL translator. Any input must end in a translation
// or an ETranslationError: a crash, a hang, another exception or a sanitizer report is a fault; a
// text that translates must also come out of the translation cache.
//
// An input starting with byte 0xFF asks for depth: the next two bytes give a count n (up to 32,767)
// and the rest is split at its first NUL into a head and a tail; the text translated is the head n
// times, then the tail n times ("(" and ")1" make n nested parentheses). The fuzzer finds deep
// nesting that way without inputs of megabytes. The expanded text stops at 1 MiB: depth is what the
// count is for, and a long head repeated 32,767 times made texts of tens of megabytes whose plain
// length (linear work, seconds under the sanitizers) ran past the time allowed for one input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "oradb/EOraError.h"
#include "oradb/Translator.h"

namespace {

std::string Expand(const std::uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  if (size < 3 || data[0] != 0xFF) return std::string(raw);
  std::size_t count = ((static_cast<std::size_t>(data[1]) << 8) | data[2]) & 0x7FFF;
  const std::string_view rest = raw.substr(3);
  const std::size_t split = rest.find('\0');
  const std::string_view head = rest.substr(0, split);
  const std::string_view tail = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);
  constexpr std::size_t kMaxText = std::size_t{1} << 20;
  if (const std::size_t unit = head.size() + tail.size(); unit > 0 && unit * count > kMaxText) count = kMaxText / unit;
  std::string text;
  text.reserve((head.size() + tail.size()) * count);
  for (std::size_t i = 0; i < count; ++i) text += head;
  for (std::size_t i = 0; i < count; ++i) text += tail;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = Expand(data, size);
  try {
    const oradb::Translation translation = oradb::Translate(text);
    if (translation.Text.empty()) std::abort();
    if (translation.IsBlock) {
      // Every parameter inlined as NULL: the markers must all find a literal.
      const std::vector<std::string> literals(translation.ParamNames.size(), "NULL");
      static_cast<void>(oradb::RenderBlock(translation, literals));
    }
    // The cache may send digit strings as parameters, but a text that translates must translate
    // there too, with one value for each name it emptied, and unchanged when it lifted none.
    const auto cached = oradb::TranslateCached(text);
    std::size_t emptied = 0;
    for (const std::string& name : cached->ParamNames) emptied += name.empty() ? 1 : 0;
    if (emptied != cached->Lifted.size()) std::abort();
    if (cached->Lifted.empty() && cached->Text != translation.Text) std::abort();
  } catch (const ETranslationError&) {
    // A clear refusal is an answer.
  }
  return 0;
}
