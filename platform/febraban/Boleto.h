#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "febraban/FatorVencimento.h"

// The bank slip (boleto de cobrança): its 44-digit barcode and its 47-digit typeable line.
//
// Barcode:  BBB M D FFFF VVVVVVVVVV LLLLLLLLLLLLLLLLLLLLLLLLL
//           bank (3), currency (9 = real), general check digit (modulus 11 over the other 43 digits),
//           due-date factor (4), value in cents (10), free field of the issuing bank (25).
// Line:     BBBML.LLLLd LLLLL.LLLLLd LLLLL.LLLLLd D FFFFVVVVVVVVVV
//           field 1: bank, currency, free field 1-5, modulus-10 digit; field 2: free field 6-15 and
//           its digit; field 3: free field 16-25 and its digit; field 4: the general digit of the
//           barcode; field 5: factor and value.
//
// Codes are read with blanks, ".", "_" and "-" removed first, so a line may be typed as printed.
namespace febraban {

inline constexpr std::size_t kDigitosCodigoBarras = 44;
inline constexpr std::size_t kDigitosLinhaBoleto = 47;
inline constexpr std::size_t kDigitosCampoLivre = 25;
inline constexpr int kMoedaReal = 9;
inline constexpr std::int64_t kMaiorValorBoletoCentavos = 9'999'999'999;  // 99.999.999,99

// The parts a bank slip is made of.
struct PartesBoleto {
  int Banco = 0;  // 0 to 999, written with three digits (1 is "001")
  int Moeda = kMoedaReal;
  int Fator = kFatorSemVencimento;  // 0 (no due date) or 1000 to 9999
  std::int64_t ValorCentavos = 0;   // 0 to 9,999,999,999
  std::string CampoLivre;           // 25 digits

  bool operator==(const PartesBoleto&) const = default;
};

// A bank slip read back: its parts, its general digit, the due date of its factor and both forms.
struct BoletoLido {
  PartesBoleto Partes;
  int DigitoGeral = 0;
  std::optional<std::chrono::year_month_day> Vencimento;  // none for factor 0000
  std::string CodigoBarras;                               // 44 digits
  std::string LinhaDigitavel;                             // 47 digits, without separators
};

// The parts of a new slip from the values a title carries: the due date becomes its factor (no date:
// factor 0000), the value is rounded to cents (ValorEmCentavos) and must fit 99.999.999,99. A bank
// outside 0 to 999, a free field that is not 25 digits, a date without a factor or a value that does
// not fit raises ECodigoInvalido.
[[nodiscard]] PartesBoleto NovoBoleto(int banco, std::optional<std::chrono::year_month_day> vencimento, double valor,
                                      std::string_view campoLivre);

// The barcode and the typeable line built from the parts, check digits computed. Parts out of range
// raise ECodigoInvalido.
[[nodiscard]] std::string CodigoBarrasBoleto(const PartesBoleto& partes);
[[nodiscard]] std::string LinhaDigitavelBoleto(const PartesBoleto& partes);

// Read a barcode or a typeable line: every check digit is verified and the due date is the one of
// its factor nearest the reference date (usually today). A code of the wrong length, with letters,
// a wrong digit, a currency other than 9 or a factor from 0001 to 0999 raises ECodigoInvalido.
[[nodiscard]] BoletoLido LerCodigoBarrasBoleto(std::string_view codigo, std::chrono::year_month_day referencia);
[[nodiscard]] BoletoLido LerLinhaDigitavelBoleto(std::string_view linha, std::chrono::year_month_day referencia);

// Conversions between the two forms, each verifying what it reads.
[[nodiscard]] std::string LinhaDigitavelDoCodigoBarras(std::string_view codigo);
[[nodiscard]] std::string CodigoBarrasDaLinhaDigitavel(std::string_view linha);

// A typeable line as printed on the slip: "00190.00009 01234.567004 00000.001180 1 10000000001000".
[[nodiscard]] std::string FormatarLinhaDigitavelBoleto(std::string_view linha);

}  // namespace febraban
