// Anonymous PL/SQL blocks become DO blocks; their binds are written in as literals by RenderBlock. The
// process-wide cache translates each text once.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "oradb/Translator.h"
#include "support/Failure.h"

namespace {

using Literals = std::vector<std::string>;

struct BlockCase {
  std::string oracle;
  std::string expected;
  std::vector<std::string> params = {};
};

TEST(TranslatorBlock, BecomesADoBlockWithItsBindsMarked) {
  const BlockCase cases[] = {
      // member procedures are functions returning the object
      {"DECLARE CR T_ZT_CONTASRECEBER; BEGIN CR := T_ZT_CONTASRECEBER(:CODFUNC); "
       "CR.BUSCARREGISTRO(:NUMTRANSVENDA,:PREST); CR.DESDOBRAR; END;",
       "DO $ora$\nDECLARE CR T_ZT_CONTASRECEBER; BEGIN CR := T_ZT_CONTASRECEBER($1); CR := "
       "t_zt_contasreceber_buscarregistro(CR, $2,$3); CR := t_zt_contasreceber_desdobrar(CR); END;\n$ora$",
       {"CODFUNC", "NUMTRANSVENDA", "PREST"}},
      // a package procedure is performed; named arguments carry over
      {"BEGIN PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS(:CODFILIAL, pPREST => :PREST); PKG_X.P_SEM; END;",
       "DO $ora$\nBEGIN PERFORM PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS($1, pPREST => $2); PERFORM "
       "PKG_X.P_SEM(); END;\n$ora$",
       {"CODFILIAL", "PREST"}},
      // collections are arrays; types carry over; line breaks and comments stay
      {"DECLARE\r\n  voLISTA LISTA_ZT_CONTASRECEBER := LISTA_ZT_CONTASRECEBER();\r\n  vbBAIXOU BOOLEAN;\r\n"
       "  vfVALOR NUMBER(14,2);\r\n  vsTEXTO VARCHAR2(40 CHAR);\r\n  vdDATA DATE;\r\nBEGIN\r\n  --BAIXA O CREDITO\r\n"
       "  voLISTA.EXTEND(2);\r\n  voLISTA(1) := T_ZT_CONTASRECEBER(5);\r\n  voLISTA(1).PREST := '1';\r\n"
       "  voLISTA.EXTEND;\r\n  vbBAIXOU := PKG_CREDITOCLIENTE.FNC_BAIXAR1CREDITONTITULOS(77, voLISTA, 5, 1234);\r\n"
       "  IF voLISTA.COUNT > 1 THEN vdDATA := SYSDATE; ELSE vfVALOR := NVL(:VALOR, 0); END IF;\r\nEND;\r\n",
       "DO $ora$\nDECLARE\r\n  voLISTA LISTA_ZT_CONTASRECEBER := LISTA_ZT_CONTASRECEBER();\r\n  vbBAIXOU boolean;\r\n"
       "  vfVALOR numeric(14,2);\r\n  vsTEXTO varchar(40);\r\n  vdDATA timestamp(0);\r\nBEGIN\r\n"
       "  --BAIXA O CREDITO\r\n  voLISTA := array_cat(voLISTA, array_fill(voLISTA[0], ARRAY[2]));\r\n"
       "  voLISTA[1] := T_ZT_CONTASRECEBER(5);\r\n  voLISTA[1].PREST := '1';\r\n"
       "  voLISTA := array_cat(voLISTA, array_fill(voLISTA[0], ARRAY[1]));\r\n"
       "  vbBAIXOU := PKG_CREDITOCLIENTE.FNC_BAIXAR1CREDITONTITULOS(77, voLISTA, 5, 1234);\r\n"
       "  IF coalesce(array_length(voLISTA, 1), 0) > 1 THEN vdDATA := CAST(pg_catalog.date_trunc('second', "
       "pg_catalog.statement_timestamp()) AS timestamp(0)); ELSE vfVALOR := NVL(CAST($1 AS numeric), 0); END IF;\r\n"
       "END;\r\n\n$ora$",
       {"VALOR"}},
      // SELECT INTO raises when no row comes back; handlers keep their names
      {"BEGIN SELECT VALOR INTO V FROM ZTCRECLI WHERE CODIGO = :CODIGO; EXCEPTION WHEN NO_DATA_FOUND OR "
       "DUP_VAL_ON_INDEX THEN RAISE; END;",
       "DO $ora$\nBEGIN SELECT VALOR INTO STRICT V FROM ZTCRECLI WHERE CODIGO = $1; EXCEPTION WHEN "
       "no_data_found OR unique_violation THEN RAISE; END;\n$ora$",
       {"CODIGO"}},
      // a collection variable's elements are in brackets and COUNT is its length; NVL stays a function
      {"DECLARE V LISTA_T; N NUMBER; BEGIN N := V(2) + V.COUNT; V(N) := V(1).CAMPO; N := NVL(:X, 0); END;",
       "DO $ora$\nDECLARE V LISTA_T; N numeric; BEGIN N := V[2] + coalesce(array_length(V, 1), 0); V[N] := "
       "V[1].CAMPO; N := NVL(CAST($1 AS numeric), 0); END;\n$ora$",
       {"X"}},
      // the dollar quote avoids the block's own text
      {"DECLARE v VARCHAR2(10) := '$ora$'; BEGIN NULL; END;",
       "DO $ora1$\nDECLARE v varchar(10) := '$ora$'; BEGIN NULL; END;\n$ora1$"},
  };
  for (const BlockCase& c : cases) {
    const oradb::Translation translation = oradb::Translate(c.oracle);
    EXPECT_EQ(translation.Text, c.expected);
    EXPECT_EQ(translation.ParamNames, c.params);
    EXPECT_TRUE(translation.IsBlock);
    EXPECT_FALSE(translation.ReturnsRows);
    for (const oradb::Translation::Marker& marker : translation.BlockMarkers) {
      EXPECT_EQ(translation.Text.substr(marker.Offset, marker.Length), "$" + std::to_string(marker.Param + 1));
    }
  }
}

TEST(TranslatorRenderBlock, WritesTheLiteralsWhereTheBindsStood) {
  const oradb::Translation translation = oradb::Translate("BEGIN PKG.P(:A, :B, :A); END;");
  EXPECT_EQ(oradb::RenderBlock(translation, Literals{"'x'", "12.5"}),
            "DO $ora$\nBEGIN PERFORM PKG.P('x', 12.5, 'x'); END;\n$ora$");
  EXPECT_EQ(testsupport::Failure([&] { static_cast<void>(oradb::RenderBlock(translation, Literals{"1"})); }),
            "ETranslationError: Valor ausente para o parâmetro :B do bloco PL/SQL.");
}

TEST(TranslatorCache, ThreadsMeetingANewTextShareOneTranslation) {
  const std::string text = "SELECT NVL(:X, 0) FROM DUAL -- cache concorrente";
  const std::size_t before = oradb::TranslationCount();
  std::vector<const oradb::Translation*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < seen.size(); ++t) {
    threads.emplace_back([&seen, &text, t] { seen[t] = oradb::TranslateCached(text).get(); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const oradb::Translation* translation : seen) EXPECT_EQ(translation, seen.front());
  EXPECT_EQ(oradb::TranslationCount(), before + 1);
}

// The oldest text is evicted and translated again when asked for; a recent one is still cached; a
// translation a caller holds stays valid after its eviction.
TEST(TranslatorCache, StaysBoundedAndKeepsWhatACallerHolds) {
  const std::string kept = "SELECT :A FROM DUAL -- mantido pelo chamador";
  const auto held = oradb::TranslateCached(kept);
  const std::size_t before = oradb::TranslationCount();
  const auto flood = [](std::size_t i) { return "SELECT " + std::to_string(i) + " FROM DUAL -- enchente"; };
  for (std::size_t i = 0; i <= oradb::kTranslationCacheSize; ++i) static_cast<void>(oradb::TranslateCached(flood(i)));
  EXPECT_EQ(held->Text, "SELECT $1 FROM DUAL -- mantido pelo chamador\n");
  const std::size_t after_flood = oradb::TranslationCount();
  EXPECT_EQ(after_flood, before + oradb::kTranslationCacheSize + 1);
  static_cast<void>(oradb::TranslateCached(flood(oradb::kTranslationCacheSize)));
  EXPECT_EQ(oradb::TranslationCount(), after_flood);
  static_cast<void>(oradb::TranslateCached(kept));
  EXPECT_EQ(oradb::TranslationCount(), after_flood + 1);
}

// A digit string after "COLUMN =" travels as a parameter, so a text built with another row address
// is not translated again; anywhere its place could matter, or where it is not a plain digit
// string compared or assigned whole, it stays in the text.
TEST(TranslatorCache, LiftsADigitStringComparedOrAssignedToAColumn) {
  const auto text = [](const std::string& rowid) {
    return "UPDATE ZTMOVCR SET VLSALDO = :V, TIPO = '1' WHERE ROWID = '" + rowid + "' AND CODCOB = :C -- lift";
  };
  const std::size_t before = oradb::TranslationCount();
  const auto first = oradb::TranslateCached(text("12"));
  const auto second = oradb::TranslateCached(text("9876"));
  EXPECT_EQ(oradb::TranslationCount(), before + 1);
  EXPECT_EQ(first->Text, "UPDATE ZTMOVCR SET VLSALDO = $1, TIPO = $2 WHERE ROWID = $3 AND CODCOB = $4 -- lift\n");
  EXPECT_EQ(second->Text, first->Text);
  EXPECT_EQ(first->ParamNames, (Literals{"V", "", "", "C"}));
  EXPECT_EQ(first->Lifted, (Literals{"1", "12"}));
  EXPECT_EQ(second->Lifted, (Literals{"1", "9876"}));
  // A value stuck to the word after it keeps the word.
  const auto stuck = oradb::TranslateCached("SELECT X FROM A WHERE ROWID='12'AND C = :C");
  EXPECT_EQ(stuck->Text, "SELECT X FROM A WHERE ROWID=$1 AND C = $2");
  EXPECT_EQ(stuck->ParamNames, (Literals{"", "C"}));

  for (const std::string kept : {
           "SELECT ROWID FROM ZTMOVCR WHERE ROWID = '12' ORDER BY NUMTRANS",
           "SELECT CODCOB FROM ZTMOVCR WHERE ROWID = '12' GROUP BY CODCOB",
           "SELECT A.X FROM A, B WHERE A.ID = B.ID(+) AND A.ROWID = '12'",
           "SELECT X FROM A WHERE ROWNUM <= 1 AND ID = '12'",
           "SELECT X FROM A WHERE ID = '12' || '3'",
           "SELECT X FROM A WHERE ID = '1A' AND NOME = '' AND '12' = ID AND ID IN ('12') AND :B = '12'",
           "SELECT X FROM A WHERE ID = '12' AND Y = :QV_LITERAL_1",
           "BEGIN UPDATE A SET X = '1' WHERE ID = '12'; END;",
       }) {
    const auto translation = oradb::TranslateCached(kept);
    EXPECT_TRUE(translation->Lifted.empty()) << kept;
    EXPECT_NE(translation->Text.find("'1"), std::string::npos) << kept;
  }
}

}  // namespace
