#include "cash/Uclsfin_dalmovimentacaonumerarios.h"

#include <exception>
#include <functional>

#include "frame/Uclsfin_except.h"
#include "oradb/EOraError.h"
#include "oradb/TOraPipeline.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"

namespace {

// The routine whose reconciliation of unidentified deposits leaves the plain balance alone.
constexpr int kRotinaDepositoNaoIdentificado = 1803;

// "D" adds to the balance, "C" subtracts, any other kind leaves it as it is.
[[nodiscard]] double VariacaoDoTipo(const std::string& tipo, double valor) {
  if (tipo == "D") return valor;
  if (tipo == "C") return -valor;
  return 0;
}

[[nodiscard]] double Somar(double saldo, double variacao) {
  return RoundTo(saldo + variacao, 2);
}

[[nodiscard]] std::string TextoMes(int mes) {
  return ZeroPad(mes, 2);
}

// A rebuild runs under a savepoint of its own, so that its failure leaves the caller's
// transaction as Oracle leaves it after a failed statement: usable by the next rebuild, with
// nothing of the failed one in it.
template <class Passo>
bool ExecutarRecalculo(TOraSession& sessao, std::string& psMsg, Passo passo) {
  try {
    TOraSavepoint ponto(sessao);
    if (!passo()) return false;  // the savepoint undoes whatever the refused step wrote
    ponto.Release();
    return true;
  } catch (const std::exception& falha) {
    // A lost connection ends every rebuild of the call, not only this one: it goes up with its class.
    if (!sessao.Connected()) throw;
    psMsg = falha.what();
    if (psMsg.empty()) psMsg = "Falha sem mensagem no recálculo de saldos.";
    return false;
  }
}

}  // namespace

TDALMovimentacaoNumerarios::TDALMovimentacaoNumerarios(TComponent* owner) : TBaseSubModulo(owner) {}

TDALMovimentacaoNumerarios::~TDALMovimentacaoNumerarios() = default;

TOraSession& TDALMovimentacaoNumerarios::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

void TDALMovimentacaoNumerarios::VerificarTransacao() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
}

double TDALMovimentacaoNumerarios::VariacaoPosterior(const RFin_RecalculaNumerario& prParametro, bool Conciliado) {
  TOraQuery posteriores(&Sessao());
  posteriores.SQL = GetSQLMovimentacoesPosteriores(Conciliado);
  posteriores.ParamByName("CODBANCO").SetAsFloat(prParametro.CODBANCO);
  posteriores.ParamByName("CODMOEDA").SetAsString(prParametro.CODCOB);
  posteriores.ParamByName("DATAFINAL").SetAsDateOrNull(prParametro.DATAFINAL);
  posteriores.SetUniDirectional(true);
  posteriores.Open();
  double variacao = 0;
  for (; !posteriores.Eof(); posteriores.Next()) {
    variacao = Somar(variacao, VariacaoDoTipo(posteriores.FieldByName("TIPO").AsString(),
                                              posteriores.FieldByName("VALOR").AsFloat()));
  }
  return variacao;
}

// ---------------------------------------------------------------------------------------------
// Posting
// ---------------------------------------------------------------------------------------------

bool TDALMovimentacaoNumerarios::IncluirMovimentacao(RFin_IncluirMovimentacaoNumerarios& prParametros) {
  VerificarTransacao();
  AplicarPadroesConciliacao(prParametros);
  const double variacao = VariacaoDoTipo(prParametros.TIPO, prParametros.VALOR);
  const bool conciliado = !prParametros.CONCILIACAO.empty();
  // A new NUMTRANS is drawn in the round trip of the balance's first statement when the host's
  // numbering gives its query; otherwise it is asked for after the balance moved.
  IQuorvinNumeracao& numeracao = Quorvin().Numeracao();
  TOraQuery numero(&Sessao());
  const std::string sqlNumero = prParametros.NUMTRANS == 0 ? numeracao.SQLProximoNumTrans() : std::string();
  if (!sqlNumero.empty()) numero.SQL.Add(sqlNumero);
  TOraQuery* numeroJunto = sqlNumero.empty() ? nullptr : &numero;
  const auto definirNumero = [&] {
    if (prParametros.NUMTRANS != 0) return;
    prParametros.NUMTRANS =
        numeroJunto != nullptr ? numero.FieldByName("VALOR").AsFloat() : numeracao.ProximoNumTrans();
  };
  // Both ways move the balance under the row lock of the balance row, held until the caller
  // commits, so concurrent postings to one pair never start from the same balance.
  if (prParametros.TRAVARSALDO) {
    IncluirComSaldoTravado(prParametros, variacao, numeroJunto, definirNumero);
    return true;
  }
  const TSaldo saldo = AtualizarSaldoNoLugar(prParametros.CODBANCO, prParametros.CODCOB, variacao,
                                             conciliado ? variacao : 0, conciliado, prParametros.DTCONCIL, numeroJunto);
  definirNumero();
  TOraQuery movimento(&Sessao());
  PrepararMovimentacao(prParametros, saldo, movimento);
  try {
    movimento.ExecSQL();
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(falha.what()));
  }
  return true;
}

