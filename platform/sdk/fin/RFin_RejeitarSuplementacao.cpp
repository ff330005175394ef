#include "sdk/fin/RFin_RejeitarSuplementacao.h"

void RFin_RejeitarSuplementacao::Inicializar() {
  *this = RFin_RejeitarSuplementacao{};
  Inicializado = true;
}

FieldTable<RFin_RejeitarSuplementacao> CamposRejeitarSuplementacao() {
  using R = RFin_RejeitarSuplementacao;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Number("RECNUM", &R::RECNUM, true),
      Text("HISTORICOREJEICAO", &R::HISTORICOREJEICAO, 200),
      Number("CODSERVICO", &R::CODSERVICO),
      Number("NUMTRANSENT", &R::NUMTRANSENT),
  };
  return kCampos;
}
