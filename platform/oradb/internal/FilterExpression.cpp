#include "oradb/internal/FilterExpression.h"

#include <cmath>

#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace oradb::internal {

namespace {

enum class TokenKind { End, Name, Text, Number, Operator, LeftParen, RightParen };

struct Token {
  TokenKind Kind = TokenKind::End;
  std::string Text;          // Name: upper case; Operator: the symbol; Text: the unquoted value
  std::size_t Position = 0;  // 1-based column in the filter text
};

bool IsNameStart(char c) noexcept {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) noexcept {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$' || c == '#';
}
bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

[[noreturn]] void Malformed(std::string_view filter, const std::string& detail) {
  throw Exception("Filtro inválido \"" + std::string(filter) + "\": " + detail + ".");
}

std::vector<Token> Tokenize(std::string_view filter) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < filter.size()) {
    const char c = filter[pos];
    const std::size_t column = pos + 1;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++pos;
    } else if (c == '\'') {
      std::string value;
      ++pos;
      for (;;) {
        if (pos >= filter.size())
          Malformed(filter, "texto entre aspas sem fechamento na posição " + std::to_string(column));
        if (filter[pos] == '\'') {
          if (pos + 1 < filter.size() && filter[pos + 1] == '\'') {
            value += '\'';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        value += filter[pos++];
      }
      tokens.push_back({TokenKind::Text, std::move(value), column});
    } else if (c == '[') {
      const std::size_t end = filter.find(']', pos);
      if (end == std::string_view::npos || end == pos + 1) {
        Malformed(filter, "nome de campo entre colchetes malformado na posição " + std::to_string(column));
      }
      tokens.push_back({TokenKind::Name, UpperAscii(Trim(filter.substr(pos + 1, end - pos - 1))), column});
      pos = end + 1;
    } else if (IsNameStart(c)) {
      const std::size_t start = pos;
      while (pos < filter.size() && IsNameChar(filter[pos])) ++pos;
      tokens.push_back({TokenKind::Name, UpperAscii(filter.substr(start, pos - start)), column});
    } else if (IsDigit(c) || ((c == '-' || c == '.') && pos + 1 < filter.size() && IsDigit(filter[pos + 1]))) {
      const std::size_t start = pos;
      if (c == '-') ++pos;
      while (pos < filter.size() && (IsDigit(filter[pos]) || filter[pos] == '.')) ++pos;
      if (pos < filter.size() && IsNameChar(filter[pos])) {
        Malformed(filter, "número malformado na posição " + std::to_string(column));
      }
      const std::string number(filter.substr(start, pos - start));
      if (!ParseNumber(number)) Malformed(filter, "número malformado na posição " + std::to_string(column));
      tokens.push_back({TokenKind::Number, number, column});
    } else if (c == '(') {
      tokens.push_back({TokenKind::LeftParen, "(", column});
      ++pos;
    } else if (c == ')') {
      tokens.push_back({TokenKind::RightParen, ")", column});
      ++pos;
    } else if (c == '=' || c == '<' || c == '>' || c == '!') {
      std::string op(1, c);
      if (c != '=' && pos + 1 < filter.size() && (filter[pos + 1] == '=' || (c == '<' && filter[pos + 1] == '>'))) {
        op += filter[pos + 1];
      }
      if (op == "!") Malformed(filter, "operador '!' incompleto na posição " + std::to_string(column));
      pos += op.size();
      tokens.push_back({TokenKind::Operator, op == "!=" ? "<>" : op, column});
    } else {
      Malformed(filter, std::string("caractere inesperado '") + c + "' na posição " + std::to_string(column));
    }
  }
  tokens.push_back({TokenKind::End, "", filter.size() + 1});
  return tokens;
}

bool IsKeyword(const Token& token, std::string_view word) noexcept {
  return token.Kind == TokenKind::Name && token.Text == word;
}

std::string Describe(const Token& token) {
  if (token.Kind == TokenKind::End) return "fim do filtro";
  return "'" + token.Text + "' na posição " + std::to_string(token.Position);
}

}  // namespace

// Recursive descent over: or := and {OR and}; and := not {AND not}; not := NOT not | primary;
// primary := '(' or ')' | operand (op operand | IS [NOT] NULL | [NOT] LIKE operand).
class FilterExpression::Parser {
 public:
  Parser(std::string_view filter, FilterExpression& target)
      : FFilter(filter), FTokens(Tokenize(filter)), FTarget(target) {}

  int ParseAll() {
    const int root = ParseOr();
    if (Peek().Kind != TokenKind::End) Malformed(FFilter, "símbolo inesperado " + Describe(Peek()));
    return root;
  }

 private:
  const Token& Peek() const { return FTokens[FPos]; }
  const Token& Take() { return FTokens[FPos++]; }

  int Add(Node node) {
    FTarget.FNodes.push_back(std::move(node));
    return static_cast<int>(FTarget.FNodes.size()) - 1;
  }

