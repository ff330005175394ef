#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A payment slip typed or scanned to pay a title: its code checked against the title's value and due
// date. The check writes back its message and the slip's 44-digit barcode.
struct RFin_ValidarLinhaDigitavel {
  std::string MENSAGEM;   // written: why the code was refused (or its value does not match)
  int TIPODOCUMENTO = 0;  // 0 a bank slip, 1 a public-utility collection slip
  int FORMATO = 0;        // 0 the barcode, 1 the typeable line
  std::string CODIGO;     // the code as typed
  double VALOR = 0;       // the title's value
  TDateTime DTVENC;       // the title's due date
  double VLDESCONTO = 0;  // subtracted from the slip's value before it is compared
  double VLABATIMENTO = 0;
  std::string CODIGOBARRAS;  // written: the 44-digit barcode of an accepted code
  bool Inicializado = false;

  void Inicializar();
};

[[nodiscard]] FieldTable<RFin_ValidarLinhaDigitavel> CamposValidarLinhaDigitavel();
