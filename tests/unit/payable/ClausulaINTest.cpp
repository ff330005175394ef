#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "sdk/Exception.h"

namespace {

std::string Monta(const std::string& lista, bool aspas = false, bool negar = false) {
  return TDALContasPagar::MontaClausulaIN("ZTLANC.RECNUM", lista, aspas, negar);
}

TEST(PayableInClause, EmptyListGivesNoCondition) {
  EXPECT_EQ(Monta(""), "");
  EXPECT_EQ(Monta(" , ,"), "");
}

TEST(PayableInClause, ValuesAreSortedAsTextAndWrapped) {
  EXPECT_EQ(Monta("30,100,2"), "(ZTLANC.RECNUM IN ( 100,2,30 )) ");
  EXPECT_EQ(Monta(" 7 , 7,8"), "(ZTLANC.RECNUM IN ( 7,8 )) ");
}

TEST(PayableInClause, QuotedValuesAreEscaped) {
  EXPECT_EQ(TDALContasPagar::MontaClausulaIN("CODFILIAL", "2,D'OESTE", true, false),
            "(CODFILIAL IN ( '2','D''OESTE' )) ");
}

TEST(PayableInClause, NegationUsesNotIn) {
  EXPECT_EQ(Monta("1,2", false, true), "(ZTLANC.RECNUM NOT IN ( 1,2 )) ");
}

TEST(PayableInClause, UnquotedValuesMustBeNumbers) {
  for (const std::string lista : {"1) OR (1=1", "12,3a", "--", "1;DELETE FROM ZTLANC"}) {
    try {
      (void)Monta(lista);
      ADD_FAILURE() << lista;
    } catch (const Exception& erro) {
      EXPECT_STREQ(erro.ClassName(), "Exception");
      EXPECT_NE(erro.Message().find("Valor inválido na lista de ZTLANC.RECNUM"), std::string::npos) << erro.Message();
    }
  }
  EXPECT_EQ(Monta("-5,12.5"), "(ZTLANC.RECNUM IN ( -5,12.5 )) ");
}

// The IN lists of a clause, with the joint before each.
struct Lista {
  std::string juncao;
  std::string valores;
};

std::vector<Lista> Listas(const std::string& clausula, const std::string& abre) {
  std::vector<Lista> listas;
  std::size_t posicao = 1;  // after "("
  while (true) {
    const std::size_t inicio = clausula.find(abre, posicao);
    if (inicio == std::string::npos) break;
    const std::size_t fim = clausula.find(" )", inicio);
    listas.push_back({clausula.substr(posicao, inicio - posicao),
                      clausula.substr(inicio + abre.size(), fim - inicio - abre.size())});
    posicao = fim + 2;
  }
  return listas;
}

TEST(PayableInClause, LongListsAreSplitIntoListsUnderOneThousandCharacters) {
  std::string lista;
  std::set<std::string> esperados;
  for (int valor = 10000; valor < 10400; ++valor) {
    lista += (lista.empty() ? "" : ",") + std::to_string(valor);
    esperados.insert(std::to_string(valor));
  }
  const std::string clausula = Monta(lista);
  ASSERT_EQ(clausula.substr(0, 1), "(");
  ASSERT_EQ(clausula.substr(clausula.size() - 2), ") ");
  const auto listas = Listas(clausula, "ZTLANC.RECNUM IN ( ");
  ASSERT_GE(listas.size(), 2U);
  ASSERT_LE(listas.size(), 3U);
  std::set<std::string> vistos;
  for (std::size_t indice = 0; indice < listas.size(); ++indice) {
    EXPECT_EQ(listas[indice].juncao, indice == 0 ? "" : "\r    OR ");
    EXPECT_LT(listas[indice].valores.size(), 1000U);
    std::size_t inicio = 0;
    while (inicio <= listas[indice].valores.size()) {
      const std::size_t virgula = std::min(listas[indice].valores.find(',', inicio), listas[indice].valores.size());
      EXPECT_TRUE(vistos.insert(listas[indice].valores.substr(inicio, virgula - inicio)).second);
      inicio = virgula + 1;
    }
  }
  EXPECT_EQ(vistos, esperados);
  // A list is closed only when the next value would not fit.
  EXPECT_GE(listas[0].valores.size() + 6, 1000U);
}

TEST(PayableInClause, NegatedListsAreJoinedWithAnd) {
  std::string lista;
  for (int valor = 10000; valor < 10400; ++valor) lista += std::to_string(valor) + ",";
  const std::string clausula = Monta(lista, false, true);
  const auto listas = Listas(clausula, "ZTLANC.RECNUM NOT IN ( ");
  ASSERT_GE(listas.size(), 2U);
  for (std::size_t indice = 1; indice < listas.size(); ++indice) EXPECT_EQ(listas[indice].juncao, "\r    AND ");
  EXPECT_EQ(clausula.find(" OR "), std::string::npos);
}

}  // namespace
