#include "oradb/internal/SqlRewriter.h"

#include <algorithm>
#include <set>
#include <utility>

#include "oradb/EOraError.h"
#include "oradb/internal/SqlWords.h"

namespace oradb::internal {

namespace {

void Lead(const SqlNode& node, bool keep, std::string& out) {
  if (keep) AppendTrivia(out, node.Tok->Leading);
}

bool IsArithmetic(const SqlNode& node) {
  return IsOp(node, "+") || IsOp(node, "-") || IsOp(node, "*") || IsOp(node, "/");
}

bool IsComparison(const SqlNode& node) {
  if (node.IsGroup() || node.Tok->Kind != TokenKind::Op) return false;
  const std::string_view op = node.Tok->Text;
  return op == "=" || op == "<>" || op == "!=" || op == "^=" || op == "~=" || op == "<" || op == ">" || op == "<=" ||
         op == ">=";
}

bool IsSingleBind(NodeSpan arg) {
  return arg.size() == 1 && IsKind(arg[0], TokenKind::Bind);
}
bool IsEmptyString(const SqlNode& node) {
  return IsKind(node, TokenKind::String) && node.Tok->Text == "''";
}
bool IsWholeNumber(NodeSpan arg) {
  return !arg.empty() && NumberLiteralAt(arg, 0) == arg.size();
}
bool IsNullLiteral(NodeSpan arg) {
  return arg.size() == 1 && (IsWord(arg[0], "NULL") || IsEmptyString(arg[0]));
}
bool IsPlainLiteral(NodeSpan arg) {
  return IsWholeNumber(arg) || (arg.size() == 1 && IsKind(arg[0], TokenKind::String) && !IsEmptyString(arg[0]));
}

// An Oracle number format ("FM9990.00", "0000000"): a bind formatted with it is a number.
bool IsNumberFormat(NodeSpan arg) {
  if (arg.size() != 1 || !IsKind(arg[0], TokenKind::String) || IsEmptyString(arg[0])) return false;
  std::string_view format = arg[0].Tok->Text.substr(1, arg[0].Tok->Text.size() - 2);
  if (format.size() >= 2 && (format.substr(0, 2) == "FM" || format.substr(0, 2) == "fm")) format.remove_prefix(2);
  if (format.empty()) return false;
  for (const char c : format) {
    if (std::string_view("09.,$").find(c) == std::string_view::npos) return false;
  }
  return true;
}

// REPLACE(s, x) and REPLACE(s, x, ''): the occurrences are removed.
bool IsRemovingReplace(const SqlNode& args_group) {
  const std::vector<NodeSpan> args = SplitAtCommas(args_group.Kids);
  return args.size() == 2 || (args.size() == 3 && args[2].size() == 1 && IsEmptyString(args[2][0]));
}

// The string functions that can make '' of a non-empty argument in PostgreSQL.
bool ReturnsEmptyAsNull(std::string_view upper) {
  static constexpr std::string_view kNames[] = {"TRIM",      "LTRIM", "RTRIM", "SUBSTR",         "REPLACE",
                                                "TRANSLATE", "LPAD",  "RPAD",  "REGEXP_REPLACE", "REGEXP_SUBSTR"};
  return std::find(std::begin(kNames), std::end(kNames), upper) != std::end(kNames);
}

// Which single-bind (or NULL) arguments of NVL and TO_CHAR need a cast: 0 none, 1 numeric, 2 text.
std::vector<int> BindCasts(std::string_view upper, const SqlNode& args_group) {
  const std::vector<NodeSpan> args = SplitAtCommas(args_group.Kids);
  std::vector<int> casts(args.size(), 0);
  if (upper == "NVL" && args.size() == 2) {
    // A bind or a NULL beside a literal takes the literal's type (NVL(NULL, 5) is 5, not ambiguous).
    for (std::size_t side = 0; side < 2; ++side) {
      if (!IsSingleBind(args[side]) && !IsNullLiteral(args[side])) continue;
      if (IsWholeNumber(args[1 - side])) casts[side] = 1;
      if (IsPlainLiteral(args[1 - side]) && !IsWholeNumber(args[1 - side])) casts[side] = 2;
    }
  } else if (upper == "TO_CHAR" && !args.empty() && IsSingleBind(args[0])) {
    if (args.size() == 1 || (args.size() == 2 && IsNumberFormat(args[1]))) casts[0] = 1;
  }
  return casts;
}

bool IsCanonicalQuotedName(std::string_view quoted) {
  if (quoted.size() < 3) return false;
  const std::string_view name = quoted.substr(1, quoted.size() - 2);
  if (!((name[0] >= 'A' && name[0] <= 'Z') || name[0] == '_')) return false;
  for (const char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
    if (!ok) return false;
  }
  return true;
}

// Parses one operand of || (Oracle gives || the precedence of binary + and -, so an operand is a
// product: unary signs, primaries and * or /). Returns the index after it, or 0 when none starts here.
std::size_t ScanPrimary(NodeSpan nodes, std::size_t at) {
  if (at >= nodes.size()) return 0;
  const SqlNode& node = nodes[at];
  if (node.IsGroup()) return IsOuterJoinMarker(node) ? 0 : at + 1;
  switch (node.Tok->Kind) {
    case TokenKind::String:
    case TokenKind::Number:
    case TokenKind::Bind:
      return at + 1;
    case TokenKind::Word:
    case TokenKind::QuotedIdent:
      break;
    default:
      return 0;
  }
  if (IsWord(node)) {
    if (node.Tok->Upper == "CASE") {
      int depth = 0;
      for (std::size_t i = at; i < nodes.size(); ++i) {
        if (IsWord(nodes[i], "CASE")) ++depth;
        if (IsWord(nodes[i], "END") && --depth == 0) return i + 1;
      }
      return 0;
    }
    if (IsNonOperandWord(node.Tok->Upper) || node.Tok->Upper == "END") return 0;
    if ((node.Tok->Upper == "DATE" || node.Tok->Upper == "TIMESTAMP") && at + 1 < nodes.size() &&
        IsKind(nodes[at + 1], TokenKind::String)) {
      return at + 2;
    }
  }
  std::size_t end = at + 1;
  while (end + 1 < nodes.size() && IsOp(nodes[end], ".") &&
         (IsWord(nodes[end + 1]) || IsKind(nodes[end + 1], TokenKind::QuotedIdent) || IsOp(nodes[end + 1], "*"))) {
    end += 2;
  }
  if (end < nodes.size() && nodes[end].IsGroup()) ++end;
  return end;
}

std::size_t ScanOperand(NodeSpan nodes, std::size_t at) {
  std::size_t pos = at;
  while (pos < nodes.size() && (IsOp(nodes[pos], "-") || IsOp(nodes[pos], "+"))) ++pos;
  pos = ScanPrimary(nodes, pos);
  if (pos == 0) return 0;
  while (pos < nodes.size() && (IsOp(nodes[pos], "*") || IsOp(nodes[pos], "/"))) {
    std::size_t next = pos + 1;
    while (next < nodes.size() && (IsOp(nodes[next], "-") || IsOp(nodes[next], "+"))) ++next;
    next = ScanPrimary(nodes, next);
    if (next == 0) break;
    pos = next;
  }
  return pos;
}

// A name followed by its arguments (not the (+) marker).
bool IsCallAt(NodeSpan nodes, std::size_t at) {
  return at + 1 < nodes.size() && nodes[at + 1].IsGroup() && !IsOuterJoinMarker(nodes[at + 1]);
}

[[noreturn]] void Unsupported(const std::string& what) {
  throw ETranslationError("Construção Oracle não suportada: " + what);
}

}  // namespace

std::string BindMarker(std::size_t bind_index) {
  return "\x01" + std::to_string(bind_index) + "\x02";
}

SqlRewriter::SqlRewriter(BindTyping& typing, const PlsqlVariables* variables)
    : FTyping(typing), FVariables(variables) {}

std::string SqlRewriter::List(NodeSpan nodes, bool keep_lead) {
  std::string out;
  std::size_t at = 0;
  while (at < nodes.size()) {
    const bool keep = keep_lead || at > 0;
    if (const std::size_t end = ConcatChainEnd(nodes, at); end != 0) {
      Lead(nodes[at], keep, out);
      out += Concat(nodes, at, end);
      at = end;
    } else {
      at = Item(nodes, at, keep, out);
    }
  }
  return out;
}

std::size_t SqlRewriter::Item(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const SqlNode& node = nodes[at];
  if (node.IsGroup()) {
    GroupItem(node, keep_lead, out);
    return at + 1;
  }
  if (node.Tok->Kind != TokenKind::Word) {
    TokenItem(nodes, at, keep_lead, out);
    return at + 1;
  }
  // After a dot a word is a member name, never a keyword, function or variable of its own.
  if (at == 0 || !IsOp(nodes[at - 1], ".")) {
    if (const std::size_t end = SequenceItem(nodes, at, keep_lead, out); end != 0) return end;
    if (const std::size_t end = KeywordItem(nodes, at, keep_lead, out); end != 0) return end;
    if (const std::size_t end = CallOrVariableItem(nodes, at, keep_lead, out); end != 0) return end;
  }
  Lead(node, keep_lead, out);
  out += Word(node);
  return at + 1;
}

void SqlRewriter::GroupItem(const SqlNode& group, bool keep_lead, std::string& out) {
  if (IsOuterJoinMarker(group)) {
    if (FDropMarkers) return;
    Unsupported("(+) fora de uma condição WHERE de consulta");
  }
  Lead(group, keep_lead, out);
  out += Group(group);
}

void SqlRewriter::TokenItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const SqlNode& node = nodes[at];
  const Token& token = *node.Tok;
  if (token.Kind == TokenKind::Op) {
    if (token.Text == "@") Unsupported("ligação de banco (@)");
    if (token.Text == "%" && at + 1 < nodes.size() && IsWord(nodes[at + 1])) {
      Unsupported("atributo %" + nodes[at + 1].Tok->Upper);
    }
  }
  Lead(node, keep_lead, out);
  switch (token.Kind) {
    case TokenKind::Bind:
      out += IsNullTestOperand(nodes, at) ? NullTestBind(node) : Bind(node, NeedsNumericCast(nodes, at));
      return;
    case TokenKind::String:
      // Oracle stores and compares '' as NULL.
      out += IsEmptyString(node) ? std::string_view("NULL") : token.Text;
      return;
    case TokenKind::QuotedIdent:
      // "ZTLANC" names the table Oracle stores upper case; PostgreSQL stores it lower case.
      out += IsCanonicalQuotedName(token.Text) ? ToLowerAscii(token.Text) : std::string(token.Text);
      return;
    case TokenKind::Op:
      out += (token.Text == "^=" || token.Text == "~=") ? std::string_view("<>") : token.Text;
      return;
    case TokenKind::Number:
    case TokenKind::Word:
    case TokenKind::BracketName:  // not in Oracle SQL: LexMode::Sql never makes these two
    case TokenKind::Invalid:
      out += token.Text;
      return;
  }
}

