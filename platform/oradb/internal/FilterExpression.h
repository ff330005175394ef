#pragma once

#include "oradb/internal/Private.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The client-side filter of a dataset: "STATUS_PARCEIRO = 'A'", "CODCONTA = 10 AND VALOR > 0",
// "NOT (OBS IS NULL) OR NOME LIKE 'JO%'". Parsed once when set, evaluated per row.
namespace oradb::internal {

// A value a filter compares: a field's content or a literal.
struct FilterValue {
  enum class Kind { Null, Text, Number, Date, Boolean };
  Kind ValueKind = Kind::Null;
  std::string Text;     // Text
  double Number = 0.0;  // Number, Date (days), Boolean (1/0)
};

// Three-valued: a comparison with NULL is neither true nor false, as in SQL.
enum class FilterTruth { False, True, Unknown };

class FilterExpression {
 public:
  // Throws Exception("Filtro inválido ...") on malformed text. A blank text admits every row.
  [[nodiscard]] static FilterExpression Parse(std::string_view text);

  // Gives the value of a field by its upper-case name (throws when the dataset has none).
  using FieldReader = std::function<FilterValue(const std::string& name)>;
  [[nodiscard]] FilterTruth Evaluate(const FieldReader& read_field) const;
  [[nodiscard]] bool Empty() const noexcept { return FNodes.empty(); }

 private:
  enum class NodeKind { And, Or, Not, Compare, IsNull, Like, Field, Literal };
  enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };
  struct Node {
    NodeKind Kind = NodeKind::Literal;
    CompareOp Op = CompareOp::Equal;
    bool Negated = false;  // IS NOT NULL, NOT LIKE
    int Left = -1;
    int Right = -1;
    std::string Name;     // Field: upper-case name
    FilterValue Literal;  // Literal
  };
  class Parser;

  [[nodiscard]] FilterTruth EvaluateNode(int index, const FieldReader& read_field) const;
  [[nodiscard]] FilterValue Operand(int index, const FieldReader& read_field) const;

  std::vector<Node> FNodes;
  int FRoot = -1;
};

}  // namespace oradb::internal
