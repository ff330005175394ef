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
      Number("NUMTRANS", &R::NUMTRANS),
      DateTime("DATA", &R::DATA),
      Number("CODBANCO", &R::CODBANCO),
      Text("CODCOB", &R::CODCOB, 4),
      Number("VALOR", &R::VALOR),
      Text("TIPO", &R::TIPO, 1),
      Text("HISTORICO", &R::HISTORICO, 200),
      Text("HISTORICO2", &R::HISTORICO2, 100),
      Number("NUMCARR", &R::NUMCARR),
      Text("NUMDOC", &R::NUMDOC, 20),
      Number("HORA", &R::HORA),
      Number("MINUTO", &R::MINUTO),
      Number("CODFUNC", &R::CODFUNC),
      DateTime("DTCONCIL", &R::DTCONCIL),
      Text("CONCILIACAO", &R::CONCILIACAO, 2),
      Number("CODCONTADEB", &R::CODCONTADEB),
      Number("CODCONTACRED", &R::CODCONTACRED),
      Text("INDICE", &R::INDICE, 1),
      Number("OPERACAO", &R::OPERACAO),
      Number("CODROTINALANC", &R::CODROTINALANC),
      Number("CODFUNCCONCIL", &R::CODFUNCCONCIL),
      DateTime("DTCOMPENSACAO", &R::DTCOMPENSACAO),
      Text("CODFILIAL", &R::CODFILIAL, 2),
      Number("CODCLI", &R::CODCLI),
      Number("CODFUNCDNICLI", &R::CODFUNCDNICLI),
      Date("DTASSOCIADNICLI", &R::DTASSOCIADNICLI),
      Number("NUMASSOCDNI", &R::NUMASSOCDNI),
      Flag("TRAVARSALDO", &R::TRAVARSALDO),
  };
  return kCampos;
}
