#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "Falha.h"
#include "febraban/Valor.h"

namespace {

using febrabantest::Falha;

TEST(ValorEmCentavos, RoundsHalfAwayFromZeroOnTheDecimalText) {
  struct Caso {
    double valor;
    std::int64_t centavos;
  };
  const Caso casos[] = {
      // 19.99 * 100 is 1998.9999999999998 and 0.29 * 100 is 28.999999999999996: truncation loses a cent.
      {19.99, 1999},
      {0.29, 29},
      {0.01, 1},
      {0.0, 0},
      {-0.0, 0},
      // Stored below the half (1.00499999999999989..., 2.67499999999999982...), meant as the half.
      {1.005, 101},
      {2.675, 268},
      {0.005, 1},
      {0.0049999, 0},
      {0.1 + 0.2, 30},
      {10.456, 1046},
      {10.454, 1045},
      {9.995, 1000},
      {99'999'999.99, 9'999'999'999},
      {100'000'000.0, 10'000'000'000},
      {std::numeric_limits<double>::denorm_min(), 0},
  };
  for (const Caso& c : casos) EXPECT_EQ(febraban::ValorEmCentavos(c.valor), c.centavos) << c.valor;
}

// Every amount typed with two decimals, up to R$ 20.000,00, comes back as its own cents.
TEST(ValorEmCentavosTodos, EveryTwoDecimalAmountIsItsOwnCents) {
  for (std::int64_t centavos = 0; centavos <= 2'000'000; ++centavos) {
    const double valor = static_cast<double>(centavos) / 100.0;
    ASSERT_EQ(febraban::ValorEmCentavos(valor), centavos) << valor;
  }
}

TEST(ValorEmCentavosRecusa, NegativeNotANumberAndHugeValues) {
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(-0.01); }), "Valor negativo não é aceito.");
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(-0.001); }), "Valor negativo não é aceito.");
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(std::nan("")); }), "Valor inválido.");
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(std::numeric_limits<double>::infinity()); }), "Valor inválido.");
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(1e13); }), "Valor acima do limite aceito.");
  EXPECT_EQ(Falha([] { (void)febraban::ValorEmCentavos(1e300); }), "Valor acima do limite aceito.");
}

}  // namespace
