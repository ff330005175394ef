#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CashFixture.h"

// Amounts with three or more decimals are rounded once, by the module, before the movement is
// stored or the balance moved: the balance row always equals the sum of the signed movements,
// on the locked path and on the in-place path alike.
namespace {

using cashtest::CashTest;
using cashtest::Rows;

class CashRounding : public CashTest, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(BalanceLock, CashRounding, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Locked" : "InPlace"; });

TEST_P(CashRounding, TheBalanceIsTheSumOfTheStoredMovements) {
  const std::vector<std::pair<std::string, double>> movimentos = {
      {"D", 0.125}, {"D", 0.135}, {"C", 1.005}, {"D", 2.675}, {"D", 10.456}, {"C", 0.004}, {"D", 1234.5649}};
  for (const auto& [tipo, valor] : movimentos) {
    RFin_IncluirMovimentacaoNumerarios r = NovoMovimento(tipo, valor);
    r.TRAVARSALDO = GetParam();
    r.CONCILIACAO = "OK";
    ASSERT_TRUE(Caixa().Incluir(r));
    EXPECT_EQ(r.VALOR, RoundTo(valor, 2)) << valor;  // the record says what was stored
  }
  const Rows soma =
      Linhas("SELECT SUM(CASE TIPO WHEN 'D' THEN VALOR WHEN 'C' THEN -VALOR ELSE 0 END) FROM ZTMOVCR" + DaConta());
  ASSERT_EQ(soma.size(), 1u);
  EXPECT_EQ(Saldo(), Rows{soma[0] + "|" + soma[0]});
  // Each movement's frozen balance is the one before it plus its own stored value.
  const Rows linhas = Movimentos("TIPO, VALOR, VLSALDO");
  double saldo = 0;
  for (const std::string& linha : linhas) {
    const auto a = linha.find('|');
    const auto b = linha.find('|', a + 1);
    const double valor = std::stod(linha.substr(a + 1, b - a - 1));
    saldo = RoundTo(saldo + (linha[0] == 'C' ? -valor : valor), 2);
    EXPECT_EQ(std::stod(linha.substr(b + 1)), saldo) << linha;
  }
}

}  // namespace
