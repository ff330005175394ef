#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "oradb/TOraQuery.h"
#include "rtl/TDateTime.h"
#include "sdk/TBase.h"
#include "sdk/fin/RFin_AprovarSuplementacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/RFin_RejeitarSuplementacao.h"

// Data access of payable entries: builds the SQL text of ZTLANC and its held twin ZTLANCBLOQ line by
// line, binds and runs it on the host session, inside the caller's transaction. No business rules.
// The SQL builders are static so the text can be checked without a database.
class TDALContasPagar : public TBaseSubModulo {
 public:
  explicit TDALContasPagar(TComponent* owner);
  ~TDALContasPagar() override;

  // Which of the two tables an entry goes to: ZTLANCBLOQ when the branch works with supplementation,
  // the entry is to be supplemented and it is not already within an approval.
  [[nodiscard]] static const char* TabelaDestino(const RFin_IncluirContasPagar& registro, bool trabalhaSuplementacao,
                                                 bool suplementacao) noexcept;
  // The insert of one entry: the fixed columns and those the record sets, each bound as :COLUMN.
  [[nodiscard]] static std::string GetSQLInsertZTLANC(const RFin_IncluirContasPagar& registro,
                                                      bool trabalhaSuplementacao, bool suplementacao);
  // Inserts one entry; true on success. A database failure becomes a plain exception with its message.
  bool IncluirLancamento(const RFin_IncluirContasPagar& registro, bool trabalhaSuplementacao, bool suplementacao);

  // Every ZTLANC column, the partner's name as FORNECEDOR, under "WHERE 1 = 1" for callers to extend.
  [[nodiscard]] static std::string GetSQLSelectZTLANC();
  // The entries of a comma-separated RECNUM list, in the order the database returns them.
  [[nodiscard]] std::vector<RFin_IncluirContasPagar> GetListaLancamento(const std::string& psListaRecNum);
  // The open entries of an entry invoice, comma-separated, when they add up to the invoice's total.
  [[nodiscard]] std::string GetListaRecNum(double prNumTransEnt);
  // "(COL IN ( a,b ) OR COL IN ( ... )) ", each list under 1000 characters. Unquoted values must be
  // numbers: the list is pasted into SQL.
  [[nodiscard]] static std::string MontaClausulaIN(const std::string& psColuna, const std::string& psLista,
                                                   bool pbAspas, bool pbNegar);

  // Budget of an account in a branch for a month (0 when there is none).
  [[nodiscard]] static std::string GetSQLValorOrcado(int mes);
  [[nodiscard]] double ObterValorOrcado(double codconta, const std::string& codfilial, int ano, int mes);
  // Locks the account's budget row of the year in the branch until the caller's transaction ends, so
  // the check of what is already posted and the posting that follows are one step against another
  // session posting to the same account; without a budget row there is nothing to lock (and
  // nothing to share).
  void TravarOrcamento(double codconta, const std::string& codfilial, int ano);
  [[nodiscard]] static std::string GetSQLTravarOrcamento();
  // What an account already holds in a month, in ZTLANC or ZTLANCBLOQ: paid (VPAGO of paid entries) or
  // open (VALOR of unpaid ones), leaving out one entry and rejected supplementations. By accrual the
  // month is that of DTCOMPETENCIA; otherwise that of the payment (paid) or of the due date (open).
  [[nodiscard]] static std::string GetSQLValorLancado(const std::string& tabela, bool pago, bool porCompetencia);
  [[nodiscard]] double ObterValorLancado(const std::string& tabela, bool pago, bool porCompetencia, double codconta,
                                         const std::string& codfilial, double recnum, int ano, int mes);
  // The budget check's reads of a month sent in one round trip and run in this order: the budget
  // row locked (TravarOrcamento), the budget (ObterValorOrcado), then paid and open in ZTLANC and,
  // with `comRetidos`, in ZTLANCBLOQ (ObterValorLancado), added up per kind. The sums run after the
  // lock is granted, so they see what a posting that held it before has committed.
  struct TValoresOrcamento {
    double Orcado = 0;
    double Pago = 0;
    double Aberto = 0;
  };
  [[nodiscard]] TValoresOrcamento LerOrcamento(double codconta, const std::string& codfilial, double recnum, int ano,
                                               int mes, bool porCompetencia, bool comRetidos);

