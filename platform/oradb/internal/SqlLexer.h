#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Tokens of an Oracle SQL or PL/SQL text, and of a dataset filter, which is written in a small part
// of the same language. Whitespace and comments are kept as the leading trivia of the token that
// follows them, so untouched parts of a statement come out exactly as written.
namespace oradb::internal {

enum class TokenKind {
  Word,         // identifier or keyword, unquoted: letters, digits, _, $ and #
  QuotedIdent,  // "Name"
  String,       // 'text' with '' escapes
  Number,       // 12, 1.5, .5, 1e10; in a filter -12 and 1.5 (see LexMode::Filter)
  Bind,         // :NAME or :1
  Op,           // punctuation and operators: ( ) , ; . || := => :: <= >= <> != ^= ..
  BracketName,  // [Field Name], in a filter only
  Invalid,      // what the text's language does not allow, where the mode does not refuse it (below)
};

enum class LexMode {
  // Oracle SQL and PL/SQL; what is not is refused with ETranslationError.
  Sql,
  // The same tokens, never refused, for a text that may still be incomplete: an unterminated
  // string, quoted name or comment is one Invalid token to the end, a character Oracle SQL does not
  // have an Invalid token of its own; q'...' is read as a word and a string.
  Tolerant,
  // A dataset filter: names, [Field Name], 'text', numbers with their sign (a number runs over the
  // letters stuck to it, which make it malformed), = <> != < <= > >= and parentheses. No comments,
  // binds or prefixed strings; whitespace is blank, tab and line breaks. Anything else, and an
  // unterminated string or bracket, is Invalid. Never refused.
  Filter,
};

struct Token {
  TokenKind Kind = TokenKind::Op;
  std::string_view Text;      // exact source text
  std::string_view Leading;   // whitespace and comments before the token
  std::size_t Offset = 0;     // byte offset of Text in the source
  std::string Upper;          // Word: the text upper-cased; Bind: the upper-cased name without ':'
  std::size_t BindIndex = 0;  // Bind: 0-based parameter number, by first appearance of the name
};

struct LexedText {
  std::vector<Token> Tokens;
  std::string_view Trailing;           // whitespace and comments after the last token
  std::vector<std::string> BindNames;  // upper-case names, index = BindIndex
};

// The tokens of a text one at a time, for a caller that needs no tree: no bind numbering, nothing
// kept. Refuses in LexMode::Sql as LexSql does, except the two marker bytes LexSql checks first.
class TokenScanner {
 public:
  TokenScanner(std::string_view text, LexMode mode) noexcept : FText(text), FMode(mode) {}
  // The next token; false at the end of the text, when Trailing() holds what follows the last token.
  [[nodiscard]] bool Next(Token& token);
  [[nodiscard]] std::string_view Trailing() const noexcept { return FTrailing; }

 private:
  std::string_view FText;
  LexMode FMode;
  std::size_t FPos = 0;
  std::string_view FTrailing;
};

// Splits the text into tokens. In LexMode::Sql throws ETranslationError on unterminated strings,
// quoted identifiers or comments, q-quoted literals and characters that are not Oracle SQL.
[[nodiscard]] LexedText LexSql(std::string_view text, LexMode mode = LexMode::Sql);

// Appends trivia, closing a trailing "--" comment with a line break so that nothing appended after
// it can be swallowed by the comment.
void AppendTrivia(std::string& out, std::string_view trivia);

[[nodiscard]] std::string ToUpperAscii(std::string_view text);
[[nodiscard]] std::string ToLowerAscii(std::string_view text);

}  // namespace oradb::internal
