#pragma once

#include <chrono>
#include <optional>

// The due-date factor of the bank slip: four digits counting the days since 7 October 1997. Factor
// 1000 fell on 3 July 2000 and 9999 on 21 February 2025; the next day the count started again at
// 1000, and it restarts that way every 9000 days. Factor 0000 means a slip without a due date.
namespace febraban {

inline constexpr std::chrono::year_month_day kDataBaseFator{std::chrono::year{1997}, std::chrono::October,
                                                            std::chrono::day{7}};
inline constexpr int kFatorSemVencimento = 0;
inline constexpr int kMenorFator = 1000;
inline constexpr int kMaiorFator = 9999;

// The factor of a due date. A date before 3 July 2000 (factor 1000) or not a real date raises
// ECodigoInvalido.
[[nodiscard]] int FatorVencimento(std::chrono::year_month_day vencimento);

// The due date of a factor: among the dates that carry it (one per 9000-day cycle), the one nearest
// the reference date (the later one when two are equally near). Factor 0 answers no date; a factor
// of 1 to 999 or outside 0 to 9999, or a reference that is no real date or lies past the year 9999,
// raises ECodigoInvalido.
[[nodiscard]] std::optional<std::chrono::year_month_day> VencimentoDoFator(int fator,
                                                                           std::chrono::year_month_day referencia);

}  // namespace febraban
