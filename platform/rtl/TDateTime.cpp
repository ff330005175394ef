#include "rtl/TDateTime.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Days from 0000-03-01 based civil calendar (H. Hinnant's algorithm), shifted to 1899-12-30.
constexpr long long kDaysTo18991230 = -25569 + 719468;  // 1970-01-01 is day 25569

long long DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yoe = year - era * 400;
  const long long doy = (153LL * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - kDaysTo18991230;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
  days += kDaysTo18991230;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

bool ValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Whole seconds since 1899-12-30 00:00:00, rounded to the nearest second.
long long TotalSeconds(double value) {
  return std::llround(value * 86400.0);
}

bool ParseInt(std::string_view text, std::size_t pos, std::size_t len, int& out) {
  if (pos + len > text.size()) return false;
  for (std::size_t i = pos; i < pos + len; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  std::from_chars(text.data() + pos, text.data() + pos + len, out);
  return true;
}

}  // namespace

TDateTime TDateTime::EncodeDate(int year, int month, int day) {
  return TDateTime(static_cast<double>(DaysFromCivil(year, month, day)));
}

TDateTime TDateTime::EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const double seconds = hour * 3600.0 + minute * 60.0 + second;
  return TDateTime(static_cast<double>(DaysFromCivil(year, month, day)) + seconds / 86400.0);
}

std::optional<TDateTime> TDateTime::FromIso(std::string_view text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !ParseInt(text, 0, 4, year) ||
      !ParseInt(text, 5, 2, month) || !ParseInt(text, 8, 2, day) || !ValidDate(year, month, day)) {
    return std::nullopt;
  }
  if (text.size() > 10) {
    if ((text[10] != ' ' && text[10] != 'T') || text.size() < 19 || text[13] != ':' || text[16] != ':' ||
        !ParseInt(text, 11, 2, hour) || !ParseInt(text, 14, 2, minute) || !ParseInt(text, 17, 2, second) || hour > 23 ||
        minute > 59 || second > 59) {
      return std::nullopt;
    }
    std::string_view rest = text.substr(19);
    if (!rest.empty() && rest[0] == '.') {
      std::size_t digits = 1;
      while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
      rest = rest.substr(digits);
    }
    if (!rest.empty()) return std::nullopt;
  }
  return EncodeDateTime(year, month, day, hour, minute, second);
}

void TDateTime::DecodeDate(int& year, int& month, int& day) const {
  const long long seconds = TotalSeconds(FValue);
  long long days = seconds / 86400;
  if (seconds % 86400 < 0) --days;
  CivilFromDays(days, year, month, day);
}

void TDateTime::DecodeTime(int& hour, int& minute, int& second) const {
  long long seconds = TotalSeconds(FValue) % 86400;
  if (seconds < 0) seconds += 86400;
  hour = static_cast<int>(seconds / 3600);
  minute = static_cast<int>(seconds / 60 % 60);
  second = static_cast<int>(seconds % 60);
}

int TDateTime::Year() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(y, m, d);
  return y;
}

int TDateTime::Month() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(y, m, d);
  return m;
}

int TDateTime::Day() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(y, m, d);
  return d;
}

TDateTime TDateTime::DateOnly() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(y, m, d);
  return EncodeDate(y, m, d);
}

std::string TDateTime::ToIso(bool date_only) const {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  DecodeDate(y, mo, d);
  DecodeTime(h, mi, s);
  char buffer[32];
  if (date_only) {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, mo, d);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  }
  return buffer;
}

std::string TDateTime::ToBrazilian() const {
  int y = 0, m = 0, d = 0;
  DecodeDate(y, m, d);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", d, m, y);
  return buffer;
}