void TDALMovimentacaoNumerarios::AplicarPadroesConciliacao(RFin_IncluirMovimentacaoNumerarios& p) {
  const bool conciliacao =
      !p.DTCONCIL.IsZero() || !p.CONCILIACAO.empty() || p.CODFUNCCONCIL != 0 || !p.DTCOMPENSACAO.IsZero();
  if (!conciliacao) return;
  // One reading of the server's clock gives both defaults: the reconciliation's moment and its day.
  if (p.DTCONCIL.IsZero() || p.DTCOMPENSACAO.IsZero()) {
    const TDateTime agora = Quorvin().SessaoAtual().BancoDados().DataHoraServidor();
    if (p.DTCONCIL.IsZero()) p.DTCONCIL = agora;
    if (p.DTCOMPENSACAO.IsZero()) p.DTCOMPENSACAO = agora.DateOnly();
  }
  if (p.CODFUNCCONCIL == 0) p.CODFUNCCONCIL = p.CODFUNC;
  if (p.CONCILIACAO.empty()) p.CONCILIACAO = "OK";
}

void TDALMovimentacaoNumerarios::InserirZTESTCR(const TStringList& sql, double CodigoBanco,
                                                const std::string& CodigoMoeda) {
  TOraQuery& query = Quorvin().SessaoAtual().BancoDados().QueryCompartilhada();
  query.SQL = sql;
  query.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  // Another session may create the same pair's row at the same moment: its insert wins and ours
  // finds the row there, so the failed statement must not end the caller's transaction.
  struct TSavepointDaInsercao {
    TOraQuery& Query;
    explicit TSavepointDaInsercao(TOraQuery& query) : Query(query) { Query.SetStatementSavepoint(true); }
    ~TSavepointDaInsercao() { Query.SetStatementSavepoint(false); }
    TSavepointDaInsercao(const TSavepointDaInsercao&) = delete;
    TSavepointDaInsercao& operator=(const TSavepointDaInsercao&) = delete;
  } savepoint(query);
  try {
    query.ExecSQL();
  } catch (const EOraDuplicateKey&) {
    // The row exists now; the caller reads it.
  }
}

void TDALMovimentacaoNumerarios::IncluirComSaldoTravado(RFin_IncluirMovimentacaoNumerarios& p, double Variacao,
                                                        TOraQuery* Numero, const std::function<void()>& DefinirNumero) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSaldoZTESTCR(true);
  query.ParamByName("CODCOB").SetAsString(p.CODCOB);
  query.ParamByName("CODBANCO").SetAsFloat(p.CODBANCO);
  {
    TOraPipeline lote(&Sessao());
    lote.Open(query);
    if (Numero != nullptr) lote.Open(*Numero);
    lote.Execute();
  }
  if (query.IsEmpty()) {
    query.Close();
    InserirZTESTCR(GetSQLInserirZTESTCR(), p.CODBANCO, p.CODCOB);
    query.Open();
    if (query.IsEmpty()) throw ExErroAtualizarZTESTCR();
  }
  DefinirNumero();
  // The locked row's new values are known here: the balance's update and the movement that
  // freezes it need no answer of each other and travel together, the update first.
  TSaldo saldo;
  saldo.Valor = Somar(query.FieldByName("VALOR").AsFloat(), Variacao);
  saldo.ValorConciliado = query.FieldByName("VALORCONCILIADO").AsFloat();
  TOraQuery atualizar(&Sessao());
  atualizar.SQL = GetSQLAtualizarSaldoEditado();
  atualizar.ParamByName("VALOR").SetAsFloat(saldo.Valor);
  if (!p.CONCILIACAO.empty()) {
    saldo.ValorConciliado = Somar(saldo.ValorConciliado, Variacao);
    atualizar.ParamByName("VALORCONCILIADO").SetAsFloat(saldo.ValorConciliado);
    atualizar.ParamByName("DTULTCONCILIA").SetAsDateTime(p.DTCONCIL);
  } else {
    // Columns the movement does not move are written back as the row holds them.
    if (query.FieldByName("VALORCONCILIADO").IsNull()) {
      atualizar.ParamByName("VALORCONCILIADO").Clear();
    } else {
      atualizar.ParamByName("VALORCONCILIADO").SetAsFloat(saldo.ValorConciliado);
    }
    atualizar.ParamByName("DTULTCONCILIA").SetAsDateTimeOrNull(query.FieldByName("DTULTCONCILIA").AsDateTime());
  }
  atualizar.ParamByName("OLD_CODCOB").SetAsString(query.FieldByName("CODCOB").AsString());
  atualizar.ParamByName("OLD_CODBANCO").SetAsFloat(query.FieldByName("CODBANCO").AsFloat());
  TOraQuery movimento(&Sessao());
  PrepararMovimentacao(p, saldo, movimento);
  try {
    TOraPipeline lote(&Sessao());
    lote.ExecSQL(atualizar);
    lote.ExecSQL(movimento);
    lote.Execute();
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(falha.what()));
  }
  // The row is locked: anything but one row written means it is not the row that was read.
  if (atualizar.RowsAffected() != 1) {
    throw Exception("A gravação do registro afetou " + std::to_string(atualizar.RowsAffected()) +
                    " registro(s) em vez de 1.");
  }
}

