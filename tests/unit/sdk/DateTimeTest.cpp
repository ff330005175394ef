#include <gtest/gtest.h>

#include "rtl/TDateTime.h"

namespace {

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