// seq.NEXTVAL / owner.seq.CURRVAL: the sequence functions of PostgreSQL, names folded to lower case.
std::size_t SqlRewriter::SequenceItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  std::size_t end = at + 1;
  std::string path = ToLowerAscii(nodes[at].Tok->Text);
  while (end + 1 < nodes.size() && IsOp(nodes[end], ".") && IsWord(nodes[end + 1])) {
    const std::string& part = nodes[end + 1].Tok->Upper;
    if (part == "NEXTVAL" || part == "CURRVAL") {
      Lead(nodes[at], keep_lead, out);
      out += (part == "NEXTVAL" ? "nextval('" : "currval('") + path + "')";
      return end + 2;
    }
    path += "." + ToLowerAscii(nodes[end + 1].Tok->Text);
    end += 2;
  }
  return 0;
}

// The pseudo-columns and views that read differently in PostgreSQL, or not at all.
std::size_t SqlRewriter::KeywordItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const SqlNode& node = nodes[at];
  const std::string& upper = node.Tok->Upper;
  if (upper == "ROWNUM") Unsupported("ROWNUM fora de uma condição ROWNUM <= n do WHERE");
  if (upper == "CURRENT_DATE" || upper == "SYSTIMESTAMP" || upper == "LEVEL" || upper == "PRIOR") Unsupported(upper);
  if (upper == "SYSDATE" && !IsCallAt(nodes, at)) {
    Lead(node, keep_lead, out);
    out += kSysdateExpression;
    return at + 1;
  }
  if (upper == "USER_TAB_COLUMNS" && !(at + 1 < nodes.size() && IsOp(nodes[at + 1], "."))) {
    // orafce's view lists every schema with lower-case names; ours reads like Oracle's.
    Lead(node, keep_lead, out);
    out += "public.user_tab_columns";
    return at + 1;
  }
  return 0;
}

