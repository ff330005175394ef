#include <gtest/gtest.h>

#include <ostream>
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

// Test names instead of bytes in failure reports.
void PrintTo(const Caso& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableBudgetVerdict : public ::testing::TestWithParam<Caso> {};

TEST_P(PayableBudgetVerdict, ComparesToTheCent) {
  const Caso& caso = GetParam();
  const TSituacaoOrcamento situacao = TContasPagar::AvaliarOrcamento(caso.orcado, caso.pago, caso.aberto, caso.valor);
  EXPECT_EQ(situacao.Excedido, caso.excedido);
  EXPECT_DOUBLE_EQ(situacao.Disponivel, caso.disponivel);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, PayableBudgetVerdict,
                         ::testing::Values(
                             // 999.99 + 0.01 is 1000.0000000000001 in binary: the comparison is to the cent.
                             Caso{"LastCentFits", 1000, 999.99, 0, 0.01, false, 0.01},
                             Caso{"OneCentTooMany", 1000, 999.99, 0, 0.02, true, 0.01},
                             Caso{"PaidAndOpenAddUp", 1000, 400.10, 599.89, 0.01, false, 0.01},
                             Caso{"NoBudgetRow", 0, 0, 0, 0.01, true, 0},
                             Caso{"AlreadyOverNeverNegativeBalance", 500, 300, 250, 1, true, 0},
                             Caso{"SubCentFractionsRoundAway", 100, 99.994, 0, 0.004, false, 0.01},
                             Caso{"ExactlyTheBudget", 250.5, 0, 0, 250.5, false, 250.5}),
                         [](const ::testing::TestParamInfo<Caso>& info) { return info.param.nome; });

TEST(PayableBudgetText, NamesAccountMonthBranchAndAmountsInTheHostFormat) {
  TSituacaoOrcamento situacao;
  situacao.Orcado = 1000;
  situacao.Realizado = 1234.5;
  situacao.Disponivel = 0;
  EXPECT_EQ(TContasPagar::TextoOrcamento(3101, 3, 2024, "1", situacao),
            "Lançamentos da Conta 3101 para 03/2024 na Filial 1 ultrapassou o Valor Orçado !\r\n"
            "Lançamentos já realizados: 1.234,50\r\n"
            "Valor Orçado: 1.000,00\r\n"
            "Saldo disponível: 0,00");
}

TEST(PayableBudgetSql, MonthColumnHasTwoDigits) {
  EXPECT_EQ(TDALContasPagar::GetSQLValorOrcado(3),
            "SELECT VLORCMES03 AS VALOR FROM ZTORCLAN WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND ANO = "
            ":ANO");
  EXPECT_NE(TDALContasPagar::GetSQLValorOrcado(12).find("VLORCMES12 AS VALOR"), std::string::npos);
}

TEST(PayableBudgetSql, PaidByPaymentMonthOpenByDueMonth) {
  EXPECT_EQ(TDALContasPagar::GetSQLValorLancado("ZTLANC", true, false),
            "SELECT NVL(SUM(VPAGO), 0) AS VALOR\n"
            "  FROM ZTLANC\n"
            " WHERE CODCONTA = :CODCONTA\n"
            "   AND CODFILIAL = :CODFILIAL\n"
            "   AND DTPAGTO IS NOT NULL\n"
            "   AND RECNUM <> NVL(:RECNUM, 0)\n"
            "   AND DTREJEICAOSUPLORC IS NULL\n"
            "   AND DTPAGTO >= :DTINICIO\n"
            "   AND DTPAGTO < :DTFIM");
  EXPECT_EQ(TDALContasPagar::GetSQLValorLancado("ZTLANCBLOQ", false, false),
            "SELECT NVL(SUM(VALOR), 0) AS VALOR\n"
            "  FROM ZTLANCBLOQ\n"
            " WHERE CODCONTA = :CODCONTA\n"
            "   AND CODFILIAL = :CODFILIAL\n"
            "   AND DTPAGTO IS NULL\n"
            "   AND RECNUM <> NVL(:RECNUM, 0)\n"
            "   AND DTREJEICAOSUPLORC IS NULL\n"
            "   AND DTVENC >= :DTINICIO\n"
            "   AND DTVENC < :DTFIM");
}

TEST(PayableBudgetSql, ByAccrualLeavesOutSplitAndReversedEntries) {
  EXPECT_EQ(TDALContasPagar::GetSQLValorLancado("ZTLANC", false, true),
            "SELECT NVL(SUM(VALOR), 0) AS VALOR\n"
            "  FROM ZTLANC\n"
            " WHERE CODCONTA = :CODCONTA\n"
            "   AND CODFILIAL = :CODFILIAL\n"
            "   AND DTPAGTO IS NULL\n"
            "   AND RECNUM <> NVL(:RECNUM, 0)\n"
            "   AND DTREJEICAOSUPLORC IS NULL\n"
            "   AND DTCOMPETENCIA IS NOT NULL\n"
            "   AND DTCOMPETENCIA >= :DTINICIO\n"
            "   AND DTCOMPETENCIA < :DTFIM\n"
            "   AND DTDESD IS NULL\n"
            "   AND DTESTORNOBAIXA IS NULL");
}

}  // namespace
