#include <gtest/gtest.h>
#include <memory>

#include "sdk/fin/TRegistroDesdobramento.h"

namespace {

TRegistroPtr Prest(long long numtransvenda, const std::string& prest) {
  return std::make_shared<TRegistroZtPrest>(numtransvenda, prest);
}
TRegistroPtr Lanc(long long recnum) {
  return std::make_shared<TRegistroZTLanc>(recnum);
}

TEST(RegistroDesdobramento, RecordsAreEqualBySameTableAndKeyOnly) {
  EXPECT_TRUE(Prest(10, "1")->Igual(*Prest(10, "1")));
  EXPECT_FALSE(Prest(10, "1")->Igual(*Prest(10, "2")));
  EXPECT_FALSE(Prest(10, "1")->Igual(*Prest(11, "1")));
  // Same number, other table: a payable entry is never a credit.
  EXPECT_FALSE(Lanc(7)->Igual(TRegistroZTCreCli(7)));
  // The rows a split with excess created do not make another title.
  TArrayOfRegistrosFK fks{{Lanc(5), TZTPrestFK::zpfZTLanc}};
  EXPECT_TRUE(TRegistroFKZtPrest(10, "1", fks).Igual(*Prest(10, "1")));
  // An instalment holding the separators of the key cannot collide with another key.
  EXPECT_FALSE(Prest(1, "2:3")->Igual(*Prest(1, "2")));
  EXPECT_NE(TRegistroZtPrest(1, "1:ZTPREST:1:1").Chave(), TRegistroZtPrest(1, "1").Chave());
  EXPECT_EQ(Prest(1, "A|B")->Descricao(), "1-A|B");
}

TEST(RegistroDesdobramento, EdgesAreDirected) {
  const TipoRegistroZTPrest ab(Prest(1, "1"), Prest(2, "1"));
  EXPECT_TRUE(ab.igual(TipoRegistroZTPrest(Prest(1, "1"), Prest(2, "1"))));
  EXPECT_FALSE(ab.igual(TipoRegistroZTPrest(Prest(2, "1"), Prest(1, "1"))));
  EXPECT_NE(ab.Chave(), TipoRegistroZTPrest(Prest(2, "1"), Prest(1, "1")).Chave());
  EXPECT_EQ(ab.Chave(), TipoRegistroZTPrest(Prest(1, "1"), Prest(2, "1")).Chave());
}

TEST(RegistroDesdobramento, AddIfAbsentKeepsFirstAndOrder) {
  TArrayOfRegistro registros;
  EXPECT_TRUE(AdicionarAoArraySeNaoEstiver(registros, Lanc(3)));
  EXPECT_TRUE(AdicionarAoArraySeNaoEstiver(registros, Lanc(1)));
  EXPECT_FALSE(AdicionarAoArraySeNaoEstiver(registros, Lanc(3)));
  ASSERT_EQ(registros.size(), 2u);
  EXPECT_EQ(registros[0]->Descricao(), "3");

  TArrayOfTipoRegistro tipos;
  EXPECT_TRUE(AdicionarAoArraySeNaoEstiver(tipos, std::make_shared<TipoRegistroZTLanc>(Lanc(1), Lanc(2))));
  EXPECT_FALSE(AdicionarAoArraySeNaoEstiver(tipos, std::make_shared<TipoRegistroZTLanc>(Lanc(1), Lanc(2))));
  EXPECT_TRUE(AdicionarAoArraySeNaoEstiver(tipos, std::make_shared<TipoRegistroZTLanc>(Lanc(2), Lanc(1))));
  EXPECT_EQ(tipos.size(), 2u);
}

TEST(RegistroDesdobramento, ArrayIgualComparesAsSets) {
  EXPECT_TRUE(ArrayIgual({}, {}));
  EXPECT_TRUE(ArrayIgual({Lanc(1), Lanc(2)}, {Lanc(2), Lanc(1)}));
  EXPECT_TRUE(ArrayIgual({Lanc(1), Lanc(1)}, {Lanc(1)}));
  EXPECT_FALSE(ArrayIgual({Lanc(1)}, {Lanc(1), Lanc(2)}));
  EXPECT_FALSE(ArrayIgual({Lanc(1), Lanc(2)}, {Lanc(1)}));
  EXPECT_FALSE(ArrayIgual({Lanc(1)}, {}));

  const TArrayOfRegistro filtrado =
      Filtrar({Lanc(1), Lanc(2), Lanc(3)}, [](const TRegistro& r) { return r.Descricao() == "2"; });
  ASSERT_EQ(filtrado.size(), 2u);
  EXPECT_EQ(filtrado[1]->Descricao(), "3");
}

TEST(RegistroDesdobramento, OperationKindsReadNamesNumbersAndRefuseTheRest) {
  EXPECT_EQ(ObterTipoOperacaoZTDESDPREST("TONormal"), todNormal);
  EXPECT_EQ(ObterTipoOperacaoZTDESDPREST("1"), todAMaior);
  EXPECT_EQ(ObterTipoOperacaoZTDESDLANCOPERACAO("NORMAL"), todNormal);
  EXPECT_EQ(ObterTipoOperacaoZTDESDLANCOPERACAO("2"), todBaixadoNoDesdobramento);
  EXPECT_THROW((void)ObterTipoOperacaoZTDESDPREST("NORMAL"), Exception);
  EXPECT_THROW((void)ObterTipoOperacaoZTDESDLANCOPERACAO(""), Exception);

  const TArrayOfAcaoImpeditiva lista{std::make_shared<TAcaoImpeditivaDesdEstruturasInvalidasZTLanc>(Lanc(4), "x"),
                                     std::make_shared<TAcaoImpeditivaDesdEstruturasInvalidasZTLanc>(Lanc(9), "y")};
  EXPECT_EQ(LocalizarNaLista(lista, *Lanc(9)), 1);
  EXPECT_EQ(LocalizarNaLista(lista, *Lanc(5)), -1);
}

}  // namespace
