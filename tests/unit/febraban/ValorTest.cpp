#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "Falha.h"
#include "febraban/Valor.h"

namespace {

using febrabantest::Falha;

struct ValorCase {
  const char* nome;
  double valor;
  std::int64_t centavos;
};

void PrintTo(const ValorCase& c, std::ostream* out) {
  *out << c.nome;
}

class ValorEmCentavos : public ::testing::TestWithParam<ValorCase> {};

TEST_P(ValorEmCentavos, RoundsHalfAwayFromZeroOnTheDecimalText) {
  const ValorCase c = GetParam();
  EXPECT_EQ(febraban::ValorEmCentavos(c.valor), c.centavos);
}

INSTANTIATE_TEST_SUITE_P(
    Valores, ValorEmCentavos,
    ::testing::Values(
        // 19.99 * 100 is 1998.9999999999998 and 0.29 * 100 is 28.999999999999996: truncation loses a cent.
        ValorCase{"DezenoveENoventaENove", 19.99, 1999}, ValorCase{"VinteENoveCentavos", 0.29, 29},
        ValorCase{"UmCentavo", 0.01, 1}, ValorCase{"Zero", 0.0, 0}, ValorCase{"ZeroNegativo", -0.0, 0},
        // Stored below the half (1.00499999999999989..., 2.67499999999999982...), meant as the half.
        ValorCase{"UmVirgulaZeroZeroCinco", 1.005, 101}, ValorCase{"DoisVirgulaSeisSeteCinco", 2.675, 268},
        ValorCase{"MeioCentavo", 0.005, 1}, ValorCase{"AbaixoDoMeioCentavo", 0.0049999, 0},
        ValorCase{"SomaBinaria", 0.1 + 0.2, 30}, ValorCase{"TresCasasParaCima", 10.456, 1046},
        ValorCase{"TresCasasParaBaixo", 10.454, 1045}, ValorCase{"VaiUmAteOInteiro", 9.995, 1000},
        ValorCase{"MaiorValorDoBoleto", 99'999'999.99, 9'999'999'999},
        ValorCase{"AcimaDoBoletoAindaEmCentavos", 100'000'000.0, 10'000'000'000},
        ValorCase{"MenorDouble", std::numeric_limits<double>::denorm_min(), 0}),
    [](const auto& info) { return std::string(info.param.nome); });

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
