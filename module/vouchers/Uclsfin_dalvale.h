#pragma once

#include <optional>
#include <string>

#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_Vales.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"

class TClientDataSet;
class TDataSet;
class TOraQuery;
class TOraSession;

// What a voucher report asks for: the filters, the ordering and the kind of report. The statement
// is built from it; the values of its binds come from it too.
struct TFiltroRelatorioVale {
  std::string CodigoFilial;  // "99" or blank: every branch
  TPesquisaPeriodoVale PesquisaPeriodo = TPesquisaPeriodoVale::ppDataLancamento;
  TDateTime DtaInicio;
  TDateTime DtaFim;
  TTipoParceiroVale TipoParceiro = TTipoParceiroVale::tpFuncionario;
  double CodigoParceiro = 0;  // a supervisor's code for tpSupervisor
  double CodigoEmitente = 0;  // not positive: any issuer
  double CodigoHistorico = 0;
  double NumeroIniVale = 0;
  double NumeroFimVale = 0;
  TTipoOrdenacaoVale TipoOrdenacao = TTipoOrdenacaoVale::toCodigoParceiro;
  TTipoRelatorioVale TipoRelatorio = TTipoRelatorioVale::trEmissao;
  TTipoRelatorioExtratoVale TipoRelatorioExtrato = TTipoRelatorioExtratoVale::teAnalitico;
  bool SaldoDiferenteZero = false;
  TStatusParceiroVale StatusParceiro = TStatusParceiroVale::spTodos;
  std::string TituloVale;
  TSituacaoVales SituacaoVales = TSituacaoVales::svTodos;
};

// The open row of a voucher as a transfer reads it, under its row lock.
struct TValeAberto {
  double CodigoFuncionario = 0;
  std::string TipoFuncionario;  // as stored: "F", "M" or "R"
  double NumeroTransacao = 0;   // 0 when NULL
  double NumeroDocumento = 0;   // 0 when NULL
  TDateTime DataLancamento;
  bool Transferido = false;  // DTTRANSF is set
};

// Data access of vouchers: the rows of the partners' ledger ZTCORREN, the payable entries and cash
// movements a voucher posts (through the payable and cash areas), and the report statement.
// Every operation runs on the host session in the caller's transaction and never commits; its
// queries are locals, freed on success and on failure.
class TDALVale : public TBaseSubModulo {
 public:
  explicit TDALVale(TComponent* owner);
  ~TDALVale() override;