  // A held entry as read for its approval, under a row lock held until the transaction ends: a
  // second approver waits for the first and then finds the entry gone.
  struct TLancamentoRetido {
    RFin_IncluirContasPagar Lancamento;
    std::string CODMOEDABAIXA;
    bool Rejeitado = false;  // DTREJEICAOSUPLORC is set
  };
  // Nothing when the RECNUM is not held.
  [[nodiscard]] std::optional<TLancamentoRetido> LerLancamentoRetido(double recnum);
  // Copies a held entry and its held apportionment to ZTLANC/ZTRATEIOCENTROCUSTO, column for
  // column, stamped with the approver and the server's day; an entry rejected before is copied
  // without its rejection stamp. The held rows stay until ExcluirLancamentoRetido.
  void AprovarSuplementacao(const TLancamentoRetido& retido, double recnum, double aprovador);
  // Deletes the held entry and its held apportionment.
  void ExcluirLancamentoRetido(double recnum);
  // The employee number of a user name (ZTEMPR.NOME_GUERRA); 0 when unknown.
  [[nodiscard]] double MatriculaPorNomeGuerra(const std::string& nome_guerra);
  void InserirRecado(double codfuncdest, const std::string& assunto, const std::string& texto);
  // The held row (ZTLANC's columns, listed in `colunas`, and CODMOEDABAIXA) under a row lock.
  [[nodiscard]] static std::string GetSQLLancamentoRetido(const std::string& colunas);
  // The held row's rejection stamp under a row lock.
  [[nodiscard]] static std::string GetSQLTravarLancamentoRetido();
  // "RecNum: <n> não encontrado na tabela ZTLANCBLOQ !"
  [[nodiscard]] static std::string MensagemNaoEncontrado(double recnum);
  enum class TSituacaoRetido { Ausente, Retido, Rejeitado };
  // Locks the held row of an entry until the transaction ends, so a second session acting on the
  // same entry waits for the first, and tells whether it is held or rejected already.
  [[nodiscard]] TSituacaoRetido TravarLancamentoRetido(double recnum);
  // Whether an entry invoice exists (ZTNFENT).
  [[nodiscard]] bool ExisteNotaEntrada(double numtransent);
  // Stamps a held entry as rejected, drops its SPED service row and notifies the user.
  // Failures: "Erro ao rejeitar a suplementação\r" + cause.
  void RejeitarSuplementacao(const RFin_RejeitarSuplementacao& registro);

  // ZTLANC's columns as the database lists them (read once).
  [[nodiscard]] const std::vector<std::string>& ColunasTabelaZTLANC();

  // ---- Bordero settlement

