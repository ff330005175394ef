#include <gtest/gtest.h>

#include "sdk/TDateTime.h"

namespace {

TEST(DateTime, CountsDaysFromTheHostEpoch) {
  EXPECT_EQ(TDateTime::EncodeDate(1899, 12, 30).Value(), 0.0);
  EXPECT_EQ(TDateTime::EncodeDate(1900, 1, 1).Value(), 2.0);
  EXPECT_EQ(TDateTime::EncodeDate(2000, 2, 29).Value(), 36585.0);
  EXPECT_EQ(TDateTime::EncodeDateTime(2026, 12, 6, 12, 0, 0).Value() - TDateTime::EncodeDate(2026, 12, 6).Value(), 0.5);
}

TEST(DateTime, DecodesWhatItEncodesToTheSecond) {
  const TDateTime value = TDateTime::EncodeDateTime(2024, 2, 29, 23, 59, 59);
  int y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0;
  value.DecodeDate(y, m, d);
  value.DecodeTime(h, mi, s);
  EXPECT_EQ((std::vector<int>{y, m, d, h, mi, s}), (std::vector<int>{2024, 2, 29, 23, 59, 59}));
  EXPECT_EQ(value.ToIso(), "2024-02-29 23:59:59");
  EXPECT_EQ(value.ToIso(true), "2024-02-29");
  EXPECT_EQ(value.ToBrazilian(), "29/02/2024");
  EXPECT_EQ(value.DateOnly(), TDateTime::EncodeDate(2024, 2, 29));
}

TEST(DateTime, ParsesIsoTextsAndRefusesInvalidOnes) {
  EXPECT_EQ(TDateTime::FromIso("2026-01-31"), TDateTime::EncodeDate(2026, 1, 31));
  EXPECT_EQ(TDateTime::FromIso("2026-01-31T08:15:00"), TDateTime::EncodeDateTime(2026, 1, 31, 8, 15, 0));
  EXPECT_EQ(TDateTime::FromIso("2026-01-31 08:15:00.250"), TDateTime::EncodeDateTime(2026, 1, 31, 8, 15, 0));
  for (const char* invalid : {"", "2026-02-30", "2025-02-29", "2026-13-01", "31/01/2026", "2026-01-31T25:00:00",
                              "2026-01-31x", "2026-1-31", "2026-01-31T08:15"}) {
    EXPECT_FALSE(TDateTime::FromIso(invalid).has_value()) << invalid;
  }
}

}  // namespace
