#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "rtl/Exception.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

using DAL = TDALCentroCusto;

TStringList RegistrosLancto(TTipoLancamento tipo, bool bloqueados, double principal = 0, bool clone = false) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tipo);
  p.NumTransPrinc_CodPlanoConta = principal;
  p.FazCloneRegistroPrincipal = clone;
  return DAL::GetSQLRegistrosLancto(p, bloqueados);
}

TStringList DeleteTodos(TTipoLancamento tipo) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tipo);
  return DAL::GetSQLDeleteTodos(p);
}

// What costcenter/costcenter.sql.test holds, by block name.
const testsupport::StatementBuilders kCostCenterStatements({
    {"TDALCentroCusto::GetSQLRegistrosLancto (financial)", [] { return RegistrosLancto(tlFinanceiro, false); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (financial, held)", [] { return RegistrosLancto(tlFinanceiro, true); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (financial counterpart)",
     [] { return RegistrosLancto(tlFinanceiro, false, 77); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (financial counterpart, cloned principal)",
     [] { return RegistrosLancto(tlFinanceiro, false, 77, true); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (accounting)", [] { return RegistrosLancto(tlContabil, false); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (budget)", [] { return RegistrosLancto(tlOrcamento, false); }},
    {"TDALCentroCusto::GetSQLRegistrosLancto (standard account)", [] { return RegistrosLancto(tlContaPadrao, false); }},
    {"TDALCentroCusto::GetSQLRegistrosDesdobramento (10,11,12)",
     [] { return DAL::GetSQLRegistrosDesdobramento("10,11,12"); }},
    {"TDALCentroCusto::GetSQLRateioPadrao", [] { return DAL::GetSQLRateioPadrao(); }},
    {"TDALCentroCusto::GetSQLRateioPadraoConta (account)", [] { return DAL::GetSQLRateioPadraoConta(false); }},
    {"TDALCentroCusto::GetSQLRateioPadraoConta (material request item)",
     [] { return DAL::GetSQLRateioPadraoConta(true); }},
    {"TDALCentroCusto::GetSQLLanctoPadraoContabil", [] { return DAL::GetSQLLanctoPadraoContabil(); }},
    {"TDALCentroCusto::GetSQLLancamentosEntrada", [] { return DAL::GetSQLLancamentosEntrada(); }},
    {"TDALCentroCusto::GetSQLLancamentosSaida", [] { return DAL::GetSQLLancamentosSaida(); }},
    {"TDALCentroCusto::GetSQLContasCentroCusto (financial)", [] { return DAL::GetSQLContasCentroCusto(tlFinanceiro); }},
    {"TDALCentroCusto::GetSQLContasCentroCusto (budget)", [] { return DAL::GetSQLContasCentroCusto(tlOrcamento); }},
    {"TDALCentroCusto::GetSQLContasCentroCusto (accounting)", [] { return DAL::GetSQLContasCentroCusto(tlContabil); }},
    {"TDALCentroCusto::GetSQLContasCentroCusto (standard account)",
     [] { return DAL::GetSQLContasCentroCusto(tlContaPadrao); }},
    {"TDALCentroCusto::GetSQLItemSolicitacaoMateriais", [] { return DAL::GetSQLItemSolicitacaoMateriais(); }},
    {"TDALCentroCusto::GetSQLCentroCustoPrioritario", [] { return DAL::GetSQLCentroCustoPrioritario(); }},
    {"TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTO (ZTRATEIOCENTROCUSTOBLOQ)",
     [] { return DAL::GetSQLInsertZTRATEIOCENTROCUSTO("ZTRATEIOCENTROCUSTOBLOQ"); }},
    {"TDALCentroCusto::GetSQLInsertZTRATEIOCONTABILCC", [] { return DAL::GetSQLInsertZTRATEIOCONTABILCC(); }},
    {"TDALCentroCusto::GetSQLInsertZTORCLANCENTROCUSTO", [] { return DAL::GetSQLInsertZTORCLANCENTROCUSTO(); }},
    {"TDALCentroCusto::GetSQLInsertZTCONTACENTROCUSTO", [] { return DAL::GetSQLInsertZTCONTACENTROCUSTO(); }},
    {"TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO",
     [] { return DAL::GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO(); }},
    {"TDALCentroCusto::GetSQLDeleteTodos (financial)", [] { return DeleteTodos(tlFinanceiro); }},
    {"TDALCentroCusto::GetSQLDeleteTodos (accounting)", [] { return DeleteTodos(tlContabil); }},
    {"TDALCentroCusto::GetSQLDeleteTodos (budget)", [] { return DeleteTodos(tlOrcamento); }},
    {"TDALCentroCusto::GetSQLDeleteTodos (priority account)", [] { return DeleteTodos(tlContaPrioritaria); }},
    {"TDALCentroCusto::GetSQLDeleteBloqueados", [] { return DAL::GetSQLDeleteBloqueados(); }},
    {"TDALCentroCusto::GetSQLDeletePrioritario", [] { return DAL::GetSQLDeletePrioritario(); }},
    {"TDALCentroCusto::GetSQLEditaContabil", [] { return DAL::GetSQLEditaContabil(); }},
    {"TDALCentroCusto::GetSQLAlterarConta", [] { return DAL::GetSQLAlterarConta(); }},
    {"TDALCentroCusto::GetSQLTravarLancamentos (3 entries)", [] { return DAL::GetSQLTravarLancamentos(3, false); }},
    {"TDALCentroCusto::GetSQLTravarLancamentos (1 held entry)", [] { return DAL::GetSQLTravarLancamentos(1, true); }},
    {"TDALCentroCusto::GetSQLTravarLancamentoContabil", [] { return DAL::GetSQLTravarLancamentoContabil(); }},
    {"TDALCentroCusto::GetSQLTravarConta", [] { return DAL::GetSQLTravarConta(); }},
    {"TDALCentroCusto::GetSQLTravarOrcamentoCentroCusto", [] { return DAL::GetSQLTravarOrcamentoCentroCusto(); }},
    {"TDALCentroCusto::GetSQLQuantidadeRateios", [] { return DAL::GetSQLQuantidadeRateios(); }},
    {"TDALCentroCusto::GetSQLExisteConta", [] { return DAL::GetSQLExisteConta(); }},
    {"TDALCentroCusto::GetSQLEstornarRateio (negative leg only)", [] { return DAL::GetSQLEstornarRateio(501, -1); }},
    {"TDALCentroCusto::GetSQLEstornarRateio (both legs)", [] { return DAL::GetSQLEstornarRateio(501, 502); }},
    {"TDALCentroCusto::GetSQLReplicarRateio (900)", [] { return DAL::GetSQLReplicarRateio(900); }},
    {"TDALCentroCusto::GetSQLOrcamentoConta (March)", [] { return DAL::GetSQLOrcamentoConta(3); }},
    {"TDALCentroCusto::GetSQLOrcamentoConta (December)", [] { return DAL::GetSQLOrcamentoConta(12); }},
    {"TDALCentroCusto::GetSQLRealizadoConta (by due date)", [] { return DAL::GetSQLRealizadoConta(false, false); }},
    {"TDALCentroCusto::GetSQLRealizadoConta (held, by accrual)", [] { return DAL::GetSQLRealizadoConta(true, true); }},
});

// The list is pasted into the statement: only whole numbers reach it.
TEST(CostCenterSql, SplitTitleListsAreWholeNumbersOnly) {
  EXPECT_EQ(DAL::ListaRecNumSegura(" 10, 11 ,12,"), "10,11,12");
  for (const std::string ruim : {"10) OR (1=1", "10,'11'", "1.5", "-3", ",", ""}) {
    EXPECT_FAILS_WITH(DAL::ListaRecNumSegura(ruim),
                      "Exception: Lista de lançamentos do desdobramento inválida: \"" + ruim + "\".");
  }
}

// Rows of a payable entry go to the held table only for an entry held for supplementation in a
// branch that works with it, unless the caller allowed posting above the budget.
TEST(CostCenterSql, FinancialWriterTableBySupplementationHeldFlagAndPermission) {
  const std::tuple<bool, bool, bool, const char*> casos[] = {{true, true, false, "ZTRATEIOCENTROCUSTOBLOQ"},
                                                             {true, true, true, "ZTRATEIOCENTROCUSTO"},
                                                             {true, false, false, "ZTRATEIOCENTROCUSTO"},
                                                             {false, true, false, "ZTRATEIOCENTROCUSTO"}};
  for (const auto& [suplementacao, bloqueado, permitir, tabela] : casos) {
    EXPECT_EQ(TDALCentroCusto::TabelaRateioFinanceiro(suplementacao, bloqueado, permitir), tabela)
        << suplementacao << bloqueado << permitir;
  }
}

}  // namespace
