#include <gtest/gtest.h>

#include <string>

#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"

namespace {

struct Caso {
  const char* nome;
  double orcado;
  double pago;
  double aberto;
  double valor;
  bool excedido;
  double disponivel;
};

class PayableBudgetVerdict : public ::testing::TestWithParam<Caso> {};

TEST_P(PayableBudgetVerdict, ComparesToTheCent) {
  const Caso& caso = GetParam();
  const TSituacaoOrcamento situacao = TContasPagar::AvaliarOrcamento(caso.orcado, caso.pago, caso.aberto, caso.valor);
  EXPECT_EQ(situacao.Excedido, caso.excedido);
  EXPECT_DOUBLE_EQ(situacao.Disponivel, caso.disponivel);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boundaries, PayableBudgetVerdict,
                         ::testing::Values(
                             // 999.99 + 0.01 is 1000.0000000000001 in binary: the comparison is to the cent.
                             Caso{"LastCentFits", 1000, 999.99, 0, 0.01, false, 0.01},
                             Caso{"OneCentTooMany", 1000, 999.99, 0, 0.02, true, 0.01},
                             Caso{"PaidAndOpenAddUp", 1000, 400.10, 599.89, 0.01, false, 0.01},
                             Caso{"NoBudgetRow", 0, 0, 0, 0.01, true, 0},
                             Caso{"AlreadyOverNeverNegativeBalance", 500, 300, 250, 1, true, 0},
                             Caso{"SubCentFractionsRoundAway", 100, 99.994, 0, 0.004, false, 0.01}),
                         [](const ::testing::TestParamInfo<Caso>& info) { return info.param.nome; });
// clang-format on

TEST(PayableBudgetSql, BudgetOfTheMonthColumnWithTwoDigits) {
  EXPECT_EQ(TDALContasPagar::GetSQLValorOrcado(3),
            "SELECT VLORCMES03 AS VALOR FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = "
            ":ANO");
  EXPECT_EQ(TDALContasPagar::GetSQLValorOrcado(12).substr(0, 18), "SELECT VLORCMES12 ");
}

struct Lancado {
  const char* tabela;
  bool pago;
  bool competencia;
  const char* sql;
};

// Paid entries count by payment month, open ones by due month, both by accrual month when budgets are
// consumed by accrual (then split and reversed entries are left out).
TEST(PayableBudgetSql, WhatTheMonthAlreadyHolds) {
  const Lancado casos[] = {
      {"ZTLANC", true, false,
       "SELECT NVL(SUM(VPAGO), 0) AS VALOR\n  FROM ZTLANC\n WHERE CODCONTA = :CODCONTA\n   AND CODFILIAL = :CODFILIAL\n"
       "   AND DTPAGTO IS NOT NULL\n   AND RECNUM <> NVL(:RECNUM, 0)\n   AND DTREJEICAOSUPLORC IS NULL\n"
       "   AND DTPAGTO >= :DTINICIO\n   AND DTPAGTO < :DTFIM"},
      {"ZTLANCBLOQ", false, false,
       "SELECT NVL(SUM(VALOR), 0) AS VALOR\n  FROM ZTLANCBLOQ\n WHERE CODCONTA = :CODCONTA\n"
       "   AND CODFILIAL = :CODFILIAL\n   AND DTPAGTO IS NULL\n   AND RECNUM <> NVL(:RECNUM, 0)\n"
       "   AND DTREJEICAOSUPLORC IS NULL\n   AND DTVENC >= :DTINICIO\n   AND DTVENC < :DTFIM"},
      {"ZTLANC", false, true,
       "SELECT NVL(SUM(VALOR), 0) AS VALOR\n  FROM ZTLANC\n WHERE CODCONTA = :CODCONTA\n   AND CODFILIAL = :CODFILIAL\n"
       "   AND DTPAGTO IS NULL\n   AND RECNUM <> NVL(:RECNUM, 0)\n   AND DTREJEICAOSUPLORC IS NULL\n"
       "   AND DTCOMPETENCIA IS NOT NULL\n   AND DTCOMPETENCIA >= :DTINICIO\n   AND DTCOMPETENCIA < :DTFIM\n"
       "   AND DTDESD IS NULL\n   AND DTESTORNOBAIXA IS NULL"},
  };
  for (const Lancado& caso : casos) {
    EXPECT_EQ(TDALContasPagar::GetSQLValorLancado(caso.tabela, caso.pago, caso.competencia), caso.sql);
  }
}

}  // namespace
