#include <gtest/gtest.h>
#include <ostream>

#include "rtl/Formatacao.h"

namespace {

struct RoundCase {
  double value;
  int decimals;
  double expected;
};

void PrintTo(const RoundCase& c, std::ostream* out) {
  *out << c.value << " to " << c.decimals;
}

class RoundToTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToTest, RoundsOnTheDecimalTextTiesToEven) {
  const RoundCase c = GetParam();
  EXPECT_EQ(RoundTo(c.value, c.decimals), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(Amounts, RoundToTest,
                         ::testing::Values(RoundCase{2.675, 2, 2.68}, RoundCase{10.456, 2, 10.46},
                                           RoundCase{0.125, 2, 0.12}, RoundCase{0.135, 2, 0.14},
                                           RoundCase{-2.675, 2, -2.68}, RoundCase{1.005, 2, 1.0},
                                           RoundCase{9.995, 2, 10.0}, RoundCase{0.1 + 0.2, 2, 0.3},
                                           RoundCase{33.3333333, 6, 33.333333}, RoundCase{100.0000005, 6, 100.0},
                                           RoundCase{12.0, 2, 12.0}, RoundCase{0.5, 0, 0.0}, RoundCase{1.5, 0, 2.0}));

TEST(FormatarValor, UsesThousandAndDecimalSeparatorsOfTheHost) {
  EXPECT_EQ(FormatarValor(1234.5), "1.234,50");
  EXPECT_EQ(FormatarValor(0), "0,00");
  EXPECT_EQ(FormatarValor(123456789.125), "123.456.789,12");
  EXPECT_EQ(FormatarValor(-1234567.891), "-1.234.567,89");
  EXPECT_EQ(FormatarValor(-0.004), "0,00");
  EXPECT_EQ(FormatarValor(2.675), "2,68");
  EXPECT_EQ(FormatarValor(1234.5, TFormatSettings{'.', ','}), "1,234.50");
}

TEST(CharCount, CountsCharactersNotBytes) {
  EXPECT_EQ(CharCount("Lançamento"), 10u);
  EXPECT_EQ(CharCount("ÇÃÉ"), 3u);
  EXPECT_EQ(CharCount(std::string("a\xff"
                                  "b")),
            3u);  // an invalid byte is one character
  EXPECT_EQ(Utf8Left("Ação rápida", 3), "Açã");
  EXPECT_EQ(Utf8Left("abc", 10), "abc");
}

}  // namespace
