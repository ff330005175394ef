#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cash/Uclsfin_recalculocompensacao.h"
#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/RFin_IncluirMovimentacaoNumerarios.h"
#include "sdk/fin/RFin_RecalculaNumerario.h"

class TOraQuery;
class TOraSession;

// Data access of the cash area: posting into ZTMOVCR with the balance of ZTESTCR, reconciliation
// of single movements, rebuilds of the running balances and the monthly clearing-date balances.
// The GetSQL... functions build each statement's text without running it.
class TDALMovimentacaoNumerarios : public TBaseSubModulo {
 public:
  explicit TDALMovimentacaoNumerarios(TComponent* owner);
  ~TDALMovimentacaoNumerarios() override;

  // Posts the movement: moves the balance row under its row lock, draws NUMTRANS when 0 and
  // inserts the movement with the balance after it. Raises on any failure.
  bool IncluirMovimentacao(RFin_IncluirMovimentacaoNumerarios& prParametros);

  // Reconciles one movement that is not reconciled yet. False, with nothing changed, when the
  // row is not an open movement of that account and collection code.
  bool ConciliarLancamentoZTMOVCR(const std::string& psROWID, double pfValor, const std::string& psTipo,
                                  double pfCodigoBanco, const std::string& psCodigoMoeda, TDateTime pdDataCompensacao);

  // The three rebuilds; each reports its failure in psMsg instead of raising and leaves the
  // transaction usable (its own writes are undone) so the next rebuild can run.
  bool RecalcularSaldoZTMOVCR(RFin_RecalculaNumerario& prParametro, std::string& psMsg);
  bool RecalcularSaldoZTMOVCRCConciliado(RFin_RecalculaNumerario& prParametro, std::string& psMsg);
  bool RecalcularSaldoZTMOVCRCompensacao(RFin_RecalculaNumerario& prParametro, std::string& psMsg);

  void AtualizaSaldoSimplesZTESTCR(double CodigoBanco, const std::string& CodigoMoeda, double Saldo);
  void AtualizaSaldoConciliadoZTESTCR(double CodigoBanco, const std::string& CodigoMoeda, double Saldo);

