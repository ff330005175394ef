#include "oradb/internal/PlsqlBlock.h"

#include <initializer_list>

#include "oradb/EOraError.h"
#include "oradb/internal/SqlWords.h"

namespace oradb::internal {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

[[noreturn]] void Unsupported(const std::string& what) {
  throw ETranslationError("Construção Oracle não suportada: " + what);
}

[[noreturn]] void Malformed(const std::string& what) {
  throw ETranslationError("Bloco PL/SQL mal formado: " + what);
}

void Lead(const SqlNode& node, std::string& out) {
  AppendTrivia(out, node.Tok->Leading);
}

bool IsOneOf(const SqlNode& node, std::initializer_list<std::string_view> words) {
  if (!IsWord(node)) return false;
  for (const std::string_view word : words) {
    if (node.Tok->Upper == word) return true;
  }
  return false;
}

// Oracle's predefined exceptions that PL/pgSQL knows under another name.
std::string ExceptionName(const SqlNode& name) {
  const std::string& upper = name.Tok->Upper;
  if (upper == "NO_DATA_FOUND" || upper == "TOO_MANY_ROWS" || upper == "OTHERS") return ToLowerAscii(upper);
  if (upper == "DUP_VAL_ON_INDEX") return "unique_violation";
  if (upper == "ZERO_DIVIDE") return "division_by_zero";
  Unsupported("exceção " + upper);
}

// Nodes as written (a type such as ZTLANC.VALOR%TYPE needs no rewriting).
std::string Raw(NodeSpan nodes, bool keep_lead) {
  std::string out;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (keep_lead || i > 0) Lead(nodes[i], out);
    out += nodes[i].Tok->Text;
    if (nodes[i].IsGroup()) {
      out += Raw(nodes[i].Kids, true);
      AppendTrivia(out, nodes[i].Close->Leading);
      out += ")";
    }
  }
  return out;
}

bool IsScalarType(const std::string& type) {
  for (const std::string_view scalar :
       {"NUMBER",      "NUMERIC",        "DECIMAL",   "DEC",           "VARCHAR2",       "VARCHAR", "NVARCHAR2",
        "CHAR",        "NCHAR",          "CHARACTER", "DATE",          "INTEGER",        "INT",     "SMALLINT",
        "PLS_INTEGER", "BINARY_INTEGER", "NATURAL",   "POSITIVE",      "SIMPLE_INTEGER", "BOOLEAN", "CLOB",
        "NCLOB",       "LONG",           "FLOAT",     "BINARY_DOUBLE", "BINARY_FLOAT",   "REAL",    "DOUBLE",
        "TIMESTAMP"}) {
    if (type == scalar || type.rfind(std::string(scalar) + "(", 0) == 0) return true;
  }
  return type.find('%') != std::string::npos;
}

class PlsqlTranslator {
 public:
  PlsqlTranslator(NodeSpan nodes, BindTyping& typing) : FNodes(nodes), FTyping(typing) {}

  std::string Run() {
    std::string out = Block(PlsqlVariables());
    if (FPos < FNodes.size()) Malformed("texto depois do END final");
    return out;
  }

 private:
  [[nodiscard]] bool AtEnd() const { return FPos >= FNodes.size(); }
  [[nodiscard]] const SqlNode& Current() const {
    if (AtEnd()) Malformed("o texto termina antes do END final");
    return FNodes[FPos];
  }

  // Copies the current node (a keyword) with its trivia.
  std::string Take() {
    std::string out;
    Lead(Current(), out);
    out += Current().Tok->Text;
    ++FPos;
    return out;
  }

  std::string Expect(std::string_view word) {
    if (!IsWord(Current(), word)) Malformed("esperado " + std::string(word));
    return Take();
  }

  std::string ExpectSemicolon() {
    if (!IsOp(Current(), ";")) Malformed("esperado ';'");
    return Take();
  }

  // The nodes up to the next ";" of this level; the ";" is left for the caller.
  NodeSpan UntilSemicolon() {
    const std::size_t start = FPos;
    while (!IsOp(Current(), ";")) ++FPos;
    return FNodes.subspan(start, FPos - start);
  }

  // The nodes up to `word` at this level, outside CASE expressions.
  NodeSpan UntilWord(std::string_view word) {
    const std::size_t start = FPos;
    int case_depth = 0;
    while (true) {
      const SqlNode& node = Current();
      if (IsWord(node, "CASE")) ++case_depth;
      if (IsWord(node, "END") && case_depth > 0) {
        --case_depth;
      } else if (case_depth == 0 && IsWord(node, word)) {
        break;
      }
      if (IsOp(node, ";")) Malformed("esperado " + std::string(word));
      ++FPos;
    }
    return FNodes.subspan(start, FPos - start);
  }

