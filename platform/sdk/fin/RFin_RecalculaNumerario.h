#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A request to rebuild the balances of one cash/bank account and collection code: the plain
// running balance, the reconciled one and the monthly clearing-date balances.
struct RFin_RecalculaNumerario {
  bool Inicializado = false;
  double CODBANCO = 0;
  std::string CODCOB;
  TDateTime DATAINICIAL;  // 0 = from the first movement
  TDateTime DATAFINAL;
  double SALDOINICIAL = 0;                  // the balance at the start date
  bool RECALCULARSALDO = false;             // plain balance (ZTMOVCR.VLSALDO, ZTESTCR.VALOR)
  bool RECALCULARSALDOCONCILIADO = false;   // reconciled balance (VLSALDOCONCIL, VALORCONCILIADO)
  bool RECALCULARSALDOCOMPENSACAO = false;  // monthly balances by clearing date (ZTESTCRCOMPENSACAO)
  bool SOMENTEMESESPOSTERIORES = false;     // the clearing-date rebuild leaves the months before the start alone

  // The host's initialiser: everything cleared, no rebuild chosen.
  void Inicializar();
};

// The record's fields by JSON name.
[[nodiscard]] FieldTable<RFin_RecalculaNumerario> CamposRecalculaNumerario();
