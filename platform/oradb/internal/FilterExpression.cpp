#include "oradb/internal/FilterExpression.h"

#include <cmath>

#include "oradb/internal/SqlLexer.h"
#include "oradb/internal/TextValues.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace oradb::internal {

namespace {

// What the parser reads: the lexer's tokens of a filter, checked and with their values.
enum class SymbolKind { End, Name, Text, Number, Operator, LeftParen, RightParen };

struct Symbol {
  SymbolKind Kind = SymbolKind::End;
  std::string Text;          // Name: upper case; Operator: the symbol; Text: the unquoted value
  std::size_t Position = 0;  // 1-based column in the filter text
};

[[noreturn]] void Malformed(std::string_view filter, const std::string& detail) {
  throw Exception("Filtro inválido \"" + std::string(filter) + "\": " + detail + ".");
}

// The value of a quoted text: the quotes removed, '' read as one quote.
std::string Unquoted(std::string_view quoted) {
  std::string value;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    value += quoted[i];
    if (quoted[i] == '\'') ++i;
  }
  return value;
}

Symbol NumberSymbol(std::string_view filter, const Token& token, const std::string& at) {
  const std::string number(token.Text);
  // The lexer runs a number over the letters stuck to it ("12abc", "1e5"): not a filter's number.
  if (number.find_first_not_of("-0123456789.") != std::string::npos || !ParseNumber(number)) {
    Malformed(filter, "número malformado" + at);
  }
  return {SymbolKind::Number, number, token.Offset + 1};
}

Symbol OperatorSymbol(std::string_view filter, const Token& token, const std::string& at) {
  if (token.Text == "(") return {SymbolKind::LeftParen, "(", token.Offset + 1};
  if (token.Text == ")") return {SymbolKind::RightParen, ")", token.Offset + 1};
  if (token.Text == "!") Malformed(filter, "operador '!' incompleto" + at);
  return {SymbolKind::Operator, token.Text == "!=" ? "<>" : std::string(token.Text), token.Offset + 1};
}

std::vector<Symbol> Symbols(std::string_view filter) {
  const LexedText lexed = LexSql(filter, LexMode::Filter);
  std::vector<Symbol> symbols;
  for (const Token& token : lexed.Tokens) {
    const std::size_t column = token.Offset + 1;
    const std::string at = " na posição " + std::to_string(column);
    switch (token.Kind) {
      case TokenKind::Word:
        symbols.push_back({SymbolKind::Name, token.Upper, column});
        break;
      case TokenKind::BracketName:
        symbols.push_back({SymbolKind::Name, UpperAscii(Trim(token.Text.substr(1, token.Text.size() - 2))), column});
        break;
      case TokenKind::String:
        symbols.push_back({SymbolKind::Text, Unquoted(token.Text), column});
        break;
      case TokenKind::Number:
        symbols.push_back(NumberSymbol(filter, token, at));
        break;
      case TokenKind::Op:
        symbols.push_back(OperatorSymbol(filter, token, at));
        break;
      case TokenKind::Invalid:
      case TokenKind::QuotedIdent:
      case TokenKind::Bind:
        if (token.Text[0] == '\'') Malformed(filter, "texto entre aspas sem fechamento" + at);
        if (token.Text[0] == '[') Malformed(filter, "nome de campo entre colchetes malformado" + at);
        Malformed(filter, std::string("caractere inesperado '") + token.Text[0] + "'" + at);
    }
  }
  symbols.push_back({SymbolKind::End, "", filter.size() + 1});
  return symbols;
}

bool IsKeyword(const Symbol& token, std::string_view word) noexcept {
  return token.Kind == SymbolKind::Name && token.Text == word;
}

std::string Describe(const Symbol& token) {
  if (token.Kind == SymbolKind::End) return "fim do filtro";
  return "'" + token.Text + "' na posição " + std::to_string(token.Position);
}

}  // namespace

// Recursive descent over: or := and {OR and}; and := not {AND not}; not := NOT not | primary;
// primary := '(' or ')' | operand (op operand | IS [NOT] NULL | [NOT] LIKE operand).
class FilterExpression::Parser {
 public:
  Parser(std::string_view filter, FilterExpression& target)
      : FFilter(filter), FTokens(Symbols(filter)), FTarget(target) {}

  int ParseAll() {
    const int root = ParseOr();
    if (Peek().Kind != SymbolKind::End) Malformed(FFilter, "símbolo inesperado " + Describe(Peek()));
    return root;
  }

 private:
  const Symbol& Peek() const { return FTokens[FPos]; }
  const Symbol& Take() { return FTokens[FPos++]; }

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
    if (Peek().Kind == SymbolKind::LeftParen) {
      const Symbol open = Take();
      const int inner = ParseOr();
      if (Peek().Kind != SymbolKind::RightParen) {
        Malformed(FFilter, "parêntese aberto na posição " + std::to_string(open.Position) + " sem fechamento");
      }
      Take();
      return inner;
    }
    const int left = ParseOperand();
    const Symbol& next = Peek();
    if (next.Kind == SymbolKind::Operator) {
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
    const Symbol& token = Peek();
    Node node;
    if (token.Kind == SymbolKind::Text) {
      node.Kind = NodeKind::Literal;
      node.Literal.ValueKind = FilterValue::Kind::Text;
      node.Literal.Text = token.Text;
    } else if (token.Kind == SymbolKind::Number) {
      node.Kind = NodeKind::Literal;
      node.Literal.ValueKind = FilterValue::Kind::Number;
      node.Literal.Number = *ParseNumber(token.Text);
      node.Literal.Text = token.Text;
    } else if (IsKeyword(token, "NULL")) {
      node.Kind = NodeKind::Literal;
    } else if (token.Kind == SymbolKind::Name && !IsReserved(token.Text)) {
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
  std::vector<Symbol> FTokens;
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
