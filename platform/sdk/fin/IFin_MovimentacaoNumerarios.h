#pragma once

#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

// Cash and bank movements (the cash area): the one path by which money is posted.
class IFin_MovimentacaoNumerarios {
 public:
  static constexpr const char* InterfaceName = "IFin_MovimentacaoNumerarios";
  virtual ~IFin_MovimentacaoNumerarios();

  // Posts the movement in the caller's transaction; true when posted.
  virtual bool Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) = 0;
};
