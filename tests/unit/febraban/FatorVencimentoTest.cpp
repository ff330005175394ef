#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>

#include "Falha.h"
#include "febraban/FatorVencimento.h"

namespace {

using namespace std::chrono;
using febrabantest::Falha;

constexpr year_month_day Data(int ano, unsigned mes, unsigned dia) {
  return {year{ano}, month{mes}, day{dia}};
}

// Dates and their factors. The first ones are the table printed with the standard (1000 on
// 03/07/2000, 1002, 1667, 4283, 4789, 9999 on 21/02/2025); then the restart.
struct FatorCase {
  const char* nome;
  year_month_day data;
  int fator;
};

void PrintTo(const FatorCase& c, std::ostream* out) {
  *out << c.nome;
}

class FatorVencimento : public ::testing::TestWithParam<FatorCase> {};

TEST_P(FatorVencimento, OfTheDateAndTheDateOfTheFactorAgree) {
  const FatorCase c = GetParam();
  EXPECT_EQ(febraban::FatorVencimento(c.data), c.fator);
  // Decoded next to the date itself, the factor gives the date back.
  EXPECT_EQ(febraban::VencimentoDoFator(c.fator, c.data), c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Datas, FatorVencimento,
    ::testing::Values(FatorCase{"Primeiro_2000_07_03", Data(2000, 7, 3), 1000},
                      FatorCase{"Tabela_2000_07_05", Data(2000, 7, 5), 1002},
                      FatorCase{"Tabela_2002_05_01", Data(2002, 5, 1), 1667},
                      FatorCase{"Tabela_2009_06_29", Data(2009, 6, 29), 4283},
                      FatorCase{"Tabela_2010_11_17", Data(2010, 11, 17), 4789},
                      FatorCase{"UltimoDoPrimeiroCiclo_2025_02_21", Data(2025, 2, 21), 9999},
                      // 10000 days after the base: 10000 - 9000.
                      FatorCase{"Reinicio_2025_02_22", Data(2025, 2, 22), 1000},
                      // 22/02/2025 + 6 days to 28/02 + 1 to 01/03 + 306 to 01/01/2026 = 313 days: 1313.
                      FatorCase{"Ano2026_2026_01_01", Data(2026, 1, 1), 1313},
                      FatorCase{"Bissexto_2028_02_29", Data(2028, 2, 29), 2102},
                      // 18999 days after the base, then the second restart.
                      FatorCase{"FimDoSegundoCiclo_2049_10_13", Data(2049, 10, 13), 9999},
                      FatorCase{"SegundoReinicio_2049_10_14", Data(2049, 10, 14), 1000}),
    [](const auto& info) { return std::string(info.param.nome); });

// A factor stands for one date per 9000-day cycle; the one nearest the reference wins.
struct VencimentoCase {
  const char* nome;
  int fator;
  year_month_day referencia;
  year_month_day vencimento;
};

void PrintTo(const VencimentoCase& c, std::ostream* out) {
  *out << c.nome;
}

class VencimentoDoFator : public ::testing::TestWithParam<VencimentoCase> {};

TEST_P(VencimentoDoFator, IsTheCandidateNearestTheReference) {
  const VencimentoCase c = GetParam();
  EXPECT_EQ(febraban::VencimentoDoFator(c.fator, c.referencia), c.vencimento);
}

INSTANTIATE_TEST_SUITE_P(Referencias, VencimentoDoFator,
                         ::testing::Values(
                             // A slip of February 2025 read a year later is a year overdue, not due in 2049.
                             VencimentoCase{"VencidoHaUmAno", 9999, Data(2026, 3, 10), Data(2025, 2, 21)},
                             VencimentoCase{"ReinicioLidoNoDiaAnterior", 1000, Data(2025, 2, 21), Data(2025, 2, 22)},
                             VencimentoCase{"ReinicioLidoEm2026", 1000, Data(2026, 3, 10), Data(2025, 2, 22)},
                             VencimentoCase{"Fator2026", 1381, Data(2026, 1, 1), Data(2026, 3, 10)},
                             // Factor 1000 with reference 4499 days after 03/07/2000 keeps 2000; at 4500 (equally near
                             // both dates) the later one is taken.
                             VencimentoCase{"MeioDoCicloMenos1", 1000, Data(2012, 10, 27), Data(2000, 7, 3)},
                             VencimentoCase{"MeioDoCicloEmpateVaiParaOMaisNovo", 1000, Data(2012, 10, 28),
                                            Data(2025, 2, 22)},
                             // Before the first cycle there is no earlier candidate.
                             VencimentoCase{"ReferenciaAntesDaBase", 4789, Data(1990, 1, 1), Data(2010, 11, 17)},
                             VencimentoCase{"VelhoPorem2035MaisPerto", 4789, Data(2026, 3, 10), Data(2035, 7, 9)}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(FatorVencimentoLimites, ZeroIsNoDueDateAndOthersOutOfRangeAreRefused) {
  EXPECT_FALSE(febraban::VencimentoDoFator(0, Data(2026, 3, 10)).has_value());
  const auto falha = [](int fator) {
    return Falha([&] { (void)febraban::VencimentoDoFator(fator, Data(2026, 3, 10)); });
  };
  EXPECT_EQ(falha(1), "Fator de vencimento 0001 inválido.");
  EXPECT_EQ(falha(999), "Fator de vencimento 0999 inválido.");
  EXPECT_EQ(falha(10000), "Fator de vencimento 10000 inválido.");
  EXPECT_EQ(falha(-5), "Fator de vencimento -5 inválido.");
  EXPECT_EQ(Falha([] { (void)febraban::VencimentoDoFator(1000, Data(2026, 2, 29)); }),
            "Data de referência do fator de vencimento inválida.");
  EXPECT_EQ(Falha([] { (void)febraban::VencimentoDoFator(1000, Data(10000, 1, 1)); }),
            "Data de referência do fator de vencimento inválida.");
  EXPECT_EQ(Falha([] { (void)febraban::FatorVencimento(Data(2000, 7, 2)); }),
            "Data de vencimento anterior a 03/07/2000 não tem fator de vencimento.");
  EXPECT_EQ(Falha([] { (void)febraban::FatorVencimento(Data(1997, 10, 7)); }),
            "Data de vencimento anterior a 03/07/2000 não tem fator de vencimento.");
  EXPECT_EQ(Falha([] { (void)febraban::FatorVencimento(Data(2026, 4, 31)); }), "Data de vencimento inválida.");
}

// Day by day over two restarts: the factor moves by one a day, wraps from 9999 to 1000, and
// decodes back to the same day.
TEST(FatorVencimentoLimites, EveryDayOfTwoCyclesRoundTrips) {
  int anterior = 999;
  for (sys_days dia = sys_days(Data(2000, 7, 3)); dia <= sys_days(Data(2050, 1, 1)); dia += days(1)) {
    const int fator = febraban::FatorVencimento(year_month_day(dia));
    ASSERT_EQ(fator, anterior == 9999 ? 1000 : anterior + 1)
        << (dia - sys_days(Data(2000, 7, 3))).count() << " days after 03/07/2000";
    ASSERT_EQ(febraban::VencimentoDoFator(fator, year_month_day(dia + days(100))), year_month_day(dia));
    anterior = fator;
  }
}

}  // namespace
