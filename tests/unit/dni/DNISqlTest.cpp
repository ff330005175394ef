#include <gtest/gtest.h>

#include <string>

#include "dni/Uclsfin_daldepositonaoidentificadocomverba.h"
#include "support/StatementBuilders.h"

namespace {

// What dni/dni.sql.test holds, by block name.
const testsupport::StatementBuilders kDNIStatements({
    {"TDALDepositoNaoIdentificadoComVerba::GetSQLConsultarDNIs",
     [] { return TDALDepositoNaoIdentificadoComVerba::GetSQLConsultarDNIs(12, 8801); }},
    {"TDALDepositoNaoIdentificadoComVerba::GetSQLLocalizarBaixaParaEstorno",
     [] { return TDALDepositoNaoIdentificadoComVerba::GetSQLLocalizarBaixaParaEstorno(77); }},
    {"TDALDepositoNaoIdentificadoComVerba::GetSQLMarcarBaixaEstornada",
     [] { return TDALDepositoNaoIdentificadoComVerba::GetSQLMarcarBaixaEstornada(77); }},
});

// The reversal marks exactly the rows its look-up finds: both share one filter.
TEST(DNISql, TheReversalMarksWhatItsLookUpFinds) {
  const std::string busca = TDALDepositoNaoIdentificadoComVerba::GetSQLLocalizarBaixaParaEstorno(5).Text();
  std::string marca = TDALDepositoNaoIdentificadoComVerba::GetSQLMarcarBaixaEstornada(5).Text();
  const std::string filtro = marca.substr(marca.find(" WHERE "));
  std::string filtroBusca = busca.substr(busca.find(" WHERE "));
  filtroBusca = filtroBusca.substr(0, filtroBusca.find("\n ORDER BY"));
  std::string semPrefixo;
  for (std::size_t i = 0; i < filtroBusca.size(); ++i) {
    if (filtroBusca.compare(i, 2, "M.") == 0) {
      ++i;
      continue;
    }
    semPrefixo += filtroBusca[i];
  }
  EXPECT_EQ(semPrefixo, filtro);
}

}  // namespace