std::size_t SqlRewriter::CallOrVariableItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const bool variable = FVariables != nullptr && FVariables->count(nodes[at].Tok->Upper) != 0;
  if (variable) return VariableItem(nodes, at, keep_lead, out);
  return IsCallAt(nodes, at) ? FunctionCall(nodes, at, keep_lead, out) : 0;
}

// A PL/SQL collection: the element v(i) is v[i] in PL/pgSQL, v.COUNT the length of its array.
std::size_t SqlRewriter::VariableItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const SqlNode& node = nodes[at];
  if (IsCallAt(nodes, at)) {
    Lead(node, keep_lead, out);
    out += node.Tok->Text;
    out += "[" + List(nodes[at + 1].Kids, false) + "]";
    return at + 2;
  }
  if (at + 2 >= nodes.size() || !IsOp(nodes[at + 1], ".") || !IsWord(nodes[at + 2])) return 0;
  const std::string& member = nodes[at + 2].Tok->Upper;
  const bool member_call = at + 3 < nodes.size() && nodes[at + 3].IsGroup();
  if (member == "COUNT" && !member_call) {
    Lead(node, keep_lead, out);
    out += "coalesce(array_length(" + std::string(node.Tok->Text) + ", 1), 0)";
    return at + 3;
  }
  if (IsCollectionMethod(member)) Unsupported("método " + member + " de coleção");
  if (member_call) Unsupported("chamada de método de objeto dentro de expressão");
  return 0;
}

