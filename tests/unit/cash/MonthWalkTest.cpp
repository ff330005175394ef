#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"

namespace {

constexpr int kAnt = kDirecaoMesesAnteriores;
constexpr int kPost = kDirecaoMesesPosteriores;
const TDateTime kMarch2025 = TDateTime::EncodeDate(2025, 3, 1);

// A plan in short: each write's kind ("mov" month with movements, "empty" month, "reset" of the
// months beyond), its month, its sums when there are any, and its opening>closing balances ("=b"
// when both are b); a direction other than the walk's is shown too.
std::string Plan(TDateTime inicio, double saldo, int direcao, const std::vector<TMesCompensacao>& meses) {
  using TTipo = TGravacaoCompensacao::TTipo;
  std::string text;
  for (const TGravacaoCompensacao& g : PlanejarRecalculoCompensacao(inicio, saldo, direcao, meses)) {
    text += std::string(text.empty() ? "" : ", ") +
            (g.Tipo == TTipo::MesComMovimento   ? "mov "
             : g.Tipo == TTipo::MesSemMovimento ? "empty "
                                                : "reset ") +
            std::to_string(g.Ano) + (g.Mes < 10 ? "-0" : "-") + std::to_string(g.Mes);
    if (g.ValorDebito != 0 || g.ValorCredito != 0) {
      text += " D" + ShortestDecimal(g.ValorDebito) + " C" + ShortestDecimal(g.ValorCredito);
    }
    text += g.SaldoInicial == g.Saldo ? " =" + ShortestDecimal(g.Saldo)
                                      : " " + ShortestDecimal(g.SaldoInicial) + ">" + ShortestDecimal(g.Saldo);
    if (g.Direcao != direcao) text += " direction " + std::to_string(g.Direcao);
  }
  return text;
}

// The clearing-date rebuild gives every month between the start and the last month read its sums
// and balances. The rebuild tests walk March to May and March back to December (across the year
// end) through the database.
TEST(MonthWalk, WritesEveryMonthWithItsBalances) {
  // The later walk starts at the first month with movements, not at the start date.
  EXPECT_EQ(Plan(kMarch2025, 1000, kPost, {{2025, 6, 10, 0}}), "mov 2025-06 D10 C0 1000>1010, reset 2025-06 =1010");
  // Earlier months walk back from the start month, a month's closing balance being the next
  // month's opening one; here the start lies in the middle of a month with earlier movements.
  EXPECT_EQ(Plan(TDateTime::EncodeDate(2025, 3, 15), 1000, kAnt, {{2025, 3, 0, 40}}), "mov 2025-03 D0 C40 1040>1000");
  // No movements: the months beyond the start month are reset with the starting balance.
  EXPECT_EQ(Plan(kMarch2025, 1000, kPost, {}), "reset 2025-03 =1000");
  EXPECT_EQ(Plan(kMarch2025, 1000, kAnt, {}), "reset 2025-03 =1000");
  // Balances are money: sums of tenths come out exact.
  EXPECT_EQ(Plan(kMarch2025, 0.1, kPost, {{2025, 3, 0.2, 0}, {2025, 4, 0.7, 0.4}}),
            "mov 2025-03 D0.2 C0 0.1>0.3, mov 2025-04 D0.7 C0.4 0.3>0.6, reset 2025-04 =0.6");
}

std::string Refusal(int direcao, const std::vector<TMesCompensacao>& meses) {
  return testsupport::Failure([&] { (void)PlanejarRecalculoCompensacao(kMarch2025, 0, direcao, meses); });
}

TEST(MonthWalk, RefusesWithAClearMessageInsteadOfLooping) {
  EXPECT_EQ(Refusal(kPost, {{2025, 13, 1, 0}}), "Exception: Mês inválido no recálculo por data de compensação: 13.");
  // A later walk that meets an earlier month would never reach it; an earlier walk starts at the
  // start month, so a month after it is out of its reach.
  const std::string order = "Exception: Meses fora de ordem no recálculo por data de compensação: 04/2025.";
  EXPECT_EQ(Refusal(kPost, {{2025, 5, 1, 0}, {2025, 4, 1, 0}}), order);
  EXPECT_EQ(Refusal(kAnt, {{2025, 4, 1, 0}}), order);
  EXPECT_EQ(Refusal(2, {}), "Exception: Direção de recálculo inválida: 2.");
}

}  // namespace
