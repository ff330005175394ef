#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rtl/TStringList.h"

// The statement builders the statement files check, by the name their blocks carry. Each area's
// tests register theirs next to its statement file:
//
//   const testsupport::StatementBuilders kCash({
//       {"TDALMovimentacaoNumerarios::GetSQLSaldoZTESTCR (locked)", [] { return DAL::GetSQLSaldoZTESTCR(true); }},
//   });
namespace testsupport {

// What a builder produced. A list keeps its lines, so a line that holds a line break of its own,
// or an empty list against one empty line, is told apart from what the file says. Implicit, so a
// builder returns whatever the statement's maker returns.
struct BuiltStatement {
  BuiltStatement(std::string text) : Text(std::move(text)) {}
  BuiltStatement(const TStringList& list) : Text(list.Text()), Lines(list.Lines()) {}
  std::string Text;
  std::optional<std::vector<std::string>> Lines;
};

using StatementBuilder = std::function<BuiltStatement()>;

class StatementBuilders {
 public:
  // Adds `builders` to the ones every statement file is checked against; a name given twice is
  // kept in Duplicates().
  explicit StatementBuilders(std::vector<std::pair<std::string, StatementBuilder>> builders) {
    for (auto& [name, builder] : builders) {
      if (!All().emplace(name, std::move(builder)).second) Duplicates().push_back(name);
    }
  }

  static std::map<std::string, StatementBuilder>& All() {
    static std::map<std::string, StatementBuilder> builders;
    return builders;
  }

  static std::vector<std::string>& Duplicates() {
    static std::vector<std::string> names;
    return names;
  }
};

}  // namespace testsupport
