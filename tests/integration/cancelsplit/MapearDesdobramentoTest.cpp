#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DesdobramentoFixture.h"
#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"

namespace {

// Split graphs of sales 65100 and up, in the test's own transaction (rolled back).
class MapearDesdobramentoTest : public cancelsplit_it::DesdobramentoTest {
 protected:
  void LigarTitulos(const std::string& tabela, long long orig, const std::string& prest_orig, long long dest,
                    const std::string& prest_dest) {
    Exec("INSERT INTO " + tabela + " (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" +
         std::to_string(orig) + ", '" + prest_orig + "', " + std::to_string(dest) + ", '" + prest_dest + "')");
  }

  // The edges as "origin>destination", in the order found.
  static std::vector<std::string> Arestas(const TArrayOfTipoRegistro& tipos) {
    std::vector<std::string> texto;
    for (const TipoRegistroPtr& t : tipos) texto.push_back(t->Origem->Descricao() + ">" + t->Destino->Descricao());
    return texto;
  }

  std::vector<std::string> MapearTitulo(long long numtransvenda, const std::string& prest, bool a_maior = false) {
    TMapearDesdobramento mapa(Session(), tmZTPrest);
    return Arestas(mapa.MapearDesdobramento(TRegistroZtPrest(numtransvenda, prest), a_maior));
  }
};

using Textos = std::vector<std::string>;

TEST_F(MapearDesdobramentoTest, ChainFromItsEndComesOutBreadthFirst) {
  // A -> B -> C, and B also split into D: from C, B->C first, then what B reaches, in key order.
  LigarTitulos("ZTDESD", 65101, "1", 65102, "1");
  LigarTitulos("ZTDESD", 65102, "1", 65103, "1");
  LigarTitulos("ZTDESD", 65102, "1", 65104, "2");
  EXPECT_EQ(MapearTitulo(65103, "1"), (Textos{"65102-1>65103-1", "65101-1>65102-1", "65102-1>65104-2"}));
  EXPECT_EQ(MapearTitulo(65101, "1"), (Textos{"65101-1>65102-1", "65102-1>65103-1", "65102-1>65104-2"}));
  // A title outside every split maps to nothing, and so does a run of no mode.
  EXPECT_TRUE(MapearTitulo(65199, "1").empty());
  TMapearDesdobramento nenhum(Session(), tmNenhum);
  EXPECT_TRUE(nenhum.MapearDesdobramento(TRegistroZtPrest(65101, "1"), false).empty());
}

TEST_F(MapearDesdobramentoTest, CyclesEndAndEdgesInBothTablesCountOnce) {
  LigarTitulos("ZTDESD", 65111, "1", 65112, "1");
  LigarTitulos("ZTDESD", 65112, "1", 65111, "1");
  EXPECT_EQ(MapearTitulo(65111, "1"), (Textos{"65111-1>65112-1", "65112-1>65111-1"}));

  // The same split kept in ZTDESD and in ZTDESDMAP, and a longer cycle through ZTDESDMAP only.
  LigarTitulos("ZTDESD", 65121, "1", 65122, "1");
  LigarTitulos("ZTDESDMAP", 65121, "1", 65122, "1");
  LigarTitulos("ZTDESDMAP", 65122, "1", 65123, "1");
  LigarTitulos("ZTDESDMAP", 65123, "1", 65121, "1");
  EXPECT_EQ(MapearTitulo(65121, "1"), (Textos{"65121-1>65122-1", "65123-1>65121-1", "65122-1>65123-1"}));
}

TEST_F(MapearDesdobramentoTest, ResultGrowsAcrossStartsWithoutRepeats) {
  LigarTitulos("ZTDESD", 65131, "1", 65132, "1");
  LigarTitulos("ZTDESD", 65133, "1", 65134, "1");
  TMapearDesdobramento mapa(Session(), tmZTPrest);
  TArrayOfTipoRegistro tipos{std::make_shared<TipoRegistroZTPrest>(std::make_shared<TRegistroZtPrest>(1, "1"),
                                                                   std::make_shared<TRegistroZtPrest>(2, "1"))};
  mapa.MapearDesdobramento(
      {std::make_shared<TRegistroZtPrest>(65132, "1"), std::make_shared<TRegistroZtPrest>(65131, "1"),
       std::make_shared<TRegistroZtPrest>(65134, "1")},
      false, tipos);
  EXPECT_EQ(Arestas(tipos), (Textos{"65131-1>65132-1", "65133-1>65134-1"}));
}

TEST_F(MapearDesdobramentoTest, ExcessSplitNodesCarryTheirEntriesAndCredits) {
  // 65141-1 split with excess into 65142-1: a payable entry and a credit were created for the origin.
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODCLI) VALUES (65141, '1', 9141, 8141)");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODCLI) VALUES (65142, '1', 9142, 8141)");
  Exec(
      "INSERT INTO ZTLANC (RECNUM, LOCALIZACAO, PARCELA, NUMNOTA, CODFORNEC) VALUES (9651410, '65141', '1', 9141, "
      "8141)");
  Exec(
      "INSERT INTO ZTLANC (RECNUM, LOCALIZACAO, PARCELA, NUMNOTA, CODFORNEC) VALUES (9651411, '65141', '1', 9141, "
      "9999)");
  Exec("INSERT INTO ZTCRECLI (CODIGO, CODCLI, NUMTRANSVENDA, PRESTORIG, VALOR) VALUES (9651412, 8141, 65141, '1', 5)");
  LigarTitulos("ZTDESD", 65141, "1", 65142, "1");

  TMapearDesdobramento mapa(Session(), tmZTPrest);
  const TArrayOfTipoRegistro tipos = mapa.MapearDesdobramento(TRegistroZtPrest(65142, "1"), true);
  ASSERT_EQ(tipos.size(), 1u);
  const auto* origem = dynamic_cast<const TRegistroFKZtPrest*>(tipos[0]->Origem.get());
  ASSERT_NE(origem, nullptr);
  ASSERT_EQ(origem->FKs.size(), 2u);
  EXPECT_EQ(origem->FKs[0].Registro->Chave(), TRegistroZTLanc(9651410).Chave());
  EXPECT_EQ(origem->FKs[0].Tipo, TZTPrestFK::zpfZTLanc);
  EXPECT_EQ(origem->FKs[1].Registro->Chave(), TRegistroZTCreCli(9651412).Chave());
  EXPECT_EQ(origem->FKs[1].Tipo, TZTPrestFK::zpfZTCreCli);
  // Nothing was created for the destination: a plain title.
  EXPECT_EQ(dynamic_cast<const TRegistroFKZtPrest*>(tipos[0]->Destino.get()), nullptr);
  // Without excess handling both ends are plain titles.
  TMapearDesdobramento simples(Session(), tmZTPrest);
  EXPECT_EQ(dynamic_cast<const TRegistroFKZtPrest*>(
                simples.MapearDesdobramento(TRegistroZtPrest(65142, "1"), false)[0]->Origem.get()),
            nullptr);
}

TEST_F(MapearDesdobramentoTest, InstalmentsWithSeparatorsAndQuotesAreKeptWhole) {
  LigarTitulos("ZTDESD", 65151, "A|", 65152, "''1");  // instalment "'1"
  EXPECT_EQ(MapearTitulo(65152, "'1"), (Textos{"65151-A|>65152-'1"}));
}

TEST_F(MapearDesdobramentoTest, EntriesMapInBothDirections) {
  // 100 -> 101, 100 -> 102, 102 -> 103 -> 100 (a cycle through the root).
  LigarLancamentos(965100, 965101);
  LigarLancamentos(965100, 965102);
  LigarLancamentos(965102, 965103);
  LigarLancamentos(965103, 965100);
  TMapearDesdobramento mapa(Session(), tmZTLanc);
  const TArrayOfTipoRegistro tipos = mapa.MapearDesdobramento(TRegistroZTLanc(965103), true);
  EXPECT_EQ(Arestas(tipos), (Textos{"965103>965100", "965102>965103", "965100>965101", "965100>965102"}));
}

}  // namespace