TDALMovimentacaoNumerarios::TSaldo TDALMovimentacaoNumerarios::AtualizarSaldoNoLugar(
    double CodigoBanco, const std::string& CodigoMoeda, double Variacao, double VariacaoConciliado, bool Conciliado,
    TDateTime DataConciliacao, TOraQuery* Numero) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSomarSaldoZTESTCR(Conciliado);
  query.ParamByName("VALOR").SetAsFloat(Variacao);
  if (Conciliado) {
    query.ParamByName("VALORCONCILIADO").SetAsFloat(VariacaoConciliado);
    query.ParamByName("DTULTCONCILIA").SetAsDateTimeOrNull(DataConciliacao);
  }
  query.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  // The update holds the row lock: the row read after it, in the same round trip, is this
  // transaction's own result.
  TOraQuery saldo(&Sessao());
  saldo.SQL = GetSQLSaldoZTESTCR(false);
  saldo.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  saldo.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  {
    TOraPipeline lote(&Sessao());
    lote.ExecSQL(query);
    lote.Open(saldo);
    if (Numero != nullptr) lote.Open(*Numero);
    lote.Execute();
  }
  if (query.RowsAffected() == 0) {
    InserirZTESTCR(GetSQLInserirZTESTCR(), CodigoBanco, CodigoMoeda);
    query.ExecSQL();
    if (query.RowsAffected() == 0) throw ExErroAtualizarZTESTCR();
    return LerSaldo(GetSQLSaldoZTESTCR(false), CodigoBanco, CodigoMoeda);
  }
  if (saldo.IsEmpty()) throw ExErroAtualizarZTESTCR();
  return {saldo.FieldByName("VALOR").AsFloat(), saldo.FieldByName("VALORCONCILIADO").AsFloat()};
}

TDALMovimentacaoNumerarios::TSaldo TDALMovimentacaoNumerarios::LerSaldo(const TStringList& sql, double CodigoBanco,
                                                                        const std::string& CodigoMoeda) {
  TOraQuery query(&Sessao());
  query.SQL = sql;
  query.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.Open();
  if (query.IsEmpty()) throw ExErroAtualizarZTESTCR();
  return {query.FieldByName("VALOR").AsFloat(), query.FieldByName("VALORCONCILIADO").AsFloat()};
}

