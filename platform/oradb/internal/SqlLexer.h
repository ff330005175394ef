#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Tokens of an Oracle SQL or PL/SQL text. Whitespace and comments are kept as the leading trivia of
// the token that follows them, so untouched parts of a statement come out exactly as written.
namespace oradb::internal {

enum class TokenKind {
  Word,         // identifier or keyword, unquoted: letters, digits, _, $ and #
  QuotedIdent,  // "Name"
  String,       // 'text' with '' escapes
  Number,       // 12, 1.5, .5, 1e10
  Bind,         // :NAME or :1
  Op,           // punctuation and operators: ( ) , ; . || := => :: <= >= <> != ^= ..
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

// Splits the text into tokens. Throws ETranslationError on unterminated strings, quoted identifiers
// or comments, q-quoted literals and characters that are not Oracle SQL.
[[nodiscard]] LexedText LexSql(std::string_view text);

// Appends trivia, closing a trailing "--" comment with a line break so that nothing appended after
// it can be swallowed by the comment.
void AppendTrivia(std::string& out, std::string_view trivia);

[[nodiscard]] std::string ToUpperAscii(std::string_view text);
[[nodiscard]] std::string ToLowerAscii(std::string_view text);

}  // namespace oradb::internal
