#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

void RFin_IncluirMovimentacaoNumerarios::Inicializar() {
  *this = RFin_IncluirMovimentacaoNumerarios{};
  Inicializado = true;
}

FieldTable<RFin_IncluirMovimentacaoNumerarios> CamposIncluirMovimentacaoNumerarios() {
  using R = RFin_IncluirMovimentacaoNumerarios;
  using namespace fields;
  static const FieldDef<R> kCampos[] = {
      Text("MENSAGEM", &R::MENSAGEM),
      Whole("NUMTRANS", &R::NUMTRANS),
      DateTime("DATA", &R::DATA),
      Whole("CODBANCO", &R::CODBANCO),
      Text("CODCOB", &R::CODCOB, 4),
      Number("VALOR", &R::VALOR),
      Text("TIPO", &R::TIPO, 1),
      Text("HISTORICO", &R::HISTORICO, 200),
      Text("HISTORICO2", &R::HISTORICO2, 100),
      Whole("NUMCARR", &R::NUMCARR),
      Text("NUMDOC", &R::NUMDOC, 20),
      Whole("HORA", &R::HORA),
      Whole("MINUTO", &R::MINUTO),
      Whole("CODFUNC", &R::CODFUNC),
      DateTime("DTCONCIL", &R::DTCONCIL),
      Text("CONCILIACAO", &R::CONCILIACAO, 2),
      Whole("CODCONTADEB", &R::CODCONTADEB),
      Whole("CODCONTACRED", &R::CODCONTACRED),
      Text("INDICE", &R::INDICE, 1),
      Whole("OPERACAO", &R::OPERACAO),
      Whole("CODROTINALANC", &R::CODROTINALANC),
      Whole("CODFUNCCONCIL", &R::CODFUNCCONCIL),
      DateTime("DTCOMPENSACAO", &R::DTCOMPENSACAO),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Whole("CODCLI", &R::CODCLI),
      Whole("CODFUNCDNICLI", &R::CODFUNCDNICLI),
      Date("DTASSOCIADNICLI", &R::DTASSOCIADNICLI),
      Whole("NUMASSOCDNI", &R::NUMASSOCDNI),
      Flag("TRAVARSALDO", &R::TRAVARSALDO),
  };
  return kCampos;
}
