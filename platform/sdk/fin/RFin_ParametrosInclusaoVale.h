#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// What the inclusion of a voucher is given: the ledger row, its money side (cash movements or a paid
// payable entry) and the numbers it uses. The inclusion writes back the numbers it drew (transaction,
// voucher, ledger row) and the movements' second history when it was left empty.
struct RFin_ParametrosInclusaoVale {
  std::string CODFILIAL;              // branch of the voucher and of its payable entry
  std::string TIPOPARCEIRO;           // "F" employee, "M" driver, "R" sales representative, "P" professional
  std::string HISTORICO;              // of the voucher, the movements and the payable entry
  std::string HISTORICO2;             // of the voucher and, for non-employees, of the payable entry
  std::string HISTORICO2MOVIMENTO;    // of the cash movements; empty: HISTORICO2 (written back)
  std::string NATUREZA;               // "D" the partner owes the company, "C" the company owes the partner
  std::string ORIGEMLANCAMENTO;       // origin text, stored only when not empty
  std::string HISTORICO2FUNCIONARIO;  // second history of an employee's payable entry
  TDateTime DTLANC;
  TDateTime DTDOC;
  TDateTime DTVENC;
  double NUMDOC = 0;       // document number; the payable entry's note number
  double CODPARCEIRO = 0;  // partner code (CODFUNC)
  double CODHIST = 0;      // history code (ZTHIST)
  double VALOR = 0;        // positive amount
  double CODBANCO = 0;     // cash/bank account the cash control looks at and the movements move
  double CODCONTA = 0;     // credit account of the voucher movement; account of the payable entry
  double NUMVALE = 0;      // 0: the next voucher number (written back)
  double RECNUMLANC = 0;   // RECNUM of the payable entry; 0: the next one
  double RECNUM = 0;       // RECNUM of the ledger row; 0: the next value of DFSEQ_ZTCORREN (written back)
  double NUMTRANS = 0;     // 0: the next transaction number (written back)
  bool CONSIDERABASECALCULOIMPOSTO = false;
  bool PAGOEMDINHEIRO = false;       // cash movement instead of the payable entry
  bool MOVIMENTARCONTAVALE = false;  // posts the voucher movement ("VALE")
  bool LANCARCONTASPAGAR = false;    // posts the payable entry when not paid in cash
  bool Inicializado = false;

  // The host's initialiser: everything cleared, the record marked as initialised.
  void Inicializar();
};

// The record's fields by JSON name, with the widths of their columns.
[[nodiscard]] FieldTable<RFin_ParametrosInclusaoVale> CamposParametrosInclusaoVale();
