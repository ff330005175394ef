#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "Falha.h"
#include "febraban/FatorVencimento.h"

namespace {

using namespace std::chrono;
using febrabantest::Falha;

constexpr year_month_day Data(int ano, unsigned mes, unsigned dia) {
  return {year{ano}, month{mes}, day{dia}};
}

// A factor stands for one date per 9000-day cycle; the one nearest the reference wins.
TEST(VencimentoDoFator, IsTheCandidateNearestTheReference) {
  struct Caso {
    const char* nome;
    int fator;
    year_month_day referencia;
    year_month_day vencimento;
  };
  const Caso casos[] = {
      // A slip of February 2025 read a year later is a year overdue, not due in 2049.
      {"VencidoHaUmAno", 9999, Data(2026, 3, 10), Data(2025, 2, 21)},
      {"ReinicioLidoNoDiaAnterior", 1000, Data(2025, 2, 21), Data(2025, 2, 22)},
      {"ReinicioLidoEm2026", 1000, Data(2026, 3, 10), Data(2025, 2, 22)},
      {"Fator2026", 1381, Data(2026, 1, 1), Data(2026, 3, 10)},
      // Factor 1000 with reference 4499 days after 03/07/2000 keeps 2000; at 4500 (equally near
      // both dates) the later one is taken.
      {"MeioDoCicloMenos1", 1000, Data(2012, 10, 27), Data(2000, 7, 3)},
      {"MeioDoCicloEmpateVaiParaOMaisNovo", 1000, Data(2012, 10, 28), Data(2025, 2, 22)},
      // Before the first cycle there is no earlier candidate.
      {"ReferenciaAntesDaBase", 4789, Data(1990, 1, 1), Data(2010, 11, 17)},
      {"VelhoPorem2035MaisPerto", 4789, Data(2026, 3, 10), Data(2035, 7, 9)},
  };
  for (const Caso& c : casos) EXPECT_EQ(febraban::VencimentoDoFator(c.fator, c.referencia), c.vencimento) << c.nome;
}

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

// Day by day over two restarts: the factor moves by one a day from 1000 on 03/07/2000, wraps from
// 9999 to 1000, and decodes back to the same day. So the table printed with the standard holds (1002
// on 05/07/2000, 1667 on 01/05/2002, 4283 on 29/06/2009, 4789 on 17/11/2010, 9999 on 21/02/2025),
// and so do the restarts (1000 on 22/02/2025 and on 14/10/2049; 1313 on 01/01/2026, 2102 on 29/02/2028).
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