void TDALMovimentacaoNumerarios::PrepararMovimentacao(const RFin_IncluirMovimentacaoNumerarios& p, const TSaldo& Saldo,
                                                      TOraQuery& query) {
  query.SQL = GetSQLInserirZTMOVCR(p);
  query.ParamByName("NUMTRANS").SetAsFloat(p.NUMTRANS);
  query.ParamByName("DATA").SetAsDateTimeOrNull(p.DATA);
  query.ParamByName("CODBANCO").SetAsFloat(p.CODBANCO);
  query.ParamByName("CODCOB").SetAsString(p.CODCOB);
  query.ParamByName("HISTORICO").SetAsString(p.HISTORICO);
  query.ParamByName("HISTORICO2").SetAsString(p.HISTORICO2);
  query.ParamByName("VALOR").SetAsFloat(p.VALOR);
  query.ParamByName("TIPO").SetAsString(p.TIPO);
  query.ParamByName("NUMCARR").SetAsFloat(p.NUMCARR);
  query.ParamByName("NUMDOC").SetAsString(p.NUMDOC);
  query.ParamByName("VLSALDO").SetAsFloat(Saldo.Valor);
  if (!p.CONCILIACAO.empty()) {
    query.ParamByName("VLSALDOCONCIL").SetAsFloat(Saldo.ValorConciliado);
    query.ParamByName("DTCONCIL").SetAsDateTimeOrNull(p.DTCONCIL);
    query.ParamByName("CODFUNCCONCIL").SetAsFloat(p.CODFUNCCONCIL);
    query.ParamByName("CONCILIACAO").SetAsString(p.CONCILIACAO);
    query.ParamByName("DTCOMPENSACAO").SetAsDateTimeOrNull(p.DTCOMPENSACAO);
  }
  query.ParamByName("HORA").SetAsFloat(p.HORA);
  query.ParamByName("MINUTO").SetAsFloat(p.MINUTO);
  query.ParamByName("CODFUNC").SetAsFloat(p.CODFUNC);
  if (p.CODCONTADEB > 0) query.ParamByName("CODCONTADEB").SetAsFloat(p.CODCONTADEB);
  if (p.CODCONTACRED > 0) query.ParamByName("CODCONTACRED").SetAsFloat(p.CODCONTACRED);
  if (p.OPERACAO > 0) query.ParamByName("OPERACAO").SetAsFloat(p.OPERACAO);
  query.ParamByName("INDICE").SetAsString(p.INDICE);
  query.ParamByName("CODROTINALANC").SetAsFloat(p.CODROTINALANC);
  if (p.NUMASSOCDNI != 0) query.ParamByName("NUMASSOCDNI").SetAsFloat(p.NUMASSOCDNI);
  if (!p.DTASSOCIADNICLI.IsZero()) query.ParamByName("DTASSOCIADNICLI").SetAsDate(p.DTASSOCIADNICLI);
  if (p.CODFUNCDNICLI != 0) query.ParamByName("CODFUNCDNICLI").SetAsFloat(p.CODFUNCDNICLI);
  if (p.CODCLI != 0) query.ParamByName("CODCLI").SetAsFloat(p.CODCLI);
  if (!p.CODFILIAL.empty()) query.ParamByName("CODFILIAL").SetAsString(p.CODFILIAL);
}

// ---------------------------------------------------------------------------------------------
// Reconciliation of one movement
// ---------------------------------------------------------------------------------------------

bool TDALMovimentacaoNumerarios::ConciliarLancamentoZTMOVCR(const std::string& psROWID, double pfValor,
                                                            const std::string& psTipo, double pfCodigoBanco,
                                                            const std::string& psCodigoMoeda,
                                                            TDateTime pdDataCompensacao) {
  try {
    VerificarTransacao();
    // A movement reconciled already (or not of this pair) moves no balance: a repeated attempt
    // changes nothing.
    {
      TOraQuery aberto(&Sessao());
      aberto.SQL = GetSQLMovimentacaoConciliavel(psROWID);
      aberto.ParamByName("CODCOB").SetAsString(psCodigoMoeda);
      aberto.ParamByName("CODBANCO").SetAsFloat(pfCodigoBanco);
      // Its text carries the row's address, so it is new each time: sent through a pipeline, its
      // Parse travels with its execution instead of in a round trip of its own.
      TOraPipeline lote(&Sessao());
      lote.Open(aberto);
      lote.Execute();
      if (aberto.IsEmpty()) return false;
    }
    IQuorvinSessao& sessao = Quorvin().SessaoAtual();
    double variacao = 0;
    double variacaoConciliado = 0;
    if (psTipo == "D") {
      variacao = pfValor;
      variacaoConciliado = pfValor;
    } else if (psTipo == "C") {
      variacaoConciliado = -pfValor;
      // Routine 1803 consumes unidentified deposits: their reconciliation leaves the plain balance.
      const bool depositoNaoIdentificado =
          sessao.Usuario().CodigoRotina() == kRotinaDepositoNaoIdentificado && psCodigoMoeda == "DNI";
      if (!depositoNaoIdentificado) variacao = -pfValor;
    }
    const bool moveSaldo = psTipo == "D" || psTipo == "C";
    TOraQuery saldo(&Sessao());
    saldo.SQL = GetSQLSomarSaldoZTESTCR(moveSaldo);
    saldo.ParamByName("VALOR").SetAsFloat(variacao);
    if (moveSaldo) {
      saldo.ParamByName("VALORCONCILIADO").SetAsFloat(variacaoConciliado);
      saldo.ParamByName("DTULTCONCILIA").SetAsDateTime(sessao.BancoDados().DataServidor());
    }
    saldo.ParamByName("CODCOB").SetAsString(psCodigoMoeda);
    saldo.ParamByName("CODBANCO").SetAsFloat(pfCodigoBanco);
    // The balance row is read back in the update's round trip, after it: the server runs them in
    // that order, so the read sees the update.
    TOraQuery lido(&Sessao());
    lido.SQL = GetSQLConciliacaoSaldoZTESTCR();
    lido.ParamByName("CODCOB").SetAsString(psCodigoMoeda);
    lido.ParamByName("CODBANCO").SetAsFloat(pfCodigoBanco);
    {
      TOraPipeline lote(&Sessao());
      lote.ExecSQL(saldo);
      lote.Open(lido);
      lote.Execute();
    }
    TSaldo novo;
    if (saldo.RowsAffected() == 0) {
      InserirZTESTCR(GetSQLConciliacaoInserirZTESTCR(), pfCodigoBanco, psCodigoMoeda);
      saldo.ExecSQL();
      if (saldo.RowsAffected() == 0) throw ExErroAtualizarZTESTCR();
      novo = LerSaldo(GetSQLConciliacaoSaldoZTESTCR(), pfCodigoBanco, psCodigoMoeda);
    } else {
      if (lido.IsEmpty()) throw ExErroAtualizarZTESTCR();
      novo = {lido.FieldByName("VALOR").AsFloat(), lido.FieldByName("VALORCONCILIADO").AsFloat()};
    }

    TOraQuery movimento(&Sessao());
    movimento.SQL = GetSQLConciliarZTMOVCR(psROWID);
    movimento.ParamByName("VLSALDOCONCIL").SetAsFloat(novo.ValorConciliado);
    movimento.ParamByName("CODFUNCCONCIL").SetAsInteger(sessao.Usuario().Matricula());
    movimento.ParamByName("DTCOMPENSACAO").SetAsDateTimeOrNull(pdDataCompensacao);
    movimento.ParamByName("CODCOB").SetAsString(psCodigoMoeda);
    movimento.ExecSQL();
    // Another session reconciled it between our check and the balance lock: the balance moved
    // here must not stay, so the caller has to roll back.
    if (movimento.RowsAffected() == 0) {
      throw Exception("O lançamento " + psROWID + " já foi conciliado por outro processo.");
    }
    return true;
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(falha.what()));
  }
}

