#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "sdk/Exception.h"

namespace {

using TTipo = TGravacaoCompensacao::TTipo;

constexpr int kAnteriores = kDirecaoMesesAnteriores;
constexpr int kPosteriores = kDirecaoMesesPosteriores;

TGravacaoCompensacao Vazio(int ano, int mes, double saldo, int direcao) {
  return {TTipo::MesSemMovimento, ano, mes, 0, 0, saldo, saldo, direcao};
}
TGravacaoCompensacao Mes(int ano, int mes, double debito, double credito, double inicial, double final_, int direcao) {
  return {TTipo::MesComMovimento, ano, mes, debito, credito, inicial, final_, direcao};
}
TGravacaoCompensacao Limpar(int ano, int mes, double saldo, int direcao) {
  return {TTipo::LimparMeses, ano, mes, 0, 0, saldo, saldo, direcao};
}

struct WalkCase {
  std::string name;
  TDateTime inicio;
  double saldo;
  int direcao;
  std::vector<TMesCompensacao> meses;
  std::vector<TGravacaoCompensacao> esperado;
};

void PrintTo(const WalkCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Describe(const std::vector<TGravacaoCompensacao>& gravacoes) {
  std::string texto;
  for (const auto& g : gravacoes) {
    const char* tipo = g.Tipo == TTipo::LimparMeses ? "limpar" : g.Tipo == TTipo::MesComMovimento ? "mes" : "vazio";
    texto += std::string(tipo) + " " + std::to_string(g.Mes) + "/" + std::to_string(g.Ano) + " D" +
             std::to_string(g.ValorDebito) + " C" + std::to_string(g.ValorCredito) + " " +
             std::to_string(g.SaldoInicial) + "->" + std::to_string(g.Saldo) + " dir" + std::to_string(g.Direcao) +
             "\n";
  }
  return texto;
}

class MonthWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(MonthWalk, WritesEveryMonthWithItsBalances) {
  const WalkCase& c = GetParam();
  const auto plano = PlanejarRecalculoCompensacao(c.inicio, c.saldo, c.direcao, c.meses);
  EXPECT_EQ(plano, c.esperado) << "got:\n" << Describe(plano) << "expected:\n" << Describe(c.esperado);
}

const TDateTime kMarco2025 = TDateTime::EncodeDate(2025, 3, 1);

INSTANTIATE_TEST_SUITE_P(
    ClearingDate, MonthWalk,
    ::testing::Values(
        // Later months: March D 200 and May C 50 from 1000; April carries 1200; the rest of the
        // history after May is reset to 1150.
        WalkCase{"LaterMonthsWithAGap",
                 kMarco2025,
                 1000,
                 kPosteriores,
                 {{2025, 3, 200, 0}, {2025, 5, 0, 50}},
                 {Mes(2025, 3, 200, 0, 1000, 1200, kPosteriores), Vazio(2025, 4, 1200, kPosteriores),
                  Mes(2025, 5, 0, 50, 1200, 1150, kPosteriores), Limpar(2025, 5, 1150, kPosteriores)}},
        // The later walk starts at the first month with movements, not at the start date.
        WalkCase{"LaterMonthsStartAtTheFirstMonthRead",
                 kMarco2025,
                 1000,
                 kPosteriores,
                 {{2025, 6, 10, 0}},
                 {Mes(2025, 6, 10, 0, 1000, 1010, kPosteriores), Limpar(2025, 6, 1010, kPosteriores)}},
        // Earlier months walk backwards from the start month: February's closing balance is the
        // starting balance and its opening balance undoes the month.
        WalkCase{"EarlierMonths",
                 kMarco2025,
                 1000,
                 kAnteriores,
                 {{2025, 2, 300, 100}},
                 {Vazio(2025, 3, 1000, kAnteriores), Mes(2025, 2, 300, 100, 800, 1000, kAnteriores)}},
        // January lies between February and December of the year before: it carries 800.
        WalkCase{"EarlierMonthsAcrossTheYearEnd",
                 kMarco2025,
                 1000,
                 kAnteriores,
                 {{2025, 2, 300, 100}, {2024, 12, 50, 0}},
                 {Vazio(2025, 3, 1000, kAnteriores), Mes(2025, 2, 300, 100, 800, 1000, kAnteriores),
                  Vazio(2025, 1, 800, kAnteriores), Mes(2024, 12, 50, 0, 750, 800, kAnteriores)}},
        // A start date in the middle of a month with earlier movements in that same month.
        WalkCase{"EarlierMonthsStartingInAMonthWithMovements",
                 TDateTime::EncodeDate(2025, 3, 15),
                 1000,
                 kAnteriores,
                 {{2025, 3, 0, 40}},
                 {Mes(2025, 3, 0, 40, 1040, 1000, kAnteriores)}},
        WalkCase{"LaterMonthsAcrossTheYearEnd",
                 TDateTime::EncodeDate(2024, 11, 1),
                 0,
                 kPosteriores,
                 {{2024, 11, 10, 0}, {2025, 2, 0, 5}},
                 {Mes(2024, 11, 10, 0, 0, 10, kPosteriores), Vazio(2024, 12, 10, kPosteriores),
                  Vazio(2025, 1, 10, kPosteriores), Mes(2025, 2, 0, 5, 10, 5, kPosteriores),
                  Limpar(2025, 2, 5, kPosteriores)}},
        // A whole calendar year without movements is walked month by month, never skipped.
        WalkCase{"LaterMonthsOverAnEmptyYear",
                 TDateTime::EncodeDate(2022, 12, 1),
                 0,
                 kPosteriores,
                 {{2022, 12, 1, 0}, {2024, 1, 1, 0}},
                 [] {
                   std::vector<TGravacaoCompensacao> esperado{Mes(2022, 12, 1, 0, 0, 1, kPosteriores)};
                   for (int mes = 1; mes <= 12; ++mes) esperado.push_back(Vazio(2023, mes, 1, kPosteriores));
                   esperado.push_back(Mes(2024, 1, 1, 0, 1, 2, kPosteriores));
                   esperado.push_back(Limpar(2024, 1, 2, kPosteriores));
                   return esperado;
                 }()},
        WalkCase{"EarlierMonthsOverAnEmptyYear",
                 TDateTime::EncodeDate(2024, 1, 1),
                 0,
                 kAnteriores,
                 {{2022, 12, 0, 1}},
                 [] {
                   std::vector<TGravacaoCompensacao> esperado{Vazio(2024, 1, 0, kAnteriores)};
                   for (int mes = 12; mes >= 1; --mes) esperado.push_back(Vazio(2023, mes, 0, kAnteriores));
                   esperado.push_back(Mes(2022, 12, 0, 1, 1, 0, kAnteriores));
                   return esperado;
                 }()},
        // No movements: the months beyond the start month are reset with the starting balance.
        WalkCase{"NoLaterMonths", kMarco2025, 1000, kPosteriores, {}, {Limpar(2025, 3, 1000, kPosteriores)}},
        WalkCase{"NoEarlierMonths", kMarco2025, 1000, kAnteriores, {}, {Limpar(2025, 3, 1000, kAnteriores)}},
        // Balances are money: sums of tenths come out exact.
        WalkCase{"BalancesRoundToCents",
                 kMarco2025,
                 0.1,
                 kPosteriores,
                 {{2025, 3, 0.2, 0}, {2025, 4, 0.7, 0.4}},
                 {Mes(2025, 3, 0.2, 0, 0.1, 0.3, kPosteriores), Mes(2025, 4, 0.7, 0.4, 0.3, 0.6, kPosteriores),
                  Limpar(2025, 4, 0.6, kPosteriores)}}),
    [](const ::testing::TestParamInfo<WalkCase>& info) { return info.param.name; });

struct BadWalkCase {
  std::string name;
  int direcao;
  std::vector<TMesCompensacao> meses;
  std::string mensagem;
};

void PrintTo(const BadWalkCase& c, std::ostream* os) {
  *os << c.name;
}

class MonthWalkRefuses : public ::testing::TestWithParam<BadWalkCase> {};

TEST_P(MonthWalkRefuses, WithAClearMessageInsteadOfLooping) {
  const BadWalkCase& c = GetParam();
  try {
    (void)PlanejarRecalculoCompensacao(kMarco2025, 0, c.direcao, c.meses);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message(), c.mensagem);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ClearingDate, MonthWalkRefuses,
    ::testing::Values(BadWalkCase{"MonthThirteen",
                                  kPosteriores,
                                  {{2025, 13, 1, 0}},
                                  "Mês inválido no recálculo por data de compensação: 13."},
                      // A later walk that meets an earlier month would never reach it.
                      BadWalkCase{"LaterMonthsOutOfOrder",
                                  kPosteriores,
                                  {{2025, 5, 1, 0}, {2025, 4, 1, 0}},
                                  "Meses fora de ordem no recálculo por data de compensação: 04/2025."},
                      // An earlier walk starts at the start month: a month after it is out of its reach.
                      BadWalkCase{"EarlierMonthAfterTheStart",
                                  kAnteriores,
                                  {{2025, 4, 1, 0}},
                                  "Meses fora de ordem no recálculo por data de compensação: 04/2025."},
                      BadWalkCase{"UnknownDirection", 2, {}, "Direção de recálculo inválida: 2."}),
    [](const ::testing::TestParamInfo<BadWalkCase>& info) { return info.param.name; });

}  // namespace
