#include "oradb/internal/SqlTree.h"

#include <string>

#include "oradb/EOraError.h"

namespace oradb::internal {

namespace {

[[noreturn]] void FailAt(const char* what, const Token& token) {
  throw ETranslationError(std::string(what) + " (posição " + std::to_string(token.Offset + 1) + ").");
}

}  // namespace

NodeList BuildSqlTree(const std::vector<Token>& tokens) {
  std::vector<NodeList> stack(1);
  std::vector<const Token*> opens;
  // Open CASE expressions of each level: the passes that look for a CASE's END scan ahead, so the
  // depth bounds their work too.
  std::vector<std::size_t> cases(1, 0);
  for (const Token& token : tokens) {
    if (token.Kind == TokenKind::Word && token.Upper == "CASE") {
      if (++cases.back() > kMaxGroupDepth) {
        FailAt(("Expressões CASE aninhadas em mais de " + std::to_string(kMaxGroupDepth) + " níveis").c_str(), token);
      }
    } else if (token.Kind == TokenKind::Word && token.Upper == "END" && cases.back() > 0) {
      --cases.back();
    }
    if (token.Kind == TokenKind::Op && token.Text == "(") {
      // Every pass over the tree recurses into groups: the depth bounds the stack they need.
      if (opens.size() == kMaxGroupDepth) {
        FailAt(("Parênteses aninhados em mais de " + std::to_string(kMaxGroupDepth) + " níveis").c_str(), token);
      }
      opens.push_back(&token);
      stack.emplace_back();
      cases.push_back(0);
    } else if (token.Kind == TokenKind::Op && token.Text == ")") {
      if (opens.empty()) FailAt("Parêntese ')' sem abertura", token);
      SqlNode group;
      group.Tok = opens.back();
      group.Close = &token;
      group.Kids = std::move(stack.back());
      opens.pop_back();
      stack.pop_back();
      cases.pop_back();
      stack.back().push_back(std::move(group));
    } else {
      stack.back().push_back(SqlNode{&token, nullptr, {}});
    }
  }
  if (!opens.empty()) FailAt("Parêntese '(' sem fechamento", *opens.back());
  return std::move(stack.front());
}

bool IsWord(const SqlNode& node) noexcept {
  return !node.IsGroup() && node.Tok->Kind == TokenKind::Word;
}

bool IsWord(const SqlNode& node, std::string_view upper) noexcept {
  return IsWord(node) && node.Tok->Upper == upper;
}

bool IsOp(const SqlNode& node, std::string_view op) noexcept {
  return !node.IsGroup() && node.Tok->Kind == TokenKind::Op && node.Tok->Text == op;
}

bool IsKind(const SqlNode& node, TokenKind kind) noexcept {
  return !node.IsGroup() && node.Tok->Kind == kind;
}

bool IsName(const SqlNode& node) noexcept {
  return IsWord(node) || IsKind(node, TokenKind::QuotedIdent);
}

std::string NameKey(const SqlNode& node) {
  if (IsKind(node, TokenKind::QuotedIdent)) return ToUpperAscii(node.Tok->Text.substr(1, node.Tok->Text.size() - 2));
  return node.Tok->Upper;
}

bool IsOuterJoinMarker(const SqlNode& node) noexcept {
  return node.IsGroup() && node.Kids.size() == 1 && IsOp(node.Kids[0], "+");
}

bool IsSubquery(const SqlNode& node) noexcept {
  return node.IsGroup() && !node.Kids.empty() && (IsWord(node.Kids[0], "SELECT") || IsWord(node.Kids[0], "WITH"));
}

std::size_t NumberLiteralAt(NodeSpan nodes, std::size_t at) noexcept {
  if (at >= nodes.size()) return 0;
  if (IsKind(nodes[at], TokenKind::Number)) return 1;
  if ((IsOp(nodes[at], "-") || IsOp(nodes[at], "+")) && at + 1 < nodes.size() &&
      IsKind(nodes[at + 1], TokenKind::Number)) {
    return 2;
  }
  return 0;
}

std::size_t FindWord(NodeSpan nodes, std::string_view upper, std::size_t from) noexcept {
  for (std::size_t i = from; i < nodes.size(); ++i) {
    if (IsWord(nodes[i], upper)) return i;
  }
  return std::string_view::npos;
}

std::vector<NodeSpan> SplitAtCommas(NodeSpan nodes) {
  std::vector<NodeSpan> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (IsOp(nodes[i], ",")) {
      parts.push_back(nodes.subspan(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(nodes.subspan(start));
  return parts;
}

}  // namespace oradb::internal
