// Statements and query blocks: clause layout, (+) outer joins, ROWNUM = 1, FOR UPDATE, SELECT INTO.
#include <algorithm>
#include <optional>

#include "oradb/EOraError.h"
#include "oradb/internal/OuterJoin.h"
#include "oradb/internal/SqlRewriter.h"
#include "oradb/internal/SqlWords.h"

namespace oradb::internal {

// Counts how deep in sub-queries the rewriter is: ROWNUM = 1 becomes LIMIT 1 only below the top.
class QueryDepthGuard {
 public:
  QueryDepthGuard(SqlRewriter& rewriter, bool nested) : FRewriter(rewriter), FNested(nested) {
    if (FNested) ++FRewriter.FQueryDepth;
  }
  ~QueryDepthGuard() {
    if (FNested) --FRewriter.FQueryDepth;
  }
  QueryDepthGuard(const QueryDepthGuard&) = delete;
  QueryDepthGuard& operator=(const QueryDepthGuard&) = delete;

 private:
  SqlRewriter& FRewriter;
  bool FNested;
};

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

[[noreturn]] void Unsupported(const std::string& what) {
  throw ETranslationError("Construção Oracle não suportada: " + what);
}

void Lead(const SqlNode& node, bool keep, std::string& out) {
  if (keep) AppendTrivia(out, node.Tok->Leading);
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

bool ContainsMarkerOrRownum(NodeSpan nodes) {
  for (const SqlNode& node : nodes) {
    if (IsWord(node, "ROWNUM") || IsOuterJoinMarker(node)) return true;
    if (node.IsGroup() && !IsSubquery(node) && ContainsMarkerOrRownum(node.Kids)) return true;
  }
  return false;
}

bool HasOr(NodeSpan nodes) {
  for (const SqlNode& node : nodes) {
    if (IsWord(node, "OR")) return true;
    if (node.IsGroup() && !IsSubquery(node) && HasOr(node.Kids)) return true;
  }
  return false;
}

bool HasTopLevelOr(NodeSpan nodes) {
  return FindWord(nodes, "OR") != kNone;
}

// The conditions joined by AND at this level (the AND of BETWEEN and those inside CASE excepted).
std::vector<NodeSpan> SplitConjuncts(NodeSpan nodes) {
  std::vector<NodeSpan> parts;
  std::size_t start = 0;
  int case_depth = 0;
  bool between = false;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (IsWord(nodes[i], "CASE")) ++case_depth;
    if (IsWord(nodes[i], "END") && case_depth > 0) --case_depth;
    if (case_depth > 0) continue;
    if (IsWord(nodes[i], "BETWEEN")) between = true;
    if (IsWord(nodes[i], "AND")) {
      if (between) {
        between = false;
        continue;
      }
      parts.push_back(nodes.subspan(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(nodes.subspan(start));
  return parts;
}

// "(A AND B(+))" reads as two conditions when the group only joins conditions with AND.
std::vector<NodeSpan> FlattenConjuncts(NodeSpan nodes) {
  std::vector<NodeSpan> result;
  for (const NodeSpan part : SplitConjuncts(nodes)) {
    if (part.empty()) Unsupported("condição vazia entre AND");
    if (part.size() == 1 && part[0].IsGroup() && !IsSubquery(part[0]) && !IsOuterJoinMarker(part[0]) &&
        !HasTopLevelOr(part[0].Kids) && ContainsMarkerOrRownum(part[0].Kids)) {
      for (const NodeSpan inner : FlattenConjuncts(part[0].Kids)) result.push_back(inner);
    } else {
      result.push_back(part);
    }
  }
  return result;
}

// The word at the top level of the nodes.
bool HasWordAt(NodeSpan nodes, std::string_view upper) {
  return std::any_of(nodes.begin(), nodes.end(), [&](const SqlNode& node) { return IsWord(node, upper); });
}

bool IsAggregateCall(NodeSpan nodes) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (node.IsGroup()) {
      if (!IsSubquery(node) && IsAggregateCall(node.Kids)) return true;
      continue;
    }
    if (i + 1 < nodes.size() && nodes[i + 1].IsGroup() &&
        (IsWord(node, "COUNT") || IsWord(node, "SUM") || IsWord(node, "AVG") || IsWord(node, "MIN") ||
         IsWord(node, "MAX"))) {
      return true;
    }
  }
  return false;
}

std::string NameText(const SqlNode& node) {
  const std::string_view text = node.Tok->Text;
  if (text.find('#') != std::string_view::npos) return "\"" + ToLowerAscii(text) + "\"";
  return std::string(text);
}

std::string NameKey(const SqlNode& node) {
  if (IsKind(node, TokenKind::QuotedIdent)) return ToUpperAscii(node.Tok->Text.substr(1, node.Tok->Text.size() - 2));
  return node.Tok->Upper;
}

bool IsName(const SqlNode& node) {
  return IsWord(node) || IsKind(node, TokenKind::QuotedIdent);
}

// One item of a FROM list and the name that columns use to reach it.
struct FromItem {
  NodeSpan Nodes;
  std::string Exposed;      // alias, or the table name (upper case)
  std::string FullName;     // owner.table (upper case), when no alias
  std::string ExposedText;  // as PostgreSQL will read it
  bool Ansi = false;        // holds JOIN syntax
};

std::vector<FromItem> ParseFromItems(NodeSpan from) {
  std::vector<FromItem> items;
  for (const NodeSpan part : SplitAtCommas(from)) {
    if (part.empty()) Unsupported("FROM com item vazio");
    FromItem item;
    item.Nodes = part;
    item.Ansi = FindWord(part, "JOIN") != kNone;
    const SqlNode& last = part.back();
    const bool aliased = part.size() >= 2 && IsName(last) && !IsOp(part[part.size() - 2], ".");
    if (aliased) {
      item.Exposed = NameKey(last);
      item.ExposedText = NameText(last);
    } else if (IsName(last)) {
      item.Exposed = NameKey(last);
      item.ExposedText = NameText(last);
      for (const SqlNode& node : part) {
        if (IsName(node)) item.FullName += (item.FullName.empty() ? "" : ".") + NameKey(node);
      }
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::optional<std::size_t> ResolveQualifier(const std::vector<FromItem>& items, const std::string& qualifier) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].Exposed == qualifier || (!items[i].FullName.empty() && items[i].FullName == qualifier)) return i;
  }
  return std::nullopt;
}

// What a condition holds that matters for (+): the tables it marks and names.
struct ConditionScan {
  std::vector<std::string> Marked;      // qualifiers of the columns followed by (+)
  std::vector<std::string> Qualifiers;  // qualifiers of every column it names
  bool HasSubquery = false;
  bool HasUnqualifiedColumn = false;
};

bool IsConditionWord(const std::string& upper) {
  return IsNonOperandWord(upper) || upper == "NULL" || upper == "SYSDATE" || upper == "TRUE" || upper == "FALSE" ||
         upper == "END";
}

void ScanCondition(NodeSpan nodes, ConditionScan& scan) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (node.IsGroup()) {
      if (IsSubquery(node)) {
        scan.HasSubquery = true;
      } else if (IsOuterJoinMarker(node)) {
        if (i == 0 || !IsName(nodes[i - 1])) Unsupported("(+) depois de algo que não é uma coluna");
        if (i < 3 || !IsOp(nodes[i - 2], ".")) Unsupported("(+) em coluna sem qualificador");
        std::size_t start = i - 3;
        while (start >= 2 && IsOp(nodes[start - 1], ".") && IsName(nodes[start - 2])) start -= 2;
        std::string qualifier;
        for (std::size_t k = start; k + 2 < i; k += 2) qualifier += (qualifier.empty() ? "" : ".") + NameKey(nodes[k]);
        scan.Marked.push_back(qualifier);
      } else {
        ScanCondition(node.Kids, scan);
      }
      continue;
    }
    if (!IsName(node) || (i > 0 && IsOp(nodes[i - 1], "."))) continue;
    std::size_t end = i + 1;
    std::vector<std::string> parts{NameKey(node)};
    while (end + 1 < nodes.size() && IsOp(nodes[end], ".") && IsName(nodes[end + 1])) {
      parts.push_back(NameKey(nodes[end + 1]));
      end += 2;
    }
    const bool call = end < nodes.size() && nodes[end].IsGroup() && !IsOuterJoinMarker(nodes[end]);
    if (!call && parts.size() >= 2) {
      parts.pop_back();
      std::string qualifier;
      for (const std::string& part : parts) qualifier += (qualifier.empty() ? "" : ".") + part;
      scan.Qualifiers.push_back(qualifier);
    } else if (!call && parts.size() == 1 && IsWord(node) && !IsConditionWord(node.Tok->Upper)) {
      scan.HasUnqualifiedColumn = true;
    }
    i = end - 1;
  }
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
  const QueryDepthGuard guard(*this, place == QueryPlace::Nested);
  return QueryBody(nodes, place, keep_lead);
}

