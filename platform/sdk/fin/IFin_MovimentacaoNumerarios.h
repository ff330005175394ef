#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"
#include "sdk/fin/RFin_RecalculaNumerario.h"

// Cash and bank movements (the cash area): the one path by which money is posted, and the
// balances the host's screens show and rebuild.
class IFin_MovimentacaoNumerarios {
 public:
  static constexpr const char* InterfaceName = "IFin_MovimentacaoNumerarios";
  virtual ~IFin_MovimentacaoNumerarios();

  // Posts the movement in the caller's transaction; true when posted.
  virtual bool Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) = 0;
  // Opening balance of the earliest month of the clearing-date balances; 0 when there is none.
  [[nodiscard]] virtual double ObterSaldoInicialCompensacao(double CodigoBanco, const std::string& CodigoMoeda) = 0;
  // Closing clearing-date balance of the month before (Ano, Mes); 0 when that month has no row.
  [[nodiscard]] virtual double ObterSaldoFinalMesAnterior(double CodigoBanco, const std::string& CodigoMoeda, int Ano,
                                                          int Mes) = 0;
  // Rebuilds the balances the request asks for, in the caller's transaction; true when done.
  virtual bool RecalcularSaldos(const RFin_RecalculaNumerario& prNumerario) = 0;
  // Closing clearing-date balance of the latest month that starts before DtConcil; 0 when none.
  [[nodiscard]] virtual double ObterSaldoFinalUltimoMes(double CodigoBanco, const std::string& CodigoMoeda,
                                                        TDateTime DtConcil) = 0;
};
