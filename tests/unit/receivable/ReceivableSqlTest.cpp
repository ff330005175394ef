#include <gtest/gtest.h>

#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "support/StatementBuilders.h"

namespace {

// What receivable/receivable.sql.test holds, by block name.
const testsupport::StatementBuilders kReceivableStatements({
    {"TDALContasReceber::GetSQLLocalizarTitulo", [] { return TDALContasReceber::GetSQLLocalizarTitulo(); }},
    {"TDALContasReceber::GetSQLLocalizarTituloSomenteNUMTRANSVENDA",
     [] { return TDALContasReceber::GetSQLLocalizarTituloSomenteNUMTRANSVENDA(); }},
    {"TDALContasReceber::GetSQLRetornarBancoCobranca", [] { return TDALContasReceber::GetSQLRetornarBancoCobranca(); }},
    {"TDALContasReceber::GetSQLBuscarInformacoesBanco",
     [] { return TDALContasReceber::GetSQLBuscarInformacoesBanco(); }},
    {"TDALContasReceber::GetSQLBloquearRegistroBancario",
     [] { return TDALContasReceber::GetSQLBloquearRegistroBancario(); }},
    {"TDALContasReceber::GetSQLBloquearRegistrosBancarios (two banks)",
     [] {
       return TDALContasReceber::GetSQLBloquearRegistrosBancarios({12, 7});
     }},
    {"TDALContasReceber::GetSQLBloquearRegistrosBancarios (none)",
     [] { return TDALContasReceber::GetSQLBloquearRegistrosBancarios({}); }},
    {"TDALContasReceber::GetSQLGerarDadosBancarios", [] { return TDALContasReceber::GetSQLGerarDadosBancarios(); }},
});

// The list of banks that can generate bank data is closed: the neighbours of its members are out.
TEST(ReceivableBankData, OnlyTheListedBankNumbersCanGenerate) {
  for (const double numero : {1.0, 33.0, 41.0, 104.0, 237.0, 341.0, 399.0, 422.0, 748.0, 756.0, 6111.0, 6375.0}) {
    EXPECT_TRUE(BancoDisponivelParaGerarDadosBancarios(numero)) << numero;
  }
  for (const double numero : {0.0, 2.0, 236.0, 238.0, 6376.0, 6110.0, 341.5, -1.0}) {
    EXPECT_FALSE(BancoDisponivelParaGerarDadosBancarios(numero)) << numero;
  }
}

}  // namespace