std::string SqlRewriter::QueryBody(NodeSpan nodes, QueryPlace place, bool keep_lead) {
  if (nodes.empty()) Unsupported("consulta vazia");
  if (IsWord(nodes[0], "WITH")) {
    const std::size_t main = FindWord(nodes, "SELECT", 1);
    if (main == kNone) Unsupported("WITH sem SELECT principal");
    return List(nodes.first(main), keep_lead) + QueryBody(nodes.subspan(main), place, true);
  }

  // Set operators split the query into branches; an ORDER BY after the last branch orders them all.
  std::vector<std::pair<std::size_t, std::size_t>> operators;  // position, node count
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (IsWord(nodes[i], "UNION") || IsWord(nodes[i], "INTERSECT") || IsWord(nodes[i], "MINUS") ||
        IsWord(nodes[i], "EXCEPT")) {
      const bool with_all = i + 1 < nodes.size() && (IsWord(nodes[i + 1], "ALL") || IsWord(nodes[i + 1], "DISTINCT"));
      operators.emplace_back(i, with_all ? 2 : 1);
      if (with_all) ++i;
    }
  }
  if (operators.empty()) {
    if (nodes.size() == 1 && IsSubquery(nodes[0])) {
      std::string out;
      Lead(nodes[0], keep_lead, out);
      out += "(" + QueryBody(nodes[0].Kids, place, true);
      AppendTrivia(out, nodes[0].Close->Leading);
      return out + ")";
    }
    return SelectBlock(nodes, place, false, keep_lead);
  }

  std::string out;
  std::size_t start = 0;
  for (std::size_t b = 0; b <= operators.size(); ++b) {
    const std::size_t end = b < operators.size() ? operators[b].first : nodes.size();
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
      Lead(branch[0], keep, out);
      out += "(" + QueryBody(branch[0].Kids, place, true);
      AppendTrivia(out, branch[0].Close->Leading);
      out += ")";
    } else {
      out += SelectBlock(branch, place, true, keep);
    }
    if (b < operators.size()) {
      const auto [at, count] = operators[b];
      if (IsWord(nodes[at], "MINUS")) {
        Lead(nodes[at], true, out);
        out += "EXCEPT";
        out += List(nodes.subspan(at + 1, count - 1), true);
      } else {
        out += List(nodes.subspan(at, count), true);
      }
      start = at + count;
    }
    if (!order_by.empty()) out += List(order_by, true);
  }
  return out;
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