// ---------------------------------------------------------------------------------------------
// Rebuilds of the running balances
// ---------------------------------------------------------------------------------------------

void TDALMovimentacaoNumerarios::TravarSaldoParaRecalculo(double CodigoBanco, const std::string& CodigoMoeda) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSaldoZTESTCR(true);
  query.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.Open();
}

bool TDALMovimentacaoNumerarios::RecalcularSaldoZTMOVCR(RFin_RecalculaNumerario& prParametro, std::string& psMsg) {
  return RecalcularSaldoCorrente(prParametro, psMsg, false);
}

bool TDALMovimentacaoNumerarios::RecalcularSaldoZTMOVCRCConciliado(RFin_RecalculaNumerario& prParametro,
                                                                   std::string& psMsg) {
  return RecalcularSaldoCorrente(prParametro, psMsg, true);
}

bool TDALMovimentacaoNumerarios::RecalcularSaldoCorrente(RFin_RecalculaNumerario& prParametro, std::string& psMsg,
                                                         bool Conciliado) {
  return ExecutarRecalculo(Sessao(), psMsg, [&]() {
    // Postings to the pair wait until the rebuild is committed: none can slip between the rows
    // read and the balance written.
    TravarSaldoParaRecalculo(prParametro.CODBANCO, prParametro.CODCOB);
    const bool comPeriodo = prParametro.DATAINICIAL.Value() > 0;
    TOraQuery movimentos(&Sessao());
    movimentos.SQL = Conciliado ? GetSQLMovimentacoesSaldoConciliado(comPeriodo) : GetSQLMovimentacoesSaldo(comPeriodo);
    movimentos.ParamByName("CODBANCO").SetAsFloat(prParametro.CODBANCO);
    movimentos.ParamByName("CODMOEDA").SetAsString(prParametro.CODCOB);
    if (comPeriodo) {
      movimentos.ParamByName("DATAINICIAL").SetAsDateOrNull(prParametro.DATAINICIAL);
      movimentos.ParamByName("DATAFINAL").SetAsDateOrNull(prParametro.DATAFINAL);
    }
    // The rows stream through a cursor: an account's whole history never sits in memory.
    movimentos.SetUniDirectional(true);
    movimentos.Open();
    if (movimentos.IsEmpty()) return true;

    TOraQuery gravar(&Sessao());
    gravar.SQL = Conciliado ? GetSQLGravarVLSALDOCONCIL() : GetSQLGravarVLSALDO();
    double saldo = prParametro.SALDOINICIAL;
    for (; !movimentos.Eof(); movimentos.Next()) {
      saldo = Somar(
          saldo, VariacaoDoTipo(movimentos.FieldByName("TIPO").AsString(), movimentos.FieldByName("VALOR").AsFloat()));
      gravar.ParamByName("VALOR").SetAsFloat(saldo);
      gravar.ParamByName("NUMTRANS").SetAsFloat(movimentos.FieldByName("NUMTRANS").AsFloat());
      gravar.ParamByName("ID").SetAsString(movimentos.FieldByName("ROWID").AsString());
      gravar.ExecSQL();
    }
    // A period rebuild ends at the period's last movement: the live balance also takes those after
    // it, so that ZTESTCR keeps the sum of every movement of the pair.
    if (comPeriodo) saldo = Somar(saldo, VariacaoPosterior(prParametro, Conciliado));
    if (Conciliado) {
      AtualizaSaldoConciliadoZTESTCR(prParametro.CODBANCO, prParametro.CODCOB, saldo);
    } else {
      AtualizaSaldoSimplesZTESTCR(prParametro.CODBANCO, prParametro.CODCOB, saldo);
    }
    return true;
  });
}

