// Statements and compound queries: INSERT, UPDATE, DELETE, set operators and the select list. A
// query block itself goes through the steps of SelectBlock.h.
#include <algorithm>

#include "oradb/EOraError.h"
#include "oradb/internal/SelectBlock.h"
#include "oradb/internal/SqlRewriter.h"
#include "oradb/internal/SqlWords.h"

namespace oradb::internal {

namespace {

constexpr std::size_t kNone = kNoClause;

[[noreturn]] void Unsupported(const std::string& what) {
  throw ETranslationError("Construção Oracle não suportada: " + what);
}

void Lead(const SqlNode& node, bool keep, std::string& out) {
  if (keep) AppendTrivia(out, node.Tok->Leading);
}

// UNION, INTERSECT, MINUS and EXCEPT, with the ALL or DISTINCT that follows them.
std::vector<SetOperator> SetOperators(NodeSpan nodes) {
  std::vector<SetOperator> operators;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (IsWord(nodes[i], "UNION") || IsWord(nodes[i], "INTERSECT") || IsWord(nodes[i], "MINUS") ||
        IsWord(nodes[i], "EXCEPT")) {
      const bool with_all = i + 1 < nodes.size() && (IsWord(nodes[i + 1], "ALL") || IsWord(nodes[i + 1], "DISTINCT"));
      operators.push_back({i, with_all ? std::size_t{2} : std::size_t{1}});
      if (with_all) ++i;
    }
  }
  return operators;
}

}  // namespace

std::string SqlRewriter::Statement(NodeSpan nodes) {
  if (nodes.empty()) throw ETranslationError("Comando SQL vazio.");
  const SqlNode& first = nodes[0];
  if (IsWord(first, "SELECT") || IsWord(first, "WITH") || IsSubquery(first)) {
    return Query(nodes, QueryPlace::Statement, true);
  }
  if (IsWord(first, "INSERT")) return Insert(nodes);
  if (IsWord(first, "DELETE")) return Delete(nodes);
  if (IsWord(first, "UPDATE")) return Update(nodes);
  // Savepoints read the same in both dialects: SAVEPOINT name and ROLLBACK TO [SAVEPOINT] name.
  if (IsWord(first, "SAVEPOINT") && nodes.size() == 2 && IsWord(nodes[1])) return "SAVEPOINT " + nodes[1].Tok->Upper;
  if (IsWord(first, "ROLLBACK") && nodes.size() >= 3 && IsWord(nodes[1], "TO")) {
    const std::size_t name = IsWord(nodes[2], "SAVEPOINT") ? 3 : 2;
    if (nodes.size() == name + 1 && IsWord(nodes[name])) return "ROLLBACK TO SAVEPOINT " + nodes[name].Tok->Upper;
  }
  if (IsWord(first)) Unsupported("comando " + first.Tok->Upper);
  Unsupported("texto que não começa por um comando SQL");
}

std::string SqlRewriter::Insert(NodeSpan nodes) {
  if (nodes.size() < 3 || !IsWord(nodes[1], "INTO")) Unsupported("INSERT sem INTO (INSERT ALL/FIRST)");
  CheckNoReturningInto(nodes);
  std::size_t query = kNone;
  for (std::size_t i = 2; i < nodes.size() && query == kNone; ++i) {
    if (IsWord(nodes[i], "SELECT") || IsWord(nodes[i], "WITH")) query = i;
  }
  if (query == kNone) return List(nodes, true);
  return List(nodes.first(query), true) + Query(nodes.subspan(query), QueryPlace::Statement, true);
}

std::string SqlRewriter::Delete(NodeSpan nodes) {
  CheckNoReturningInto(nodes);
  if (nodes.size() >= 2 && !IsWord(nodes[1], "FROM")) {
    // Oracle allows "DELETE ZTLANC WHERE ..."; PostgreSQL needs FROM.
    std::string out;
    Lead(nodes[0], true, out);
    out += std::string(nodes[0].Tok->Text) + " FROM";
    return out + List(nodes.subspan(1), true);
  }
  return List(nodes, true);
}

std::string SqlRewriter::Update(NodeSpan nodes) {
  CheckNoReturningInto(nodes);
  const std::size_t set = FindWord(nodes, "SET");
  if (set == kNone || set < 2) Unsupported("UPDATE sem SET");
  // Names that reach the updated table: its name, owner.name and its alias.
  std::vector<std::string> names;
  for (std::size_t i = 1; i < set; ++i) {
    if (IsName(nodes[i])) names.push_back(NameKey(nodes[i]));
  }
  std::size_t set_end = nodes.size();
  for (const char* word : {"WHERE", "RETURNING"}) set_end = std::min(set_end, FindWord(nodes, word, set));

  std::string out = List(nodes.first(set + 1), true);
  const NodeSpan list = nodes.subspan(set + 1, set_end - set - 1);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= list.size(); ++i) {
    if (i < list.size() && !IsOp(list[i], ",")) continue;
    const NodeSpan assignment = list.subspan(start, i - start);
    // Oracle accepts "SET ZTLANC.VPAGO = ..."; PostgreSQL reads ZTLANC there as a column.
    std::size_t column = 0;
    while (column + 2 < assignment.size() && IsName(assignment[column]) && IsOp(assignment[column + 1], ".") &&
           IsName(assignment[column + 2]) &&
           std::find(names.begin(), names.end(), NameKey(assignment[column])) != names.end()) {
      column += 2;
    }
    if (column > 0) {
      Lead(assignment[0], true, out);
      out += List(assignment.subspan(column), false);
    } else {
      out += List(assignment, true);
    }
    if (i < list.size()) {
      Lead(list[i], true, out);
      out += ",";
    }
    start = i + 1;
  }
  return out + List(nodes.subspan(set_end), true);
}

