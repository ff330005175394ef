#pragma once

#include "sdk/TBase.h"
#include "sdk/fin/IFin_ContratoEmprestimo.h"

class TDALContratoEmprestimo;

// Loan contracts: records a contract and, for the contract types that bring money in ("3" and
// "4"), posts the loan's value as a debit movement into the receiving cash or bank account.
class TContratoEmprestimo : public TBaseSubModulo, public IFin_ContratoEmprestimo {
 public:
  explicit TContratoEmprestimo(TComponent* owner);
  ~TContratoEmprestimo() override;

  bool Salvar(TFin_ContratoEmprestimo& pcContrato) override;
  bool Cancelar(TFin_ContratoEmprestimo& pcContrato) override;
  // Posts the contract's value into its CODBANCO through the cash area.
  void GerarMovimentacaoNumerarios(const TFin_ContratoEmprestimo& pcContrato);

  // The data access, created on first use with this sub-module's owner.
  [[nodiscard]] TDALContratoEmprestimo& GetDALContratoEmprestimo();

 private:
  void VerificarContrato(const TFin_ContratoEmprestimo& pcContrato);

  TDALContratoEmprestimo* fDALContratoEmprestimo = nullptr;  // owned by the host component
};

// The contract types whose money is posted into the receiving account.
[[nodiscard]] bool ContratoGeraMovimentacao(const TFin_ContratoEmprestimo& pcContrato);
