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

constexpr std::array<std::string_view, 4> kFilterTwoCharOps = {"<=", ">=", "<>", "!="};
constexpr std::string_view kFilterOneCharOps = "()=<>!";

// The rules of one mode over one text: where trivia ends and where the token starting there ends.
class Reader {
 public:
  Reader(std::string_view text, LexMode mode) noexcept : FText(text), FMode(mode) {}

  // The translator marks binds with these two bytes while it rewrites.
  void RefuseMarkerBytes() const {
    for (const char c : FText) {
      if (c == '\x01' || c == '\x02') Fail("Caractere de controle inválido no texto SQL", FText.find(c));
    }
  }

  std::size_t SkipTrivia(std::size_t pos) const {
    while (pos < FText.size()) {
      const char c = FText[pos];
      if (IsBlank(c)) {
        ++pos;
      } else if (FMode == LexMode::Filter) {
        break;
      } else if (c == '-' && pos + 1 < FText.size() && FText[pos + 1] == '-') {
        // A line comment ends at the first line break, whether \n, \r\n or a lone \r.
        while (pos < FText.size() && FText[pos] != '\n' && FText[pos] != '\r') ++pos;
      } else if (c == '/' && pos + 1 < FText.size() && FText[pos + 1] == '*') {
        const std::size_t end = FText.find("*/", pos + 2);
        if (end == std::string_view::npos) break;  // an unterminated comment: ReadToken decides
        pos = end + 2;
      } else {
        break;
      }
    }
    return pos;
  }

  // Fills in the kind (and Upper) of the token at `pos`; returns where it ends.
  std::size_t ReadToken(std::size_t pos, Token& token) const {
    return FMode == LexMode::Filter ? ReadFilterToken(pos, token) : ReadSqlToken(pos, token);
  }

 private:
  // What the language does not allow: refused in LexMode::Sql; otherwise the text from `pos` to
  // `end` is an Invalid token.
  std::size_t Reject(const std::string& what, std::size_t pos, std::size_t end, Token& token) const {
    if (FMode == LexMode::Sql) Fail(what, pos);
    token.Kind = TokenKind::Invalid;
    return end;
  }

  bool IsBlank(char c) const {
    if (FMode == LexMode::Filter) return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    return IsSpace(c);
  }

  // The string whose opening quote is at `quote`, '' standing for one quote inside it.
  std::size_t ReadString(std::size_t quote, Token& token) const {
    std::size_t pos = quote + 1;
    while (true) {
      const std::size_t end = FText.find('\'', pos);
      if (end == std::string_view::npos) return Reject("Texto entre aspas sem fechamento", quote, FText.size(), token);
      if (end + 1 < FText.size() && FText[end + 1] == '\'') {
        pos = end + 2;
        continue;
      }
      token.Kind = TokenKind::String;
      return end + 1;
    }
  }

  std::size_t ReadWord(std::size_t pos, Token& token) const {
    std::size_t end = pos + 1;
    while (end < FText.size() && IsWordChar(FText[end])) ++end;
    token.Kind = TokenKind::Word;
    token.Upper = ToUpperAscii(FText.substr(pos, end - pos));
    return end;
  }

