#pragma once

#include <string>

#include "sdk/fin/RFin_IncluirServicosPrestadosSPED_EFD.h"

// Services-rendered data for the SPED EFD tax return: one row per service taken from a supplier,
// and whether a supplier pays its social-security contribution on gross revenue (CPRB).
class IFin_IncluirServicosPrestadosSPED_EFD {
 public:
  static constexpr const char* InterfaceName = "IFin_IncluirServicosPrestadosSPED_EFD";
  virtual ~IFin_IncluirServicosPrestadosSPED_EFD();

  // Inserts the row with the columns the record sets; true.
  virtual bool IncluirServicosPrestadosSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) = 0;
  // Rewrites every column of the row with the record's CODSERVICO; true.
  virtual bool AlterarServicoPrestadoSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) = 0;
  // The supplier's CONTRIBUINTEDOCPRB; empty when the supplier does not exist.
  virtual std::string BuscarCONTRIBUINTEDOCPRB(RFin_IncluirServicosPrestadosSPED_EFD& Registro) = 0;
};
