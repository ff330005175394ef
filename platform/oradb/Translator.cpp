#include "oradb/Translator.h"

#include <atomic>
#include <map>

#include "oradb/EOraError.h"
#include "oradb/internal/PlsqlBlock.h"
#include "oradb/internal/RecentTexts.h"
#include "oradb/internal/SqlLexer.h"
#include "oradb/internal/SqlRewriter.h"
#include "oradb/internal/SqlTree.h"

namespace oradb {

namespace {

using internal::BindTyping;
using internal::NodeList;
using internal::NodeSpan;

std::atomic<std::size_t>& TranslationCounter() {
  static std::atomic<std::size_t> counter{0};
  return counter;
}

std::string RenderStatement(const NodeList& tree, BindTyping& typing, bool block) {
  if (block) return internal::TranslatePlsqlBlock(tree, typing);
  NodeSpan nodes = tree;
  if (internal::IsOp(nodes.back(), ";")) nodes = nodes.first(nodes.size() - 1);
  for (const internal::SqlNode& node : nodes) {
    if (internal::IsOp(node, ";")) {
      throw ETranslationError("Construção Oracle não suportada: mais de um comando no mesmo texto");
    }
  }
  internal::SqlRewriter rewriter(typing, nullptr);
  return rewriter.Statement(nodes);
}

// A dollar-quote tag that does not occur in the body.
std::string DollarTag(std::string_view body) {
  std::string tag = "$ora$";
  for (int n = 1; body.find(tag) != std::string_view::npos; ++n) tag = "$ora" + std::to_string(n) + "$";
  return tag;
}

// Turns the bind markers of the rendered text into $n, noting where each sits.
void PlaceBinds(std::string_view rendered, Translation& result) {
  result.Text.clear();
  result.Text.reserve(rendered.size());
  for (std::size_t i = 0; i < rendered.size(); ++i) {
    if (rendered[i] != '\x01') {
      result.Text += rendered[i];
      continue;
    }
    const std::size_t close = rendered.find('\x02', i);
    const std::size_t index = std::stoul(std::string(rendered.substr(i + 1, close - i - 1)));
    const std::string marker = "$" + std::to_string(index + 1);
    if (result.IsBlock) result.BlockMarkers.push_back({result.Text.size(), marker.size(), index});
    result.Text += marker;
    i = close;
  }
}

// A DO block: "DO $tag$", a line break, the body, a line break (a last "--" comment of the body
// cannot swallow the closing tag), "$tag$".
std::string DoPrefix(const std::string& tag) {
  return "DO " + tag + "\n";
}

std::string WrapDo(std::string_view body) {
  const std::string tag = DollarTag(body);
  return DoPrefix(tag) + std::string(body) + "\n" + tag;
}

}  // namespace

Translation Translate(std::string_view oracle_text) {
  ++TranslationCounter();
  const internal::LexedText lexed = internal::LexSql(oracle_text);
  if (lexed.Tokens.empty()) throw ETranslationError("Comando SQL vazio.");
  const NodeList tree = internal::BuildSqlTree(lexed.Tokens);
  const bool block = internal::IsWord(tree[0], "DECLARE") || internal::IsWord(tree[0], "BEGIN");

  // First pass: how each bind is used; second pass: the text itself.
  BindTyping typing;
  typing.BindCount = lexed.BindNames.size();
  (void)RenderStatement(tree, typing, block);
  typing.NextPass();
  std::string rendered = RenderStatement(tree, typing, block);
  internal::AppendTrivia(rendered, lexed.Trailing);

  Translation result;
  result.ParamNames = lexed.BindNames;
  for (const std::size_t repeated : typing.Aliases) result.ParamNames.push_back(lexed.BindNames[repeated]);
  result.IsBlock = block;
  result.ReturnsRows = !block && (internal::IsWord(tree[0], "SELECT") || internal::IsWord(tree[0], "WITH") ||
                                  internal::IsSubquery(tree[0]));
  PlaceBinds(rendered, result);
  if (block) {
    const std::size_t prefix = DoPrefix(DollarTag(result.Text)).size();
    result.Text = WrapDo(result.Text);
    for (Translation::Marker& marker : result.BlockMarkers) marker.Offset += prefix;
  }
  return result;
}

std::shared_ptr<const Translation> TranslateCached(std::string_view oracle_text) {
  // Translating under the cache's lock keeps the promise that a text is translated once, even when
  // two threads meet it first at the same time; a translation takes microseconds. A text that fails
  // is not cached: it fails again, with the same message, next time.
  static internal::RecentTexts<Translation> cache(kTranslationCacheSize);
  return cache.Get(oracle_text, [&] { return Translate(oracle_text); });
}

std::string RenderBlock(const Translation& translation, std::span<const std::string> literals) {
  std::string text;
  std::size_t pos = 0;
  for (const Translation::Marker& marker : translation.BlockMarkers) {
    if (marker.Param >= literals.size()) {
      const std::string name = marker.Param < translation.ParamNames.size() ? translation.ParamNames[marker.Param]
                                                                            : std::to_string(marker.Param + 1);
      throw ETranslationError("Valor ausente para o parâmetro :" + name + " do bloco PL/SQL.");
    }
    text.append(translation.Text, pos, marker.Offset - pos);
    text += literals[marker.Param];
    pos = marker.Offset + marker.Length;
  }
  text.append(translation.Text, pos, std::string::npos);
  if (!translation.IsBlock || translation.BlockMarkers.empty()) return text;

  // A literal may hold the dollar-quote tag, which would end the DO body early: choose another tag.
  const std::string_view original = translation.Text;
  const std::size_t tag_end = original.find('$', 4);
  if (original.rfind("DO $", 0) != 0 || tag_end == std::string_view::npos) return text;
  const std::string tag(original.substr(3, tag_end - 2));
  const std::size_t body_start = DoPrefix(tag).size();
  const std::string_view body = std::string_view(text).substr(body_start, text.size() - body_start - 1 - tag.size());
  if (body.find(tag) == std::string_view::npos) return text;
  return WrapDo(body);
}

std::size_t TranslationCount() noexcept {
  return TranslationCounter().load();
}

}  // namespace oradb