// The Oracle functions whose PostgreSQL namesake answers differently or cannot type a bare bind.
// Returns the node after the call, or 0 when the call is rendered as it stands.
std::size_t SqlRewriter::FunctionCall(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out) {
  const SqlNode& node = nodes[at];
  const SqlNode& args_group = nodes[at + 1];
  const std::string& upper = node.Tok->Upper;
  const std::string name(node.Tok->Text);
  std::string text;
  if (upper == "DECODE") {
    text = Decode(args_group);
  } else if (upper == "REPLACE" && IsRemovingReplace(args_group)) {
    // Oracle's REPLACE removes the text when the replacement is '' (NULL) or left out; PostgreSQL's
    // gives NULL for a NULL replacement and needs three arguments.
    const std::vector<NodeSpan> args = SplitAtCommas(args_group.Kids);
    text = name + "(" + List(args[0], false) + ", " + List(args[1], false) + ", '')";
  } else if (upper == "NVL" || upper == "TO_CHAR") {
    text = name;
    Lead(args_group, true, text);
    text += CallWithBindCasts(args_group, BindCasts(upper, args_group));
  } else if (upper == "GREATEST" || upper == "LEAST") {
    text = NullPropagatingCall(name, args_group);
  } else if (ReturnsEmptyAsNull(upper)) {
    text = name;
    Lead(args_group, true, text);
    text += Group(args_group);
  } else {
    return 0;
  }
  Lead(node, keep_lead, out);
  // '' is NULL: a string function whose PostgreSQL namesake returns '' (TRIM('  '), SUBSTR('ab', 5))
  // answers NULL, as Oracle's does.
  out += ReturnsEmptyAsNull(upper) ? "NULLIF(" + text + ", '')" : text;
  return at + 2;
}