void TDALMovimentacaoNumerarios::AtualizaSaldoSimplesZTESTCR(double CodigoBanco, const std::string& CodigoMoeda,
                                                             double Saldo) {
  AtualizaSaldoZTESTCR(CodigoBanco, CodigoMoeda, Saldo, false);
}

void TDALMovimentacaoNumerarios::AtualizaSaldoConciliadoZTESTCR(double CodigoBanco, const std::string& CodigoMoeda,
                                                                double Saldo) {
  AtualizaSaldoZTESTCR(CodigoBanco, CodigoMoeda, Saldo, true);
}

void TDALMovimentacaoNumerarios::AtualizaSaldoZTESTCR(double CodigoBanco, const std::string& CodigoMoeda, double Saldo,
                                                      bool Conciliado) {
  {
    TOraQuery existe(&Sessao());
    existe.SQL = GetSQLSaldoZTESTCR(false);
    existe.ParamByName("CODCOB").SetAsString(CodigoMoeda);
    existe.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
    existe.Open();
    if (existe.IsEmpty()) InserirZTESTCR(GetSQLInserirZTESTCRZerado(), CodigoBanco, CodigoMoeda);
  }
  TOraQuery query(&Sessao());
  query.SQL = GetSQLAtualizarZTESTCR(Conciliado);
  query.ParamByName("VALOR").SetAsFloat(Saldo);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODCOB").SetAsString(CodigoMoeda);
  query.ExecSQL();
}

// ---------------------------------------------------------------------------------------------
// Monthly balances by clearing date
// ---------------------------------------------------------------------------------------------

bool TDALMovimentacaoNumerarios::RecalcularSaldoZTMOVCRCompensacao(RFin_RecalculaNumerario& prParametro,
                                                                   std::string& psMsg) {
  return ExecutarRecalculo(Sessao(), psMsg, [&]() {
    if (!prParametro.SOMENTEMESESPOSTERIORES && !RecalcularSaldoCompensacao(prParametro, kDirecaoMesesAnteriores)) {
      throw Exception("Erro ao recalcular saldos anteriores.");
    }
    if (!RecalcularSaldoCompensacao(prParametro, kDirecaoMesesPosteriores)) {
      throw Exception("Erro ao recalcular saldos.");
    }
    return true;
  });
}

void TDALMovimentacaoNumerarios::ObterDataSetAnteriores(const RFin_RecalculaNumerario& prParametro, TOraQuery& Query) {
  AbrirSomasMensais(prParametro, kDirecaoMesesAnteriores, Query);
}

void TDALMovimentacaoNumerarios::ObterDataSetPosteriores(const RFin_RecalculaNumerario& prParametro, TOraQuery& Query) {
  AbrirSomasMensais(prParametro, kDirecaoMesesPosteriores, Query);
}

void TDALMovimentacaoNumerarios::AbrirSomasMensais(const RFin_RecalculaNumerario& prParametro, int Direcao,
                                                   TOraQuery& Query) {
  Query.SQL = GetSQLSomasMensais(Direcao);
  Query.ParamByName("CODBANCO").SetAsFloat(prParametro.CODBANCO);
  Query.ParamByName("CODCOB").SetAsString(prParametro.CODCOB);
  Query.ParamByName("DATAINICIAL").SetAsDateTime(prParametro.DATAINICIAL);
  Query.Open();
}

