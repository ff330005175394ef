#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"
#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

using Mapa = TMapearDesdobramento;

TRegistroPtr T(long long venda, const std::string& prest) {
  return std::make_shared<TRegistroZtPrest>(venda, prest);
}

// What cancelsplit/cancelsplit.sql.test holds, by block name.
const testsupport::StatementBuilders kCancelSplitStatements({
    {"TMapearDesdobramento::GetSQLDependenciasZTPrest", [] { return Mapa::GetSQLDependenciasZTPrest(); }},
    {"TMapearDesdobramento::GetSQLDependenciasZTLanc", [] { return Mapa::GetSQLDependenciasZTLanc(); }},
    {"TMapearDesdobramento::GetSQLTituloAMaior", [] { return Mapa::GetSQLTituloAMaior(); }},
    {"TMapearDesdobramento::GetSQLZTLancAMaior", [] { return Mapa::GetSQLZTLancAMaior(); }},
    {"TMapearDesdobramento::GetSQLZTCreCliAMaior", [] { return Mapa::GetSQLZTCreCliAMaior(); }},
    {"TDAOModoZTLanc::GetSQLSaldoVerba", [] { return TDAOModoZTLanc::GetSQLSaldoVerba(); }},
    {"TDAOModoZTLanc::GetSQLDevolucaoEstornada", [] { return TDAOModoZTLanc::GetSQLDevolucaoEstornada(); }},
    {"TDAOModoZTPrest::ObterSelect (an instalment with a quote stays one literal)",
     [] {
       return TDAOModoZTPrest::GetSQLSelect(
           {std::make_shared<TRegistroZtPrest>(10, "1"), std::make_shared<TRegistroZtPrest>(11, "A'")});
     }},
    {"TDAOModoZTPrest::ObterSelect (no records)", [] { return TDAOModoZTPrest::GetSQLSelect({}); }},
    {"TDAOModoZTLanc::ObterSelect",
     [] {
       return TDAOModoZTLanc::GetSQLSelect(
           {std::make_shared<TRegistroZTLanc>(5), std::make_shared<TRegistroZTLanc>(6)});
     }},
    {"TDAO::GetSQLTravar",
     [] { return TDAO::GetSQLTravar(TDAOModoZTPrest::GetSQLSelect({T(7, "1")}), "NUMTRANSVENDA, PREST"); }},
    {"TDAO::GetSQLInserir",
     [] {
       return TDAO::GetSQLInserir("ZTPREST", {"NUMTRANSVENDA", "PREST", "VALOR"});
     }},
    {"TDAOModoZTPrest::GetSQLBaixar", [] { return TDAOModoZTPrest::GetSQLBaixar(); }},
    {"TDAOModoZTPrest::GetSQLReplicarParaBaixa",
     [] {
       return TDAOModoZTPrest::GetSQLReplicarParaBaixa({"NUMTRANSVENDA", "PREST", "VALOR"});
     }},
    {"TDAOModoZTPrest::GetSQLContarReplica", [] { return TDAOModoZTPrest::GetSQLContarReplica(); }},
    {"TDAOModoZTPrest::GetSQLProximaPrest", [] { return TDAOModoZTPrest::GetSQLProximaPrest(); }},
    {"TDAOModoZTPrest::GetSQLVincular", [] { return TDAOModoZTPrest::GetSQLVincular(); }},
    {"TDAOModoZTPrest::GetSQLAtualizarCampo", [] { return TDAOModoZTPrest::GetSQLAtualizarCampo("DTVENC"); }},
    {"TDAOModoZTLanc::GetSQLBaixar", [] { return TDAOModoZTLanc::GetSQLBaixar(); }},
    {"TDAOModoZTLanc::GetSQLReplicarParaBaixa",
     [] {
       return TDAOModoZTLanc::GetSQLReplicarParaBaixa({"RECNUM", "VALOR"});
     }},
    {"TDAOModoZTLanc::GetSQLVincular", [] { return TDAOModoZTLanc::GetSQLVincular(); }},
    {"TDAOModoZTLanc::GetSQLAtualizarCampo", [] { return TDAOModoZTLanc::GetSQLAtualizarCampo("DTPRORROG"); }},
    {"TDAOZTCreCli::GetSQLAtualizarCampo", [] { return TDAOZTCreCli::GetSQLAtualizarCampo("DTDESCONTO"); }},
});

// Column names are pasted into the statements: anything but a plain name is refused.
TEST(CancelarDesdobramentoSql, ColumnNamesOtherThanPlainNamesAreRefused) {
  for (const char* nome : {"DTVENC = NULL, VALOR", "DTVENC--", "", "A B", "X;DROP"}) {
    EXPECT_FAILS_WITH(TDAOModoZTPrest::GetSQLAtualizarCampo(nome),
                      std::string("Exception: Nome de campo inválido: '") + nome + "'.");
  }
  EXPECT_FAILS_WITH(TDAO::GetSQLInserir("ZTLANC", {"RECNUM", "VALOR)"}),
                    "Exception: Nome de campo inválido: 'VALOR)'.");
}

// The rows' digest: SHA-1 as the standard's own examples give it, and one change in any column
// (NULL included) changes it.
TEST(CancelarDesdobramentoSql, RowDigestIsSha1AndSeesEveryColumn) {
  EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(Sha1Hex(std::string(1000, 'a')), "291e9a6c66994949b57ba5e650361e98fc36b1ba");
  TCancDesdCds dados;
  dados.DefinirColunas({"NUMTRANSVENDA", "PREST", "OBS2"});
  const TRegistroZtPrest a(1, "1");
  const TRegistroZtPrest b(2, "1");
  const TRegistroZtPrest c(3, "1");
  dados.Adicionar(a.Chave(), {"1", "1", std::nullopt});
  dados.Adicionar(b.Chave(), {"1", "1", std::string()});
  dados.Adicionar(c.Chave(), {"1", "1N;", std::nullopt});
  EXPECT_EQ(dados.HASHCALCULADO(a).size(), 40u);
  EXPECT_NE(dados.HASHCALCULADO(a), dados.HASHCALCULADO(b));
  EXPECT_NE(dados.HASHCALCULADO(a), dados.HASHCALCULADO(c));
  EXPECT_EQ(dados.HASHCALCULADO(TRegistroZtPrest(4, "1")), "");
}

}  // namespace
