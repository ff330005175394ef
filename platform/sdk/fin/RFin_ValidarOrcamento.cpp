#include "sdk/fin/RFin_ValidarOrcamento.h"

void RFin_ValidarOrcamento::Inicializar() {
  *this = RFin_ValidarOrcamento{};
  Inicializado = true;
}

FieldTable<RFin_ValidarOrcamento> CamposValidarOrcamento() {
  using R = RFin_ValidarOrcamento;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Flag("NEGATIVO", &R::NEGATIVO),
      Whole("RECNUM", &R::RECNUM),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Whole("CODCONTA", &R::CODCONTA),
      Number("VALOR", &R::VALOR),
      Date("DTVENC", &R::DTVENC),
      Date("DTCOMPETENCIA", &R::DTCOMPETENCIA),
      Flag("DENTROAPROVACAO", &R::DENTROAPROVACAO),
      Flag("PERGUNTARUSUARIO", &R::PERGUNTARUSUARIO),
  };
  return kCampos;
}
