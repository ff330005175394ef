#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "accountsplit/Uclsfin_dalrateiocontas.h"
#include "support/StatementBuilders.h"

namespace {

using Dal = TDALRateioContas;

// What accountsplit/accountsplit.sql.test holds, by block name. A named apportionment's groups are
// joined outer in a fixed account order, so the last account (which takes the remainders) is always
// the same one; cost centers that are inactive or take no entries stay out, those the user may not
// use carry the flag 'N'; the rows of an entry held for supplementation go to the held twin.
const testsupport::StatementBuilders kAccountSplitStatements({
    {"TDALRateioContas::montarSQLBuscaRateioContas", [] { return Dal::montarSQLBuscaRateioContas(); }},
    {"TDALRateioContas::montarSQLBuscaRateioCentroCusto", [] { return Dal::montarSQLBuscaRateioCentroCusto(); }},
    {"TDALRateioContas::montarSQLDescricaoContaEGrupo", [] { return Dal::montarSQLDescricaoContaEGrupo(); }},
    {"TDALRateioContas::montarSQLUsaRateioCentroCusto", [] { return Dal::montarSQLUsaRateioCentroCusto(); }},
    {"TDALRateioContas::montarSQLQuantidadeItensRateio", [] { return Dal::montarSQLQuantidadeItensRateio(); }},
    {"TDALRateioContas::montarSQLInserirRateioConta", [] { return Dal::montarSQLInserirRateioConta(); }},
    {"TDALRateioContas::montarSQLInserirRateioCentroCusto (posted)",
     [] { return Dal::montarSQLInserirRateioCentroCusto(false); }},
    {"TDALRateioContas::montarSQLInserirRateioCentroCusto (held)",
     [] { return Dal::montarSQLInserirRateioCentroCusto(true); }},
});

using Kinds = std::vector<std::pair<std::string, TParamKind>>;

Kinds KindsOf(TOraQuery& query) {
  Kinds kinds;
  for (std::size_t indice = 0; indice < query.Params().Count(); ++indice) {
    kinds.emplace_back(query.Params()[indice].Name(), query.Params()[indice].Kind());
  }
  return kinds;
}

// Numbers as numbers, the date with its time, branch, counterpart and cost center as text; a date
// not set is NULL, not the host's day zero.
TEST(AccountSplitSql, WritersBindNumbersDatesAndTexts) {
  const TDateTime dia = TDateTime::EncodeDateTime(2030, 5, 10, 14, 30, 0);
  TOraQuery conta;
  conta.SQL.SetText(Dal::montarSQLInserirRateioConta().Text());
  Dal::VincularRateioConta(conta, 71, 3101, 33.33, 33.33, dia, "N", 70, "1", 5);
  EXPECT_EQ(KindsOf(conta), (Kinds{{"RECNUM", TParamKind::pkFloat},
                                   {"CODCONTA", TParamKind::pkFloat},
                                   {"VALOR", TParamKind::pkFloat},
                                   {"PERCRATEIO", TParamKind::pkFloat},
                                   {"DTLANC", TParamKind::pkDateTime},
                                   {"CONTRAPARTIDA", TParamKind::pkString},
                                   {"RECNUMPRINC", TParamKind::pkFloat},
                                   {"CODFILIAL", TParamKind::pkString},
                                   {"CODRATEIOCONTA", TParamKind::pkFloat}}));
  EXPECT_EQ(conta.ParamByName("DTLANC").WireValue(), "2030-05-10 14:30:00");
  EXPECT_EQ(conta.ParamByName("VALOR").WireValue(), "33.33");

  TOraQuery centro;
  centro.SQL.SetText(Dal::montarSQLInserirRateioCentroCusto(false).Text());
  Dal::VincularRateioCentroCusto(centro, 71, 3101, "1.01", 11.11, 33.33, TDateTime(), "N", 70, "1");
  EXPECT_EQ(KindsOf(centro), (Kinds{{"RECNUM", TParamKind::pkFloat},
                                    {"CODCONTA", TParamKind::pkFloat},
                                    {"VALOR", TParamKind::pkFloat},
                                    {"PERCRATEIO", TParamKind::pkFloat},
                                    {"DTLANC", TParamKind::pkNull},
                                    {"CONTRAPARTIDA", TParamKind::pkString},
                                    {"RECNUMPRINC", TParamKind::pkFloat},
                                    {"CODFILIAL", TParamKind::pkString},
                                    {"CODIGOCENTROCUSTO", TParamKind::pkString}}));
  EXPECT_EQ(centro.ParamByName("CODIGOCENTROCUSTO").WireValue(), "1.01");
}

}  // namespace
