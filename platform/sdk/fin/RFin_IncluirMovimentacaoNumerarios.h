#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// One debit or credit on a cash or bank account (a future row of ZTMOVCR). Posting writes back
// the drawn NUMTRANS, the reconciliation defaults and the message.
struct RFin_IncluirMovimentacaoNumerarios {
  std::string MENSAGEM;  // written back: the host's message on success, the error on failure
  double NUMTRANS = 0;   // 0 = draw the next transaction number
  TDateTime DATA;
  double CODBANCO = 0;
  std::string CODCOB;
  double VALOR = 0;
  std::string TIPO;  // "D" adds to the balance, "C" subtracts, anything else leaves it
  std::string HISTORICO;
  std::string HISTORICO2;
  double NUMCARR = 0;
  std::string NUMDOC;
  double HORA = 0;
  double MINUTO = 0;
  double CODFUNC = 0;
  TDateTime DTCONCIL;
  std::string CONCILIACAO;
  double CODCONTADEB = 0;
  double CODCONTACRED = 0;
  std::string INDICE;
  double OPERACAO = 0;
  double CODROTINALANC = 0;
  double CODFUNCCONCIL = 0;
  TDateTime DTCOMPENSACAO;
  std::string CODFILIAL;
  double CODCLI = 0;
  double CODFUNCDNICLI = 0;
  TDateTime DTASSOCIADNICLI;
  double NUMASSOCDNI = 0;
  bool TRAVARSALDO = true;  // read the balance row FOR UPDATE
  bool Inicializado = false;

  // The host's initialiser: everything cleared, the balance row locked.
  void Inicializar();
};

// The record's fields by JSON name.
[[nodiscard]] FieldTable<RFin_IncluirMovimentacaoNumerarios> CamposIncluirMovimentacaoNumerarios();
