#pragma once

#include <string>

#include "sdk/TBase.h"
#include "sdk/fin/IFin_IncluirServicosPrestadosSPED_EFD.h"

class TDALServicosPrestadosSPED_EFD;

// Services-rendered rows for the SPED EFD: insert, update and the supplier's CPRB question, each
// in the caller's transaction behind the same frame of checks.
class TServicosPrestadosSPED_EFD : public TBaseSubModulo, public IFin_IncluirServicosPrestadosSPED_EFD {
 public:
  explicit TServicosPrestadosSPED_EFD(TComponent* owner);
  ~TServicosPrestadosSPED_EFD() override;

  bool IncluirServicosPrestadosSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) override;
  bool AlterarServicoPrestadoSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) override;
  std::string BuscarCONTRIBUINTEDOCPRB(RFin_IncluirServicosPrestadosSPED_EFD& Registro) override;

  // The data access, created on first use with this sub-module's owner.
  [[nodiscard]] TDALServicosPrestadosSPED_EFD& GetDALServicosPrestadosSPED_EFD();

 private:
  // The checks every operation runs before it touches the database.
  void VerificarRequisicao(const RFin_IncluirServicosPrestadosSPED_EFD& Registro);
  // The key and codes of a row to write must be whole positive numbers.
  static void VerificarCodigos(const RFin_IncluirServicosPrestadosSPED_EFD& Registro);

  TDALServicosPrestadosSPED_EFD* fDALServicosPrestadosSPED_EFD = nullptr;  // owned by the host component
};