  std::string Expr(NodeSpan nodes, const PlsqlVariables& scope, bool keep_lead = true) {
    SqlRewriter rewriter(FTyping, &scope);
    return rewriter.List(nodes, keep_lead);
  }

  std::string Block(PlsqlVariables scope) {
    std::string out;
    if (IsWord(Current(), "DECLARE")) {
      out += Take();
      while (!IsWord(Current(), "BEGIN")) out += Declaration(scope);
    }
    out += Expect("BEGIN");
    out += Statements(scope, {"END", "EXCEPTION"});
    if (IsWord(Current(), "EXCEPTION")) {
      out += Take();
      while (IsWord(Current(), "WHEN")) out += Handler(scope);
    }
    out += Expect("END");
    if (IsWord(Current())) out += Take();  // a block label
    return out + ExpectSemicolon();
  }

  std::string Declaration(PlsqlVariables& scope) {
    const NodeSpan decl = UntilSemicolon();
    if (decl.empty() || !IsWord(decl[0])) Malformed("declaração vazia");
    if (IsOneOf(decl[0], {"CURSOR", "TYPE", "SUBTYPE", "PRAGMA", "PROCEDURE", "FUNCTION"})) {
      Unsupported("declaração " + decl[0].Tok->Upper + " em bloco PL/SQL");
    }
    std::size_t at = 1;
    if (at < decl.size() && IsWord(decl[at], "CONSTANT")) ++at;
    std::size_t type_end = at;
    while (type_end < decl.size() && !IsWord(decl[type_end], "NOT") && !IsOp(decl[type_end], ":=") &&
           !IsWord(decl[type_end], "DEFAULT")) {
      ++type_end;
    }
    const NodeSpan type = decl.subspan(at, type_end - at);
    if (type.empty()) Malformed("declaração sem tipo: " + decl[0].Tok->Upper);
    if (IsWord(type[0], "EXCEPTION")) Unsupported("exceção declarada no bloco");

    std::string type_key;
    for (const SqlNode& node : type) {
      if (node.IsGroup()) {
        type_key += "(";
        for (const SqlNode& kid : node.Kids) type_key += kid.IsGroup() ? "()" : ToUpperAscii(kid.Tok->Text);
        type_key += ")";
      } else {
        type_key += ToUpperAscii(node.Tok->Text);
      }
    }
    scope[decl[0].Tok->Upper] = type_key;

    std::string out = Expr(decl.first(at), scope);
    Lead(type[0], out);
    out += Type(type);
    out += Expr(decl.subspan(type_end), scope);
    return out + ExpectSemicolon();
  }

  // NUMBER(p,s) is numeric(p,s), VARCHAR2(n) varchar(n), DATE timestamp(0) (a DATE holds seconds);
  // object and collection types keep their names, which PostgreSQL folds to lower case.
  std::string Type(NodeSpan type) {
    const std::string name = IsWord(type[0]) ? type[0].Tok->Upper : std::string();
    const bool sized = type.size() == 2 && type[1].IsGroup();
    const auto size_text = [&](bool keep_scale) {
      std::string text;
      for (const SqlNode& kid : type[1].Kids) {
        if (kid.IsGroup() || IsOp(kid, "*")) Unsupported("tamanho de tipo " + name);
        if (IsWord(kid, "BYTE") || IsWord(kid, "CHAR")) continue;
        if (IsOp(kid, ",") && !keep_scale) break;
        text += kid.Tok->Text;
      }
      return "(" + text + ")";
    };
    if (name == "NUMBER" || name == "NUMERIC" || name == "DECIMAL" || name == "DEC") {
      if (type.size() == 1) return "numeric";
      if (sized) return "numeric" + size_text(true);
    } else if (name == "VARCHAR2" || name == "VARCHAR" || name == "NVARCHAR2") {
      if (type.size() == 1) return "varchar";
      if (sized) return "varchar" + size_text(false);
    } else if (name == "CHAR" || name == "NCHAR" || name == "CHARACTER") {
      if (type.size() == 1) return "char";
      if (sized) return "char" + size_text(false);
    } else if (type.size() == 1) {
      if (name == "DATE") return "timestamp(0)";
      if (name == "INTEGER" || name == "INT" || name == "SMALLINT" || name == "PLS_INTEGER" ||
          name == "BINARY_INTEGER" || name == "NATURAL" || name == "POSITIVE" || name == "SIMPLE_INTEGER") {
        return "integer";
      }
      if (name == "BOOLEAN") return "boolean";
      if (name == "CLOB" || name == "NCLOB" || name == "LONG") return "text";
      if (name == "FLOAT" || name == "BINARY_DOUBLE" || name == "BINARY_FLOAT" || name == "REAL") {
        return "double precision";
      }
      if (IsWord(type[0]) || IsKind(type[0], TokenKind::QuotedIdent)) return Raw(type, false);
    }
    // owner.type, v%TYPE, t%ROWTYPE and the like read the same in PL/pgSQL.
    for (const SqlNode& node : type) {
      if (node.IsGroup()) Unsupported("tipo PL/SQL " + name);
    }
    return Raw(type, false);
  }