// Oracle's GREATEST and LEAST are NULL when any argument is; PostgreSQL's skip NULLs. A bind beside
// a number is a number, beside a text a text (PostgreSQL would take the literal's type, integer for 0).
std::string SqlRewriter::NullPropagatingCall(const std::string& name, const SqlNode& args_group) {
  const std::vector<NodeSpan> args = SplitAtCommas(args_group.Kids);
  int bind_cast = 0;  // 0 none, 1 numeric, 2 text
  for (const NodeSpan arg : args) {
    if (IsWholeNumber(arg)) bind_cast = 1;
    if (bind_cast == 0 && IsPlainLiteral(arg)) bind_cast = 2;
  }
  std::vector<int> casts(args.size(), 0);
  std::string tests;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const NodeSpan arg = args[i];
    if (arg.empty() || IsPlainLiteral(arg)) continue;
    if (!tests.empty()) tests += " OR ";
    if (!IsSingleBind(arg)) {
      tests += "(" + List(arg, false) + ") IS NULL";
      continue;
    }
    casts[i] = bind_cast;
    if (bind_cast == 1) {
      tests += Bind(arg[0], true);
    } else if (bind_cast == 2) {
      SeenUse(arg[0].Tok->BindIndex).Other = true;
      tests += "CAST(" + BindMarker(arg[0].Tok->BindIndex) + " AS text)";
    } else {
      tests += NullTestBind(arg[0]);
    }
    tests += " IS NULL";
  }
  std::string call = name;
  Lead(args_group, true, call);
  call += CallWithBindCasts(args_group, casts);
  if (tests.empty()) return call;
  return "CASE WHEN " + tests + " THEN NULL ELSE " + call + " END";
}

std::string SqlRewriter::Word(const SqlNode& word) const {
  const std::string_view text = word.Tok->Text;
  // OBJ#, OWNER#: '#' is not an identifier character in PostgreSQL.
  if (text.find('#') != std::string_view::npos) return "\"" + ToLowerAscii(text) + "\"";
  return std::string(text);
}

std::string SqlRewriter::Group(const SqlNode& group) {
  std::string out = "(";
  if (IsSubquery(group)) {
    out += Query(group.Kids, QueryPlace::Nested, true);
  } else {
    out += List(group.Kids, true);
  }
  AppendTrivia(out, group.Close->Leading);
  out += ")";
  return out;
}

BindTyping::Use& SqlRewriter::SeenUse(std::size_t index) {
  if (FTyping.Seen.size() <= index) FTyping.Seen.resize(index + 1);
  return FTyping.Seen[index];
}

BindTyping::Use SqlRewriter::FinalUse(std::size_t index) const {
  return index < FTyping.Final.size() ? FTyping.Final[index] : BindTyping::Use{};
}

void BindTyping::NextPass() {
  Final = std::move(Seen);
  Seen.clear();
  Aliases.clear();
}

std::string SqlRewriter::Bind(const SqlNode& bind, bool numeric) {
  const std::size_t index = bind.Tok->BindIndex;
  BindTyping::Use& use = SeenUse(index);
  use.Other = true;
  if (!numeric) return BindMarker(index);
  use.Numeric = true;
  return "CAST(" + BindMarker(index) + " AS numeric)";
}

std::string SqlRewriter::NullTestBind(const SqlNode& bind) {
  const std::size_t index = bind.Tok->BindIndex;
  SeenUse(index).NullTest = true;
  const BindTyping::Use use = FinalUse(index);
  if (use.Numeric) return Bind(bind, true);
  if (!use.Other) return "CAST(" + BindMarker(index) + " AS text)";
  const auto found = std::find(FTyping.Aliases.begin(), FTyping.Aliases.end(), index);
  const std::size_t alias = static_cast<std::size_t>(found - FTyping.Aliases.begin());
  if (found == FTyping.Aliases.end()) FTyping.Aliases.push_back(index);
  return "CAST(" + BindMarker(FTyping.BindCount + alias) + " AS text)";
}

