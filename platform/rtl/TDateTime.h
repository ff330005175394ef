#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

// A date-time as the host keeps it: days since 1899-12-30, the fraction being the time of day.
// 0 means "not set".
class TDateTime {
 public:
  constexpr TDateTime() noexcept = default;
  constexpr explicit TDateTime(double days) noexcept : FValue(days) {}

  [[nodiscard]] constexpr double Value() const noexcept { return FValue; }
  [[nodiscard]] constexpr bool IsZero() const noexcept { return FValue == 0.0; }

  [[nodiscard]] static TDateTime EncodeDate(int year, int month, int day);
  [[nodiscard]] static TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
  // Parses "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DDTHH:MM:SS" (fractions of a second ignored).
  [[nodiscard]] static std::optional<TDateTime> FromIso(std::string_view text);

  void DecodeDate(int& year, int& month, int& day) const;
  void DecodeTime(int& hour, int& minute, int& second) const;
  [[nodiscard]] int Year() const;
  [[nodiscard]] int Month() const;
  [[nodiscard]] int Day() const;

  // The date part alone (midnight).
  [[nodiscard]] TDateTime DateOnly() const;
  // "YYYY-MM-DD HH:MM:SS", or "YYYY-MM-DD" when date_only.
  [[nodiscard]] std::string ToIso(bool date_only = false) const;
  // "dd/mm/yyyy", as the host shows dates.
  [[nodiscard]] std::string ToBrazilian() const;

  [[nodiscard]] constexpr TDateTime operator+(double days) const noexcept { return TDateTime(FValue + days); }
  [[nodiscard]] constexpr TDateTime operator-(double days) const noexcept { return TDateTime(FValue - days); }
  [[nodiscard]] constexpr double operator-(TDateTime other) const noexcept { return FValue - other.FValue; }
  constexpr auto operator<=>(const TDateTime&) const noexcept = default;

 private:
  double FValue = 0.0;
};
