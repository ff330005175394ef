#include "sdk/fin/RFin_ParametrosInclusaoVale.h"

void RFin_ParametrosInclusaoVale::Inicializar() {
  *this = RFin_ParametrosInclusaoVale{};
  Inicializado = true;
}

FieldTable<RFin_ParametrosInclusaoVale> CamposParametrosInclusaoVale() {
  using R = RFin_ParametrosInclusaoVale;
  using namespace fields;
  // Histories are cut to 40 characters by the insert itself; the widths here are the payable
  // entry's, the widest place a text of the voucher reaches.
  static const FieldDef<R> kCampos[] = {
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Text("TIPOPARCEIRO", &R::TIPOPARCEIRO, 1),
      Text("HISTORICO", &R::HISTORICO, 200),
      Text("HISTORICO2", &R::HISTORICO2, 200),
      Text("HISTORICO2MOVIMENTO", &R::HISTORICO2MOVIMENTO, 200),
      Text("NATUREZA", &R::NATUREZA, 1),
      Text("ORIGEMLANCAMENTO", &R::ORIGEMLANCAMENTO, 100),
      Text("HISTORICO2FUNCIONARIO", &R::HISTORICO2FUNCIONARIO, 200),
      Date("DTLANC", &R::DTLANC),
      Date("DTDOC", &R::DTDOC),
      Date("DTVENC", &R::DTVENC),
      Whole("NUMDOC", &R::NUMDOC),
      Whole("CODPARCEIRO", &R::CODPARCEIRO),
      Whole("CODHIST", &R::CODHIST),
      Number("VALOR", &R::VALOR),
      Whole("CODBANCO", &R::CODBANCO),
      Whole("CODCONTA", &R::CODCONTA),
      Whole("NUMVALE", &R::NUMVALE),
      Whole("RECNUMLANC", &R::RECNUMLANC),
      Whole("RECNUM", &R::RECNUM),
      Whole("NUMTRANS", &R::NUMTRANS),
      Flag("CONSIDERABASECALCULOIMPOSTO", &R::CONSIDERABASECALCULOIMPOSTO),
      Flag("PAGOEMDINHEIRO", &R::PAGOEMDINHEIRO),
      Flag("MOVIMENTARCONTAVALE", &R::MOVIMENTARCONTAVALE),
      Flag("LANCARCONTASPAGAR", &R::LANCARCONTASPAGAR),
  };
  return kCampos;
}
