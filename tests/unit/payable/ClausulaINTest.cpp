#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "sdk/Exception.h"

namespace {

std::string Monta(const std::string& lista, bool aspas = false, bool negar = false) {
  return TDALContasPagar::MontaClausulaIN("ZTLANC.RECNUM", lista, aspas, negar);
}

TEST(PayableInClause, ValuesAreSortedAsTextOnceEachAndWrapped) {
  struct Caso {
    const char* lista;
    bool aspas;
    bool negar;
    const char* clausula;
  };
  const Caso casos[] = {
      {"", false, false, ""},
      {" , ,", false, false, ""},
      {"30,100,2", false, false, "(ZTLANC.RECNUM IN ( 100,2,30 )) "},
      {" 7 , 7,8", false, false, "(ZTLANC.RECNUM IN ( 7,8 )) "},
      {"-5,12.5", false, false, "(ZTLANC.RECNUM IN ( -5,12.5 )) "},
      {"2,D'OESTE", true, false, "(ZTLANC.RECNUM IN ( '2','D''OESTE' )) "},
      {"1,2", false, true, "(ZTLANC.RECNUM NOT IN ( 1,2 )) "},
  };
  for (const Caso& caso : casos) EXPECT_EQ(Monta(caso.lista, caso.aspas, caso.negar), caso.clausula) << caso.lista;
}

// The list is pasted into SQL: an unquoted value that is not a number never reaches it.
TEST(PayableInClause, UnquotedValuesMustBeNumbers) {
  for (const std::string valor : {"1) OR (1=1", "3a", "--", "1;DELETE FROM ZTLANC"}) {
    try {
      (void)Monta("12," + valor);
      ADD_FAILURE() << valor;
    } catch (const Exception& erro) {
      EXPECT_STREQ(erro.ClassName(), "Exception");
      EXPECT_EQ(erro.Message(), "Valor inválido na lista de ZTLANC.RECNUM: \"" + valor + "\".");
    }
  }
}

// 400 values of 5 digits do not fit one list: each list stays under 1000 characters, is closed only
// when the next value would not fit, and the lists are joined with OR (AND when negated).
TEST(PayableInClause, LongListsAreSplitIntoListsUnderOneThousandCharacters) {
  std::string lista;
  for (int valor = 10000; valor < 10400; ++valor) lista += (lista.empty() ? "" : ",") + std::to_string(valor);
  for (const bool negar : {false, true}) {
    const std::string clausula = Monta(lista, false, negar);
    const std::string abre = negar ? "ZTLANC.RECNUM NOT IN ( " : "ZTLANC.RECNUM IN ( ";
    const std::string juncao = negar ? " )\r    AND " + abre : " )\r    OR " + abre;
    ASSERT_EQ(clausula.substr(0, abre.size() + 1), "(" + abre);
    ASSERT_EQ(clausula.substr(clausula.size() - 4), " )) ");
    std::vector<std::string> listas;
    for (std::size_t inicio = abre.size() + 1, fim = 0; fim != clausula.size() - 4; inicio = fim + juncao.size()) {
      fim = std::min(clausula.find(juncao, inicio), clausula.size() - 4);
      listas.push_back(clausula.substr(inicio, fim - inicio));
    }
    ASSERT_GE(listas.size(), 2U);
    EXPECT_GE(listas[0].size() + 6, 1000U);
    std::string valores;
    for (const std::string& parte : listas) {
      EXPECT_LT(parte.size(), 1000U);
      valores += (valores.empty() ? "" : ",") + parte;
    }
    EXPECT_EQ(valores, lista);
  }
}

}  // namespace