// ROWNUM = 1, ROWNUM <= n, ROWNUM < n, either way round, n a whole number or a bind: at most that
// many rows. A bind that is NULL or below 1 lets no row through, as in Oracle.
std::optional<SqlRewriter::RownumLimit> SqlRewriter::RownumCondition(NodeSpan nodes) {
  if (nodes.size() != 3 || nodes[1].IsGroup() || nodes[1].Tok->Kind != TokenKind::Op) return std::nullopt;
  std::string_view op = nodes[1].Tok->Text;
  const SqlNode* bound = nullptr;
  if (IsWord(nodes[0], "ROWNUM")) {
    bound = &nodes[2];
  } else if (IsWord(nodes[2], "ROWNUM")) {
    bound = &nodes[0];
    if (op == ">=")
      op = "<=";
    else if (op == ">")
      op = "<";
    else if (op != "=")
      return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (op != "=" && op != "<=" && op != "<") return std::nullopt;
  if (IsKind(*bound, TokenKind::Number)) {
    const std::string_view digits = bound->Tok->Text;
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    const long n = std::stol(std::string(digits));
    if (op == "=") return n == 1 ? std::optional<RownumLimit>(RownumLimit{"1", true}) : std::nullopt;
    const long count = op == "<=" ? n : std::max(0L, n - 1);
    return RownumLimit{std::to_string(count), count <= 1};
  }
  if (!IsKind(*bound, TokenKind::Bind) || op == "=") return std::nullopt;
  const std::string value = Bind(*bound, true);
  const std::string whole = op == "<=" ? "pg_catalog.floor(" + value + ")" : "pg_catalog.ceil(" + value + ") - 1";
  return RownumLimit{"GREATEST(COALESCE(" + whole + ", 0), 0)", false};
}

std::string SqlRewriter::SelectBlock(NodeSpan nodes, QueryPlace place, bool in_compound, bool keep_lead) {
  if (!IsWord(nodes[0], "SELECT")) Unsupported("consulta que não começa por SELECT");
  std::size_t into = kNone, from = kNone, where = kNone, for_update = kNone, tail = kNone;
  bool grouped = false;
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (!IsWord(node)) continue;
    const std::string& word = node.Tok->Upper;
    if (word == "CONNECT" || (word == "START" && i + 1 < nodes.size() && IsWord(nodes[i + 1], "WITH"))) {
      Unsupported("consulta hierárquica (CONNECT BY)");
    }
    if (word == "INTO" && into == kNone && from == kNone) into = i;
    if (word == "FROM" && from == kNone) from = i;
    if (word == "WHERE" && where == kNone) where = i;
    if ((word == "GROUP" || word == "HAVING" || word == "ORDER") && tail == kNone) tail = i;
    if (word == "GROUP" || word == "HAVING") grouped = true;
    if (word == "FOR" && i + 1 < nodes.size() && IsWord(nodes[i + 1], "UPDATE") && for_update == kNone) for_update = i;
  }
  // The clauses must come in SQL's order; anything else would make the slices below overlap.
  std::size_t previous = 0;
  for (const std::size_t clause : {into, from, where, tail, for_update}) {
    if (clause == kNone) continue;
    if (clause <= previous) throw ETranslationError("Consulta mal formada: cláusulas fora de ordem.");
    previous = clause;
  }
  const std::size_t end = for_update == kNone ? nodes.size() : for_update;
  const auto clause_end = [&](std::size_t start) {
    std::size_t stop = end;
    for (const std::size_t other : {into, from, where, tail}) {
      if (other != kNone && other > start && other < stop) stop = other;
    }
    return stop;
  };
  const std::size_t head_end = clause_end(0);
  const NodeSpan from_nodes = from == kNone ? NodeSpan() : nodes.subspan(from + 1, clause_end(from) - from - 1);
  const NodeSpan where_nodes = where == kNone ? NodeSpan() : nodes.subspan(where + 1, clause_end(where) - where - 1);
  const NodeSpan tail_nodes = tail == kNone ? NodeSpan() : nodes.subspan(tail, end - tail);

  // SELECT ... INTO: PL/pgSQL's STRICT raises no_data_found (ORA-01403) and too_many_rows as Oracle does.
  std::string into_text;
  if (into != kNone) {
    if (place != QueryPlace::PlsqlInto) Unsupported("SELECT ... INTO fora de bloco PL/SQL");
    if (into >= 2 && IsWord(nodes[into - 1], "COLLECT")) Unsupported("BULK COLLECT");
    const NodeSpan targets = nodes.subspan(into + 1, clause_end(into) - into - 1);
    for (const SqlNode& target : targets) {
      if (IsKind(target, TokenKind::Bind)) Unsupported("parâmetro de saída :" + target.Tok->Upper + " em SELECT INTO");
    }
    Lead(nodes[into], true, into_text);
    into_text += "INTO STRICT" + List(targets, true);
  }

  const std::vector<FromItem> items = from == kNone ? std::vector<FromItem>() : ParseFromItems(from_nodes);
  const bool rewrite = ContainsMarkerOrRownum(where_nodes);
  std::vector<NodeSpan> kept;
  std::vector<NodeSpan> join_conditions;
  std::vector<OuterJoinCondition> joins;
  std::optional<RownumLimit> row_limit;
  if (rewrite) {
    for (const NodeSpan condition : FlattenConjuncts(where_nodes)) {
      if (std::optional<RownumLimit> limit = RownumCondition(condition)) {
        if (from == kNone) Unsupported("ROWNUM em consulta sem FROM");
        if (row_limit) Unsupported("mais de uma condição ROWNUM na mesma consulta");
        row_limit = std::move(limit);
        continue;
      }
      ConditionScan scan;
      ScanCondition(condition, scan);
      if (scan.Marked.empty()) {
        kept.push_back(condition);
        continue;
      }
      if (HasOr(condition)) Unsupported("(+) dentro de OR");
      if (scan.HasSubquery) Unsupported("(+) numa condição com sub-consulta");
      if (scan.HasUnqualifiedColumn) Unsupported("(+) numa condição com coluna sem qualificador");
      for (const std::string& marked : scan.Marked) {
        if (marked != scan.Marked.front()) Unsupported("(+) em mais de uma tabela na mesma condição");
      }
      for (const FromItem& item : items) {
        if (item.Ansi) Unsupported("(+) junto de JOIN no mesmo FROM");
      }
      const std::optional<std::size_t> outer = ResolveQualifier(items, scan.Marked.front());
      if (!outer) Unsupported("(+) em tabela que não está no FROM: " + scan.Marked.front());
      OuterJoinCondition join;
      join.OuterItem = *outer;
      for (const std::string& qualifier : scan.Qualifiers) {
        const std::optional<std::size_t> item = ResolveQualifier(items, qualifier);
        if (item && *item != *outer) join.Needs.push_back(*item);
      }
      joins.push_back(std::move(join));
      join_conditions.push_back(condition);
    }
  }

  std::vector<bool> outer_item(items.size(), false);
  for (const OuterJoinCondition& join : joins) outer_item[join.OuterItem] = true;
  const bool aggregate = grouped || IsAggregateCall(nodes.first(head_end));

  std::string from_text;
  // PostgreSQL 15 wants an alias on every sub-query of FROM; Oracle does not.
  const auto item_text = [&](std::size_t index, bool keep_lead) {
    std::string text = List(items[index].Nodes, keep_lead);
    if (items[index].Nodes.size() == 1 && IsSubquery(items[index].Nodes[0])) {
      text += " ora_sub" + std::to_string(index + 1);
    }
    return text;
  };
  if (from != kNone) {
    Lead(nodes[from], true, from_text);
    from_text += "FROM";
    if (joins.empty()) {
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
          const SqlNode& comma = *(items[i - 1].Nodes.data() + items[i - 1].Nodes.size());
          Lead(comma, true, from_text);
          from_text += ",";
        }
        from_text += item_text(i, true);
      }
    } else {
      std::vector<std::string> groups;
      for (const JoinItem& item : PlanOuterJoins(items.size(), joins)) {
        std::string text = item_text(item.front().Item, false);
        for (std::size_t s = 1; s < item.size(); ++s) {
          const JoinStep& step = item[s];
          const std::string step_text = item_text(step.Item, false);
          if (!step.Outer) {
            text += " CROSS JOIN " + step_text;
            continue;
          }
          std::vector<std::string> conditions;
          FStripMarkers = true;
          for (const std::size_t c : step.Conditions) conditions.push_back(List(join_conditions[c], false));
          FStripMarkers = false;
          text += " LEFT JOIN " + step_text + " ON " + Join(conditions, " AND ");
        }
        groups.push_back(std::move(text));
      }
      from_text += " " + Join(groups, ", ");
    }
  }

  std::string where_text;
  if (where != kNone) {
    if (!rewrite) {
      Lead(nodes[where], true, where_text);
      where_text += "WHERE" + List(where_nodes, true);
    } else if (!kept.empty()) {
      std::vector<std::string> conditions;
      for (const NodeSpan condition : kept) conditions.push_back(List(condition, false));
      Lead(nodes[where], true, where_text);
      where_text += "WHERE " + Join(conditions, " AND ");
    }
  }

  // FOR UPDATE OF: PostgreSQL locks tables, Oracle names columns; PostgreSQL also refuses to lock the
  // nullable side of an outer join, so a lock over outer joins covers the preserved tables only.
  std::string lock_text;
  if (for_update != kNone) {
    const NodeSpan lock = nodes.subspan(for_update);
    Lead(lock[0], true, lock_text);
    lock_text += "FOR";
    Lead(lock[1], true, lock_text);
    lock_text += "UPDATE";
    std::size_t at = 2;
    std::vector<std::string> tables;
    if (at < lock.size() && IsWord(lock[at], "OF")) {
      std::size_t stop = at + 1;
      while (stop < lock.size() && !IsWord(lock[stop], "NOWAIT") && !IsWord(lock[stop], "WAIT") &&
             !IsWord(lock[stop], "SKIP")) {
        ++stop;
      }
      for (const NodeSpan column : SplitAtCommas(lock.subspan(at + 1, stop - at - 1))) {
        std::string table;
        if (column.size() >= 3 && IsOp(column[column.size() - 2], ".")) {
          table = NameText(column[column.size() - 3]);
        } else if (column.size() == 1 && ResolveQualifier(items, NameKey(column[0]))) {
          table = items[*ResolveQualifier(items, NameKey(column[0]))].ExposedText;
        } else if (column.size() == 1 && items.size() == 1 && !items[0].ExposedText.empty()) {
          table = items[0].ExposedText;
        } else {
          Unsupported("FOR UPDATE OF com coluna sem tabela");
        }
        if (std::find(tables.begin(), tables.end(), table) == tables.end()) tables.push_back(table);
      }
      at = stop;
    } else if (!joins.empty()) {
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (outer_item[i]) continue;
        if (items[i].ExposedText.empty()) Unsupported("FOR UPDATE sobre sub-consulta sem apelido");
        tables.push_back(items[i].ExposedText);
      }
    }
    if (!tables.empty()) lock_text += " OF " + Join(tables, ", ");
    if (at < lock.size() && IsWord(lock[at], "NOWAIT") && at + 1 == lock.size()) {
      lock_text += " NOWAIT";
    } else if (at + 1 < lock.size() && IsWord(lock[at], "SKIP") && IsWord(lock[at + 1], "LOCKED") &&
               at + 2 == lock.size()) {
      lock_text += " SKIP LOCKED";
    } else if (at < lock.size() && IsWord(lock[at], "WAIT")) {
      Unsupported("FOR UPDATE WAIT");
    } else if (at != lock.size()) {
      Unsupported("FOR UPDATE mal formado");
    }
  }

  const bool first_row = row_limit.has_value();
  if (first_row && !row_limit->FirstRowOnly && !aggregate) {
    // Oracle numbers the rows before DISTINCT and ORDER BY of the same SELECT: ROWNUM <= 10 ... ORDER BY X
    // sorts ten rows taken as found, where LIMIT would take the first ten in that order.
    if (HasWordAt(tail_nodes, "ORDER"))
      Unsupported("ROWNUM <= n com ORDER BY no mesmo SELECT (ordene numa sub-consulta)");
    if (head_end > 1 && (IsWord(nodes[1], "DISTINCT") || IsWord(nodes[1], "UNIQUE"))) {
      Unsupported("ROWNUM <= n com DISTINCT no mesmo SELECT");
    }
  }
  const std::string tail_text = tail_nodes.empty() ? std::string() : List(tail_nodes, true);
  const bool wrap = first_row && in_compound && !aggregate;
  std::string out = SelectHead(nodes.first(head_end), keep_lead && !wrap) + into_text;

  if (first_row && aggregate) {
    // Oracle applies ROWNUM before aggregating: SELECT COUNT(*) ... AND ROWNUM = 1 counts at most one row.
    if (items.size() != 1 || !joins.empty()) Unsupported("ROWNUM com agregação sobre mais de uma tabela");
    if (items[0].ExposedText.empty()) Unsupported("ROWNUM com agregação sobre sub-consulta sem apelido");
    std::string inner = " (SELECT * FROM " + List(items[0].Nodes, false);
    if (!kept.empty()) {
      std::vector<std::string> conditions;
      for (const NodeSpan condition : kept) conditions.push_back(List(condition, false));
      inner += " WHERE " + Join(conditions, " AND ");
    }
    inner += " LIMIT " + row_limit->Count + ") " + items[0].ExposedText;
    Lead(nodes[from], true, out);
    return out + "FROM" + inner + tail_text + lock_text;
  }

  out += from_text + where_text + tail_text;
  if (first_row) out += " LIMIT " + row_limit->Count;
  out += lock_text;
  if (!wrap) return out;
  // A branch of UNION with its own LIMIT needs parentheses.
  std::string wrapped;
  Lead(nodes[0], keep_lead, wrapped);
  return wrapped + "(" + out + ")";
}

}  // namespace oradb::internal
