#pragma once

#include <string>
#include <string_view>
#include <vector>

// The interleaved 2 of 5 symbol of a slip's barcode, encoded by zint. Private to the report engine,
// its tests and its benchmark.
namespace report::internal {

// One dark bar: where it starts and how wide it is, in narrow modules from the start of the symbol.
struct TBarra {
  int Inicio = 0;
  int Largura = 0;
};

struct TSimboloItf {
  std::vector<TBarra> Barras;
  int Modulos = 0;  // width of the whole symbol, start and stop patterns included
};

// The bars of `digitos` (an even number of digits) with wide elements three modules wide. A text
// that zint refuses raises EDadosRelatorio with zint's reason.
[[nodiscard]] TSimboloItf SimboloItf(std::string_view digitos);

// Checks a slip's 44-digit code before it is drawn: a bank slip (its general digit) or, starting
// with 8, a collection slip (its general digit in the modulus of its value type). Answers the
// reason it is refused, or an empty text when it is valid.
[[nodiscard]] std::string ProblemaCodigoSlip(std::string_view codigo);

}  // namespace report::internal
