#pragma once

#include <string>
#include <string_view>

#include "oradb/TDataSet.h"
#include "report/TModeloRelatorio.h"

// How the engine turns a field's value into the text it draws. Private to the report engine and its
// tests.
namespace report::internal {

// The text of a field's current value in a format; NULL is an empty text.
[[nodiscard]] std::string FormatarCampo(const TField& campo, TFormato formato);

// The same rules on a value given as text (numbers in their decimal text, dates as the dataset
// shows them).
[[nodiscard]] std::string FormatarTexto(std::string_view valor, TFormato formato);

// Whether a field holds something worth showing: not NULL, not blank, not a zero number.
[[nodiscard]] bool TemValor(const TField& campo);

// A text safe to draw: invalid UTF-8 bytes become "?", control characters blanks; with
// `manter_quebras`, line breaks ("\r\n", "\r", "\n") are kept as "\n".
[[nodiscard]] std::string TextoDesenhavel(std::string_view texto, bool manter_quebras);

// The digit printed after a bank's compensation code in a slip's header ("237-2"): the digit each
// bank publishes for the banks the slips are issued for, modulus 11 (weights 2 to 9 from the right,
// 11 - remainder, 10 as "X", 11 as "0") for the others.
[[nodiscard]] std::string DigitoBanco(int codigo_compensacao);

}  // namespace report::internal
