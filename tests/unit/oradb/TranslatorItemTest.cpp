// The words and tokens of an expression, one kind at a time: where a word is a keyword, a sequence,
// a function or a PL/SQL collection, and where it is only a name.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "oradb/Translator.h"
#include "support/Failure.h"

namespace {

using testsupport::Failure;

struct ItemCase {
  const char* Name;
  const char* Oracle;
  const char* Expected;  // the PostgreSQL text, or the failure
};

void PrintTo(const ItemCase& c, std::ostream* out) {
  *out << c.Name;
}

std::string Rendered(const std::string& oracle) {
  std::string text;
  const std::string failure = Failure([&] { text = oradb::Translate(oracle).Text; });
  return failure == "(no exception)" ? text : failure;
}

class Items : public ::testing::TestWithParam<ItemCase> {};

TEST_P(Items, RenderAsTheirKind) {
  EXPECT_EQ(Rendered(GetParam().Oracle), GetParam().Expected);
}

#define UNSUPPORTED "ETranslationError: Construção Oracle não suportada: "
#define BLOCK(body) "DECLARE V LISTA_T; N NUMBER; BEGIN " body " END;"
#define DO_BLOCK(body) "DO $ora$\nDECLARE V LISTA_T; N numeric; BEGIN " body " END;\n$ora$"

INSTANTIATE_TEST_SUITE_P(
    Expressions, Items,
    ::testing::Values(
        // After a dot a word is a column or member, whatever its name.
        ItemCase{"MembersNamedLikeKeywords",
                 "SELECT A.SYSDATE, T.ROWNUM, T.LEVEL, X.USER_TAB_COLUMNS, USER_TAB_COLUMNS.COLUMN_NAME FROM T A",
                 "SELECT A.SYSDATE, T.ROWNUM, T.LEVEL, X.USER_TAB_COLUMNS, USER_TAB_COLUMNS.COLUMN_NAME FROM T A"},
        ItemCase{"Sequences", "SELECT F(1), SEQ.NEXTVAL, A.B.SEQ.CURRVAL FROM T",
                 "SELECT F(1), nextval('seq'), currval('a.b.seq') FROM T"},
        ItemCase{"OracleNotEqual", "SELECT X FROM T WHERE A ~= 1 AND B ^= 2",
                 "SELECT X FROM T WHERE A <> 1 AND B <> 2"},
        ItemCase{"CurrentDate", "SELECT CURRENT_DATE FROM DUAL", UNSUPPORTED "CURRENT_DATE"},
        ItemCase{"TypeAttribute", "SELECT T.X%TYPE FROM T", UNSUPPORTED "atributo %TYPE"},
        ItemCase{"DatabaseLink", "SELECT X FROM T@LINK", UNSUPPORTED "ligação de banco (@)"},
        // A collection variable: elements in brackets, COUNT the length of the array.
        ItemCase{"CollectionElementsAndCount", BLOCK("N := V(2) + V.COUNT; V(N) := V(1).CAMPO;"),
                 DO_BLOCK("N := V[2] + coalesce(array_length(V, 1), 0); V[N] := V[1].CAMPO;")},
        ItemCase{"CollectionMethod", BLOCK("N := V.FIRST;"), UNSUPPORTED "método FIRST de coleção"},
        ItemCase{"CountCalled", BLOCK("N := V.COUNT();"), UNSUPPORTED "método COUNT de coleção"},
        ItemCase{"ObjectMethodInAnExpression", BLOCK("N := V.M(1);"),
                 UNSUPPORTED "chamada de método de objeto dentro de expressão"},
        // A name that is not a variable is a function, and NVL is rewritten as one.
        ItemCase{"FunctionBesideVariables", BLOCK("N := NVL(:X, 0);"), DO_BLOCK("N := NVL(CAST($1 AS numeric), 0);")}));

}  // namespace