  // Writes one month of ZTESTCRCOMPENSACAO: Recalculo true sets the given sums and balances,
  // false adds the sums to what the month holds. False when nothing was written.
  bool AtualizaSaldoZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes,
                                       TDateTime DataInicial, double SaldoInicial, double ValorDebito,
                                       double ValorCredito, double SaldoFinal, bool Recalculo);

  [[nodiscard]] double ObterSaldoFinalMesAnterior(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes);
  [[nodiscard]] double ObterSaldoInicialCompensacao(double CodigoBanco, const std::string& CodigoMoeda);
  [[nodiscard]] double ObterSaldoFinalUltimoMes(double CodigoBanco, const std::string& CodigoMoeda, TDateTime DtConcil);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLSaldoZTESTCR(bool Travar);
  // Movements of the pair after a rebuild's period (reconciled after it, for the reconciled balance).
  [[nodiscard]] static TStringList GetSQLMovimentacoesPosteriores(bool Conciliado);
  [[nodiscard]] static TStringList GetSQLAtualizarSaldoEditado();
  [[nodiscard]] static TStringList GetSQLSomarSaldoZTESTCR(bool Conciliado);
  [[nodiscard]] static TStringList GetSQLInserirZTESTCR();
  [[nodiscard]] static TStringList GetSQLInserirZTMOVCR(const RFin_IncluirMovimentacaoNumerarios& prParametros);
  [[nodiscard]] static TStringList GetSQLConciliacaoSaldoZTESTCR();
  [[nodiscard]] static TStringList GetSQLConciliacaoInserirZTESTCR();
  [[nodiscard]] static TStringList GetSQLMovimentacaoConciliavel(const std::string& psROWID);
  [[nodiscard]] static TStringList GetSQLConciliarZTMOVCR(const std::string& psROWID);
  [[nodiscard]] static TStringList GetSQLMovimentacoesSaldo(bool ComPeriodo);
  [[nodiscard]] static TStringList GetSQLMovimentacoesSaldoConciliado(bool ComPeriodo);
  [[nodiscard]] static TStringList GetSQLGravarVLSALDO();
  [[nodiscard]] static TStringList GetSQLGravarVLSALDOCONCIL();
  [[nodiscard]] static TStringList GetSQLInserirZTESTCRZerado();
  [[nodiscard]] static TStringList GetSQLAtualizarZTESTCR(bool Conciliado);
  [[nodiscard]] static TStringList GetSQLSomasMensais(int Direcao);
  [[nodiscard]] static TStringList GetSQLExisteZTESTCRCompensacao();
  [[nodiscard]] static TStringList GetSQLAtualizarZTESTCRCOMPENSACAO(bool Recalculo, bool ComDataInicial);
  [[nodiscard]] static TStringList GetSQLInserirZTESTCRCOMPENSACAO();
  [[nodiscard]] static TStringList GetSQLLimparMesesSemMovimentacao(int Direcao);
  [[nodiscard]] static TStringList GetSQLSaldoMes();
  [[nodiscard]] static TStringList GetSQLSaldoInicialCompensacao();
  [[nodiscard]] static TStringList GetSQLSaldoFinalUltimoMes();

 private:
  // The balance row after a posting: what VLSALDO and VLSALDOCONCIL freeze.
  struct TSaldo {
    double Valor = 0;
    double ValorConciliado = 0;
  };

  [[nodiscard]] TOraSession& Sessao();
  void VerificarTransacao();
  void AplicarPadroesConciliacao(RFin_IncluirMovimentacaoNumerarios& prParametros);
  // The balance row read FOR UPDATE (with the NUMTRANS query when given), then its new values and
  // the movement written together; `DefinirNumero` fills NUMTRANS once the first answer is in.
  void IncluirComSaldoTravado(RFin_IncluirMovimentacaoNumerarios& prParametros, double Variacao, TOraQuery* Numero,
                              const std::function<void()>& DefinirNumero);
  // The balance moved in place and read back, with the NUMTRANS query when given, in one round trip.
  [[nodiscard]] TSaldo AtualizarSaldoNoLugar(double CodigoBanco, const std::string& CodigoMoeda, double Variacao,
                                             double VariacaoConciliado, bool Conciliado, TDateTime DataConciliacao,
                                             TOraQuery* Numero);
  [[nodiscard]] TSaldo LerSaldo(const TStringList& sql, double CodigoBanco, const std::string& CodigoMoeda);
  void InserirZTESTCR(const TStringList& sql, double CodigoBanco, const std::string& CodigoMoeda);
  // The movement's insert with its binds, not run.
  void PrepararMovimentacao(const RFin_IncluirMovimentacaoNumerarios& prParametros, const TSaldo& Saldo,
                            TOraQuery& Query);
  void TravarSaldoParaRecalculo(double CodigoBanco, const std::string& CodigoMoeda);
  bool RecalcularSaldoCorrente(RFin_RecalculaNumerario& prParametro, std::string& psMsg, bool Conciliado);
  // Signed sum of the movements after the rebuild's period.
  [[nodiscard]] double VariacaoPosterior(const RFin_RecalculaNumerario& prParametro, bool Conciliado);

  void AtualizaSaldoZTESTCR(double CodigoBanco, const std::string& CodigoMoeda, double Saldo, bool Conciliado);
  [[nodiscard]] bool ExisteZTESTCRCompensacao(double CodigoBanco, int Mes, const std::string& CodigoMoeda, int Ano);
  bool NovoLancamentoMesZerado(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes,
                               TDateTime DataInicial, double SaldoInicial, double SaldoFinal);
  bool LimparSaldoCompensacaoMesesSemMovimentacao(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes,
                                                  double SaldoInicial, double SaldoFinal, int Direcao);
  void ObterDataSetAnteriores(const RFin_RecalculaNumerario& prParametro, TOraQuery& Query);
  void ObterDataSetPosteriores(const RFin_RecalculaNumerario& prParametro, TOraQuery& Query);
  void AbrirSomasMensais(const RFin_RecalculaNumerario& prParametro, int Direcao, TOraQuery& Query);
  bool RecalcularSaldoCompensacao(const RFin_RecalculaNumerario& prParametro, int Direcao);
  bool AtualizarZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes,
                                   TDateTime DataInicial, double SaldoInicial, double ValorDebito, double ValorCredito,
                                   double SaldoFinal, bool Recalculo);
  bool InserirZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda, int Ano, int Mes,
                                 TDateTime DataInicial, double SaldoInicial, double ValorDebito, double ValorCredito,
                                 double SaldoFinal);
};
