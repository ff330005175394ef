#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"

namespace {

TEST(PayableBudgetVerdict, ComparesToTheCent) {
  // budget, paid, open, value, exceeded, available
  const std::tuple<double, double, double, double, bool, double> casos[] = {
      // 999.99 + 0.01 is 1000.0000000000001 in binary: the comparison is to the cent.
      {1000, 999.99, 0, 0.01, false, 0.01},
      {1000, 999.99, 0, 0.02, true, 0.01},
      {1000, 400.10, 599.89, 0.01, false, 0.01},  // paid and open add up
      {0, 0, 0, 0.01, true, 0},                   // no budget row
      {500, 300, 250, 1, true, 0},                // already over: never a negative balance
      {100, 99.994, 0, 0.004, false, 0.01}};      // sub-cent fractions round away
  for (const auto& [orcado, pago, aberto, valor, excedido, disponivel] : casos) {
    const TSituacaoOrcamento situacao = TContasPagar::AvaliarOrcamento(orcado, pago, aberto, valor);
    EXPECT_EQ(situacao.Excedido, excedido) << orcado << " " << pago << " " << aberto << " " << valor;
    EXPECT_DOUBLE_EQ(situacao.Disponivel, disponivel) << orcado << " " << pago << " " << aberto;
  }
}

// The month's budget column has two digits. Paid entries count by payment month, open ones by due
// month, both by accrual month when budgets are consumed by accrual (then split and reversed
// entries are left out).
TEST(PayableBudgetSql, BudgetAndWhatTheMonthAlreadyHolds) {
  EXPECT_EQ(TDALContasPagar::GetSQLValorOrcado(3),
            "SELECT VLORCMES03 AS VALOR FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = "
            ":ANO");
  EXPECT_EQ(TDALContasPagar::GetSQLValorOrcado(12).substr(0, 18), "SELECT VLORCMES12 ");
  const std::tuple<const char*, bool, bool, const char*> casos[] = {
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
  for (const auto& [tabela, pago, competencia, sql] : casos) {
    EXPECT_EQ(TDALContasPagar::GetSQLValorLancado(tabela, pago, competencia), sql);
  }
}

}  // namespace
