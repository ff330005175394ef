#include "sdk/fin/RFin_ParamBaixaVale.h"

void RFin_ParamBaixaVale::Inicializar() {
  *this = RFin_ParamBaixaVale{};
  Inicializado = true;
}

FieldTable<RFin_ParamBaixaVale> CamposParamBaixaVale() {
  using R = RFin_ParamBaixaVale;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Integer("NATUREZAVALE", &R::NATUREZAVALE),
      Whole("NUMVALE", &R::NUMVALE),
      Whole("RECNUM", &R::RECNUM),
      Whole("NUMDOC", &R::NUMDOC),
      Number("VALORVALE", &R::VALORVALE),
      Number("VALORBAIXA", &R::VALORBAIXA),
      Whole("CODPARCEIRO", &R::CODPARCEIRO),
      Text("TIPOPARCEIRO", &R::TIPOPARCEIRO, 1),
      Text("TEXTOFUNCIONARIO", &R::TEXTOFUNCIONARIO, 200),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Whole("CODHIST", &R::CODHIST),
      Text("HISTORICO", &R::HISTORICO, 200),
      Text("HISTORICO2", &R::HISTORICO2, 200),
      Date("DTVENC", &R::DTVENC),
      Integer("CODBANCOVALE", &R::CODBANCOVALE),
      Integer("CODBANCOBAIXA", &R::CODBANCOBAIXA),
      Flag("CONSIDERABASECALCULOIMPOSTO", &R::CONSIDERABASECALCULOIMPOSTO),
      Whole("NUMTRANSBAIXA", &R::NUMTRANSBAIXA),
      Flag("PAGOEMDINHEIRO", &R::PAGOEMDINHEIRO),
      Whole("CODCONTA", &R::CODCONTA),
      Flag("VALEEXPORTADO", &R::VALEEXPORTADO),
      Whole("CODIGOCOMRCA", &R::CODIGOCOMRCA),
  };
  return kCampos;
}