bool TDALMovimentacaoNumerarios::RecalcularSaldoCompensacao(const RFin_RecalculaNumerario& prParametro, int Direcao) {
  std::vector<TMesCompensacao> meses;
  {
    TOraQuery query(&Sessao());
    if (Direcao == kDirecaoMesesAnteriores) {
      ObterDataSetAnteriores(prParametro, query);
    } else {
      ObterDataSetPosteriores(prParametro, query);
    }
    for (query.First(); !query.Eof(); query.Next()) {
      meses.push_back({static_cast<int>(query.FieldByName("ANO").AsInteger()),
                       static_cast<int>(query.FieldByName("MES").AsInteger()),
                       query.FieldByName("VALORDEBITO").AsFloat(), query.FieldByName("VALORCREDITO").AsFloat()});
    }
  }
  const double banco = prParametro.CODBANCO;
  const std::string& moeda = prParametro.CODCOB;
  bool gravou = true;
  for (const TGravacaoCompensacao& g :
       PlanejarRecalculoCompensacao(prParametro.DATAINICIAL, prParametro.SALDOINICIAL, Direcao, meses)) {
    switch (g.Tipo) {
      case TGravacaoCompensacao::TTipo::MesSemMovimento:
        if (ExisteZTESTCRCompensacao(banco, g.Mes, moeda, g.Ano)) {
          gravou = AtualizarZTESTCRCOMPENSACAO(banco, moeda, g.Ano, g.Mes, prParametro.DATAINICIAL, g.SaldoInicial, 0,
                                               0, g.Saldo, true) &&
                   gravou;
        } else {
          gravou =
              NovoLancamentoMesZerado(banco, moeda, g.Ano, g.Mes, prParametro.DATAINICIAL, g.SaldoInicial, g.Saldo) &&
              gravou;
        }
        break;
      case TGravacaoCompensacao::TTipo::MesComMovimento:
        gravou = AtualizaSaldoZTESTCRCOMPENSACAO(banco, moeda, g.Ano, g.Mes, prParametro.DATAINICIAL, g.SaldoInicial,
                                                 g.ValorDebito, g.ValorCredito, g.Saldo, true) &&
                 gravou;
        break;
      case TGravacaoCompensacao::TTipo::LimparMeses:
        gravou = LimparSaldoCompensacaoMesesSemMovimentacao(banco, moeda, g.Ano, g.Mes, g.SaldoInicial, g.Saldo,
                                                            g.Direcao) &&
                 gravou;
        break;
    }
  }
  return gravou;
}

bool TDALMovimentacaoNumerarios::ExisteZTESTCRCompensacao(double CodigoBanco, int Mes, const std::string& CodigoMoeda,
                                                          int Ano) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLExisteZTESTCRCompensacao();
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("MES").SetAsString(TextoMes(Mes));
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.ParamByName("ANO").SetAsString(std::to_string(Ano));
  query.Open();
  return query.FieldByName("QTD").AsInteger() > 0;
}

bool TDALMovimentacaoNumerarios::AtualizaSaldoZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda,
                                                                 int Ano, int Mes, TDateTime DataInicial,
                                                                 double SaldoInicial, double ValorDebito,
                                                                 double ValorCredito, double SaldoFinal,
                                                                 bool Recalculo) {
  if (Mes < 1 || Mes > 12) throw Exception("Mês inválido: " + std::to_string(Mes) + ".");
  if (!ExisteZTESTCRCompensacao(CodigoBanco, Mes, CodigoMoeda, Ano)) {
    if (!Recalculo) {
      SaldoInicial = ObterSaldoFinalMesAnterior(CodigoBanco, CodigoMoeda, Ano, Mes);
      SaldoFinal = Somar(SaldoInicial, ValorDebito - ValorCredito);
    }
    return InserirZTESTCRCOMPENSACAO(CodigoBanco, CodigoMoeda, Ano, Mes, DataInicial, SaldoInicial, ValorDebito,
                                     ValorCredito, SaldoFinal);
  }
  return AtualizarZTESTCRCOMPENSACAO(CodigoBanco, CodigoMoeda, Ano, Mes, DataInicial, SaldoInicial, ValorDebito,
                                     ValorCredito, SaldoFinal, Recalculo);
}

bool TDALMovimentacaoNumerarios::AtualizarZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda,
                                                             int Ano, int Mes, TDateTime DataInicial,
                                                             double SaldoInicial, double ValorDebito,
                                                             double ValorCredito, double SaldoFinal, bool Recalculo) {
  const bool comDataInicial = Recalculo && DataInicial.Value() > 0;
  TOraQuery query(&Sessao());
  query.SQL = GetSQLAtualizarZTESTCRCOMPENSACAO(Recalculo, comDataInicial);
  query.ParamByName("VALORCREDITO").SetAsFloat(ValorCredito);
  query.ParamByName("VALORDEBITO").SetAsFloat(ValorDebito);
  if (Recalculo) {
    query.ParamByName("SALDOINICIAL").SetAsFloat(SaldoInicial);
    query.ParamByName("SALDO").SetAsFloat(SaldoFinal);
  }
  if (comDataInicial) query.ParamByName("DATASALDOINICIAL").SetAsDateTime(DataInicial);
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.ParamByName("MES").SetAsString(TextoMes(Mes));
  query.ParamByName("ANO").SetAsString(std::to_string(Ano));
  query.ExecSQL();
  return query.RowsAffected() > 0;
}

