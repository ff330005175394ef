#include "oradb/internal/SelectBlock.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "oradb/EOraError.h"
#include "oradb/internal/SqlWords.h"

namespace oradb::internal {

namespace {

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

// ---- Clauses ----

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

// The first node of each clause; GROUP BY, HAVING and ORDER BY make one tail.
struct ClauseStarts {
  std::size_t Into = kNoClause;
  std::size_t From = kNoClause;
  std::size_t Where = kNoClause;
  std::size_t Tail = kNoClause;
  std::size_t ForUpdate = kNoClause;
  bool Grouped = false;
};

ClauseStarts FindClauseStarts(NodeSpan nodes) {
  ClauseStarts starts;
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (!IsWord(node)) continue;
    const std::string& word = node.Tok->Upper;
    if (word == "CONNECT" || (word == "START" && i + 1 < nodes.size() && IsWord(nodes[i + 1], "WITH"))) {
      Unsupported("consulta hierárquica (CONNECT BY)");
    }
    if (word == "INTO" && starts.Into == kNoClause && starts.From == kNoClause) starts.Into = i;
    if (word == "FROM" && starts.From == kNoClause) starts.From = i;
    if (word == "WHERE" && starts.Where == kNoClause) starts.Where = i;
    if ((word == "GROUP" || word == "HAVING" || word == "ORDER") && starts.Tail == kNoClause) starts.Tail = i;
    if (word == "GROUP" || word == "HAVING") starts.Grouped = true;
    if (word == "FOR" && i + 1 < nodes.size() && IsWord(nodes[i + 1], "UPDATE") && starts.ForUpdate == kNoClause) {
      starts.ForUpdate = i;
    }
  }
  // The clauses must come in SQL's order; anything else would make the slices overlap.
  std::size_t previous = 0;
  for (const std::size_t clause : {starts.Into, starts.From, starts.Where, starts.Tail, starts.ForUpdate}) {
    if (clause == kNoClause) continue;
    if (clause <= previous) throw ETranslationError("Consulta mal formada: cláusulas fora de ordem.");
    previous = clause;
  }
  return starts;
}

// ---- Plan ----

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
        FindWord(part[0].Kids, "OR") == kNoClause && ContainsMarkerOrRownum(part[0].Kids)) {
      for (const NodeSpan inner : FlattenConjuncts(part[0].Kids)) result.push_back(inner);
    } else {
      result.push_back(part);
    }
  }
  return result;
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

// The qualifier of the column that the (+) at `marker` follows: "A" for A.X(+), "O.T" for O.T.X(+).
std::string MarkedQualifier(NodeSpan nodes, std::size_t marker) {
  if (marker == 0 || !IsName(nodes[marker - 1])) Unsupported("(+) depois de algo que não é uma coluna");
  if (marker < 3 || !IsOp(nodes[marker - 2], ".")) Unsupported("(+) em coluna sem qualificador");
  std::size_t start = marker - 3;
  while (start >= 2 && IsOp(nodes[start - 1], ".") && IsName(nodes[start - 2])) start -= 2;
  std::string qualifier;
  for (std::size_t k = start; k + 2 < marker; k += 2) qualifier += (qualifier.empty() ? "" : ".") + NameKey(nodes[k]);
  return qualifier;
}

