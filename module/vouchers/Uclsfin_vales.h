#pragma once

#include <string>

#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_Vales.h"

class TDALVale;
class TOraSession;

// The voucher area: records vouchers with their money side (cash movements or a paid payable
// entry) under the cash control, writes them off fully or partially, edits and transfers them, and
// builds the issue and extract reports. Every write runs under a savepoint of the caller's
// transaction: an operation that fails leaves nothing of itself behind.
class TBLLVale : public TBaseSubModulo, public IFin_Vales {
 public:
  explicit TBLLVale(TComponent* owner);
  ~TBLLVale() override;

  bool IncluirVale(RFin_ParametrosInclusaoVale& Parametros) override;
  bool BaixarValeIndividual(const RFin_ParamBaixaVale& ParamBaixaVale, TStringList* pListaRecNumZTLanc) override;
  bool EditarVales(const std::string& psHistorico, const std::string& psConsidera, TDateTime pdDtaVencimento,
                   double pfRecNum) override;
  bool TransferirVales(double pfRecNum, double pfCodigoParceiroDestino, double pfNumTrans, double pfNumDoc,
                       const std::string& psTipoParceiroDestino, const std::string& psNomeParceiro,
                       TDateTime pdDtLanc) override;
  bool EmissaoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                    TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro, double pfCodigoParceiro,
                    double pfCodigoEmitente, double pfCodigoHistorico, double pfNumeroIniVale, double pfNumeroFimVale,
                    TTipoOrdenacaoVale pTipoOrdenacao, TStatusParceiroVale pStatusParceiro,
                    const std::string& psTituloVale, TSituacaoVales pSituacaoVales) override;
  bool ExtratoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                    TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro, double pfCodigoParceiro,
                    double pfCodigoHistorico, TTipoRelatorioExtratoVale pTipoRelatorio,
                    TTipoOrdenacaoVale pTipoOrdenacao, TStatusParceiroVale pStatusParceiro, bool pbSaldoDiferenteZero,
                    TSituacaoVales pSituacaoVales, double pfNumeroIniVale, double pfNumeroFimVale) override;

  // The data access, owned by this object.
  [[nodiscard]] TDALVale& GetControladorDALVale() noexcept { return *ControladorDALVale; }

  // The host routine whose full write-off names the partner in the voucher movement's history.
  static constexpr int kRotinaBaixaValeParceiro = 1266;
  static constexpr const char* kHistoricoSaldoRemanescente = "VALE GERADO A PARTIR DO PROCESSO DE BAIXA";
  static constexpr const char* kPrefixoTransacaoBaixa = "NUMERO TRANSACAO BAIXA: ";

 private:
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] TDateTime Hoje();
  void VerificarTransacao();
  void ValidarInclusao(const RFin_ParametrosInclusaoVale& p);
  void GravarInclusao(const RFin_ParametrosInclusaoVale& p);
  void ValidarBaixa(const RFin_ParamBaixaVale& p);
  void BaixaTotal(const RFin_ParamBaixaVale& p, TStringList& lista);
  void BaixaParcial(const RFin_ParamBaixaVale& p, TStringList& lista);
  void FecharVale(const RFin_ParamBaixaVale& p, bool parcial);
  // The paid payable entry of a write-off of `valor` under the transaction `numtrans`.
  void LancarContasPagarBaixa(const RFin_ParamBaixaVale& p, double valor, double numtrans, TStringList& lista);

  TDALVale* ControladorDALVale;  // owned by this component
};