bool TDALMovimentacaoNumerarios::InserirZTESTCRCOMPENSACAO(double CodigoBanco, const std::string& CodigoMoeda, int Ano,
                                                           int Mes, TDateTime DataInicial, double SaldoInicial,
                                                           double ValorDebito, double ValorCredito, double SaldoFinal) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLInserirZTESTCRCOMPENSACAO();
  query.ParamByName("MES").SetAsString(TextoMes(Mes));
  query.ParamByName("ANO").SetAsString(std::to_string(Ano));
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.ParamByName("VALORDEBITO").SetAsFloat(ValorDebito);
  query.ParamByName("VALORCREDITO").SetAsFloat(ValorCredito);
  query.ParamByName("DATASALDOINICIAL").SetAsDateTimeOrNull(DataInicial);
  query.ParamByName("SALDO").SetAsFloat(SaldoFinal);
  query.ParamByName("SALDOINICIAL").SetAsFloat(SaldoInicial);
  query.ExecSQL();
  return query.RowsAffected() > 0;
}

bool TDALMovimentacaoNumerarios::NovoLancamentoMesZerado(double CodigoBanco, const std::string& CodigoMoeda, int Ano,
                                                         int Mes, TDateTime DataInicial, double SaldoInicial,
                                                         double SaldoFinal) {
  return InserirZTESTCRCOMPENSACAO(CodigoBanco, CodigoMoeda, Ano, Mes, DataInicial, SaldoInicial, 0, 0, SaldoFinal);
}

bool TDALMovimentacaoNumerarios::LimparSaldoCompensacaoMesesSemMovimentacao(double CodigoBanco,
                                                                            const std::string& CodigoMoeda, int Ano,
                                                                            int Mes, double SaldoInicial,
                                                                            double SaldoFinal, int Direcao) {
  try {
    TOraQuery query(&Sessao());
    query.SQL = GetSQLLimparMesesSemMovimentacao(Direcao);
    query.ParamByName("SALDOFINAL").SetAsFloat(SaldoFinal);
    query.ParamByName("SALDOINICIAL").SetAsFloat(SaldoInicial);
    query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
    query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
    query.ParamByName("ANOMES").SetAsString(std::to_string(Ano) + TextoMes(Mes));
    query.ExecSQL();
    return true;
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(falha.what()));
  }
}

// ---------------------------------------------------------------------------------------------
// Balance getters
// ---------------------------------------------------------------------------------------------

double TDALMovimentacaoNumerarios::ObterSaldoFinalMesAnterior(double CodigoBanco, const std::string& CodigoMoeda,
                                                              int Ano, int Mes) {
  if (Mes < 1 || Mes > 12) throw Exception("Mês inválido: " + std::to_string(Mes) + ".");
  // January's previous month is December of the year before.
  const int anoAnterior = Mes == 1 ? Ano - 1 : Ano;
  const int mesAnterior = Mes == 1 ? 12 : Mes - 1;
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSaldoMes();
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.ParamByName("ANO").SetAsString(std::to_string(anoAnterior));
  query.ParamByName("MES").SetAsString(TextoMes(mesAnterior));
  query.Open();
  return query.IsEmpty() ? 0.0 : query.FieldByName("SALDO").AsFloat();
}

double TDALMovimentacaoNumerarios::ObterSaldoInicialCompensacao(double CodigoBanco, const std::string& CodigoMoeda) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSaldoInicialCompensacao();
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.Open();
  return query.IsEmpty() ? 0.0 : query.FieldByName("SALDOINICIAL").AsFloat();
}

double TDALMovimentacaoNumerarios::ObterSaldoFinalUltimoMes(double CodigoBanco, const std::string& CodigoMoeda,
                                                            TDateTime DtConcil) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLSaldoFinalUltimoMes();
  query.ParamByName("CODBANCO").SetAsFloat(CodigoBanco);
  query.ParamByName("CODMOEDA").SetAsString(CodigoMoeda);
  query.ParamByName("DTCONCIL").SetAsDateTimeOrNull(DtConcil);
  query.Open();
  return query.IsEmpty() ? 0.0 : query.FieldByName("SALDO").AsFloat();
}
