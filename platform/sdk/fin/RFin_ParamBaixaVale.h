#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// Nature of the voucher being written off: 1 a debit voucher, any other value a credit voucher.
enum TNaturezaVale : int { nvCredito = 0, nvDebito = 1 };

// What the write-off of one open voucher row is given. The write-off works on its own copy.
struct RFin_ParamBaixaVale {
  int NATUREZAVALE = nvCredito;  // 1 (nvDebito) = debit voucher, else credit
  double NUMVALE = 0;            // NUMVALE of every row written; NUMCARR of the movements
  double RECNUM = 0;             // RECNUM of the open voucher row
  double NUMDOC = 0;             // NUMDOC; the payable entry's note number
  double VALORVALE = 0;          // value of the open voucher row
  double VALORBAIXA = 0;         // amount settled now
  double CODPARCEIRO = 0;        // CODFUNC
  std::string TIPOPARCEIRO;      // "F", "M", "R" or "P"
  std::string TEXTOFUNCIONARIO;  // an employee's payable entry second history; name part of a movement history
  std::string CODFILIAL;
  double CODHIST = 0;     // required
  std::string HISTORICO;  // required
  std::string HISTORICO2;
  TDateTime DTVENC;
  int CODBANCOVALE = 0;   // CODBANCO of the reversing row of a partial write-off
  int CODBANCOBAIXA = 0;  // cash/bank account of the write-off (required, > 0)
  bool CONSIDERABASECALCULOIMPOSTO = false;
  double NUMTRANSBAIXA = 0;     // NUMTRANSBAIXA of every row closed or written
  bool PAGOEMDINHEIRO = false;  // cash movement instead of payable entry
  double CODCONTA = 0;          // account of the payable entry (required when not paid in cash)
  bool VALEEXPORTADO = false;
  double CODIGOCOMRCA = 0;  // commission code of the first row written
  bool Inicializado = false;

  // The host's initialiser: everything cleared, the record marked as initialised.
  void Inicializar();
};

// The record's fields by JSON name.
[[nodiscard]] FieldTable<RFin_ParamBaixaVale> CamposParamBaixaVale();
