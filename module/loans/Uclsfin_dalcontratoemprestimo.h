#pragma once

#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/TFin_ContratoEmprestimo.h"

class TOraSession;

// Data access of loan contracts: the row of ZTCONTRATOEMPRESTIMO and its key sequence.
class TDALContratoEmprestimo : public TBaseSubModulo {
 public:
  explicit TDALContratoEmprestimo(TComponent* owner);
  ~TDALContratoEmprestimo() override;

  // Draws the key, writes it into the contract and inserts the row; true.
  bool Inserir(TFin_ContratoEmprestimo& pcContrato);
  // Writes every column but the key; false, with nothing written, when no contract has the key.
  bool Update(const TFin_ContratoEmprestimo& pcContrato);
  [[nodiscard]] double ProximoNumSeqContratoEmprestimo();

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLProximoNumSeq();
  [[nodiscard]] static TStringList GetSQLInserir();
  [[nodiscard]] static TStringList GetSQLUpdate();

 private:
  [[nodiscard]] TOraSession& Sessao();
};
