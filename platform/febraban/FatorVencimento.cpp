#include "febraban/FatorVencimento.h"

#include <string>

#include "febraban/ECodigoInvalido.h"
#include "febraban/internal/Digitos.h"

namespace febraban {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

// The count restarts at 1000 after 9999: 9000 factors per cycle.
constexpr int kDiasPorCiclo = kMaiorFator - kMenorFator + 1;

long long DiasDesdeABase(year_month_day data) {
  return (sys_days(data) - sys_days(kDataBaseFator)).count();
}

year_month_day DataDaBaseMais(long long dias) {
  return year_month_day(sys_days(kDataBaseFator) + days(dias));
}

}  // namespace

int FatorVencimento(year_month_day vencimento) {
  if (!vencimento.ok()) throw ECodigoInvalido("Data de vencimento inválida.");
  const long long dias = DiasDesdeABase(vencimento);
  if (dias < kMenorFator)
    throw ECodigoInvalido("Data de vencimento anterior a 03/07/2000 não tem fator de vencimento.");
  return static_cast<int>((dias - kMenorFator) % kDiasPorCiclo + kMenorFator);
}

std::optional<year_month_day> VencimentoDoFator(int fator, year_month_day referencia) {
  if (fator == kFatorSemVencimento) return std::nullopt;
  if (fator < kMenorFator || fator > kMaiorFator) {
    const std::string texto = fator >= 0 && fator <= kMaiorFator ? internal::Numero(fator, 4) : std::to_string(fator);
    throw ECodigoInvalido("Fator de vencimento " + texto + " inválido.");
  }
  // Past the year 9999 the candidate date could leave the calendar year_month_day can hold.
  if (!referencia.ok() || referencia.year() > std::chrono::year{9999})
    throw ECodigoInvalido("Data de referência do fator de vencimento inválida.");
  // The dates of a factor lie 9000 days apart: base + factor + 9000 * ciclo, ciclo >= 0.
  const long long antes = DiasDesdeABase(referencia) - fator;
  long long ciclo = 0;
  if (antes > 0) ciclo = antes / kDiasPorCiclo + (antes % kDiasPorCiclo >= kDiasPorCiclo / 2 ? 1 : 0);
  return DataDaBaseMais(fator + ciclo * kDiasPorCiclo);
}

}  // namespace febraban
