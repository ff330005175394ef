#include "oradb/Translator.h"

#include <atomic>
#include <cctype>
#include <map>
#include <optional>

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

// The name a lifted value takes in the text translated in its place; a text that already has a
// bind by that prefix lifts nothing.
constexpr std::string_view kLiftedPrefix = "QV_LITERAL_";

bool IsDigitString(std::string_view quoted) {
  if (quoted.size() < 3 || quoted.front() != '\'' || quoted.back() != '\'') return false;
  for (const char c : quoted.substr(1, quoted.size() - 2)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Words that make a constant's exact place in the text matter (an expression repeated in GROUP BY
// or ORDER BY, a row limit, a hierarchy), and blocks.
bool KeepsLiterals(const internal::Token& token) {
  if (token.Kind != internal::TokenKind::Word) return false;
  static constexpr std::string_view kWords[] = {"GROUP",     "ORDER", "DISTINCT", "UNIQUE", "UNION",
                                                "INTERSECT", "MINUS", "CONNECT",  "START",  "PRIOR",
                                                "ROWNUM",    "LEVEL", "DECLARE",  "BEGIN"};
  for (const std::string_view word : kWords) {
    if (token.Upper == word) return true;
  }
  return false;
}

bool IsOpToken(const internal::Token& token, std::string_view text) {
  return token.Kind == internal::TokenKind::Op && token.Text == text;
}

// The text with each liftable digit string replaced by a bind, and the values in order; nothing
// when the text has none (or cannot lift).
struct LiftedText {
  std::string Shape;
  std::vector<std::string> Values;
};

std::optional<LiftedText> LiftDigitStrings(std::string_view text, const internal::LexedText& lexed) {
  const std::vector<internal::Token>& tokens = lexed.Tokens;
  for (const std::string& name : lexed.BindNames) {
    if (name.starts_with(kLiftedPrefix)) return std::nullopt;
  }
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (KeepsLiterals(tokens[i])) return std::nullopt;
    // An outer-join marker, (+).
    if (i + 2 < tokens.size() && IsOpToken(tokens[i], "(") && IsOpToken(tokens[i + 1], "+") &&
        IsOpToken(tokens[i + 2], ")")) {
      return std::nullopt;
    }
  }
  LiftedText lifted;
  std::size_t copied = 0;
  for (std::size_t i = 2; i < tokens.size(); ++i) {
    const internal::Token& token = tokens[i];
    if (token.Kind != internal::TokenKind::String || !IsDigitString(token.Text)) continue;
    if (!IsOpToken(tokens[i - 1], "=")) continue;
    const internal::TokenKind left = tokens[i - 2].Kind;
    if (left != internal::TokenKind::Word && left != internal::TokenKind::QuotedIdent) continue;
    if (i + 1 < tokens.size()) {
      const internal::Token& next = tokens[i + 1];
      // The comparison or assignment ends here: nothing binds the value to a neighbour.
      if (next.Kind != internal::TokenKind::Word && !IsOpToken(next, ")") && !IsOpToken(next, ",") &&
          !IsOpToken(next, ";"))
        continue;
    }
    lifted.Shape.append(text, copied, token.Offset - copied);
    lifted.Values.emplace_back(token.Text.substr(1, token.Text.size() - 2));
    // Oracle reads '12'AND as a string and a word; a bind would take the word into its name.
    copied = token.Offset + token.Text.size();
    const bool word_follows =
        copied < text.size() && (std::isalnum(static_cast<unsigned char>(text[copied])) != 0 || text[copied] == '_' ||
                                 text[copied] == '$' || text[copied] == '#');
    lifted.Shape += ":" + std::string(kLiftedPrefix) + std::to_string(lifted.Values.size()) + (word_follows ? " " : "");
  }
  if (lifted.Values.empty()) return std::nullopt;
  lifted.Shape.append(text, copied, std::string_view::npos);
  return lifted;
}

// The shape's translation with its lifted binds' names emptied and their values attached.
Translation WithLiftedValues(const Translation& shape, const std::vector<std::string>& values) {
  Translation result = shape;
  for (std::string& name : result.ParamNames) {
    if (!name.starts_with(kLiftedPrefix)) continue;
    const std::size_t number = std::stoul(name.substr(kLiftedPrefix.size()));
    result.Lifted.push_back(values.at(number - 1));
    name.clear();
  }
  return result;
}

// The translation of a text already split into tokens (they point into the text).
Translation TranslateLexed(const internal::LexedText& lexed) {
  ++TranslationCounter();
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

}  // namespace

Translation Translate(std::string_view oracle_text) {
  return TranslateLexed(internal::LexSql(oracle_text));
}

std::shared_ptr<const Translation> TranslateCached(std::string_view oracle_text) {
  // Translating under the cache's lock keeps the promise that a text is translated once, even when
  // two threads meet it first at the same time; a translation takes microseconds. A text that fails
  // is not cached: it fails again, with the same message, next time.
  static internal::RecentTexts<Translation> cache(kTranslationCacheSize);
  static internal::RecentTexts<Translation> shapes(kTranslationCacheSize);
  return cache.Get(oracle_text, [&] {
    // The tokens serve both the search for digit strings and, when there is none, the translation.
    const internal::LexedText lexed = internal::LexSql(oracle_text);
    std::optional<LiftedText> lifted = LiftDigitStrings(oracle_text, lexed);
    if (!lifted) return TranslateLexed(lexed);
    const auto shape = shapes.Get(lifted->Shape, [&] { return Translate(lifted->Shape); });
    return WithLiftedValues(*shape, lifted->Values);
  });
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
