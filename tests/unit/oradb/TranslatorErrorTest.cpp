// Oracle text the translator cannot carry over exactly is refused with ETranslationError naming the
// construct; nothing is guessed.
#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/Translator.h"

namespace {

struct ErrorCase {
  const char* oracle;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.oracle;
}

class TranslatorRefuses : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(TranslatorRefuses, NamingTheConstruct) {
  const ErrorCase& c = GetParam();
  try {
    (void)oradb::Translate(c.oracle);
    ADD_FAILURE() << "translated: " << c.oracle;
  } catch (const ETranslationError& error) {
    EXPECT_EQ(error.Message(), c.message);
    EXPECT_STREQ(error.ClassName(), "ETranslationError");
  }
}

#define UNSUPPORTED "Construção Oracle não suportada: "

INSTANTIATE_TEST_SUITE_P(
    Malformed, TranslatorRefuses,
    ::testing::Values(
        ErrorCase{"SELECT 'abc FROM DUAL", "Texto entre aspas sem fechamento (posição 8)."},
        ErrorCase{"SELECT 'a''", "Texto entre aspas sem fechamento (posição 8)."},
        ErrorCase{"SELECT \"abc FROM T", "Identificador entre aspas sem fechamento (posição 8)."},
        ErrorCase{"SELECT 1 /* x FROM DUAL", "Comentário /* sem fechamento (posição 10)."},
        ErrorCase{"SELECT (1 FROM DUAL", "Parêntese '(' sem fechamento (posição 8)."},
        ErrorCase{"SELECT 1) FROM DUAL", "Parêntese ')' sem abertura (posição 9)."},
        ErrorCase{"  -- só um comentário\r\n", "Comando SQL vazio."},
        ErrorCase{"SELECT ç FROM DUAL", "Caractere não ASCII fora de texto entre aspas (posição 8)."},
        ErrorCase{"SELECT 1 FROM DUAL WHERE 1 = 1 \x01", "Caractere de controle inválido no texto SQL (posição 32)."},
        ErrorCase{"SELECT 1 FROM DUAL; SELECT 2 FROM DUAL", UNSUPPORTED "mais de um comando no mesmo texto"},
        ErrorCase{"SELECT X FOR UPDATE FROM T", "Consulta mal formada: cláusulas fora de ordem."},
        ErrorCase{"SELECT X FROM T ORDER BY X WHERE X = 1", "Consulta mal formada: cláusulas fora de ordem."},
        ErrorCase{"BEGIN NULL;", "Bloco PL/SQL mal formado: o texto termina antes do END final"},
        ErrorCase{"BEGIN NULL; END; /", "Bloco PL/SQL mal formado: texto depois do END final"}));

INSTANTIATE_TEST_SUITE_P(
    Rownum, TranslatorRefuses,
    ::testing::Values(ErrorCase{"SELECT * FROM T WHERE ROWNUM = 1", UNSUPPORTED "ROWNUM fora de sub-consulta"},
                      ErrorCase{"UPDATE T SET A = 1 WHERE ROWNUM = 1", UNSUPPORTED "ROWNUM fora de sub-consulta"},
                      ErrorCase{"SELECT (SELECT X FROM T WHERE ROWNUM <= 10) FROM DUAL",
                                UNSUPPORTED "ROWNUM diferente de ROWNUM = 1 numa sub-consulta"},
                      ErrorCase{"SELECT (SELECT ROWNUM FROM T WHERE ROWNUM = 1) FROM DUAL",
                                UNSUPPORTED "ROWNUM diferente de ROWNUM = 1 numa sub-consulta"},
                      ErrorCase{"SELECT (SELECT COUNT(*) FROM A, B WHERE A.X = B.X AND ROWNUM = 1) FROM DUAL",
                                UNSUPPORTED "ROWNUM = 1 com agregação sobre mais de uma tabela"}));

INSTANTIATE_TEST_SUITE_P(
    OuterJoins, TranslatorRefuses,
    ::testing::Values(
        ErrorCase{"SELECT * FROM A, B WHERE A.X = B.X(+) OR A.Y = 1", UNSUPPORTED "(+) dentro de OR"},
        ErrorCase{"SELECT * FROM A, B WHERE (A.X = B.X(+) OR B.X(+) IS NULL)", UNSUPPORTED "(+) dentro de OR"},
        ErrorCase{"SELECT * FROM A, B WHERE X = B.X(+)", UNSUPPORTED "(+) numa condição com coluna sem qualificador"},
        ErrorCase{"SELECT * FROM A, B WHERE A.X = X(+)", UNSUPPORTED "(+) em coluna sem qualificador"},
        ErrorCase{"SELECT * FROM A, B WHERE A.X(+) = B.X(+)",
                  UNSUPPORTED "(+) em mais de uma tabela na mesma condição"},
        ErrorCase{"SELECT * FROM A, B WHERE B.X(+) = (SELECT MAX(Y) FROM C)",
                  UNSUPPORTED "(+) numa condição com sub-consulta"},
        ErrorCase{"SELECT * FROM A, B, C WHERE A.X = B.X AND B.Y(+) = C.Y AND C.Z(+) = B.Z",
                  UNSUPPORTED "(+) em ciclo entre tabelas"},
        ErrorCase{"SELECT * FROM A, B WHERE A.X(+) = B.X AND B.Y(+) = A.Y",
                  UNSUPPORTED "(+) sem nenhuma tabela preservada no FROM"},
        ErrorCase{"SELECT * FROM A WHERE A.X = Z.X(+)", UNSUPPORTED "(+) em tabela que não está no FROM: Z"},
        ErrorCase{"SELECT A.X(+) FROM A", UNSUPPORTED "(+) fora de uma condição WHERE de consulta"},
        ErrorCase{"SELECT * FROM A JOIN C ON A.K = C.K, B WHERE A.X = B.X(+)",
                  UNSUPPORTED "(+) junto de JOIN no mesmo FROM"}));

INSTANTIATE_TEST_SUITE_P(
    Others, TranslatorRefuses,
    ::testing::Values(
        ErrorCase{"SELECT A || B + C FROM T", UNSUPPORTED "|| misturado com + ou - sem parênteses"},
        ErrorCase{"SELECT X - A || B FROM T", UNSUPPORTED "|| misturado com + ou - sem parênteses"},
        ErrorCase{"SELECT DECODE(A, 1) FROM T", UNSUPPORTED "DECODE com menos de três argumentos"},
        ErrorCase{"SELECT * FROM T CONNECT BY PRIOR A = B", UNSUPPORTED "consulta hierárquica (CONNECT BY)"},
        ErrorCase{"MERGE INTO T USING U ON (T.A = U.A) WHEN MATCHED THEN UPDATE SET B = 1",
                  UNSUPPORTED "comando MERGE"},
        ErrorCase{"SELECT X INTO :Y FROM T", UNSUPPORTED "SELECT ... INTO fora de bloco PL/SQL"},
        ErrorCase{"SELECT q'[abc]' FROM DUAL", UNSUPPORTED "literal q'...' (posição 8)."},
        ErrorCase{"SELECT * FROM T@LIGACAO", UNSUPPORTED "ligação de banco (@)"},
        ErrorCase{"SELECT * FROM T FOR UPDATE WAIT 5", UNSUPPORTED "FOR UPDATE WAIT"},
        ErrorCase{"SELECT * FROM A, B WHERE A.X = B.X FOR UPDATE OF X",
                  UNSUPPORTED "FOR UPDATE OF com coluna sem tabela"},
        ErrorCase{"SELECT CURRENT_DATE FROM DUAL", UNSUPPORTED "CURRENT_DATE"},
        ErrorCase{"UPDATE T SET A = 1 RETURNING A INTO :A", UNSUPPORTED "RETURNING fora de bloco PL/SQL"}));

INSTANTIATE_TEST_SUITE_P(
    Blocks, TranslatorRefuses,
    ::testing::Values(
        ErrorCase{"BEGIN :X := F(1); END;", UNSUPPORTED "parâmetro de saída :X em bloco PL/SQL"},
        ErrorCase{"BEGIN UPDATE T SET A = 1 WHERE K = :K RETURNING A INTO :A; END;",
                  UNSUPPORTED "parâmetro de saída :A em RETURNING INTO"},
        ErrorCase{"BEGIN SELECT A INTO :A FROM T; END;", UNSUPPORTED "parâmetro de saída :A em SELECT INTO"},
        ErrorCase{"BEGIN SELECT X INTO V FROM T WHERE ROWNUM = 1; END;", UNSUPPORTED "ROWNUM fora de sub-consulta"},
        ErrorCase{"BEGIN CASE WHEN 1 = 1 THEN NULL; END CASE; END;", UNSUPPORTED "CASE como comando PL/SQL"},
        ErrorCase{"BEGIN FOR R IN (SELECT * FROM T) LOOP NULL; END LOOP; END;", UNSUPPORTED "laço FOR sobre cursor"},
        ErrorCase{"BEGIN COMMIT; END;", UNSUPPORTED "COMMIT em bloco PL/SQL"},
        ErrorCase{"BEGIN RAISE_APPLICATION_ERROR(-20001, 'x'); END;",
                  UNSUPPORTED "RAISE_APPLICATION_ERROR em bloco PL/SQL"},
        ErrorCase{"DECLARE L LISTA; BEGIN L(1).INSERIR; END;", UNSUPPORTED "chamada de método de elemento de coleção"},
        ErrorCase{"DECLARE L LISTA; BEGIN L.EXTEND(1, 2); END;", UNSUPPORTED "EXTEND com mais de um argumento"},
        ErrorCase{"DECLARE L LISTA; BEGIN L.DELETE; END;", UNSUPPORTED "método DELETE de coleção"},
        ErrorCase{"DECLARE L LISTA; BEGIN X := L.LAST; END;", UNSUPPORTED "método LAST de coleção"},
        ErrorCase{"DECLARE O T_OBJ; BEGIN X := O.VALOR(1); END;",
                  UNSUPPORTED "chamada de método de objeto dentro de expressão"},
        ErrorCase{"DECLARE n NUMBER; BEGIN n.FAZER; END;",
                  UNSUPPORTED "chamada de método em variável que não é objeto"},
        ErrorCase{"DECLARE CURSOR C IS SELECT 1 FROM DUAL; BEGIN NULL; END;",
                  UNSUPPORTED "declaração CURSOR em bloco PL/SQL"},
        ErrorCase{"DECLARE E EXCEPTION; BEGIN NULL; END;", UNSUPPORTED "exceção declarada no bloco"},
        ErrorCase{"BEGIN NULL; EXCEPTION WHEN VALUE_ERROR THEN NULL; END;", UNSUPPORTED "exceção VALUE_ERROR"},
        ErrorCase{"DECLARE v NUMBER; BEGIN v := SQL%ROWCOUNT; END;", UNSUPPORTED "atributo %ROWCOUNT"}));

}  // namespace