  // Inserts one ledger row: RECNUM from DFSEQ_ZTCORREN unless pfRecNum is positive, histories cut
  // to 40 characters, "P" stored as "R". True; a failure raises "Erro ao inserir registro na ZTCORREN:".
  bool InserirRegistroZTCORREN(const std::string& psCodigoFilial, double pfCodigoFuncionario,
                               const std::string& pfTipoFuncionario, const std::string& psTipoLancamento,
                               double pfValor, double pfNumeroDocumento, double pfCodigoHistorico,
                               const std::string& psHistorico, const std::string& psHistorico2,
                               TDateTime pdDtVencimento, TDateTime pdDtLancamento, TDateTime pdDtDocumento,
                               double piCaixaBanco, double pfNumeroTransacao, bool ValeExportado, double pfNumVale,
                               double pfRecNum, bool pbBaixarVale, double pfNumeroTransacaoBaixa,
                               bool pbConsideraBaseCalculo, const std::string& psOrigemLancamento,
                               double pfCodigoComRCA);
  // Closes the open row of the voucher (DTBAIXAVALE still NULL). True when it closed exactly one
  // row, false when none was open; more than one open row is a failure and changes nothing.
  bool BaixarZTCORREN(double pfRecNum, double pfCodigoFuncionario, const std::string& psTipoFuncionario,
                      double pfNumVale, bool pbValeExportado, double pfNumeroTransacaoBaixa, bool pbBaixaParcial);
  // History (uncut), due date, editor and tax-base flag of the rows with the RECNUM; true when a
  // row changed. A failure raises ExErroEditandoZTCORREN.
  bool EditarRegistroZTCORREN(const std::string& psHistorico, const std::string& psConsidera, TDateTime pdDtaVencimento,
                              double pfRecNum);
  // Moves the open row with the RECNUM to the destination partner; true when exactly one row moved.
  bool TransferenciaRegistroZTCORREN(double pfRecNumVale, double pfCodigoFuncionarioDestino,
                                     const std::string& psTipoFuncionarioDestino);
  // Posts a payable entry through the payable area with the voucher defaults filled in; true. A
  // failure raises ExErroInserindoZTLANC.
  bool InserirRegistroZTLANC(double pfCodigoConta, double pfCodigoFornecedor, const std::string& psHistorico,
                             const std::string& psHistorico2, double pfNumeroNota, const std::string& psDuplic,
                             double pfValor, double pfValorPago, const std::string& psCodigoFilial,
                             const std::string& psIndice, const std::string& psLocal, const std::string& psTipoParceiro,
                             const std::string& psTipoLancamento, double pfNumeroTransacao, TDateTime pdDataEmissao,
                             const std::string& psMoeda, TDateTime pdDtaVencimento, double piCaixaBanco,
                             double pfRecNum, TDateTime pdDataLancamento, TDateTime pdDataPgto, double NumVale,
                             TDateTime pdDataCompetencia);
  // RECNUM of the first payable entry posted with the voucher number; 0 for none (and for number 0).
  [[nodiscard]] double ObterRecnumLancamentoPrincipal(double NumVale);
  // Reverses the payable entry tagged with the voucher's transaction and posts it again for the
  // destination partner; true, also when the voucher has no such entry.
  bool AtualizarTransferenciaRegistroZTLANC(double pfNumTransVale, double pfNumeroDocumentoVale,
                                            TDateTime pdDataLancamentoVale, double pfCodigoFuncionarioDestino,
                                            const std::string& psTipoFuncionarioDestino,
                                            const std::string& psNomeFuncionarioDestino);
  // Posts a cash movement through the cash area; true. A failure raises "Erro ao inserir registro na ZTMOVCR:".
  bool InserirRegistroZTMOVCR(double pfNumeroTransacao, const std::string& psMoeda, const std::string& psTipo,
                              double pfValor, double piCaixaBanco, const std::string& psIndice,
                              const std::string& psHistorico, const std::string& psHistorico2, double pfCampoNUMCARR,
                              double pfCodContaCred);
  // The accounting account of a cash/bank account; 0 when it has none.
  [[nodiscard]] double GetCodContaContabil(double CodBanco);
  // Copies an open dataset into an in-memory one.
  void GetClientDataSet(TDataSet& dataset, TClientDataSet& clientDataSet);
  // Fills the caller's query with the report statement, saves its text in the spool folder,
  // filters by partner status and opens it; true when it holds rows.
  bool EmissaoVales(TOraQuery& qry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                    TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro, double pfCodigoParceiro,
                    double pfCodigoEmitente, double pfCodigoHistorico, double pfNumeroIniVale, double pfNumeroFimVale,
                    TTipoOrdenacaoVale pTipoOrdenacao, TTipoRelatorioVale pTipoRelatorioVale,
                    TTipoRelatorioExtratoVale pTipoRelatorioExtratoVale, bool pbSaldoDiferenteZero,
                    TStatusParceiroVale pStatusParceiro, const std::string& psTituloVale,
                    TSituacaoVales pSituacaoVales);
  // The open row with the RECNUM, locked until the caller's transaction ends; nothing when no
  // row with it is open.
  [[nodiscard]] std::optional<TValeAberto> LerValeAberto(double pfRecNum);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLInserirZTCORREN(bool RecNumInformado, bool ComOrigem, bool ComComissao);
  [[nodiscard]] static TStringList GetSQLBaixarZTCORREN(bool ValeExportado, bool BaixaParcial);
  [[nodiscard]] static TStringList GetSQLEditarZTCORREN();
  [[nodiscard]] static TStringList GetSQLTransferenciaZTCORREN();
  [[nodiscard]] static TStringList GetSQLLancamentosTransferencia();
  [[nodiscard]] static TStringList GetSQLRecnumLancamentoPrincipal();
  [[nodiscard]] static TStringList GetSQLCodContaContabil();
  [[nodiscard]] static TStringList GetSQLValeAberto();
  [[nodiscard]] static TStringList GetSQLEmissaoVales(const TFiltroRelatorioVale& filtro);
  // The client-side filter of a partner status ("" for every partner).
  [[nodiscard]] static std::string FiltroStatusParceiro(TStatusParceiroVale status);
  // Name of the file in the spool folder that keeps the last report statement.
  static constexpr const char* kArquivoSQLRelatorio = "614_EXTRATO_EMISSAO_VALES.SQL";

  // How a partner type is stored in ZTCORREN.TIPOFUNC: "P" as "R", the others unchanged.
  [[nodiscard]] static std::string TipoFuncionarioZTCORREN(const std::string& tipo);
  // How a partner type is written in ZTLANC.TIPOPARCEIRO by a voucher: "F" as "O", the others kept.
  [[nodiscard]] static std::string TipoParceiroZTLANC(const std::string& tipo);

 private:
  [[nodiscard]] TOraSession& Sessao();
  void SalvarSQLRelatorio(const TStringList& sql);
  void BindRelatorio(TOraQuery& qry, const TFiltroRelatorioVale& filtro);
  [[nodiscard]] RFin_IncluirContasPagar MontarLancamento(
      double pfCodigoConta, double pfCodigoFornecedor, const std::string& psHistorico, const std::string& psHistorico2,
      double pfNumeroNota, const std::string& psDuplic, double pfValor, double pfValorPago,
      const std::string& psCodigoFilial, const std::string& psIndice, const std::string& psLocal,
      const std::string& psTipoParceiro, const std::string& psTipoLancamento, double pfNumeroTransacao,
      TDateTime pdDataEmissao, const std::string& psMoeda, TDateTime pdDtaVencimento, double piCaixaBanco,
      double pfRecNum, TDateTime pdDataLancamento, TDateTime pdDataPgto, double NumVale, TDateTime pdDataCompetencia);

  std::string fVales;
};
