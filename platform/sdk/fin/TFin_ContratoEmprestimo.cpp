#include "sdk/fin/TFin_ContratoEmprestimo.h"

FieldTable<TFin_ContratoEmprestimo> CamposContratoEmprestimo() {
  using R = TFin_ContratoEmprestimo;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Whole("NUMSEQCONTRATOEMPRESTIMO", &R::NUMSEQCONTRATOEMPRESTIMO),
      Text("NUMCONTRATO", &R::NUMCONTRATO, 20),
      Date("DTCONTRATO", &R::DTCONTRATO),
      Text("TIPOCONTRATO", &R::TIPOCONTRATO, 1),
      Number("MOEDAESTRANGEIRA", &R::MOEDAESTRANGEIRA),
      Date("DTCOTACAO", &R::DTCOTACAO),
      Number("PRAZOPER", &R::PRAZOPER),
      Number("TXJURO", &R::TXJURO),
      Whole("CODFORNEC", &R::CODFORNEC),
      Whole("CODBANCO", &R::CODBANCO),
      Text("OBSERVACAO", &R::OBSERVACAO, 200),
      Number("VLRTOTAL", &R::VLRTOTAL),
      Text("TIPOEMPRESTIMO", &R::TIPOEMPRESTIMO, 1),
      Text("MOEDANACIONAL", &R::MOEDANACIONAL, 4),
  };
  return kCampos;
}