void SqlRewriter::CheckNoReturningInto(NodeSpan nodes) const {
  const std::size_t returning = FindWord(nodes, "RETURNING");
  if (returning == kNone) return;
  if (FVariables == nullptr) Unsupported("RETURNING fora de bloco PL/SQL");
  for (std::size_t i = returning; i < nodes.size(); ++i) {
    if (IsKind(nodes[i], TokenKind::Bind))
      Unsupported("parâmetro de saída :" + nodes[i].Tok->Upper + " em RETURNING INTO");
  }
}

std::string SqlRewriter::Query(NodeSpan nodes, QueryPlace place, bool keep_lead) {
  if (nodes.empty()) Unsupported("consulta vazia");
  if (IsWord(nodes[0], "WITH")) {
    const std::size_t main = FindWord(nodes, "SELECT", 1);
    if (main == kNone) Unsupported("WITH sem SELECT principal");
    return List(nodes.first(main), keep_lead) + Query(nodes.subspan(main), place, true);
  }
  const std::vector<SetOperator> operators = SetOperators(nodes);
  if (!operators.empty()) return CompoundQuery(nodes, operators, place, keep_lead);
  if (nodes.size() == 1 && IsSubquery(nodes[0])) return ParenthesizedQuery(nodes[0], place, keep_lead);
  return SelectBlock(nodes, place, false, keep_lead);
}

// Set operators split the query into branches; an ORDER BY after the last branch orders them all.
std::string SqlRewriter::CompoundQuery(NodeSpan nodes, const std::vector<SetOperator>& operators, QueryPlace place,
                                       bool keep_lead) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t b = 0; b <= operators.size(); ++b) {
    const std::size_t end = b < operators.size() ? operators[b].At : nodes.size();
    NodeSpan branch = nodes.subspan(start, end - start);
    NodeSpan order_by;
    if (b == operators.size() && !(branch.size() == 1 && branch[0].IsGroup())) {
      const std::size_t order = FindWord(branch, "ORDER");
      if (order != kNone) {
        order_by = branch.subspan(order);
        branch = branch.first(order);
      }
    }
    if (branch.empty()) Unsupported("operador de conjunto sem consulta");
    const bool keep = b == 0 ? keep_lead : true;
    if (branch.size() == 1 && IsSubquery(branch[0])) {
      out += ParenthesizedQuery(branch[0], place, keep);
    } else {
      out += SelectBlock(branch, place, true, keep);
    }
    if (b < operators.size()) {
      out += SetOperatorText(nodes.subspan(operators[b].At, operators[b].Count));
      start = operators[b].At + operators[b].Count;
    }
    if (!order_by.empty()) out += List(order_by, true);
  }
  return out;
}

std::string SqlRewriter::ParenthesizedQuery(const SqlNode& group, QueryPlace place, bool keep_lead) {
  std::string out;
  Lead(group, keep_lead, out);
  out += "(" + Query(group.Kids, place, true);
  AppendTrivia(out, group.Close->Leading);
  return out + ")";
}

// MINUS is EXCEPT in PostgreSQL.
std::string SqlRewriter::SetOperatorText(NodeSpan words) {
  if (!IsWord(words[0], "MINUS")) return List(words, true);
  std::string out;
  Lead(words[0], true, out);
  return out + "EXCEPT" + List(words.subspan(1), true);
}

std::string SqlRewriter::SelectHead(NodeSpan nodes, bool keep_lead) {
  std::string out;
  Lead(nodes[0], keep_lead, out);
  out += nodes[0].Tok->Text;
  std::size_t at = 1;
  if (at < nodes.size() && (IsWord(nodes[at], "DISTINCT") || IsWord(nodes[at], "ALL") || IsWord(nodes[at], "UNIQUE"))) {
    Lead(nodes[at], true, out);
    out += IsWord(nodes[at], "UNIQUE") ? std::string_view("DISTINCT") : nodes[at].Tok->Text;
    ++at;
  }
  const NodeSpan list = nodes.subspan(at);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= list.size(); ++i) {
    if (i < list.size() && !IsOp(list[i], ",")) continue;
    const NodeSpan item = list.subspan(start, i - start);
    const std::size_t n = item.size();
    // A bare alias PostgreSQL only takes after AS ("TRUNC(X) YEAR").
    if (n >= 2 && IsWord(item[n - 1]) && AliasNeedsAs(item[n - 1].Tok->Upper) && IsOperandEnd(item[n - 2]) &&
        !IsOp(item[n - 2], ".")) {
      out += List(item.first(n - 1), true) + " AS";
      out += List(item.subspan(n - 1), true);
    } else {
      out += List(item, true);
    }
    if (i < list.size()) {
      Lead(list[i], true, out);
      out += ",";
    }
    start = i + 1;
  }
  return out;
}

std::string SqlRewriter::SelectBlock(NodeSpan nodes, QueryPlace place, bool in_compound, bool keep_lead) {
  const SelectClauses clauses = LocateClauses(nodes);
  RenderedClauses rendered;
  rendered.Into = RenderInto(*this, clauses, place);
  const SelectPlan plan = PlanSelect(clauses);
  rendered.From = RenderFrom(*this, clauses, plan);
  rendered.Where = RenderWhere(*this, clauses, plan);
  rendered.Lock = RenderForUpdate(clauses, plan);
  return AssembleUnderRowLimit(*this, clauses, plan, rendered, in_compound, keep_lead);
}

}  // namespace oradb::internal