  int ParseOr() {
    int left = ParseAnd();
    while (IsKeyword(Peek(), "OR")) {
      Take();
      Node node;
      node.Kind = NodeKind::Or;
      node.Left = left;
      node.Right = ParseAnd();
      left = Add(std::move(node));
    }
    return left;
  }

  int ParseAnd() {
    int left = ParseNot();
    while (IsKeyword(Peek(), "AND")) {
      Take();
      Node node;
      node.Kind = NodeKind::And;
      node.Left = left;
      node.Right = ParseNot();
      left = Add(std::move(node));
    }
    return left;
  }

  int ParseNot() {
    if (IsKeyword(Peek(), "NOT")) {
      Take();
      Node node;
      node.Kind = NodeKind::Not;
      node.Left = ParseNot();
      return Add(std::move(node));
    }
    return ParsePrimary();
  }

  int ParsePrimary() {
    if (Peek().Kind == TokenKind::LeftParen) {
      const Token open = Take();
      const int inner = ParseOr();
      if (Peek().Kind != TokenKind::RightParen) {
        Malformed(FFilter, "parêntese aberto na posição " + std::to_string(open.Position) + " sem fechamento");
      }
      Take();
      return inner;
    }
    const int left = ParseOperand();
    const Token& next = Peek();
    if (next.Kind == TokenKind::Operator) {
      Node node;
      node.Kind = NodeKind::Compare;
      node.Op = ToOp(Take().Text);
      node.Left = left;
      node.Right = ParseOperand();
      return Add(std::move(node));
    }
    if (IsKeyword(next, "IS")) {
      Take();
      Node node;
      node.Kind = NodeKind::IsNull;
      node.Left = left;
      if (IsKeyword(Peek(), "NOT")) {
        Take();
        node.Negated = true;
      }
      if (!IsKeyword(Peek(), "NULL")) Malformed(FFilter, "esperado NULL após IS, encontrado " + Describe(Peek()));
      Take();
      return Add(std::move(node));
    }
    bool negated = false;
    if (IsKeyword(next, "NOT")) {
      Take();
      negated = true;
      if (!IsKeyword(Peek(), "LIKE")) Malformed(FFilter, "esperado LIKE após NOT, encontrado " + Describe(Peek()));
    }
    if (IsKeyword(Peek(), "LIKE")) {
      Take();
      Node node;
      node.Kind = NodeKind::Like;
      node.Negated = negated;
      node.Left = left;
      node.Right = ParseOperand();
      return Add(std::move(node));
    }
    Malformed(FFilter, "esperado um operador de comparação, encontrado " + Describe(next));
  }

  int ParseOperand() {
    const Token& token = Peek();
    Node node;
    if (token.Kind == TokenKind::Text) {
      node.Kind = NodeKind::Literal;
      node.Literal.ValueKind = FilterValue::Kind::Text;
      node.Literal.Text = token.Text;
    } else if (token.Kind == TokenKind::Number) {
      node.Kind = NodeKind::Literal;
      node.Literal.ValueKind = FilterValue::Kind::Number;
      node.Literal.Number = *ParseNumber(token.Text);
      node.Literal.Text = token.Text;
    } else if (IsKeyword(token, "NULL")) {
      node.Kind = NodeKind::Literal;
    } else if (token.Kind == TokenKind::Name && !IsReserved(token.Text)) {
      node.Kind = NodeKind::Field;
      node.Name = token.Text;
    } else {
      Malformed(FFilter, "esperado um campo ou valor, encontrado " + Describe(token));
    }
    Take();
    return Add(std::move(node));
  }

  static bool IsReserved(const std::string& word) {
    return word == "AND" || word == "OR" || word == "NOT" || word == "IS" || word == "LIKE";
  }

  static CompareOp ToOp(const std::string& symbol) {
    if (symbol == "=") return CompareOp::Equal;
    if (symbol == "<>") return CompareOp::NotEqual;
    if (symbol == "<") return CompareOp::Less;
    if (symbol == "<=") return CompareOp::LessEqual;
    if (symbol == ">") return CompareOp::Greater;
    return CompareOp::GreaterEqual;
  }

  std::string_view FFilter;
  std::vector<Token> FTokens;
  std::size_t FPos = 0;
  FilterExpression& FTarget;
};

FilterExpression FilterExpression::Parse(std::string_view text) {
  FilterExpression expression;
  if (Trim(text).empty()) return expression;
  Parser parser(text, expression);
  expression.FRoot = parser.ParseAll();
  return expression;
}

FilterTruth FilterExpression::Evaluate(const FieldReader& read_field) const {
  if (FRoot < 0) return FilterTruth::True;
  return EvaluateNode(FRoot, read_field);
}

FilterValue FilterExpression::Operand(int index, const FieldReader& read_field) const {
  const Node& node = FNodes[static_cast<std::size_t>(index)];
  if (node.Kind == NodeKind::Field) return read_field(node.Name);
  return node.Literal;
}