  std::size_t ReadSqlToken(std::size_t pos, Token& token) const {
    const char c = FText[pos];
    const char next = pos + 1 < FText.size() ? FText[pos + 1] : '\0';
    if (c == '/' && next == '*') return Reject("Comentário /* sem fechamento", pos, FText.size(), token);
    if (c == '\'') return ReadString(pos, token);
    if (c == '"') {
      const std::size_t end = FText.find('"', pos + 1);
      if (end == std::string_view::npos) {
        return Reject("Identificador entre aspas sem fechamento", pos, FText.size(), token);
      }
      token.Kind = TokenKind::QuotedIdent;
      return end + 1;
    }
    if (IsDigit(c) || (c == '.' && IsDigit(next))) {
      token.Kind = TokenKind::Number;
      return ReadNumber(pos);
    }
    if (IsWordStart(c)) {
      const std::size_t end = ReadWord(pos, token);
      if (end < FText.size() && FText[end] == '\'') {
        // national character literal: the same text in PostgreSQL
        if (token.Upper == "N") {
          token.Upper.clear();
          return ReadString(end, token);
        }
        if ((token.Upper == "Q" || token.Upper == "NQ") && FMode == LexMode::Sql) {
          Fail("Construção Oracle não suportada: literal q'...'", pos);
        }
      }
      return end;
    }
    if (c == ':' && (IsWordChar(next) && next != '$' && next != '#')) {
      std::size_t end = pos + 1;
      while (end < FText.size() && IsWordChar(FText[end])) ++end;
      token.Kind = TokenKind::Bind;
      token.Upper = ToUpperAscii(FText.substr(pos + 1, end - pos - 1));
      return end;
    }
    if (c == ':' && next == '"' && FMode == LexMode::Sql) {
      Fail("Construção Oracle não suportada: parâmetro com nome entre aspas", pos);
    }
    token.Kind = TokenKind::Op;
    if (pos + 1 < FText.size()) {
      const std::string_view two = FText.substr(pos, 2);
      for (const std::string_view op : kTwoCharOps) {
        if (two == op) return pos + 2;
      }
    }
    if (kOneCharOps.find(c) != std::string_view::npos || c == ':') return pos + 1;
    if (static_cast<unsigned char>(c) >= 0x80) {
      return Reject("Caractere não ASCII fora de texto entre aspas", pos, pos + 1, token);
    }
    return Reject(std::string("Caractere inesperado '") + c + "'", pos, pos + 1, token);
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

  std::size_t ReadFilterToken(std::size_t pos, Token& token) const {
    const char c = FText[pos];
    const char next = pos + 1 < FText.size() ? FText[pos + 1] : '\0';
    if (c == '\'') return ReadString(pos, token);
    if (c == '[') {
      const std::size_t close = FText.find(']', pos);
      token.Kind = close == std::string_view::npos || close == pos + 1 ? TokenKind::Invalid : TokenKind::BracketName;
      return close == std::string_view::npos ? FText.size() : close + 1;
    }
    if (IsWordStart(c)) return ReadWord(pos, token);
    if (IsDigit(c) || ((c == '-' || c == '.') && IsDigit(next))) {
      std::size_t end = pos + 1;
      while (end < FText.size() && (IsDigit(FText[end]) || FText[end] == '.')) ++end;
      while (end < FText.size() && IsWordChar(FText[end])) ++end;
      token.Kind = TokenKind::Number;
      return end;
    }
    token.Kind = TokenKind::Op;
    if (pos + 1 < FText.size()) {
      const std::string_view two = FText.substr(pos, 2);
      for (const std::string_view op : kFilterTwoCharOps) {
        if (two == op) return pos + 2;
      }
    }
    if (kFilterOneCharOps.find(c) == std::string_view::npos) token.Kind = TokenKind::Invalid;
    return pos + 1;
  }

  std::string_view FText;
  LexMode FMode;
};

}  // namespace

bool TokenScanner::Next(Token& token) {
  if (FPos > FText.size()) return false;  // the end was met
  const Reader reader(FText, FMode);
  const std::size_t trivia_start = FPos;
  const std::size_t start = reader.SkipTrivia(FPos);
  if (start >= FText.size()) {
    FTrailing = FText.substr(trivia_start);
    FPos = FText.size() + 1;
    return false;
  }
  token = Token{};
  token.Leading = FText.substr(trivia_start, start - trivia_start);
  token.Offset = start;
  FPos = reader.ReadToken(start, token);
  token.Text = FText.substr(start, FPos - start);
  return true;
}

LexedText LexSql(std::string_view text, LexMode mode) {
  if (mode == LexMode::Sql) Reader(text, mode).RefuseMarkerBytes();
  LexedText result;
  std::map<std::string, std::size_t> bind_numbers;
  TokenScanner scanner(text, mode);
  for (Token token; scanner.Next(token);) {
    if (token.Kind == TokenKind::Bind) {
      const auto [it, inserted] = bind_numbers.emplace(token.Upper, bind_numbers.size());
      if (inserted) result.BindNames.push_back(token.Upper);
      token.BindIndex = it->second;
    }
    result.Tokens.push_back(std::move(token));
  }
  result.Trailing = scanner.Trailing();
  return result;
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
