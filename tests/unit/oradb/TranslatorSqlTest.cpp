// Oracle SQL in, exact PostgreSQL text and parameter order out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/Translator.h"

namespace {

const std::string kSysdate = "CAST(pg_catalog.date_trunc('second', pg_catalog.statement_timestamp()) AS timestamp(0))";

struct SqlCase {
  std::string oracle;
  std::string expected;
  std::vector<std::string> params = {};
};

TEST(TranslatorSql, GivesTheExpectedTextAndParameterOrder) {
  const SqlCase cases[] = {
      // ---- Binds: numbered by first appearance, names upper-cased ----
      {"SELECT * FROM ZTLANC WHERE RECNUM = :RECNUM AND CODFILIAL = :codFilial AND NUMTRANS IN (:RECNUM, :X)",
       "SELECT * FROM ZTLANC WHERE RECNUM = $1 AND CODFILIAL = $2 AND NUMTRANS IN ($1, $3)",
       {"RECNUM", "CODFILIAL", "X"}},
      // never inside strings, quoted names or comments
      {"SELECT ':X', 'it''s :Y', \"A:B\", :Z /* :W */ FROM DUAL -- :V",
       "SELECT ':X', 'it''s :Y', \"A:B\", $1 /* :W */ FROM DUAL -- :V\n",
       {"Z"}},
      // a comment ends at a lone carriage return
      {"SELECT 1 --c :A\rFROM DUAL\r\nWHERE A = :A", "SELECT 1 --c :A\rFROM DUAL\r\nWHERE A = $1", {"A"}},
      // casts with :: and numbered binds
      {"SELECT X::numeric, :1 FROM T", "SELECT X::numeric, $1 FROM T", {"1"}},
      // one trailing semicolon is dropped
      {"DELETE FROM ZTLANCBLOQ WHERE RECNUM = :RECNUM;", "DELETE FROM ZTLANCBLOQ WHERE RECNUM = $1", {"RECNUM"}},
      // ---- Rewrites ----
      // SYSDATE is the statement's second
      {"SELECT SYSDATE D, TRUNC(SYSDATE) FROM DUAL", "SELECT " + kSysdate + " D, TRUNC(" + kSysdate + ") FROM DUAL"},
      // sequences by name, folded to lower case
      {"SELECT DFSEQ_ZTCORREN.NEXTVAL, Dono.Seq_X.CURRVAL, F(1), A.B.SEQ.CURRVAL FROM DUAL",
       "SELECT nextval('dfseq_ztcorren'), currval('dono.seq_x'), F(1), currval('a.b.seq') FROM DUAL"},
      // after a dot a word is a column or member, whatever its name; ~= and ^= are <>
      {"SELECT A.SYSDATE, T.ROWNUM, T.LEVEL, X.USER_TAB_COLUMNS, USER_TAB_COLUMNS.COLUMN_NAME FROM T A WHERE A ~= 1",
       "SELECT A.SYSDATE, T.ROWNUM, T.LEVEL, X.USER_TAB_COLUMNS, USER_TAB_COLUMNS.COLUMN_NAME FROM T A WHERE A <> 1"},
      // names with # are quoted; Oracle's upper-case quoted names fold
      {"SELECT C.OBJ#, \"ZTLANC\".\"VALOR\", \"Misto\" FROM SYS.OBJ$ C, \"ZTLANC\" WHERE C.OWNER# ^= 1",
       "SELECT C.\"obj#\", \"ztlanc\".\"valor\", \"Misto\" FROM SYS.OBJ$ C, \"ztlanc\" WHERE C.\"owner#\" <> 1"},
      // USER_TAB_COLUMNS reads the compatibility view
      {"SELECT COLUMN_NAME FROM USER_TAB_COLUMNS WHERE UPPER(TABLE_NAME) = 'ZTLANC'",
       "SELECT COLUMN_NAME FROM public.user_tab_columns WHERE UPPER(TABLE_NAME) = 'ZTLANC'"},
      // '' is NULL, UNIQUE is DISTINCT, MINUS is EXCEPT, YEAR and DAY aliases take AS
      {"SELECT UNIQUE NVL(X, '') N, 1 YEAR, 2 day, 3 NOME FROM T WHERE Y = '' MINUS SELECT A, B, C, D FROM U",
       "SELECT DISTINCT NVL(X, NULL) N, 1 AS YEAR, 2 AS day, 3 NOME FROM T WHERE Y = NULL EXCEPT SELECT A, B, "
       "C, D FROM U"},
      // DELETE without FROM
      {"DELETE ZTLANCBLOQ WHERE RECNUM = :RECNUM", "DELETE FROM ZTLANCBLOQ WHERE RECNUM = $1", {"RECNUM"}},
      // SET targets lose the table or alias that qualifies them
      {"UPDATE ZTLANC L SET L.VPAGO = 1, ZTLANC.VALOR = 2, X.Y = 3 WHERE L.RECNUM = :R",
       "UPDATE ZTLANC L SET VPAGO = 1, VALOR = 2, X.Y = 3 WHERE L.RECNUM = $1",
       {"R"}},
      // REPLACE with '' or two arguments removes the text
      {"SELECT REPLACE(A, '.', ''), REPLACE(A, '-'), REPLACE(A, 'x', 'y') FROM T",
       "SELECT NULLIF(REPLACE(A, '.', ''), ''), NULLIF(REPLACE(A, '-', ''), ''), NULLIF(REPLACE(A, 'x', 'y'), '') FROM "
       "T"},
      // FROM sub-queries get an alias
      {"SELECT A FROM (SELECT 1 A FROM DUAL), (SELECT 2 B FROM DUAL) X",
       "SELECT A FROM (SELECT 1 A FROM DUAL) ora_sub1, (SELECT 2 B FROM DUAL) X"},
      // ---- Casts ----
      // NVL of a bind and a literal
      {"SELECT NVL(:X, 0), NVL(0, :X), NVL(:Y, 'N'), NVL(:Z, COL), NVL(:W, '') FROM DUAL",
       "SELECT NVL(CAST($1 AS numeric), 0), NVL(0, CAST($1 AS numeric)), NVL(CAST($2 AS text), 'N'), NVL($3, "
       "COL), NVL($4, NULL) FROM DUAL",
       {"X", "Y", "Z", "W"}},
      // arithmetic and comparison with literals or binds, never with a column
      {"SELECT :A + 1, -:B, :C * :D, 1 = :E, :F - COL, COL + :G, (SUM(X) / :H) * 100 FROM T",
       "SELECT CAST($1 AS numeric) + 1, -CAST($2 AS numeric), CAST($3 AS numeric) * CAST($4 AS numeric), 1 = "
       "CAST($5 AS numeric), $6 - COL, COL + $7, (SUM(X) / $8) * 100 FROM T",
       {"A", "B", "C", "D", "E", "F", "G", "H"}},
      // TO_CHAR of a number bind; a date bind is typed
      {"SELECT TO_CHAR(:N), TO_CHAR(:M, 'FM9990.00'), TO_CHAR(:D, 'DD/MM/YYYY'), TO_CHAR(COL) FROM DUAL",
       "SELECT TO_CHAR(CAST($1 AS numeric)), TO_CHAR(CAST($2 AS numeric), 'FM9990.00'), TO_CHAR($3, "
       "'DD/MM/YYYY'), TO_CHAR(COL) FROM DUAL",
       {"N", "M", "D"}},
      // a concatenated bind is text unless the same bind is a number elsewhere
      {"SELECT '%' || :A || '%', 'x' || :B, :B + 1, A || B || C NOME FROM T",
       "SELECT NULLIF(concat('%', CAST($1 AS text), '%'), ''), NULLIF(concat('x', CAST($2 AS numeric)), ''), "
       "CAST($2 AS numeric) + 1, NULLIF(concat(A, B, C), '') NOME FROM T",
       {"A", "B"}},
      // ---- Decode ----
      // literal search values compare once; NULL and expressions match NULL
      {"SELECT DECODE(T, 'D', V, 0), DECODE(NVL(X,0), 0, :V, X), DECODE(:K, 1, 'um', 2, 'dois'), DECODE(A, "
       "NULL, 'n', '', 'v', B, 'b', 'o') FROM T",
       "SELECT CASE T WHEN 'D' THEN V ELSE 0 END, CASE NVL(X,0) WHEN 0 THEN $1 ELSE X END, CASE CAST($2 AS "
       "numeric) WHEN 1 THEN 'um' WHEN 2 THEN 'dois' END, CASE WHEN A IS NULL THEN 'n' WHEN A IS NULL THEN 'v' "
       "WHEN A IS NOT DISTINCT FROM (B) THEN 'b' ELSE 'o' END FROM T",
       {"V", "K"}},
      // a bind result beside a number result is a number
      {"SELECT DECODE(TRIM(NVL(L, '')), '', TO_CHAR(:N), L), DECODE(C, 'S', :V, 0) FROM T",
       "SELECT CASE WHEN (NULLIF(TRIM(NVL(L, NULL)), '')) IS NULL THEN TO_CHAR(CAST($1 AS numeric)) ELSE L END, CASE C "
       "WHEN 'S' THEN CAST($2 AS numeric) ELSE 0 END FROM T",
       {"N", "V"}},
      // ---- OuterJoins ----
      // one condition
      {"SELECT * FROM A, B WHERE A.X = B.X(+)", "SELECT * FROM A LEFT JOIN B ON A.X = B.X"},
      // constant conditions join with the table; the outer table listed first
      {"SELECT * FROM B, A WHERE A.X = B.X(+) AND B.Y(+) = 'A' AND B.Z (+) = :Z AND A.K = 1",
       "SELECT * FROM A LEFT JOIN B ON A.X = B.X AND B.Y = 'A' AND B.Z = $1 WHERE A.K = 1",
       {"Z"}},
      // a chain joins in dependency order
      {"SELECT * FROM A, B, C WHERE C.Y(+) = B.Y AND A.X = B.X(+)",
       "SELECT * FROM A LEFT JOIN B ON A.X = B.X LEFT JOIN C ON C.Y = B.Y"},
      // an outer table needing two preserved tables brings them together
      {"SELECT * FROM A, B, C WHERE A.X = C.X(+) AND B.Y = C.Y(+)",
       "SELECT * FROM A CROSS JOIN B LEFT JOIN C ON A.X = C.X AND B.Y = C.Y"},
      // an outer table joins the comma item of its own preserved table
      {"SELECT * FROM P, R, C, D WHERE P.K = C.K AND C.R = R.R(+) AND P.D = D.D",
       "SELECT * FROM P, C LEFT JOIN R ON C.R = R.R, D WHERE P.K = C.K AND P.D = D.D"},
      // a sub-select with alias, and conditions inside parentheses
      {"SELECT * FROM A, (SELECT K, V FROM T) U WHERE (A.K = U.K(+) AND U.V(+) > 0) AND A.Y = 2",
       "SELECT * FROM A LEFT JOIN (SELECT K, V FROM T) U ON A.K = U.K AND U.V > 0 WHERE A.Y = 2"},
      // inside a correlated sub-select the outer alias is a constant
      {"SELECT (SELECT MAX(B.V) FROM B, C WHERE B.K = A.K AND B.C = C.C(+) AND C.T(+) = A.T) V FROM A",
       "SELECT (SELECT MAX(B.V) FROM B LEFT JOIN C ON B.C = C.C AND C.T = A.T WHERE B.K = A.K) V FROM A"},
      // FOR UPDATE locks the preserved tables
      {"SELECT * FROM A, B WHERE A.X = B.X(+) AND NVL(B.C, 'N') = 'N' FOR UPDATE NOWAIT",
       "SELECT * FROM A LEFT JOIN B ON A.X = B.X WHERE NVL(B.C, 'N') = 'N' FOR UPDATE OF A NOWAIT"},
      // FOR UPDATE OF a column locks its table
      {"SELECT * FROM T X FOR UPDATE OF X.A, B SKIP LOCKED", "SELECT * FROM T X FOR UPDATE OF X SKIP LOCKED"},
      // a string function that comes to '' is NULL
      {"SELECT TRIM(A), SUBSTR(B, 2), UPPER(C) FROM T",
       "SELECT NULLIF(TRIM(A), ''), NULLIF(SUBSTR(B, 2), ''), UPPER(C) FROM T"},
      // GREATEST and LEAST are NULL when an argument is; a bind beside a number is a number
      {"SELECT GREATEST(A, :N, 0), LEAST('b', 'a') FROM T",
       "SELECT CASE WHEN (A) IS NULL OR CAST($1 AS numeric) IS NULL THEN NULL ELSE GREATEST(A, CAST($1 AS numeric), 0) "
       "END, LEAST('b', 'a') FROM T",
       {"N"}},
      // ---- Binds tested for NULL ----
      // alone: read as text; also used elsewhere: its own copy, named after it
      {"SELECT * FROM T WHERE :P IS NULL OR (:Q IS NOT NULL AND A = :Q)",
       "SELECT * FROM T WHERE CAST($1 AS text) IS NULL OR (CAST($3 AS text) IS NOT NULL AND A = $2)",
       {"P", "Q", "Q"}},
      // after WHEN, and in DECODE against NULL: one text copy serves both
      {"SELECT CASE WHEN :P IS NULL THEN 'a' END, DECODE(:P, NULL, 1, 2) FROM DUAL",
       "SELECT CASE WHEN CAST($1 AS text) IS NULL THEN 'a' END, CASE WHEN CAST($1 AS text) IS NULL THEN 1 ELSE 2 END "
       "FROM DUAL",
       {"P"}},
      // NVL of a NULL beside a literal takes the literal's type
      {"SELECT NVL(NULL, 5), NVL('', 'x'), NVL(A, NULL) FROM T",
       "SELECT NVL(CAST(NULL AS numeric), 5), NVL(CAST(NULL AS text), 'x'), NVL(A, NULL) FROM T"},
      // beside a number it is that number
      {"SELECT NVL(:N, 0) FROM T WHERE :N IS NULL",
       "SELECT NVL(CAST($1 AS numeric), 0) FROM T WHERE CAST($1 AS numeric) IS NULL",
       {"N"}},
      // ---- Rownum ----
      // the first n rows of an ordered sub-query, at any depth
      {"SELECT * FROM (SELECT X FROM T ORDER BY X DESC) WHERE ROWNUM <= 10",
       "SELECT * FROM (SELECT X FROM T ORDER BY X DESC) ora_sub1 LIMIT 10"},
      {"SELECT * FROM T WHERE 3 > ROWNUM AND A = 1", "SELECT * FROM T WHERE A = 1 LIMIT 2"},
      // a bind: NULL or below 1 lets no row through
      {"SELECT * FROM T WHERE ROWNUM <= :N",
       "SELECT * FROM T LIMIT GREATEST(COALESCE(pg_catalog.floor(CAST($1 AS numeric)), 0), 0)",
       {"N"}},
      // ROWNUM = 1 in a sub-select
      {"SELECT * FROM A WHERE EXISTS (SELECT 1 FROM B WHERE B.X = A.X AND ROWNUM = 1)",
       "SELECT * FROM A WHERE EXISTS (SELECT 1 FROM B WHERE B.X = A.X LIMIT 1)"},
      // 1 = ROWNUM after ORDER BY; ROWNUM < 2 in a UNION branch
      {"SELECT (SELECT B.N FROM B WHERE 1 = ROWNUM ORDER BY B.N) N, (SELECT X FROM B WHERE ROWNUM < 2 UNION "
       "ALL SELECT X FROM C) U FROM A",
       "SELECT (SELECT B.N FROM B ORDER BY B.N LIMIT 1) N, ((SELECT X FROM B LIMIT 1) UNION ALL SELECT X FROM "
       "C) U FROM A"},
      // an aggregate counts at most the first row
      {"SELECT (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND ROWNUM = 1) FROM DUAL",
       "SELECT (SELECT COUNT(L.CODIGON) QTD FROM (SELECT * FROM ZTLIB L WHERE L.CODTABELA = 10 LIMIT 1) L) "
       "FROM DUAL"},
  };
  for (const SqlCase& c : cases) {
    const oradb::Translation translation = oradb::Translate(c.oracle);
    EXPECT_EQ(translation.Text, c.expected);
    EXPECT_EQ(translation.ParamNames, c.params) << c.oracle;
    EXPECT_FALSE(translation.IsBlock);
    EXPECT_TRUE(translation.BlockMarkers.empty());
  }
}

}  // namespace
