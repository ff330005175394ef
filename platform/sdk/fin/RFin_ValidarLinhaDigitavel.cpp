#include "sdk/fin/RFin_ValidarLinhaDigitavel.h"

void RFin_ValidarLinhaDigitavel::Inicializar() {
  *this = RFin_ValidarLinhaDigitavel{};
  Inicializado = true;
}

FieldTable<RFin_ValidarLinhaDigitavel> CamposValidarLinhaDigitavel() {
  using R = RFin_ValidarLinhaDigitavel;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Text("MENSAGEM", &R::MENSAGEM),
      Integer("TIPODOCUMENTO", &R::TIPODOCUMENTO),
      Integer("FORMATO", &R::FORMATO),
      Text("CODIGO", &R::CODIGO, 60),
      Number("VALOR", &R::VALOR),
      Date("DTVENC", &R::DTVENC),
      Number("VLDESCONTO", &R::VLDESCONTO),
      Number("VLABATIMENTO", &R::VLABATIMENTO),
      Text("CODIGOBARRAS", &R::CODIGOBARRAS, 44),
  };
  return kCampos;
}