  // The accounts of the side entries of a settlement (host parameters, read by the business class).
  struct TContasLancamentoAdicional {
    double CodContaDesconto = 0;  // CON_CODCONTANTPAG
    double CodContaJuros = 0;     // CON_CODCONTPAGJUR
    double CodContaCambial = 0;   // CON_CODCONTACAMBIAL
  };
  // A side entry of a bordero whose account uses cost centers.
  struct TLancamentoAdicional {
    std::string CODFILIAL;
    double CODCONTA = 0;
    double RECNUM = 0;
    double VALOR = 0;
    TDateTime DTLANC;
  };
  // The settlement update of an entry, only while it is unpaid; `psExtra` adds assignments.
  [[nodiscard]] static std::string GetSQLUpdateZTLANC(const std::string& psExtra);
  // Pays one entry of a bordero and posts its side entries (allowances, discount, interest, exchange
  // variation) from the record's values. False, with nothing written, when the entry was paid
  // already or does not exist; an account the side entries need that is not set is refused first.
  // `hoje` (the server's day) is the payment date of an entry that brings none.
  bool QuitarContasPagarBordero(const RFin_IncluirContasPagar& registro, const TContasLancamentoAdicional& contas,
                                TDateTime hoje);
  // A copy of entry `recnum` as a side entry of `valor` on `codconta`, made in the database; answers
  // the new entry's number. An empty history keeps the source's.
  double IncluirLancamentoAdicional(double recnum, double valor, double codconta, const std::string& historico);
  // The insert-select of a side entry over ZTLANC's columns `colunas` (as the dictionary lists them).
  [[nodiscard]] static std::string GetSQLIncluirLancamentoAdicional(const std::vector<std::string>& colunas);
  [[nodiscard]] std::vector<TLancamentoAdicional> ObterLancamentosAdicionais(double numbordero);
  [[nodiscard]] static std::string GetSQLLancamentosAdicionais();
  // Allowance returns (ORIGEM 'D') of an entry, and its allowance discounts (ORIGEM 'C') by account.
  [[nodiscard]] static std::string GetSQLDevolucaoVerbas();
  [[nodiscard]] static std::string GetSQLDescontoVerbas();
  [[nodiscard]] double ObterDevolucaoVerbas(double recnum);
  [[nodiscard]] std::vector<std::pair<double, double>> ObterDescontoVerbas(double recnum);
  // Puts an open entry, not yet on a bordero, on bordero `numbordero`; false when no row changed.
  [[nodiscard]] static std::string GetSQLUpdateProcesso1804();
  bool UpdateZTLancParaAtenderProcesso1804(double recnum, double numbordero, double numbanco,
                                           const std::string& assinatura, const std::string& historico,
                                           double descontofin, double txperm);
  // Locks the rows of `tabela` under `filtro` (or the rows `consulta` selects) without waiting: true
  // when locked (until the transaction ends). A busy row raises a plain exception naming the
  // sessions that hold the table, as the lock views report them.
  bool ValidarLockRegistro(const std::string& tabela, const std::string& filtro, const std::string& operacao,
                           TOraQuery* consulta = nullptr);
  [[nodiscard]] static std::string GetSQLTravarRegistros(const std::string& tabela, const std::string& filtro);
  [[nodiscard]] static std::string GetSQLDetentoresLock(const std::string& tabela);
  // The failure text of a busy table, from the lock holders' blocks.
  [[nodiscard]] static std::string MensagemLock(const std::string& tabela, const std::string& filtro,
                                                const std::string& operacao, const std::string& blocos);
  // Reverses an open entry: settled today as reversed by the user, and its counter-entry posted.
  void EstornarLancamento(double recnum);
  // Locks entry `recnum` until the transaction ends; false when it does not exist.
  bool TravarLancamento(double recnum);
  // Whether the closing of a branch's financial period covers the day.
  [[nodiscard]] static std::string GetSQLPeriodoBloqueado();
  [[nodiscard]] bool VerificarPeriodoBloqueado(const std::string& codfilial, TDateTime data);
  // Number of allowances carrying a history.
  [[nodiscard]] int ContarVerbas(const std::string& historico);
  // Inserts a receivable title refunding a paid freight bill (ZTPREST), on the next free instalment of
  // the sale; answers the instalment.
  std::string IncluirTituloEstornoFrete(double numtransvenda, const std::string& codfilial, double codcli,
                                        const std::string& codcob, double numnota, double codusur, double valor);

 private:
  // One block per session holding `tabela`, each followed by "\r\r"; empty when none does.
  [[nodiscard]] std::string BlocosDetentoresLock(const std::string& tabela);

  std::vector<std::string> FColunasZTLANC;
  std::string FSQLLancamentoAdicional;  // built once from FColunasZTLANC
};
