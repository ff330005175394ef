#pragma once

#include "oradb/internal/Private.h"

#include <optional>
#include <string>
#include <string_view>

#include "oradb/TDataSet.h"
#include "rtl/TDateTime.h"

// Conversions between the text form values travel in (as the server sends them and as binds go
// out) and the types the module reads. Locale independent.
namespace oradb::internal {

// A decimal number ("12.50", "-3", "1e+20", "NaN"); nothing when the text is not one.
[[nodiscard]] std::optional<double> ParseNumber(std::string_view text) noexcept;
// A whole number that fits in 64 bits, exactly (no detour through double).
[[nodiscard]] std::optional<long long> ParseInteger(std::string_view text) noexcept;
// "YYYY-MM-DD[ HH:MM:SS[.ffffff][+zz]]" (ISO, as the server writes dates) or "dd/mm/yyyy[ hh:nn[:ss]]".
[[nodiscard]] std::optional<TDateTime> ParseDateTime(std::string_view text) noexcept;

// A numeric value's text without trailing fraction zeros ("12.50" -> "12.5", "3.00" -> "3"); texts
// that are not plain decimals go through double and come back as their shortest decimal text.
[[nodiscard]] std::string NormalizeNumericText(std::string_view text);
// "YYYY-MM-DD HH:MM:SS" as binds travel (midnight when `midnight`), without going through printf.
[[nodiscard]] std::string IsoDateTime(TDateTime value, bool midnight);
// "dd/mm/yyyy hh:nn:ss", or "dd/mm/yyyy" when the time is midnight or `date_only`.
[[nodiscard]] std::string FormatDateTime(TDateTime value, bool date_only = false);

// The field type of a PostgreSQL type OID (numbers, dates, booleans; everything else is text).
[[nodiscard]] TFieldType FieldTypeFromOid(unsigned type_oid) noexcept;
// The width in characters of a varchar(n)/char(n) column from its type modifier; 0 when unbounded.
[[nodiscard]] int TextWidthFromModifier(unsigned type_oid, int modifier) noexcept;

// Case folding for case-insensitive comparisons: ASCII and the Latin-1 letters Portuguese uses.
[[nodiscard]] std::string FoldCase(std::string_view text);
// SQL LIKE over UTF-8 code points: '%' any run, '_' exactly one character.
[[nodiscard]] bool LikeMatch(std::string_view text, std::string_view pattern);

// Interprets "t", "true", "s", "sim", "y", "1" (any case) as true.
[[nodiscard]] bool TextAsBoolean(std::string_view text) noexcept;

}  // namespace oradb::internal
