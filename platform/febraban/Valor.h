#pragma once

#include <cstdint>

namespace febraban {

// An amount of money as whole cents, rounded half away from zero at the cent on the decimal text the
// double stands for: 19.99 is 1999 cents (never 1998), 1.005 is 101 and 2.675 is 268 although their
// binary values lie just below. A negative, infinite or NaN value, or one of 10^13 or more, raises
// ECodigoInvalido; each code then checks the amount against the width of its own value field.
[[nodiscard]] std::int64_t ValorEmCentavos(double valor);

}  // namespace febraban
