#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A loan contract taken by the company, one row of ZTCONTRATOEMPRESTIMO: one member per column.
// NUMSEQCONTRATOEMPRESTIMO is 0 for a new contract and is written back when it is inserted.
class TFin_ContratoEmprestimo {
 public:
  double NUMSEQCONTRATOEMPRESTIMO = 0;
  std::string NUMCONTRATO;
  TDateTime DTCONTRATO;      // not positive: stored as NULL
  std::string TIPOCONTRATO;  // "3" and "4" put the loan's money into CODBANCO
  double MOEDAESTRANGEIRA = 0;
  TDateTime DTCOTACAO;  // not positive: stored as NULL
  double PRAZOPER = 0;
  double TXJURO = 0;
  double CODFORNEC = 0;
  double CODBANCO = 0;
  std::string OBSERVACAO;
  double VLRTOTAL = 0;
  std::string TIPOEMPRESTIMO;
  std::string MOEDANACIONAL;

  // Everything cleared: a new contract.
  void Inicializar() { *this = TFin_ContratoEmprestimo{}; }
};

// The contract's fields by JSON name, with the widths of their columns.
[[nodiscard]] FieldTable<TFin_ContratoEmprestimo> CamposContratoEmprestimo();
