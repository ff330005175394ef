// Oracle text the translator cannot carry over exactly is refused with ETranslationError naming the
// construct; nothing is guessed.
#include <gtest/gtest.h>

#include <string>

#include "oradb/Translator.h"
#include "support/Failure.h"

namespace {

#define UNSUPPORTED "ETranslationError: Construção Oracle não suportada: "
#define REFUSED "ETranslationError: "

TEST(TranslatorRefuses, NamingTheConstruct) {
  const std::pair<const char*, const char*> cases[] = {
      // ---- Malformed ----
      {"SELECT 'abc FROM DUAL", REFUSED "Texto entre aspas sem fechamento (posição 8)."},
      {"SELECT 'a''", REFUSED "Texto entre aspas sem fechamento (posição 8)."},
      {"SELECT 1 /* x FROM DUAL", REFUSED "Comentário /* sem fechamento (posição 10)."},
      {"SELECT (1 FROM DUAL", REFUSED "Parêntese '(' sem fechamento (posição 8)."},
      {"  -- só um comentário\r\n", REFUSED "Comando SQL vazio."},
      {"SELECT ç FROM DUAL", REFUSED "Caractere não ASCII fora de texto entre aspas (posição 8)."},
      {"SELECT 1 FROM DUAL WHERE 1 = 1 \x01", REFUSED "Caractere de controle inválido no texto SQL (posição 32)."},
      {"SELECT 1 FROM DUAL; SELECT 2 FROM DUAL", UNSUPPORTED "mais de um comando no mesmo texto"},
      {"SELECT X FOR UPDATE FROM T", REFUSED "Consulta mal formada: cláusulas fora de ordem."},
      {"BEGIN NULL;", REFUSED "Bloco PL/SQL mal formado: o texto termina antes do END final"},
      {"BEGIN NULL; END; /", REFUSED "Bloco PL/SQL mal formado: texto depois do END final"},
      // ---- Rownum ----
      {"SELECT ROWNUM, X FROM T", UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      {"SELECT (SELECT ROWNUM FROM T WHERE ROWNUM = 1) FROM DUAL",
       UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      // ROWNUM = 2 and ROWNUM > 1 are never true in Oracle; OR and decimals are not counts
      {"SELECT X FROM T WHERE ROWNUM = 2", UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      {"SELECT X FROM T WHERE ROWNUM > 1", UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      {"SELECT X FROM T WHERE ROWNUM <= 2.5", UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      {"SELECT X FROM T WHERE A = 1 OR ROWNUM <= 3", UNSUPPORTED "ROWNUM fora de uma condição ROWNUM <= n do WHERE"},
      {"SELECT X FROM T WHERE ROWNUM <= 3 AND ROWNUM < 9", UNSUPPORTED "mais de uma condição ROWNUM na mesma consulta"},
      // Oracle numbers rows before it sorts or removes duplicates of the same SELECT
      {"SELECT X FROM T WHERE ROWNUM <= 10 ORDER BY X",
       UNSUPPORTED "ROWNUM <= n com ORDER BY no mesmo SELECT (ordene numa sub-consulta)"},
      {"SELECT DISTINCT X FROM T WHERE ROWNUM < 5", UNSUPPORTED "ROWNUM <= n com DISTINCT no mesmo SELECT"},
      {"SELECT (SELECT COUNT(*) FROM A, B WHERE A.X = B.X AND ROWNUM = 1) FROM DUAL",
       UNSUPPORTED "ROWNUM com agregação sobre mais de uma tabela"},
      // ---- OuterJoins ----
      {"SELECT * FROM A, B WHERE A.X = B.X(+) OR A.Y = 1", UNSUPPORTED "(+) dentro de OR"},
      {"SELECT * FROM A, B WHERE X = B.X(+)", UNSUPPORTED "(+) numa condição com coluna sem qualificador"},
      {"SELECT * FROM A, B WHERE A.X(+) = B.X(+)", UNSUPPORTED "(+) em mais de uma tabela na mesma condição"},
      {"SELECT * FROM A, B WHERE B.X(+) = (SELECT MAX(Y) FROM C)", UNSUPPORTED "(+) numa condição com sub-consulta"},
      {"SELECT * FROM A, B, C WHERE A.X = B.X AND B.Y(+) = C.Y AND C.Z(+) = B.Z",
       UNSUPPORTED "(+) em ciclo entre tabelas"},
      {"SELECT * FROM A, B WHERE A.X(+) = B.X AND B.Y(+) = A.Y",
       UNSUPPORTED "(+) sem nenhuma tabela preservada no FROM"},
      {"SELECT * FROM A WHERE A.X = Z.X(+)", UNSUPPORTED "(+) em tabela que não está no FROM: Z"},
      {"SELECT A.X(+) FROM A", UNSUPPORTED "(+) fora de uma condição WHERE de consulta"},
      {"SELECT * FROM A JOIN C ON A.K = C.K, B WHERE A.X = B.X(+)", UNSUPPORTED "(+) junto de JOIN no mesmo FROM"},
      // ---- Others ----
      {"SELECT A || B + C FROM T", UNSUPPORTED "|| misturado com + ou - sem parênteses"},
      {"SELECT DECODE(A, 1) FROM T", UNSUPPORTED "DECODE com menos de três argumentos"},
      {"SELECT * FROM T CONNECT BY PRIOR A = B", UNSUPPORTED "consulta hierárquica (CONNECT BY)"},
      {"MERGE INTO T USING U ON (T.A = U.A) WHEN MATCHED THEN UPDATE SET B = 1", UNSUPPORTED "comando MERGE"},
      {"SELECT X INTO :Y FROM T", UNSUPPORTED "SELECT ... INTO fora de bloco PL/SQL"},
      {"SELECT q'[abc]' FROM DUAL", UNSUPPORTED "literal q'...' (posição 8)."},
      {"SELECT * FROM T@LIGACAO", UNSUPPORTED "ligação de banco (@)"},
      {"SELECT * FROM T FOR UPDATE WAIT 5", UNSUPPORTED "FOR UPDATE WAIT"},
      {"SELECT * FROM A, B WHERE A.X = B.X FOR UPDATE OF X", UNSUPPORTED "FOR UPDATE OF com coluna sem tabela"},
      {"SELECT CURRENT_DATE FROM DUAL", UNSUPPORTED "CURRENT_DATE"},
      {"SELECT T.X%TYPE FROM T", UNSUPPORTED "atributo %TYPE"},
      {"UPDATE T SET A = 1 RETURNING A INTO :A", UNSUPPORTED "RETURNING fora de bloco PL/SQL"},
      // ---- Blocks ----
      {"BEGIN :X := F(1); END;", UNSUPPORTED "parâmetro de saída :X em bloco PL/SQL"},
      {"BEGIN UPDATE T SET A = 1 WHERE K = :K RETURNING A INTO :A; END;",
       UNSUPPORTED "parâmetro de saída :A em RETURNING INTO"},
      {"BEGIN SELECT A INTO :A FROM T; END;", UNSUPPORTED "parâmetro de saída :A em SELECT INTO"},
      {"BEGIN CASE WHEN 1 = 1 THEN NULL; END CASE; END;", UNSUPPORTED "CASE como comando PL/SQL"},
      {"BEGIN FOR R IN (SELECT * FROM T) LOOP NULL; END LOOP; END;", UNSUPPORTED "laço FOR sobre cursor"},
      {"BEGIN COMMIT; END;", UNSUPPORTED "COMMIT em bloco PL/SQL"},
      {"BEGIN RAISE_APPLICATION_ERROR(-20001, 'x'); END;", UNSUPPORTED "RAISE_APPLICATION_ERROR em bloco PL/SQL"},
      {"DECLARE L LISTA; BEGIN L(1).INSERIR; END;", UNSUPPORTED "chamada de método de elemento de coleção"},
      {"DECLARE L LISTA; BEGIN L.EXTEND(1, 2); END;", UNSUPPORTED "EXTEND com mais de um argumento"},
      {"DECLARE L LISTA; BEGIN L.DELETE; END;", UNSUPPORTED "método DELETE de coleção"},
      {"DECLARE L LISTA; N NUMBER; BEGIN N := L.FIRST; END;", UNSUPPORTED "método FIRST de coleção"},
      {"DECLARE L LISTA; N NUMBER; BEGIN N := L.COUNT(); END;", UNSUPPORTED "método COUNT de coleção"},
      {"DECLARE O T_OBJ; BEGIN X := O.VALOR(1); END;", UNSUPPORTED "chamada de método de objeto dentro de expressão"},
      {"DECLARE n NUMBER; BEGIN n.FAZER; END;", UNSUPPORTED "chamada de método em variável que não é objeto"},
      {"DECLARE CURSOR C IS SELECT 1 FROM DUAL; BEGIN NULL; END;", UNSUPPORTED "declaração CURSOR em bloco PL/SQL"},
      {"DECLARE E EXCEPTION; BEGIN NULL; END;", UNSUPPORTED "exceção declarada no bloco"},
      {"BEGIN NULL; EXCEPTION WHEN VALUE_ERROR THEN NULL; END;", UNSUPPORTED "exceção VALUE_ERROR"},
      {"DECLARE v NUMBER; BEGIN v := SQL%ROWCOUNT; END;", UNSUPPORTED "atributo %ROWCOUNT"},
  };
  for (const auto& [oracle, message] : cases) {
    EXPECT_EQ(testsupport::Failure([&] { static_cast<void>(oradb::Translate(oracle)); }), message) << oracle;
  }
}

// Nesting deep enough to exhaust the stack of a recursive pass is refused before any pass runs; up
// to the limit it translates.
std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(TranslatorRefuses, DeepNestingClearlyNotWithACrash) {
  const struct {
    const char* name;
    std::string oracle;
    std::string failure;
  } cases[] = {
      {"parentheses at the limit", "SELECT " + Repeat("(", 128) + "1" + Repeat(")", 128) + " FROM DUAL",
       "(no exception)"},
      {"20,000 parentheses", "SELECT " + Repeat("(", 20000) + "1" + Repeat(")", 20000) + " FROM DUAL",
       REFUSED "Parênteses aninhados em mais de 128 níveis (posição 136)."},
      {"20,000 unclosed parentheses", "SELECT " + Repeat("(", 20000),
       REFUSED "Parênteses aninhados em mais de 128 níveis (posição 136)."},
      {"sub-queries at the limit", Repeat("SELECT * FROM (", 128) + "SELECT 1 X FROM DUAL" + Repeat(")", 128),
       "(no exception)"},
      {"CASE at the limit", "SELECT " + Repeat("CASE WHEN A = 1 THEN ", 128) + "1" + Repeat(" END", 128) + " FROM T",
       "(no exception)"},
      {"20,000 CASE", "SELECT " + Repeat("CASE WHEN A = 1 THEN ", 20000) + "1" + Repeat(" END", 20000) + " FROM T",
       REFUSED "Expressões CASE aninhadas em mais de 128 níveis (posição 2696)."},
      {"20,000 blocks", "BEGIN " + Repeat("BEGIN ", 20000) + "NULL;" + Repeat(" END;", 20001),
       REFUSED "Comandos PL/SQL aninhados em mais de 128 níveis (posição 775)."},
      {"20,000 IF", "BEGIN " + Repeat("IF A = 1 THEN ", 20000) + "NULL;" + Repeat(" END IF;", 20000) + " END;",
       REFUSED "Comandos PL/SQL aninhados em mais de 128 níveis (posição 1799)."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(testsupport::Failure([&] { static_cast<void>(oradb::Translate(c.oracle)); }), c.failure) << c.name;
  }
}

}  // namespace
