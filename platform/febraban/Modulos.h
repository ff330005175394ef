#pragma once

#include <string_view>

// The check digits of the FEBRABAN codes. Each takes the digits it covers (without the digit itself)
// and answers the digit 0 to 9; a text with anything but digits raises ECodigoInvalido.
namespace febraban {

// Modulus 10: weights 2, 1, 2, ... from the right, the decimal digits of each product added
// (14 counts 1 + 4); digit = 10 - sum mod 10, and 0 when the remainder is 0. Fields of the bank-slip
// line, and collection slips of value type 6 and 7.
[[nodiscard]] int Modulo10(std::string_view digitos);

// Modulus 11 of the bank-slip barcode: weights 2 to 9 from the right, restarting at 2; digit =
// 11 - sum mod 11, and 1 when that gives 0, 10 or 11 (the general digit is never 0).
[[nodiscard]] int Modulo11Boleto(std::string_view digitos);

// Modulus 11 of collection slips of value type 8 and 9: the same weights; remainder 0 or 1 gives 0,
// remainder 10 gives 1, any other r gives 11 - r.
[[nodiscard]] int Modulo11Arrecadacao(std::string_view digitos);

}  // namespace febraban
