// The one lexer in its three modes: Oracle SQL refused when malformed, the same tokens tolerated
// while a text is still being written, and a dataset filter's part of the language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/Translator.h"
#include "oradb/internal/BindNames.h"
#include "oradb/internal/FilterExpression.h"
#include "oradb/internal/SqlLexer.h"
#include "support/Failure.h"

namespace {

using namespace oradb::internal;
using testsupport::Failure;

// Each token as "<kind letter>:<text>": W word, Q quoted name, S string, N number, B bind, O operator,
// K bracket name, X invalid.
std::vector<std::string> Tokens(std::string_view text, LexMode mode) {
  static constexpr char kLetters[] = {'W', 'Q', 'S', 'N', 'B', 'O', 'K', 'X'};
  std::vector<std::string> tokens;
  for (const Token& token : LexSql(text, mode).Tokens) {
    tokens.push_back(std::string(1, kLetters[static_cast<int>(token.Kind)]) + ":" + std::string(token.Text));
  }
  return tokens;
}

using Seq = std::vector<std::string>;

#define REFUSED "ETranslationError: "

// What the translator refuses, a text being written may hold for a while: the tolerant mode reads
// on, so the binds around the fault are still found.
TEST(Faults, SqlRefusesWhatTolerantReadsAsInvalid) {
  const struct {
    const char* Text;
    const char* Refusal;  // in LexMode::Sql
    Seq Tolerated;        // in LexMode::Tolerant
  } cases[] = {
      {"A = :X || 'b :Y",
       REFUSED "Texto entre aspas sem fechamento (posição 11).",
       {"W:A", "O:=", "B::X", "O:||", "X:'b :Y"}},
      {":X N'b", REFUSED "Texto entre aspas sem fechamento (posição 5).", {"B::X", "X:N'b"}},
      {":X \"b", REFUSED "Identificador entre aspas sem fechamento (posição 4).", {"B::X", "X:\"b"}},
      {":X /* :Y", REFUSED "Comentário /* sem fechamento (posição 4).", {"B::X", "X:/* :Y"}},
      {"ç :X", REFUSED "Caractere não ASCII fora de texto entre aspas (posição 1).", {"X:\xC3", "X:\xA7", "B::X"}},
      {":X & :Y", REFUSED "Caractere inesperado '&' (posição 4).", {"B::X", "X:&", "B::Y"}},
      // The marker byte is refused before the unterminated string.
      {"'a \x01", REFUSED "Caractere de controle inválido no texto SQL (posição 4).", {"X:'a \x01"}},
      {"q'[x]' :X", REFUSED "Construção Oracle não suportada: literal q'...' (posição 1).", {"W:q", "S:'[x]'", "B::X"}},
      {":\"X\"",
       REFUSED "Construção Oracle não suportada: parâmetro com nome entre aspas (posição 1).",
       {"O::", "Q:\"X\""}},
      // A name must start with a letter or digit: the translator refuses the '$', so no parameter.
      {":$X", REFUSED "Caractere inesperado '$' (posição 2).", {"O::", "X:$", "W:X"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(Failure([&] { (void)LexSql(c.Text); }), c.Refusal);
    EXPECT_EQ(Tokens(c.Text, LexMode::Tolerant), c.Tolerated);
  }
}

TEST(Lexer, ToleratedTextsLexAsInSqlModeWhenWellFormed) {
  const char* texts[] = {"SELECT N'x', \"Q\".A, 1.5e3, .5, 1..10, :a$b#, X::numeric FROM DUAL -- :Y\r\nWHERE :1 <> 2",
                         "BEGIN V := :A; CR.F(:B#1, :C$); END; /* fim */ "};
  for (const char* text : texts) {
    const LexedText sql = LexSql(text);
    const LexedText tolerated = LexSql(text, LexMode::Tolerant);
    EXPECT_EQ(Tokens(text, LexMode::Tolerant), Tokens(text, LexMode::Sql)) << text;
    ASSERT_EQ(tolerated.Tokens.size(), sql.Tokens.size()) << text;
    for (std::size_t i = 0; i < sql.Tokens.size(); ++i) {
      EXPECT_EQ(tolerated.Tokens[i].Leading, sql.Tokens[i].Leading) << text << " token " << i;
      EXPECT_EQ(tolerated.Tokens[i].Upper, sql.Tokens[i].Upper) << text << " token " << i;
    }
    EXPECT_EQ(tolerated.Trailing, sql.Trailing) << text;
    EXPECT_EQ(tolerated.BindNames, sql.BindNames) << text;
  }
}

// The parameters a statement offers are the binds its translation numbers.
TEST(Lexer, BindScanAgreesWithTheTranslation) {
  const char* texts[] = {"SELECT :B, :a, :B, :1 FROM DUAL WHERE X = ':C' /* :D */ -- :E",
                         "UPDATE T SET A = :A_1, B = :b$#, C = X::numeric WHERE D = :A_1",
                         "DECLARE V NUMBER; BEGIN V := :V; P(X => :W); END;",
                         "SELECT N'a:b', \"x:y\" FROM T WHERE A = :Z"};
  for (const char* text : texts) {
    const oradb::Translation translation = oradb::Translate(text);
    const std::vector<std::string> scanned = ScanBindNames(text);
    ASSERT_LE(scanned.size(), translation.ParamNames.size()) << text;
    EXPECT_EQ(scanned, std::vector<std::string>(translation.ParamNames.begin(),
                                                translation.ParamNames.begin() + static_cast<long>(scanned.size())))
        << text;
  }
}

TEST(Lexer, ScannerHandsTokensOneAtATimeAndStopsAtTheEnd) {
  TokenScanner scanner(" A /* c */ :X -- fim", LexMode::Sql);
  Token token;
  ASSERT_TRUE(scanner.Next(token));
  EXPECT_EQ(token.Upper, "A");
  EXPECT_EQ(token.Leading, " ");
  ASSERT_TRUE(scanner.Next(token));
  EXPECT_EQ(token.Kind, TokenKind::Bind);
  EXPECT_EQ(token.Leading, " /* c */ ");
  EXPECT_EQ(token.Offset, 11u);
  EXPECT_FALSE(scanner.Next(token));
  EXPECT_EQ(scanner.Trailing(), " -- fim");
  EXPECT_FALSE(scanner.Next(token));
  EXPECT_EQ(scanner.Trailing(), " -- fim");
}

// ---- Filter mode ----

TEST(FilterLexer, ReadsOnlyAFiltersPartOfTheLanguage) {
  const std::pair<const char*, Seq> cases[] = {
      {"[Nome Completo] >= -1.5 AND x != 'a''b'",
       {"K:[Nome Completo]", "O:>=", "N:-1.5", "W:AND", "W:x", "O:!=", "S:'a''b'"}},
      // Operators a filter lacks split where SQL would join them.
      {"A=>1 OR B<<2", {"W:A", "O:=", "O:>", "N:1", "W:OR", "W:B", "O:<", "O:<", "N:2"}},
      // A number takes the letters stuck to it, and its dots: the filter refuses it whole.
      {"1e5 12abc 1.2.3", {"N:1e5", "N:12abc", "N:1.2.3"}},
      // No comments, binds, quoted names or national strings.
      {"-- c", {"X:-", "X:-", "W:c"}},
      {"/*:X*/", {"X:/", "X:*", "X::", "W:X", "X:*", "X:/"}},
      {"\"A\" N'x'", {"X:\"", "W:A", "X:\"", "W:N", "S:'x'"}},
      {"\fA", {"X:\f", "W:A"}},
      {"[] [a", {"X:[]", "X:[a"}}};
  for (const auto& [text, tokens] : cases) EXPECT_EQ(Tokens(text, LexMode::Filter), tokens) << text;
}

TEST(FilterLexer, FilterNamesTheMalformedPieceAtItsColumn) {
  const std::pair<const char*, const char*> cases[] = {
      {"X = 1e5", "número malformado na posição 5"},
      {"X = -.5", "caractere inesperado '-' na posição 5"},
      {"X = 1 -- c", "caractere inesperado '-' na posição 7"},
      {"X => 1", "esperado um campo ou valor, encontrado '>' na posição 4"},
      {"X = :A", "caractere inesperado ':' na posição 5"},
      {"\"X\" = 1", "caractere inesperado '\"' na posição 1"},
      {"[X = 1", "nome de campo entre colchetes malformado na posição 1"},
      {"X = 'a''", "texto entre aspas sem fechamento na posição 5"},
      {"X ! 1", "operador '!' incompleto na posição 3"}};
  for (const auto& [filter, detail] : cases) {
    EXPECT_EQ(Failure([&] { (void)FilterExpression::Parse(filter); }),
              "Exception: Filtro inválido \"" + std::string(filter) + "\": " + detail + ".");
  }
}

TEST(FilterLexer, BracketNamesAndQuotedTextsGiveTheirValues) {
  const FilterExpression filter = FilterExpression::Parse("[ nome completo ] = 'D''ÁVILA' AND VALOR >= -1.5");
  const auto read = [](const std::string& name) {
    if (name == "NOME COMPLETO") return FilterValue{FilterValue::Kind::Text, "D'ÁVILA", 0};
    if (name == "VALOR") return FilterValue{FilterValue::Kind::Number, "", -1.5};
    throw Exception("Campo '" + name + "' não encontrado.");
  };
  EXPECT_EQ(filter.Evaluate(read), FilterTruth::True);
}

}  // namespace