namespace {

double AsNumber(const FilterValue& value) {
  if (value.ValueKind != FilterValue::Kind::Text) return value.Number;
  const auto number = ParseNumber(Trim(value.Text));
  if (!number) throw Exception("Filtro: o valor '" + value.Text + "' não é um número válido.");
  return *number;
}

double AsDays(const FilterValue& value) {
  if (value.ValueKind != FilterValue::Kind::Text) return value.Number;
  const auto date = ParseDateTime(Trim(value.Text));
  if (!date) throw Exception("Filtro: o valor '" + value.Text + "' não é uma data válida.");
  return date->Value();
}

bool AsBool(const FilterValue& value) {
  if (value.ValueKind == FilterValue::Kind::Text) return TextAsBoolean(value.Text);
  return value.Number != 0.0;
}

// -1, 0, 1. Numbers win over texts, dates over texts; two texts compare byte by byte.
int Order(const FilterValue& left, const FilterValue& right) {
  using Kind = FilterValue::Kind;
  const auto sign = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
  if (left.ValueKind == Kind::Boolean || right.ValueKind == Kind::Boolean) {
    return sign(AsBool(left), AsBool(right));
  }
  if (left.ValueKind == Kind::Date || right.ValueKind == Kind::Date) {
    // Dates compare to the second, as the server keeps them.
    return sign(std::llround(AsDays(left) * 86400.0), std::llround(AsDays(right) * 86400.0));
  }
  if (left.ValueKind == Kind::Number || right.ValueKind == Kind::Number) {
    return sign(AsNumber(left), AsNumber(right));
  }
  return left.Text.compare(right.Text) < 0 ? -1 : (left.Text == right.Text ? 0 : 1);
}

std::string AsText(const FilterValue& value) {
  if (value.ValueKind == FilterValue::Kind::Text) return value.Text;
  if (value.ValueKind == FilterValue::Kind::Date) return FormatDateTime(TDateTime(value.Number));
  return ShortestDecimal(value.Number);
}

FilterTruth Truth(bool value) noexcept {
  return value ? FilterTruth::True : FilterTruth::False;
}

}  // namespace

FilterTruth FilterExpression::EvaluateNode(int index, const FieldReader& read_field) const {
  const Node& node = FNodes[static_cast<std::size_t>(index)];
  switch (node.Kind) {
    case NodeKind::And: {
      const FilterTruth left = EvaluateNode(node.Left, read_field);
      if (left == FilterTruth::False) return FilterTruth::False;
      const FilterTruth right = EvaluateNode(node.Right, read_field);
      if (right == FilterTruth::False) return FilterTruth::False;
      return left == FilterTruth::True && right == FilterTruth::True ? FilterTruth::True : FilterTruth::Unknown;
    }
    case NodeKind::Or: {
      const FilterTruth left = EvaluateNode(node.Left, read_field);
      if (left == FilterTruth::True) return FilterTruth::True;
      const FilterTruth right = EvaluateNode(node.Right, read_field);
      if (right == FilterTruth::True) return FilterTruth::True;
      return left == FilterTruth::False && right == FilterTruth::False ? FilterTruth::False : FilterTruth::Unknown;
    }
    case NodeKind::Not: {
      const FilterTruth inner = EvaluateNode(node.Left, read_field);
      if (inner == FilterTruth::Unknown) return inner;
      return Truth(inner == FilterTruth::False);
    }
    case NodeKind::IsNull: {
      const bool is_null = Operand(node.Left, read_field).ValueKind == FilterValue::Kind::Null;
      return Truth(is_null != node.Negated);
    }
    case NodeKind::Like: {
      const FilterValue subject = Operand(node.Left, read_field);
      const FilterValue pattern = Operand(node.Right, read_field);
      if (subject.ValueKind == FilterValue::Kind::Null || pattern.ValueKind == FilterValue::Kind::Null) {
        return FilterTruth::Unknown;
      }
      return Truth(LikeMatch(AsText(subject), AsText(pattern)) != node.Negated);
    }
    case NodeKind::Compare: {
      const FilterValue left = Operand(node.Left, read_field);
      const FilterValue right = Operand(node.Right, read_field);
      if (left.ValueKind == FilterValue::Kind::Null || right.ValueKind == FilterValue::Kind::Null) {
        return FilterTruth::Unknown;
      }
      const int order = Order(left, right);
      switch (node.Op) {
        case CompareOp::Equal:
          return Truth(order == 0);
        case CompareOp::NotEqual:
          return Truth(order != 0);
        case CompareOp::Less:
          return Truth(order < 0);
        case CompareOp::LessEqual:
          return Truth(order <= 0);
        case CompareOp::Greater:
          return Truth(order > 0);
        case CompareOp::GreaterEqual:
          return Truth(order >= 0);
      }
      return FilterTruth::Unknown;
    }
    case NodeKind::Field:
    case NodeKind::Literal:
      break;
  }
  throw Exception("Filtro: expressão sem comparação.");
}

}  // namespace oradb::internal
