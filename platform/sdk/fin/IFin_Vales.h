#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/fin/RFin_ParamBaixaVale.h"
#include "sdk/fin/RFin_ParametrosInclusaoVale.h"

class TOraQuery;

// The enumerations of a voucher report request, with the ordinals the host's screens send.

// Which date the period filters and orders by.
enum class TPesquisaPeriodoVale : int { ppDataLancamento = 0, ppDataVencimento = 1 };
// Partner kind of the report: employees, drivers, representatives (not professional),
// professional representatives, or a supervisor's representatives.
enum class TTipoParceiroVale : int { tpFuncionario = 0, tpMotorista, tpRCA, tpProfissional, tpSupervisor };
// Ordering of the rows: by partner code, by partner name, or (4) by partner type then code.
enum class TTipoOrdenacaoVale : int {
  toCodigoParceiro = 0,
  toNomeParceiro = 1,
  toSemOrdem2 = 2,
  toSemOrdem3 = 3,
  toTipoParceiro = 4
};
enum class TTipoRelatorioVale : int { trEmissao = 1, trExtrato = 2 };
enum class TTipoRelatorioExtratoVale : int { teAnalitico = 0, teSintetico = 1 };
// Partners shown: active, inactive, or all.
enum class TStatusParceiroVale : int { spAtivo = 0, spInativo = 1, spTodos = 2 };
// Rows shown: open, written off, or all.
enum class TSituacaoVales : int { svAbertos = 0, svBaixados = 1, svTodos = 2 };

// Vouchers: advances and settlements recorded against the company's internal partners (employees,
// drivers, representatives) in their current-account ledger, with the money side posted as cash
// movements or paid payable entries. Every operation runs in the caller's transaction.
class IFin_Vales {
 public:
  static constexpr const char* InterfaceName = "IFin_Vales";
  virtual ~IFin_Vales();

  // Records a voucher and its money side; writes back the numbers it drew. True when recorded.
  virtual bool IncluirVale(RFin_ParametrosInclusaoVale& Parametros) = 0;
  // Writes off an open voucher row, fully or partially. Each payable entry posted adds its RECNUM
  // to pListaRecNumZTLanc (when given). True when the write-off was recorded.
  virtual bool BaixarValeIndividual(const RFin_ParamBaixaVale& ParamBaixaVale, TStringList* pListaRecNumZTLanc) = 0;
  // Changes the history, due date and tax-base flag of a ledger row; true when a row changed.
  virtual bool EditarVales(const std::string& psHistorico, const std::string& psConsidera, TDateTime pdDtaVencimento,
                           double pfRecNum) = 0;
  // Moves an open voucher, and the payable entry posted with it, to another partner.
  virtual bool TransferirVales(double pfRecNum, double pfCodigoParceiroDestino, double pfNumTrans, double pfNumDoc,
                               const std::string& psTipoParceiroDestino, const std::string& psNomeParceiro,
                               TDateTime pdDtLanc) = 0;
  // Fills pQry with the voucher issue report and opens it; true when it holds rows.
  virtual bool EmissaoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                            TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro,
                            double pfCodigoParceiro, double pfCodigoEmitente, double pfCodigoHistorico,
                            double pfNumeroIniVale, double pfNumeroFimVale, TTipoOrdenacaoVale pTipoOrdenacao,
                            TStatusParceiroVale pStatusParceiro, const std::string& psTituloVale,
                            TSituacaoVales pSituacaoVales) = 0;
  // Fills pQry with the partners' extract (analytic or synthetic) and opens it; true when it holds rows.
  virtual bool ExtratoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                            TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro,
                            double pfCodigoParceiro, double pfCodigoHistorico, TTipoRelatorioExtratoVale pTipoRelatorio,
                            TTipoOrdenacaoVale pTipoOrdenacao, TStatusParceiroVale pStatusParceiro,
                            bool pbSaldoDiferenteZero, TSituacaoVales pSituacaoVales, double pfNumeroIniVale,
                            double pfNumeroFimVale) = 0;
};