  // Every nesting (block, IF, LOOP, handler) passes here: its depth bounds the stack the parse needs.
  std::string Statements(const PlsqlVariables& scope, std::initializer_list<std::string_view> stops) {
    if (FDepth == kMaxGroupDepth) {
      throw ETranslationError("Comandos PL/SQL aninhados em mais de " + std::to_string(kMaxGroupDepth) +
                              " níveis (posição " + std::to_string(Current().Tok->Offset + 1) + ").");
    }
    ++FDepth;
    std::string out;
    while (!IsOneOf(Current(), stops)) out += Statement(scope);
    --FDepth;
    return out;
  }

  std::string Statement(const PlsqlVariables& scope) {
    const SqlNode& first = Current();
    if (IsOp(first, "<<")) {  // a label: <<name>>
      std::string out;
      while (!IsOp(Current(), ">>")) out += Take();
      return out + Take();
    }
    if (IsWord(first, "IF")) return If(scope);
    if (IsWord(first, "LOOP") || IsWord(first, "WHILE") || IsWord(first, "FOR")) return Loop(scope);
    if (IsWord(first, "BEGIN") || IsWord(first, "DECLARE")) return Block(scope);
    if (IsWord(first, "CASE")) Unsupported("CASE como comando PL/SQL");
    const NodeSpan statement = UntilSemicolon();
    std::string out = Simple(statement, scope);
    return out + ExpectSemicolon();
  }

  std::string If(const PlsqlVariables& scope) {
    std::string out = Take();
    out += Expr(UntilWord("THEN"), scope);
    out += Take();
    out += Statements(scope, {"ELSIF", "ELSE", "END"});
    while (IsWord(Current(), "ELSIF")) {
      out += Take();
      out += Expr(UntilWord("THEN"), scope);
      out += Take();
      out += Statements(scope, {"ELSIF", "ELSE", "END"});
    }
    if (IsWord(Current(), "ELSE")) {
      out += Take();
      out += Statements(scope, {"END"});
    }
    out += Expect("END");
    out += Expect("IF");
    return out + ExpectSemicolon();
  }

  std::string Loop(const PlsqlVariables& scope) {
    std::string out;
    if (!IsWord(Current(), "LOOP")) {
      const bool numeric_for = IsWord(Current(), "FOR");
      out += Take();
      const NodeSpan header = UntilWord("LOOP");
      if (numeric_for) {
        bool range = false;
        for (const SqlNode& node : header) range = range || IsOp(node, "..");
        if (!range) Unsupported("laço FOR sobre cursor");
      }
      out += Expr(header, scope);
    }
    out += Expect("LOOP");
    out += Statements(scope, {"END"});
    out += Expect("END");
    out += Expect("LOOP");
    if (IsWord(Current())) out += Take();
    return out + ExpectSemicolon();
  }

  std::string Handler(const PlsqlVariables& scope) {
    std::string out = Take();  // WHEN
    const NodeSpan names = UntilWord("THEN");
    for (const SqlNode& name : names) {
      Lead(name, out);
      if (IsWord(name, "OR")) {
        out += name.Tok->Text;
      } else if (IsWord(name)) {
        out += ExceptionName(name);
      } else {
        Malformed("nome de exceção esperado depois de WHEN");
      }
    }
    out += Take();  // THEN
    return out + Statements(scope, {"WHEN", "END"});
  }

