#include "sdk/fin/RFin_RecalculaNumerario.h"

void RFin_RecalculaNumerario::Inicializar() {
  *this = RFin_RecalculaNumerario{};
  Inicializado = true;
}

FieldTable<RFin_RecalculaNumerario> CamposRecalculaNumerario() {
  using R = RFin_RecalculaNumerario;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("CODBANCO", &R::CODBANCO),
      Text("CODCOB", &R::CODCOB, 4),
      Date("DATAINICIAL", &R::DATAINICIAL),
      Date("DATAFINAL", &R::DATAFINAL),
      Number("SALDOINICIAL", &R::SALDOINICIAL),
      Flag("RECALCULARSALDO", &R::RECALCULARSALDO),
      Flag("RECALCULARSALDOCONCILIADO", &R::RECALCULARSALDOCONCILIADO),
      Flag("RECALCULARSALDOCOMPENSACAO", &R::RECALCULARSALDOCOMPENSACAO),
      Flag("SOMENTEMESESPOSTERIORES", &R::SOMENTEMESESPOSTERIORES),
  };
  return kCampos;
}
