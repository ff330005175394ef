#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The collection slip (documento de arrecadação: utilities, taxes, fines): its 44-digit barcode and
// its 48-digit typeable line.
//
// Barcode:  8 S T D VVVVVVVVVVV IIIIIIIIIIIIIIIIIIIIIIIIIIIII
//           product (always 8), segment, value type, general check digit, value (11), then 29
//           digits identifying the company or agency (4 digits, or the 8-digit CNPJ root for
//           segment 6) followed by its free field.
// Value type: 6 a value in reais, 7 a reference quantity, both checked with modulus 10; 8 a value in
//           reais, 9 a reference quantity, both checked with modulus 11 (Modulo11Arrecadacao).
// Line:     the barcode cut into four blocks of 11 digits, each followed by its own check digit
//           computed with the modulus of the value type: 48 digits.
//
// Codes are read with blanks, ".", "_" and "-" removed first.
namespace febraban {

inline constexpr std::size_t kDigitosLinhaArrecadacao = 48;
inline constexpr std::size_t kDigitosIdentificacao = 29;
inline constexpr std::int64_t kMaiorValorArrecadacao = 99'999'999'999;  // 11 digits
inline constexpr int kSegmentoCnpj = 6;

// The parts a collection slip is made of.
struct PartesArrecadacao {
  int Segmento = 0;           // one digit
  int TipoValor = 6;          // 6, 7, 8 or 9
  std::int64_t Valor = 0;     // cents (types 6 and 8) or a reference quantity (7 and 9), 11 digits
  std::string Identificacao;  // 29 digits: company or agency, then the free field

  bool operator==(const PartesArrecadacao&) const = default;
};

// A collection slip read back.
struct ArrecadacaoLida {
  PartesArrecadacao Partes;
  int DigitoGeral = 0;
  bool ValorEmReais = true;    // types 6 and 8; otherwise Valor is a reference quantity
  std::string Empresa;         // 4 digits, or 8 (the CNPJ root) for segment 6
  std::string CampoLivre;      // the rest of the identification: 25 digits, or 21 for segment 6
  std::string CodigoBarras;    // 44 digits
  std::string LinhaDigitavel;  // 48 digits, without separators
};

// The parts of a collection slip carrying a value in reais (type 6, or 8 when modulus 11 is asked
// for): the value is rounded to cents and must fit 11 digits.
[[nodiscard]] PartesArrecadacao NovaArrecadacao(int segmento, int tipoValor, double valor,
                                                std::string_view identificacao);

[[nodiscard]] std::string CodigoBarrasArrecadacao(const PartesArrecadacao& partes);
[[nodiscard]] std::string LinhaDigitavelArrecadacao(const PartesArrecadacao& partes);

// Read a barcode or a 48-digit line, verifying every check digit with the modulus of its value type.
[[nodiscard]] ArrecadacaoLida LerCodigoBarrasArrecadacao(std::string_view codigo);
[[nodiscard]] ArrecadacaoLida LerLinhaDigitavelArrecadacao(std::string_view linha);

[[nodiscard]] std::string LinhaDigitavelArrecadacaoDoCodigoBarras(std::string_view codigo);
[[nodiscard]] std::string CodigoBarrasDaLinhaDigitavelArrecadacao(std::string_view linha);

// A line as printed: "83650000001-0 62320046017-7 91606075930-2 50865831483-8".
[[nodiscard]] std::string FormatarLinhaDigitavelArrecadacao(std::string_view linha);

}  // namespace febraban
