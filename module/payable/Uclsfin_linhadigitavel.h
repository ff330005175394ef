#pragma once

#include "rtl/TDateTime.h"
#include "sdk/fin/RFin_ValidarLinhaDigitavel.h"

// The check of a payment slip against the title it is to pay: the bank slip (its 44-digit barcode
// or 47-digit typeable line, or a short line without factor and value) and the public-utility
// collection slip (barcode or 48-digit line). Every check digit is verified; the value is compared
// in cents once the due date is known. No database: the rules see only the record.
class TValidaLinhaDigitavel {
 public:
  // Writes the message of a refusal (or of a value that does not match) and, when accepted, the
  // 44-digit barcode. `hoje` stands for the title's due date when the title has none.
  static bool Validar(RFin_ValidarLinhaDigitavel& registro, TDateTime hoje);

  static constexpr const char* kNaoInformado = "Código de barra não informado";
  static constexpr const char* kBoletoInvalido = "Boleto inválido para este título.";
  static constexpr const char* kFormatoInvalido = "Código de Barras Inválido para o formato utilizado";
  static constexpr const char* kDigitoInvalido = "Dígito Código de Barras Inválido";
  static constexpr const char* kNaoArrecadacao =
      "Código de barras inválido! Favor informar um código de contas públicas";
  static constexpr const char* kDigitoArrecadacaoInvalido = "Dígito Código de Barras Inválido.";
};