// A bind that is the whole operand of IS [NOT] NULL: nothing before it binds tighter than IS.
bool SqlRewriter::IsNullTestOperand(NodeSpan nodes, std::size_t at) const {
  if (at + 2 >= nodes.size() || !IsWord(nodes[at + 1], "IS")) return false;
  const bool null_next = IsWord(nodes[at + 2], "NULL") ||
                         (IsWord(nodes[at + 2], "NOT") && at + 3 < nodes.size() && IsWord(nodes[at + 3], "NULL"));
  if (!null_next) return false;
  return at == 0 || IsOp(nodes[at - 1], ",") || (IsWord(nodes[at - 1]) && !IsOperandEnd(nodes[at - 1]));
}

std::string SqlRewriter::ConcatOperandBind(const SqlNode& bind) {
  const std::size_t index = bind.Tok->BindIndex;
  if (FinalUse(index).Numeric) return Bind(bind, true);
  SeenUse(index).Other = true;
  return "CAST(" + BindMarker(index) + " AS text)";
}

bool SqlRewriter::NeedsNumericCast(NodeSpan nodes, std::size_t at) const {
  const auto literal_or_bind = [&](std::size_t i) {
    return NumberLiteralAt(nodes, i) != 0 || (i < nodes.size() && IsKind(nodes[i], TokenKind::Bind));
  };
  if (at + 1 < nodes.size()) {
    const SqlNode& right = nodes[at + 1];
    if (IsArithmetic(right) && literal_or_bind(at + 2)) return true;
    if (IsComparison(right) && NumberLiteralAt(nodes, at + 2) != 0) return true;
  }
  if (at >= 1) {
    const SqlNode& left = nodes[at - 1];
    const bool unary = at == 1 || !IsOperandEnd(nodes[at - 2]);
    if ((IsOp(left, "-") || IsOp(left, "+")) && unary) return true;
    if (IsArithmetic(left) && !unary &&
        (IsKind(nodes[at - 2], TokenKind::Number) || IsKind(nodes[at - 2], TokenKind::Bind))) {
      return true;
    }
    if (IsComparison(left) && at >= 2 && IsKind(nodes[at - 2], TokenKind::Number)) return true;
  }
  return false;
}

std::size_t SqlRewriter::ConcatChainEnd(NodeSpan nodes, std::size_t at) const {
  const auto is_sign = [](const SqlNode& node) { return IsOp(node, "+") || IsOp(node, "-"); };
  if (is_sign(nodes[at]) && at > 0 && IsOperandEnd(nodes[at - 1])) return 0;  // a binary sign, not a start
  std::size_t end = ScanOperand(nodes, at);
  if (end == 0 || end >= nodes.size() || !IsOp(nodes[end], "||")) return 0;
  while (end < nodes.size() && IsOp(nodes[end], "||")) {
    end = ScanOperand(nodes, end + 1);
    if (end == 0) Unsupported("operando de || não reconhecido");
  }
  // Oracle reads a || b + c as (a || b) + c; PostgreSQL as a || (b + c). Parentheses settle it.
  if ((at >= 2 && is_sign(nodes[at - 1]) && IsOperandEnd(nodes[at - 2])) ||
      (end < nodes.size() && is_sign(nodes[end]))) {
    Unsupported("|| misturado com + ou - sem parênteses");
  }
  return end;
}

// Oracle's || skips NULL operands and gives NULL for an empty result ('' is NULL); PostgreSQL's ||
// gives NULL as soon as one operand is NULL. concat() skips NULLs; NULLIF turns '' back into NULL.
std::string SqlRewriter::Concat(NodeSpan nodes, std::size_t from, std::size_t to) {
  std::string out = "NULLIF(concat(";
  std::size_t start = from;
  bool first = true;
  for (std::size_t i = from; i <= to; ++i) {
    if (i < to && !IsOp(nodes[i], "||")) continue;
    const NodeSpan operand = nodes.subspan(start, i - start);
    if (!first) out += ", ";
    first = false;
    out += IsSingleBind(operand) ? ConcatOperandBind(operand[0]) : List(operand, false);
    start = i + 1;
  }
  out += "), '')";
  return out;
}

