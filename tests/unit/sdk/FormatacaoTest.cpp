#include <gtest/gtest.h>

#include <string>

#include "rtl/Formatacao.h"

namespace {

TEST(RoundTo, RoundsOnTheDecimalTextTiesToEven) {
  const struct {
    double value;
    int decimals;
    double expected;
  } cases[] = {
      {2.675, 2, 2.68}, {10.456, 2, 10.46}, {0.125, 2, 0.12},    {0.135, 2, 0.14},           {-2.675, 2, -2.68},
      {1.005, 2, 1.0},  {9.995, 2, 10.0},   {0.1 + 0.2, 2, 0.3}, {33.3333333, 6, 33.333333}, {100.0000005, 6, 100.0},
      {12.0, 2, 12.0},  {0.5, 0, 0.0},      {1.5, 0, 2.0}};
  for (const auto& c : cases) EXPECT_EQ(RoundTo(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

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
