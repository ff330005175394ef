#include "sdk/fin/RFin_AprovarSuplementacao.h"

void RFin_AprovarSuplementacao::Inicializar() {
  *this = RFin_AprovarSuplementacao{};
  Inicializado = true;
}

FieldTable<RFin_AprovarSuplementacao> CamposAprovarSuplementacao() {
  using R = RFin_AprovarSuplementacao;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("RECNUM", &R::RECNUM, true),
      Text("MENSAGEM", &R::MENSAGEM),
  };
  return kCampos;
}
