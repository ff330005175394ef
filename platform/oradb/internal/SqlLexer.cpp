#include "oradb/internal/SqlLexer.h"

#include <array>
#include <map>

#include "oradb/EOraError.h"

namespace oradb::internal {

namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsWordStart(char c) {
  return IsLetter(c) || c == '_';
}
bool IsWordChar(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_' || c == '$' || c == '#';
}
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

[[noreturn]] void Fail(const std::string& what, std::size_t offset) {
  throw ETranslationError(what + " (posição " + std::to_string(offset + 1) + ").");
}

constexpr std::array<std::string_view, 14> kTwoCharOps = {"||", ":=", "=>", "::", "<=", ">=", "<>",
                                                          "!=", "^=", "..", "<<", ">>", "**", "~="};
constexpr std::string_view kOneCharOps = "()[],;.+-*/=<>%@|!^~?";

class Lexer {
 public:
  explicit Lexer(std::string_view text) : FText(text) {}

  LexedText Run() {
    for (const char c : FText) {
      // The translator marks binds with these two bytes while it rewrites.
      if (c == '\x01' || c == '\x02') Fail("Caractere de controle inválido no texto SQL", FText.find(c));
    }
    LexedText result;
    std::size_t pos = 0;
    while (true) {
      const std::size_t trivia_start = pos;
      pos = SkipTrivia(pos);
      if (pos >= FText.size()) {
        result.Trailing = FText.substr(trivia_start);
        break;
      }
      Token token;
      token.Leading = FText.substr(trivia_start, pos - trivia_start);
      token.Offset = pos;
      const std::size_t end = ReadToken(pos, token);
      token.Text = FText.substr(pos, end - pos);
      if (token.Kind == TokenKind::Bind) {
        const auto [it, inserted] = FBindNumbers.emplace(token.Upper, FBindNumbers.size());
        if (inserted) result.BindNames.push_back(token.Upper);
        token.BindIndex = it->second;
      }
      result.Tokens.push_back(std::move(token));
      pos = end;
    }
    return result;
  }

 private:
  std::size_t SkipTrivia(std::size_t pos) const {
    while (pos < FText.size()) {
      const char c = FText[pos];
      if (IsSpace(c)) {
        ++pos;
      } else if (c == '-' && pos + 1 < FText.size() && FText[pos + 1] == '-') {
        // A line comment ends at the first line break, whether \n, \r\n or a lone \r.
        while (pos < FText.size() && FText[pos] != '\n' && FText[pos] != '\r') ++pos;
      } else if (c == '/' && pos + 1 < FText.size() && FText[pos + 1] == '*') {
        const std::size_t end = FText.find("*/", pos + 2);
        if (end == std::string_view::npos) Fail("Comentário /* sem fechamento", pos);
        pos = end + 2;
      } else {
        break;
      }
    }
    return pos;
  }

  std::size_t ReadString(std::size_t quote) const {
    std::size_t pos = quote + 1;
    while (true) {
      const std::size_t end = FText.find('\'', pos);
      if (end == std::string_view::npos) Fail("Texto entre aspas sem fechamento", quote);
      if (end + 1 < FText.size() && FText[end + 1] == '\'') {
        pos = end + 2;
        continue;
      }
      return end + 1;
    }
  }

  std::size_t ReadToken(std::size_t pos, Token& token) {
    const char c = FText[pos];
    const char next = pos + 1 < FText.size() ? FText[pos + 1] : '\0';
    if (c == '\'') {
      token.Kind = TokenKind::String;
      return ReadString(pos);
    }
    if (c == '"') {
      const std::size_t end = FText.find('"', pos + 1);
      if (end == std::string_view::npos) Fail("Identificador entre aspas sem fechamento", pos);
      token.Kind = TokenKind::QuotedIdent;
      return end + 1;
    }
    if (IsDigit(c) || (c == '.' && IsDigit(next))) {
      token.Kind = TokenKind::Number;
      return ReadNumber(pos);
    }
    if (IsWordStart(c)) {
      std::size_t end = pos + 1;
      while (end < FText.size() && IsWordChar(FText[end])) ++end;
      const std::string upper = ToUpperAscii(FText.substr(pos, end - pos));
      if (end < FText.size() && FText[end] == '\'') {
        if (upper == "N") {  // national character literal: the same text in PostgreSQL
          token.Kind = TokenKind::String;
          return ReadString(end);
        }
        if (upper == "Q" || upper == "NQ") Fail("Construção Oracle não suportada: literal q'...'", pos);
      }
      token.Kind = TokenKind::Word;
      token.Upper = upper;
      return end;
    }
    if (c == ':' && (IsWordChar(next) && next != '$' && next != '#')) {
      std::size_t end = pos + 1;
      while (end < FText.size() && IsWordChar(FText[end])) ++end;
      token.Kind = TokenKind::Bind;
      token.Upper = ToUpperAscii(FText.substr(pos + 1, end - pos - 1));
      return end;
    }
    if (c == ':' && next == '"') Fail("Construção Oracle não suportada: parâmetro com nome entre aspas", pos);
    token.Kind = TokenKind::Op;
    if (pos + 1 < FText.size()) {
      const std::string_view two = FText.substr(pos, 2);
      for (const std::string_view op : kTwoCharOps) {
        if (two == op) return pos + 2;
      }
    }
    if (kOneCharOps.find(c) != std::string_view::npos || c == ':') return pos + 1;
    if (static_cast<unsigned char>(c) >= 0x80) Fail("Caractere não ASCII fora de texto entre aspas", pos);
    Fail(std::string("Caractere inesperado '") + c + "'", pos);
  }

  std::size_t ReadNumber(std::size_t pos) const {
    std::size_t end = pos;
    while (end < FText.size() && IsDigit(FText[end])) ++end;
    // "1..10" is a range in PL/SQL, not the number "1.".
    if (end < FText.size() && FText[end] == '.' && !(end + 1 < FText.size() && FText[end + 1] == '.')) {
      ++end;
      while (end < FText.size() && IsDigit(FText[end])) ++end;
    }
    if (end < FText.size() && (FText[end] == 'e' || FText[end] == 'E')) {
      std::size_t exp = end + 1;
      if (exp < FText.size() && (FText[exp] == '+' || FText[exp] == '-')) ++exp;
      if (exp < FText.size() && IsDigit(FText[exp])) {
        end = exp;
        while (end < FText.size() && IsDigit(FText[end])) ++end;
      }
    }
    return end;
  }

  std::string_view FText;
  std::map<std::string, std::size_t> FBindNumbers;
};

}  // namespace

LexedText LexSql(std::string_view text) {
  return Lexer(text).Run();
}

void AppendTrivia(std::string& out, std::string_view trivia) {
  out.append(trivia);
  // Trivia holds only whitespace and comments: walk it to see whether it ends inside a "--" comment.
  std::size_t pos = 0;
  while (pos < trivia.size()) {
    if (trivia.compare(pos, 2, "--") == 0) {
      pos = trivia.find_first_of("\r\n", pos);
      if (pos == std::string_view::npos) {
        out += '\n';
        return;
      }
    } else if (trivia.compare(pos, 2, "/*") == 0) {
      const std::size_t end = trivia.find("*/", pos + 2);
      pos = end == std::string_view::npos ? trivia.size() : end + 2;
    } else {
      ++pos;
    }
  }
}

std::string ToUpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::string ToLowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

}  // namespace oradb::internal
