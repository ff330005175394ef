#include "sdk/fin/RFin_RejeitarSuplementacao.h"

void RFin_RejeitarSuplementacao::Inicializar() {
  *this = RFin_RejeitarSuplementacao{};
  Inicializado = true;
}

FieldTable<RFin_RejeitarSuplementacao> CamposRejeitarSuplementacao() {
  using R = RFin_RejeitarSuplementacao;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("RECNUM", &R::RECNUM, true),
      Text("HISTORICOREJEICAO", &R::HISTORICOREJEICAO, 200),
      Whole("CODSERVICO", &R::CODSERVICO),
      Whole("NUMTRANSENT", &R::NUMTRANSENT),
  };
  return kCampos;
}