// DECODE compares with NULL matching NULL and needs no common type between the value and the search
// values (orafce's DECODE does, and takes at most three pairs): a CASE does both.
std::string SqlRewriter::Decode(const SqlNode& args_group) {
  const std::vector<NodeSpan> args = SplitAtCommas(args_group.Kids);
  if (args.size() < 3 || args[0].empty()) Unsupported("DECODE com menos de três argumentos");
  const NodeSpan value = args[0];
  bool all_literal = true;
  bool numeric_search = false;
  bool numeric_result = false;
  for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
    if (!IsPlainLiteral(args[i])) all_literal = false;
    if (IsWholeNumber(args[i])) numeric_search = true;
  }
  for (std::size_t i = 2; i < args.size(); i += 2) {
    if (IsWholeNumber(args[i])) numeric_result = true;
  }
  if (args.size() % 2 == 0 && IsWholeNumber(args.back())) numeric_result = true;

  bool null_search = false;
  for (std::size_t i = 1; i + 1 < args.size(); i += 2) null_search = null_search || IsNullLiteral(args[i]);

  const auto result = [&](NodeSpan arg) { return IsSingleBind(arg) ? Bind(arg[0], numeric_result) : List(arg, false); };
  std::string value_text;
  if (IsSingleBind(value)) {
    // Compared with NULL, the bind alone gives PostgreSQL no type; text compares as Oracle would.
    value_text = null_search && !numeric_search ? NullTestBind(value[0]) : Bind(value[0], numeric_search);
  } else {
    value_text = List(value, false);
  }
  if (!all_literal && value.size() > 1) value_text = "(" + value_text + ")";

  std::string out = all_literal ? "CASE " + value_text : "CASE";
  for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
    const NodeSpan search = args[i];
    out += " WHEN ";
    if (all_literal) {
      out += List(search, false);
    } else if (IsNullLiteral(search)) {
      out += value_text + " IS NULL";
    } else if (IsPlainLiteral(search)) {
      out += value_text + " = " + List(search, false);
    } else {
      out += value_text + " IS NOT DISTINCT FROM (" + List(search, false) + ")";
    }
    out += " THEN " + result(args[i + 1]);
  }
  if (args.size() % 2 == 0) out += " ELSE " + result(args.back());
  out += " END";
  return out;
}

std::string SqlRewriter::CallWithBindCasts(const SqlNode& args_group, const std::vector<int>& casts) {
  std::string out = "(";
  const NodeSpan kids = args_group.Kids;
  std::size_t start = 0;
  std::size_t arg = 0;
  for (std::size_t i = 0; i <= kids.size(); ++i) {
    if (i < kids.size() && !IsOp(kids[i], ",")) continue;
    const NodeSpan piece = kids.subspan(start, i - start);
    const int cast = arg < casts.size() ? casts[arg] : 0;
    if (cast != 0 && IsNullLiteral(piece)) {
      Lead(piece[0], true, out);
      out += cast == 1 ? "CAST(NULL AS numeric)" : "CAST(NULL AS text)";
    } else if (cast != 0 && IsSingleBind(piece)) {
      Lead(piece[0], true, out);
      if (cast == 1) {
        out += Bind(piece[0], true);
      } else {
        SeenUse(piece[0].Tok->BindIndex).Other = true;
        out += "CAST(" + BindMarker(piece[0].Tok->BindIndex) + " AS text)";
      }
    } else {
      out += List(piece, true);
    }
    if (i < kids.size()) {
      Lead(kids[i], true, out);
      out += ",";
    }
    start = i + 1;
    ++arg;
  }
  AppendTrivia(out, args_group.Close->Leading);
  out += ")";
  return out;
}

}  // namespace oradb::internal