void ScanCondition(NodeSpan nodes, ConditionScan& scan) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const SqlNode& node = nodes[i];
    if (node.IsGroup()) {
      if (IsSubquery(node)) {
        scan.HasSubquery = true;
      } else if (IsOuterJoinMarker(node)) {
        scan.Marked.push_back(MarkedQualifier(nodes, i));
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

// The outer join a condition asks for with (+); nullopt when it has no (+).
std::optional<OuterJoinCondition> OuterJoinOf(NodeSpan condition, const std::vector<FromItem>& items) {
  ConditionScan scan;
  ScanCondition(condition, scan);
  if (scan.Marked.empty()) return std::nullopt;
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
  return join;
}

// ---- Rendering ----

std::string NameText(const SqlNode& node) {
  const std::string_view text = node.Tok->Text;
  if (text.find('#') != std::string_view::npos) return "\"" + ToLowerAscii(text) + "\"";
  return std::string(text);
}

std::string KeptConditions(SqlRewriter& rewriter, const SelectPlan& plan) {
  std::vector<std::string> conditions;
  for (const NodeSpan condition : plan.Kept) conditions.push_back(rewriter.List(condition, false));
  return Join(conditions, " AND ");
}

// PostgreSQL 15 wants an alias on every sub-query of FROM; Oracle does not.
std::string FromItemText(SqlRewriter& rewriter, const SelectPlan& plan, std::size_t index, bool keep_lead) {
  const FromItem& item = plan.Items[index];
  std::string text = rewriter.List(item.Nodes, keep_lead);
  if (item.Nodes.size() == 1 && IsSubquery(item.Nodes[0])) text += " ora_sub" + std::to_string(index + 1);
  return text;
}

// One comma item of the rewritten FROM: its first table, then CROSS JOIN and LEFT JOIN ... ON steps.
std::string JoinedItemText(SqlRewriter& rewriter, const SelectPlan& plan, const JoinItem& item) {
  std::string text = FromItemText(rewriter, plan, item.front().Item, false);
  for (std::size_t s = 1; s < item.size(); ++s) {
    const JoinStep& step = item[s];
    const std::string step_text = FromItemText(rewriter, plan, step.Item, false);
    if (!step.Outer) {
      text += " CROSS JOIN " + step_text;
      continue;
    }
    std::vector<std::string> conditions;
    {
      const SqlRewriter::OuterJoinMarkersDropped dropped(rewriter);
      for (const std::size_t c : step.Conditions) conditions.push_back(rewriter.List(plan.JoinConditions[c], false));
    }
    text += " LEFT JOIN " + step_text + " ON " + Join(conditions, " AND ");
  }
  return text;
}

// The tables FOR UPDATE OF names through its columns: PostgreSQL locks tables, Oracle names columns.
std::vector<std::string> TablesOfLockedColumns(NodeSpan columns, const std::vector<FromItem>& items) {
  std::vector<std::string> tables;
  for (const NodeSpan column : SplitAtCommas(columns)) {
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
  return tables;
}

std::string RowLimitCount(SqlRewriter& rewriter, const RowLimit& limit) {
  if (limit.Bound == nullptr) return limit.Count;
  // A bind that is NULL or below 1 lets no row through, as in Oracle.
  const std::string value = rewriter.Bind(*limit.Bound, true);
  const std::string whole = limit.Inclusive ? "pg_catalog.floor(" + value + ")" : "pg_catalog.ceil(" + value + ") - 1";
  return "GREATEST(COALESCE(" + whole + ", 0), 0)";
}

// Oracle numbers the rows before DISTINCT and ORDER BY of the same SELECT: ROWNUM <= 10 ... ORDER BY X
// sorts ten rows taken as found, where LIMIT would take the first ten in that order.
void CheckRowLimitOrder(const SelectClauses& clauses, const SelectPlan& plan) {
  if (!plan.Limit || plan.Limit->FirstRowOnly || clauses.Aggregate) return;
  const NodeSpan tail = clauses.TailNodes;
  if (std::any_of(tail.begin(), tail.end(), [](const SqlNode& node) { return IsWord(node, "ORDER"); })) {
    Unsupported("ROWNUM <= n com ORDER BY no mesmo SELECT (ordene numa sub-consulta)");
  }
  if (clauses.Head.size() > 1 && (IsWord(clauses.Head[1], "DISTINCT") || IsWord(clauses.Head[1], "UNIQUE"))) {
    Unsupported("ROWNUM <= n com DISTINCT no mesmo SELECT");
  }
}

// Oracle applies ROWNUM before aggregating: SELECT COUNT(*) ... AND ROWNUM = 1 counts at most one row.
// The FROM of the block becomes a sub-query holding the kept conditions and the limit.
std::string LimitedFromBeforeAggregate(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan) {
  if (plan.Items.size() != 1 || !plan.Joins.empty()) Unsupported("ROWNUM com agregação sobre mais de uma tabela");
  const FromItem& item = plan.Items[0];
  if (item.ExposedText.empty()) Unsupported("ROWNUM com agregação sobre sub-consulta sem apelido");
  std::string inner = " (SELECT * FROM " + rewriter.List(item.Nodes, false);
  if (!plan.Kept.empty()) inner += " WHERE " + KeptConditions(rewriter, plan);
  inner += " LIMIT " + RowLimitCount(rewriter, *plan.Limit) + ") " + item.ExposedText;
  std::string out;
  Lead(clauses.Block[clauses.From], true, out);
  return out + "FROM" + inner;
}

}  // namespace

SelectClauses LocateClauses(NodeSpan block) {
  if (block.empty() || !IsWord(block[0], "SELECT")) Unsupported("consulta que não começa por SELECT");
  const ClauseStarts starts = FindClauseStarts(block);
  SelectClauses clauses;
  clauses.Block = block;
  clauses.Into = starts.Into;
  clauses.From = starts.From;
  clauses.Where = starts.Where;
  clauses.Tail = starts.Tail;
  clauses.ForUpdate = starts.ForUpdate;
  const std::size_t end = starts.ForUpdate == kNoClause ? block.size() : starts.ForUpdate;
  // A clause runs to the next one that starts after it.
  const auto clause_end = [&](std::size_t start) {
    std::size_t stop = end;
    for (const std::size_t other : {starts.Into, starts.From, starts.Where, starts.Tail}) {
      if (other != kNoClause && other > start && other < stop) stop = other;
    }
    return stop;
  };
  const auto after_keyword = [&](std::size_t start) {
    return start == kNoClause ? NodeSpan() : block.subspan(start + 1, clause_end(start) - start - 1);
  };
  clauses.Head = block.first(clause_end(0));
  clauses.IntoTargets = after_keyword(starts.Into);
  clauses.FromList = after_keyword(starts.From);
  clauses.Conditions = after_keyword(starts.Where);
  if (starts.Tail != kNoClause) clauses.TailNodes = block.subspan(starts.Tail, end - starts.Tail);
  if (starts.ForUpdate != kNoClause) clauses.Lock = block.subspan(starts.ForUpdate);
  clauses.Aggregate = starts.Grouped || IsAggregateCall(clauses.Head);
  return clauses;
}

std::vector<FromItem> ParseFromItems(NodeSpan from_list) {
  std::vector<FromItem> items;
  for (const NodeSpan part : SplitAtCommas(from_list)) {
    if (part.empty()) Unsupported("FROM com item vazio");
    FromItem item;
    item.Nodes = part;
    item.Ansi = FindWord(part, "JOIN") != kNoClause;
    const SqlNode& last = part.back();
    const bool aliased = part.size() >= 2 && IsName(last) && !IsOp(part[part.size() - 2], ".");
    if (IsName(last)) {
      item.Exposed = NameKey(last);
      item.ExposedText = NameText(last);
    }
    if (IsName(last) && !aliased) {
      for (const SqlNode& node : part) {
        if (IsName(node)) item.FullName += (item.FullName.empty() ? "" : ".") + NameKey(node);
      }
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::optional<RowLimit> RownumCondition(NodeSpan condition) {
  if (condition.size() != 3 || condition[1].IsGroup() || condition[1].Tok->Kind != TokenKind::Op) return std::nullopt;
  std::string_view op = condition[1].Tok->Text;
  const SqlNode* bound = nullptr;
  if (IsWord(condition[0], "ROWNUM")) {
    bound = &condition[2];
  } else if (IsWord(condition[2], "ROWNUM")) {
    bound = &condition[0];
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
    if (op == "=") return n == 1 ? std::optional<RowLimit>(RowLimit{"1", nullptr, true, true}) : std::nullopt;
    const long count = op == "<=" ? n : std::max(0L, n - 1);
    return RowLimit{std::to_string(count), nullptr, true, count <= 1};
  }
  if (!IsKind(*bound, TokenKind::Bind) || op == "=") return std::nullopt;
  return RowLimit{"", bound, op == "<=", false};
}

SelectPlan PlanSelect(const SelectClauses& clauses) {
  SelectPlan plan;
  if (clauses.From != kNoClause) plan.Items = ParseFromItems(clauses.FromList);
  plan.Rewritten = ContainsMarkerOrRownum(clauses.Conditions);
  if (plan.Rewritten) {
    for (const NodeSpan condition : FlattenConjuncts(clauses.Conditions)) {
      if (std::optional<RowLimit> limit = RownumCondition(condition)) {
        if (clauses.From == kNoClause) Unsupported("ROWNUM em consulta sem FROM");
        if (plan.Limit) Unsupported("mais de uma condição ROWNUM na mesma consulta");
        plan.Limit = std::move(limit);
      } else if (std::optional<OuterJoinCondition> join = OuterJoinOf(condition, plan.Items)) {
        plan.Joins.push_back(std::move(*join));
        plan.JoinConditions.push_back(condition);
      } else {
        plan.Kept.push_back(condition);
      }
    }
  }
  plan.OuterItems.assign(plan.Items.size(), false);
  for (const OuterJoinCondition& join : plan.Joins) plan.OuterItems[join.OuterItem] = true;
  return plan;
}

std::string RenderInto(SqlRewriter& rewriter, const SelectClauses& clauses, QueryPlace place) {
  std::string text;
  if (clauses.Into == kNoClause) return text;
  if (place != QueryPlace::PlsqlInto) Unsupported("SELECT ... INTO fora de bloco PL/SQL");
  if (clauses.Into >= 2 && IsWord(clauses.Block[clauses.Into - 1], "COLLECT")) Unsupported("BULK COLLECT");
  for (const SqlNode& target : clauses.IntoTargets) {
    if (IsKind(target, TokenKind::Bind)) Unsupported("parâmetro de saída :" + target.Tok->Upper + " em SELECT INTO");
  }
  Lead(clauses.Block[clauses.Into], true, text);
  text += "INTO STRICT" + rewriter.List(clauses.IntoTargets, true);
  return text;
}

std::string RenderFrom(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan) {
  std::string text;
  if (clauses.From == kNoClause) return text;
  Lead(clauses.Block[clauses.From], true, text);
  text += "FROM";
  if (plan.Joins.empty()) {
    for (std::size_t i = 0; i < plan.Items.size(); ++i) {
      if (i > 0) {
        const NodeSpan previous = plan.Items[i - 1].Nodes;
        const SqlNode& comma = *(previous.data() + previous.size());
        Lead(comma, true, text);
        text += ",";
      }
      text += FromItemText(rewriter, plan, i, true);
    }
    return text;
  }
  std::vector<std::string> groups;
  for (const JoinItem& item : PlanOuterJoins(plan.Items.size(), plan.Joins)) {
    groups.push_back(JoinedItemText(rewriter, plan, item));
  }
  return text + " " + Join(groups, ", ");
}

std::string RenderWhere(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan) {
  std::string text;
  if (clauses.Where == kNoClause) return text;
  if (!plan.Rewritten) {
    Lead(clauses.Block[clauses.Where], true, text);
    return text + "WHERE" + rewriter.List(clauses.Conditions, true);
  }
  if (plan.Kept.empty()) return text;
  const std::string conditions = KeptConditions(rewriter, plan);
  Lead(clauses.Block[clauses.Where], true, text);
  return text + "WHERE " + conditions;
}

// PostgreSQL refuses to lock the nullable side of an outer join, so a lock over outer joins covers
// the preserved tables only.
std::string RenderForUpdate(const SelectClauses& clauses, const SelectPlan& plan) {
  std::string text;
  const NodeSpan lock = clauses.Lock;
  if (lock.empty()) return text;
  Lead(lock[0], true, text);
  text += "FOR";
  Lead(lock[1], true, text);
  text += "UPDATE";
  std::size_t at = 2;
  std::vector<std::string> tables;
  if (at < lock.size() && IsWord(lock[at], "OF")) {
    std::size_t stop = at + 1;
    while (stop < lock.size() && !IsWord(lock[stop], "NOWAIT") && !IsWord(lock[stop], "WAIT") &&
           !IsWord(lock[stop], "SKIP")) {
      ++stop;
    }
    tables = TablesOfLockedColumns(lock.subspan(at + 1, stop - at - 1), plan.Items);
    at = stop;
  } else if (!plan.Joins.empty()) {
    for (std::size_t i = 0; i < plan.Items.size(); ++i) {
      if (plan.OuterItems[i]) continue;
      if (plan.Items[i].ExposedText.empty()) Unsupported("FOR UPDATE sobre sub-consulta sem apelido");
      tables.push_back(plan.Items[i].ExposedText);
    }
  }
  if (!tables.empty()) text += " OF " + Join(tables, ", ");
  if (at < lock.size() && IsWord(lock[at], "NOWAIT") && at + 1 == lock.size()) {
    text += " NOWAIT";
  } else if (at + 1 < lock.size() && IsWord(lock[at], "SKIP") && IsWord(lock[at + 1], "LOCKED") &&
             at + 2 == lock.size()) {
    text += " SKIP LOCKED";
  } else if (at < lock.size() && IsWord(lock[at], "WAIT")) {
    Unsupported("FOR UPDATE WAIT");
  } else if (at != lock.size()) {
    Unsupported("FOR UPDATE mal formado");
  }
  return text;
}

std::string AssembleUnderRowLimit(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan,
                                  const RenderedClauses& rendered, bool in_compound, bool keep_lead) {
  CheckRowLimitOrder(clauses, plan);
  const bool limited = plan.Limit.has_value();
  const std::string tail = clauses.TailNodes.empty() ? std::string() : rewriter.List(clauses.TailNodes, true);
  const bool wrap = limited && in_compound && !clauses.Aggregate;
  std::string out = rewriter.SelectHead(clauses.Head, keep_lead && !wrap) + rendered.Into;
  if (limited && clauses.Aggregate)
    return out + LimitedFromBeforeAggregate(rewriter, clauses, plan) + tail + rendered.Lock;

  out += rendered.From + rendered.Where + tail;
  if (limited) out += " LIMIT " + RowLimitCount(rewriter, *plan.Limit);
  out += rendered.Lock;
  if (!wrap) return out;
  // A branch of UNION with its own LIMIT needs parentheses.
  std::string wrapped;
  Lead(clauses.Block[0], keep_lead, wrapped);
  return wrapped + "(" + out + ")";
}

}  // namespace oradb::internal