  std::string Simple(NodeSpan statement, const PlsqlVariables& scope) {
    if (statement.empty()) Malformed("comando vazio");
    const SqlNode& first = statement[0];
    if (IsOneOf(first, {"SELECT", "WITH"})) {
      SqlRewriter rewriter(FTyping, &scope);
      return rewriter.Query(statement, QueryPlace::PlsqlInto, true);
    }
    if (IsOneOf(first, {"INSERT", "UPDATE", "DELETE"})) {
      SqlRewriter rewriter(FTyping, &scope);
      return rewriter.Statement(statement);
    }
    if (IsOneOf(first, {"NULL", "RETURN", "EXIT", "CONTINUE"})) return Expr(statement, scope);
    if (IsWord(first, "RAISE")) {
      if (statement.size() == 1) return Expr(statement, scope);
      if (statement.size() == 2 && IsWord(statement[1])) {
        std::string out = Expr(statement.first(1), scope);
        Lead(statement[1], out);
        return out + ExceptionName(statement[1]);
      }
      Malformed("RAISE");
    }
    if (IsOneOf(first, {"COMMIT", "ROLLBACK", "SAVEPOINT", "EXECUTE", "OPEN", "FETCH", "CLOSE", "GOTO", "MERGE", "LOCK",
                        "SET", "PIPE", "RAISE_APPLICATION_ERROR"})) {
      Unsupported(first.Tok->Upper + " em bloco PL/SQL");
    }

    std::size_t assign = kNone;
    for (std::size_t i = 0; i < statement.size() && assign == kNone; ++i) {
      if (IsOp(statement[i], ":=")) assign = i;
    }
    if (assign != kNone) {
      const NodeSpan target = statement.first(assign);
      if (target.empty()) Malformed("atribuição sem destino");
      for (const SqlNode& node : target) {
        // A DO block returns nothing, so it cannot fill an output parameter.
        if (IsKind(node, TokenKind::Bind)) Unsupported("parâmetro de saída :" + node.Tok->Upper + " em bloco PL/SQL");
      }
      return Expr(target, scope) + Expr(statement.subspan(assign), scope);
    }
    return Call(statement, scope);
  }

  // name; name(args); pkg.name(args); var.method(args); var.EXTEND(n)
  std::string Call(NodeSpan statement, const PlsqlVariables& scope) {
    std::size_t end = 1;
    if (!IsWord(statement[0])) Malformed("comando não reconhecido");
    while (end + 1 < statement.size() && IsOp(statement[end], ".") && IsWord(statement[end + 1])) end += 2;
    const bool has_args = end < statement.size() && statement[end].IsGroup();
    if (end + (has_args ? 1 : 0) != statement.size()) {
      if (scope.count(statement[0].Tok->Upper) != 0 && statement.size() > 1 && statement[1].IsGroup()) {
        Unsupported("chamada de método de elemento de coleção");
      }
      Malformed("comando não reconhecido começando por " + statement[0].Tok->Upper);
    }
    const auto variable = scope.find(statement[0].Tok->Upper);
    std::string out;
    Lead(statement[0], out);
    if (end == 3 && variable != scope.end()) {
      const std::string target(statement[0].Tok->Text);
      const std::string& method = statement[2].Tok->Upper;
      if (method == "EXTEND") {
        std::string count = "1";
        if (has_args) {
          const NodeSpan args = statement[3].Kids;
          if (args.empty() || SplitAtCommas(args).size() != 1) Unsupported("EXTEND com mais de um argumento");
          count = Expr(args, scope, false);
          if (!(args.size() == 1 && IsKind(args[0], TokenKind::Number))) count = "CAST(" + count + " AS integer)";
        }
        // Grows the array by `count` NULL elements; element 0 of a 1-based array is a typed NULL.
        return out + target + " := array_cat(" + target + ", array_fill(" + target + "[0], ARRAY[" + count + "]))";
      }
      if (IsCollectionMethod(method)) Unsupported("método " + method + " de coleção");
      if (IsScalarType(variable->second)) Unsupported("chamada de método em variável que não é objeto");
      // Member procedures are functions <type>_<method>(self, ...) that return the changed object.
      std::string call = ToLowerAscii(variable->second) + "_" + ToLowerAscii(method) + "(" + target;
      if (has_args && !statement[3].Kids.empty()) call += ", " + Expr(statement[3].Kids, scope, false);
      return out + target + " := " + call + ")";
    }
    out += "PERFORM " + Expr(statement, scope, false);
    if (!has_args) out += "()";
    return out;
  }

  NodeSpan FNodes;
  std::size_t FPos = 0;
  std::size_t FDepth = 0;
  BindTyping& FTyping;
};

}  // namespace

std::string TranslatePlsqlBlock(NodeSpan nodes, BindTyping& typing) {
  return PlsqlTranslator(nodes, typing).Run();
}

}  // namespace oradb::internal
