#pragma once

#include "sdk/fin/TFin_ContratoEmprestimo.h"

// Loan contracts: saving one records the contract and, for the types that bring money in, posts
// that money into the receiving cash or bank account.
class IFin_ContratoEmprestimo {
 public:
  static constexpr const char* InterfaceName = "IFin_ContratoEmprestimo";
  virtual ~IFin_ContratoEmprestimo();

  // Inserts a new contract (key 0, drawn and written back) or updates the one with the key; true
  // when the row was written.
  virtual bool Salvar(TFin_ContratoEmprestimo& pcContrato) = 0;
  // Changes nothing; true.
  virtual bool Cancelar(TFin_ContratoEmprestimo& pcContrato) = 0;
};
