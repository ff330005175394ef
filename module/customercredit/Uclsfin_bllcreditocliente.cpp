#include "customercredit/Uclsfin_bllcreditocliente.h"

#include <exception>
#include <functional>

#include "customercredit/Uclsfin_dalcreditocliente.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

constexpr const char* kMetodoInclusao = "IncluirCreditoCliente";
constexpr const char* kMetodoEstorno = "EstornarCreditoCliente";
constexpr const char* kSequenciaCodigo = "DFSEQ_ZTCRECLI";
constexpr const char* kSequenciaNumCred = "DFSEQ_ZTCRECLI_NUMCRED";
constexpr const char* kHistoricoEstorno = "CANCELAMENTO DE CREDITO CLIENTE";
constexpr std::size_t kLarguraHistorico = 100;

[[nodiscard]] bool Numerario(const TMovimentacaoFinanceira& m) {
  return m.Tipo == TTipoMovimentacaoFinanceira::tMovimentarNumerario;
}

[[nodiscard]] std::string Historico2(const TCreditoCliente& c) {
  return Utf8Left("LIQ.CRECLI[" + ShortestDecimal(c.CODCLI) + "] NF [" + ShortestDecimal(c.NUMNOTA) + "]", 40);
}

// The message a failure shows: its own text (the nested causes stay reachable from it).
[[nodiscard]] std::string Texto(const std::exception& falha) {
  return falha.what();
}

}  // namespace

TBLLCreditoCliente::TBLLCreditoCliente(TComponent* owner)
    : TBaseSubModulo(owner), FControladorDALCredito(new TDALCreditoCliente(this)) {}

// The data access is a child of this component and goes with it.
TBLLCreditoCliente::~TBLLCreditoCliente() = default;

TOraSession& TBLLCreditoCliente::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

int TBLLCreditoCliente::Usuario() {
  return Quorvin().SessaoAtual().Usuario().Matricula();
}

int TBLLCreditoCliente::Rotina() {
  return Quorvin().SessaoAtual().Usuario().CodigoRotina();
}

void TBLLCreditoCliente::VerificarTransacao() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
}

std::unique_ptr<TCreditoCliente> TBLLCreditoCliente::ClonarObjeto(const TCreditoCliente& poCreditoCliente) {
  return std::make_unique<TCreditoCliente>(poCreditoCliente);
}

// ---- Money side

void TBLLCreditoCliente::LancarNumerario(const TCreditoCliente& c, double numtrans, int banco, double valor,
                                         const std::string& tipo, const std::string& historico, bool comClienteFilial) {
  IQuorvinSessao& host = Quorvin().SessaoAtual();
  const TDateTime agora = host.BancoDados().DataHoraServidor();
  int hora = 0;
  int minuto = 0;
  int segundo = 0;
  agora.DecodeTime(hora, minuto, segundo);
  RFin_IncluirMovimentacaoNumerarios m;
  m.Inicializar();
  m.NUMTRANS = numtrans;
  m.DATA = agora.DateOnly();
  m.CODBANCO = banco;
  m.CODCOB = "D";
  m.VALOR = valor;
  m.TIPO = tipo;
  m.HISTORICO = historico;
  m.HISTORICO2 = Historico2(c);
  m.NUMCARR = c.NUMNOTA;
  m.HORA = hora;
  m.MINUTO = minuto;
  m.CODFUNC = Usuario();
  m.CODCONTADEB = 0;
  m.CODCONTACRED = 0;
  m.INDICE = "B";
  m.CODROTINALANC = Rotina();
  if (comClienteFilial) {
    m.CODCLI = c.CODCLI;
    m.CODFILIAL = c.CODFILIAL;
  }
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_MovimentacaoNumerarios* numerarios = financeiro != nullptr ? financeiro->GetMovimentacaoNumerarios() : nullptr;
  if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
  numerarios->Incluir(m);
}

void TBLLCreditoCliente::LancarContasPagar(const TCreditoCliente& c, double recnum, double conta,
                                           const std::string& historico, double valor, TDateTime competencia) {
  IQuorvinSessao& host = Quorvin().SessaoAtual();
  const TDateTime hoje = host.BancoDados().DataServidor();
  RFin_IncluirContasPagar r;
  r.Inicializar();
  r.RECNUM = recnum;
  r.TIPOLANC = "C";
  r.CODCONTA = conta;
  r.CODFORNEC = c.CODCLI;
  r.HISTORICO = historico;
  r.NUMNOTA = c.NUMNOTA;
  r.VALOR = valor;
  r.VPAGO = valor;
  r.CODFILIAL = c.CODFILIAL;
  r.INDICE = "A";
  r.TIPOPARCEIRO = "C";
  r.NOMEFUNC = Utf8Left(
      host.BancoDados().Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = " + std::to_string(Usuario())).value_or(""),
      40);
  r.MOEDA = "R";
  r.DUPLIC = "1";
  r.DTLANC = hoje;
  r.DTVENC = hoje;
  r.DTEMISSAO = hoje;
  r.DTPAGTO = hoje;
  r.DTCOMPETENCIA = competencia.Value() > 0 ? competencia : hoje;
  r.CODROTINACAD = std::to_string(Rotina());
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
  if (contas == nullptr) throw Exception("Contas a pagar indisponível no módulo financeiro.");
  if (!contas->Incluir(r)) throw Exception("O lançamento do crédito de cliente não foi incluído.");
}

// ---- Inclusion

void TBLLCreditoCliente::ValidarParametrosInclusaoCredito(const TCreditoCliente& c) {
  if (c.Movimentacao) {
    const TMovimentacaoFinanceira& m = *c.Movimentacao;
    if (Numerario(m) && (m.CodigoCaixaBanco <= 0 || Trim(m.CodigoCobranca).empty())) {
      throw ExCodigoCaixaBancoObrigatorio();
    }
    if (!Numerario(m) && !(m.ContaGerencial > 0)) throw ExContaGerencialNaoInformada();
  }
  if (Trim(c.CODFILIAL).empty()) throw ExCodigoFilialNaoPreenchido();
  if (!(c.CODCLI > 0)) throw ExCodigoClienteObrigatorio();
  if (!(c.VALOR > 0)) throw ExValorZerado();
}

bool TBLLCreditoCliente::IncluirCreditoCliente(TCreditoCliente& poCreditoCliente, std::string& psMsgErro) {
  TDALCreditoCliente& dal = *FControladorDALCredito;
  psMsgErro.clear();
  TCreditoCliente c = poCreditoCliente;
  c.VALOR = RoundTo(c.VALOR, 2);
  dal.InserirLog("IncluirCreditoCliente-Inicio", kMetodoInclusao, c);
  VerificarTransacao();
  dal.InserirLog("IncluirCreditoCliente-Validar", kMetodoInclusao, c);
  ValidarParametrosInclusaoCredito(c);
  bool existe = false;
  try {
    TOraSavepoint ponto(Sessao());
    IQuorvinNumeracao& numeracao = Quorvin().Numeracao();
    if (c.Movimentacao && Numerario(*c.Movimentacao)) {
      dal.InserirLog("IncluirCreditoCliente-tMovimentarNumerario", kMetodoInclusao, c);
      c.NUMTRANS = numeracao.ProximoNumTrans();
      c.NUMLANC = 0;
      c.CODMOVIMENTO = c.Movimentacao->CodigoCaixaBanco;
      c.NUMCRED = numeracao.ProximoValorSequencia(kSequenciaNumCred);
      LancarNumerario(c, c.NUMTRANS, c.Movimentacao->CodigoCaixaBanco, c.VALOR, "D",
                      TDALCreditoCliente::kHistoricoInclusao, true);
    } else if (c.Movimentacao) {
      dal.InserirLog("IncluirCreditoCliente-tMovimentarContaGerencial", kMetodoInclusao, c);
      if (!(c.NUMLANC > 0)) c.NUMLANC = numeracao.ProximoRecNum();
      c.NUMTRANS = 0;
      c.CODMOVIMENTO = c.Movimentacao->ContaGerencial;
      LancarContasPagar(c, c.NUMLANC, c.Movimentacao->ContaGerencial, TDALCreditoCliente::kHistoricoInclusao, c.VALOR,
                        c.Movimentacao->DataCompetencia);
    }
    dal.InserirLog("IncluirCreditoCliente-GeraCodigo", kMetodoInclusao, c);
    if (!(c.CODIGO > 0)) c.CODIGO = numeracao.ProximoValorSequencia(kSequenciaCodigo);
    dal.InserirLog("IncluirCreditoCliente-Inserir", kMetodoInclusao, c);
    dal.InserirZTCreCli(c);
    existe = dal.CreditoExiste(c.CODIGO, psMsgErro);
    ponto.Release();
  } catch (const std::exception& falha) {
    dal.InserirLog("IncluirCreditoCliente-Fim", kMetodoInclusao, c);
    std::throw_with_nested(ExErroAoGravarCreditoCliente(Texto(falha)));
  }
  dal.InserirLog("IncluirCreditoCliente-Fim", kMetodoInclusao, c);
  // Written back only once everything is recorded: a failed inclusion leaves the caller's object as it was.
  poCreditoCliente = c;
  return existe;
}

// ---- Reversal

bool TBLLCreditoCliente::EstornarCreditoCliente(double pfCodigoCredito, double pfValorEstorno,
                                                const std::string& psMotivo, const std::string& psHistorico,
                                                const TMovimentacaoFinanceira& poMovimentacao, std::string& psMsgErro) {
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const double valor = RoundTo(pfValorEstorno, 2);
  const auto log = [&](const char* passo) {
    dal.InserirLog(passo, kMetodoEstorno, pfCodigoCredito, 0, valor, 0, 0, psMotivo, psHistorico, 0, 0);
  };
  log("EstornarCreditoCliente-Inicio-Antes-Validacao");
  VerificarTransacao();
  if (Numerario(poMovimentacao) && poMovimentacao.CodigoCaixaBanco <= 0) throw ExCodigoCaixaBancoObrigatorio();
  if (!Numerario(poMovimentacao) && !(poMovimentacao.ContaGerencial > 0)) throw ExContaGerencialNaoInformada();
  if (!(valor > 0)) throw ExValorZerado();
  log("EstornarCreditoCliente-Inicio");
  const std::unique_ptr<TCreditoCliente> credito = dal.ObterCredito(pfCodigoCredito);
  if (valor > RoundTo(credito->VALOR, 2)) throw ExValorEstornadoMaiorQueValorCredito(valor, credito->VALOR);
  try {
    TOraSavepoint ponto(Sessao());
    Estornar(*credito, valor, psMotivo, psHistorico, poMovimentacao);
    ponto.Release();
  } catch (const std::exception& falha) {
    psMsgErro = Texto(falha);
    std::throw_with_nested(ExErroAoEstornarCreditoCliente(psMsgErro));
  }
  log("EstornarCreditoCliente-Fim");
  return true;
}

void TBLLCreditoCliente::Estornar(const TCreditoCliente& lido, double valor, const std::string& motivo,
                                  const std::string& historicoInformado, const TMovimentacaoFinanceira& movimentacao) {
  TDALCreditoCliente& dal = *FControladorDALCredito;
  IQuorvinNumeracao& numeracao = Quorvin().Numeracao();
  const TDateTime hoje = Quorvin().SessaoAtual().BancoDados().DataServidor();
  TCreditoCliente credito = lido;
  const std::unique_ptr<TCreditoCliente> copia = ClonarObjeto(credito);
  copia->CODIGO = 0;
  copia->DTDESCONTO = hoje;
  copia->DTESTORNO = hoje;
  copia->NUMCRED = numeracao.ProximoValorSequencia(kSequenciaNumCred);
  copia->CODFILIALDESC = credito.CODFILIAL;
  copia->CODFUNC = Usuario();

  const double restante = RoundTo(RoundTo(credito.VALOR, 2) - valor, 2);
  std::string historico = historicoInformado;
  if (Trim(historico).empty()) historico = restante > 0 ? "ESTORNO PARC CRED" : "ESTORNO TOT CRED";
  historico = Utf8Left(historico, kLarguraHistorico);

  copia->Movimentacao = movimentacao;
  copia->HISTORICO = historico;
  if (Numerario(movimentacao)) {
    copia->NUMTRANSBAIXA = numeracao.ProximoNumTrans();
    copia->NUMTRANS = 0;
    copia->NUMLANCBAIXA = 0;
    copia->NUMLANC = 0;
    copia->CODMOVIMENTO = movimentacao.CodigoCaixaBanco;
    copia->OBS = motivo;
    LancarNumerario(credito, copia->NUMTRANSBAIXA, movimentacao.CodigoCaixaBanco, valor, "C", kHistoricoEstorno, false);
  } else {
    copia->NUMLANCBAIXA = numeracao.ProximoRecNum();
    copia->NUMLANC = 0;
    copia->NUMTRANS = 0;
    copia->CODMOVIMENTO = movimentacao.ContaGerencial;
    LancarContasPagar(credito, copia->NUMLANCBAIXA, movimentacao.ContaGerencial, historico, -valor, hoje);
  }

  dal.InserirLog("EstornarCreditoCliente-Antes-InserirZTCRECLI", kMetodoEstorno, *copia);
  copia->VALOR = -RoundTo(credito.VALOR, 2);
  dal.InserirZTCreCli(*copia);
  dal.InserirLog("EstornarCreditoCliente-APOS-InserirZTCRECLI", kMetodoEstorno, *copia);

  credito.DTDESCONTO = copia->DTDESCONTO;
  credito.DTESTORNO = copia->DTESTORNO;
  credito.NUMCRED = copia->NUMCRED;
  credito.CODFILIALDESC = credito.CODFILIAL;
  credito.CODFUNC = Usuario();
  if (Rotina() != kRotinaMantemHistorico) credito.HISTORICO = historico;
  // Closed only while still open: of two sessions reversing the same credit, the second finds it
  // closed here and its money movement is undone with the rest of its work.
  if (!dal.UpdateZTCreCli(credito, true)) {
    throw Exception("O crédito " + ShortestDecimal(credito.CODIGO) +
                    " já foi estornado ou utilizado por outro usuário: o estorno não foi feito.");
  }
  dal.InserirLog("EstornarCreditoCliente-APOS-AtualizarZTCRECLI", kMetodoEstorno, credito);

  if (restante > 0) {
    const std::string codigo = ShortestDecimal(credito.CODIGO);
    copia->HISTORICO = Utf8Left(historico, kLarguraHistorico) + "REF. ESTORNO: " + codigo;
    copia->VALOR = valor;
    dal.InserirZTCreCli(*copia);
    copia->VALOR = -valor;
    dal.InserirZTCreCli(*copia);
    TCreditoCliente aberto = credito;
    aberto.CODIGO = 0;
    aberto.DTDESCONTO = TDateTime();
    aberto.DTESTORNO = TDateTime();
    aberto.CODFILIALDESC.clear();
    aberto.CODFUNC = 0;
    aberto.VALOR = restante;
    aberto.HISTORICO = Utf8Left(historico, kLarguraHistorico) + "REF. DIF. ESTORNO: " + codigo +
                       " - NUMCRED: " + ShortestDecimal(copia->NUMCRED);
    dal.InserirZTCreCli(aberto);
  }
}

bool TBLLCreditoCliente::BaixarTituloComoCredito(const TContasReceberZTPrest& poTituloContasReceber,
                                                 bool pbConsideraDesconto) {
  VerificarTransacao();
  TOraSavepoint ponto(Sessao());
  const bool baixou = FControladorDALCredito->BaixarTituloComoCredito(poTituloContasReceber, pbConsideraDesconto);
  ponto.Release();
  return baixou;
}

// ---- Credit services on the database

namespace {

// Runs one service under a savepoint, so a refused block leaves the caller's transaction usable
// and nothing of itself behind; a failure is re-raised by `relancar` with its text.
template <class Relancar>
void Servico(TOraSession& sessao, const std::function<void()>& acao, Relancar relancar) {
  try {
    TOraSavepoint ponto(sessao);
    acao();
    ponto.Release();
  } catch (const std::exception& falha) {
    relancar(falha);
  }
}

[[noreturn]] void ComoBaixa(const std::exception& falha) {
  std::throw_with_nested(ExErroAoBaixarCreditoCliente(falha.what()));
}

[[noreturn]] void ComoContraPartida(const std::exception& falha) {
  std::throw_with_nested(Exception(std::string("Erro ao gerar contra-partida em ZTCRECLI: \r") + falha.what()));
}

[[noreturn]] void ComoDesdobramento(const std::exception& falha) {
  std::throw_with_nested(Exception(std::string("Erro ao gerar registro em ZTDESDCRECLI: \r") + falha.what()));
}

}  // namespace

bool TBLLCreditoCliente::BaixarUmCreditoComUmOuVariosTitulos(const TCreditoCliente& poCreditoCliente,
                                                             const std::vector<TContasReceberZTPrest>& poListaTitulos,
                                                             bool /*pbConsideraDescontoNaBaixaCredito*/,
                                                             std::string& /*psMsgErro*/) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const char* metodo = "BaixarUmCreditoComUmOuVariosTitulos";
  if (poListaTitulos.empty()) {
    throw ExErroAoBaixarCreditoCliente("É necessário informar pelo menos um título para fazer a baixa.");
  }
  for (const TContasReceberZTPrest& t : poListaTitulos) {
    dal.InserirLog("BaixarUmCreditoComUmOuVariosTitulos-Lista", metodo, poCreditoCliente.CODIGO, t.VALOR,
                   t.VALORAPROVEITADOCREDITO, 0, t.NUMTRANSVENDA, "", "", 0, 0);
  }
  const TStringList sql = TDALCreditoCliente::GetSQLBaixarUmCreditoComUmOuVariosTitulos(
      poCreditoCliente.CODIGO, poListaTitulos, Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoBaixarUmCreditoVariosTitulos); }, ComoBaixa);
  return true;
}

bool TBLLCreditoCliente::BaixarUmTituloComUmOuVariosCreditos(const TContasReceberZTPrest& poTitulos,
                                                             const std::vector<TCreditoCliente>& poListaCreditoCliente,
                                                             bool /*pbConsideraDescontoNaBaixaCredito*/,
                                                             std::string& /*psMsgErro*/) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  if (poListaCreditoCliente.empty()) {
    throw ExErroAoBaixarCreditoCliente("É necessário informar pelo menos um crédito para fazer a baixa.");
  }
  for (const TCreditoCliente& c : poListaCreditoCliente) {
    dal.InserirLog("BaixarUmTituloComUmOuVariosCreditos-Lista", "BaixarUmTituloComUmOuVariosCreditos", c);
  }
  const TStringList sql = TDALCreditoCliente::GetSQLBaixarUmTituloComUmOuVariosCreditos(
      poTitulos, poListaCreditoCliente, Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoBaixarUmTituloVariosCreditos); }, ComoBaixa);
  return true;
}

bool TBLLCreditoCliente::EstornarTituloBaixadoComCredito(double pfNumeroTransacaoVenda, const std::string& psPrestacao,
                                                         std::string& /*psMsgErro*/) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  if (!(pfNumeroTransacaoVenda > 0)) {
    throw ExErroAoBaixarCreditoCliente(
        "É necessário informar o número de transação de venda do título a ser estornado.");
  }
  if (Trim(psPrestacao).empty()) {
    throw ExErroAoBaixarCreditoCliente("É necessário informar o número de prestação do título a ser estornado.");
  }
  const char* metodo = "EstornarTituloBaixadoComCredito";
  dal.InserirLog("EstornarTituloBaixadoComCredito-Inicio", metodo, 0, 0, 0, pfNumeroTransacaoVenda, 0, "", "", 0, 0);
  const TStringList sql = TDALCreditoCliente::GetSQLEstornarTituloBaixadoComCredito(pfNumeroTransacaoVenda, psPrestacao,
                                                                                    Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoEstornarTituloBaixado); }, ComoBaixa);
  dal.InserirLog("EstornarTituloBaixadoComCredito-Fim", metodo, 0, 0, 0, pfNumeroTransacaoVenda, 0, "", "", 0, 0);
  return true;
}

bool TBLLCreditoCliente::ApenasGerarContraPartidaCredito(double pfCodigoCredito, double pfNumCred, double pfNumeroNota,
                                                         double pfNumeroTransacaoVenda) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const char* metodo = "ApenasGerarContraPartidaCredito";
  dal.InserirLog("ApenasGerarContraPartidaCredito-Inicio", metodo, pfCodigoCredito, 0, 0, pfNumeroTransacaoVenda, 0, "",
                 "", 0, 0);
  const TStringList sql = TDALCreditoCliente::GetSQLApenasGerarContraPartidaCredito(
      pfCodigoCredito, pfNumCred, pfNumeroNota, pfNumeroTransacaoVenda, Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoContraPartida); }, ComoContraPartida);
  dal.InserirLog("ApenasGerarContraPartidaCredito-Fim", metodo, pfCodigoCredito, 0, 0, pfNumeroTransacaoVenda, 0, "",
                 "", 0, 0);
  return true;
}

bool TBLLCreditoCliente::InserirRegistroDesdobramentoCreditoCliente(double pfCodigoCreditoOrigem,
                                                                    double pfCodigoCreditoDestino) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const TStringList sql = TDALCreditoCliente::GetSQLInserirRegistroDesdobramento(
      pfCodigoCreditoOrigem, pfCodigoCreditoDestino, Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoDesdobramento); }, ComoDesdobramento);
  dal.InserirLog("InserirRegistroDesdobramentoCreditoCliente-Fim", "InserirRegistroDesdobramentoCreditoCliente",
                 pfCodigoCreditoDestino, 0, 0, 0, 0, "", "", 0, 0);
  return true;
}

bool TBLLCreditoCliente::ApenasBaixarCredito(TCreditoCliente& poCreditoCliente, std::string& /*psMsgErro*/) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  TCreditoCliente c = poCreditoCliente;
  if (!(c.CODFUNC > 0)) c.CODFUNC = Usuario();
  dal.InserirLog("ApenasBaixarCredito-Inicio", "ApenasBaixarCredito", c);
  const TStringList sql = TDALCreditoCliente::GetSQLApenasBaixarCredito(c, Usuario(), Rotina());
  Servico(
      Sessao(), [&] { dal.ExecutarBloco(sql, TDALCreditoCliente::kArquivoContraPartida); }, ComoContraPartida);
  dal.InserirLog("ApenasBaixarCredito-Fim", "ApenasBaixarCredito", c);
  return true;
}

bool TBLLCreditoCliente::BaixarCreditoClienteVarejo(double pfCodigoCredito, double pfValorBaixar,
                                                    double pfNumeroPedidoECF,
                                                    const std::string& psNumeroSerieEquipamento, double pfNumeroCaixa,
                                                    double pfNumeroCupom, const std::string& psHistorico,
                                                    const std::string& psCodigoFilialDesconto,
                                                    std::string& psListaCodigosCreditosGerados) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const char* metodo = "BaixarCreditoClienteVarejo";
  const double valor = RoundTo(pfValorBaixar, 2);
  dal.InserirLog("BaixarCreditoClienteVarejo-Inicio", metodo, pfCodigoCredito, 0, valor, 0, 0, "", psHistorico, 0, 0);
  std::string codigos;
  Servico(
      Sessao(),
      [&] {
        codigos = dal.ExecutarFuncao(TDALCreditoCliente::GetSQLBaixarCreditoClienteVarejo(),
                                     {{"psNUMSERIEEQUIP", psNumeroSerieEquipamento},
                                      {"psHISTORICO", psHistorico},
                                      {"psCODIGOFILIALDESCONTO", psCodigoFilialDesconto}},
                                     {{"pfCODIGOCREDITO", pfCodigoCredito},
                                      {"pfVALORBAIXAR", valor},
                                      {"pfNUMPEDECF", pfNumeroPedidoECF},
                                      {"pfNUMCAIXA", pfNumeroCaixa},
                                      {"pfNUMCUPOM", pfNumeroCupom},
                                      {"pfCODIGOROTINA", Rotina()},
                                      {"pfMATRICULAUSUARIO", Usuario()}});
      },
      ComoBaixa);
  psListaCodigosCreditosGerados = codigos;
  dal.InserirLog("BaixarCreditoClienteVarejo-Fim", metodo, pfCodigoCredito, 0, valor, 0, 0, "", codigos, 0, 0);
  return true;
}

bool TBLLCreditoCliente::AtualizarBaixarCreditoClienteVarejo(double pfCodigoCredito) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const char* metodo = "AtualizarBaixarCreditoClienteVarejo";
  dal.InserirLog("AtualizarBaixarCreditoClienteVarejo-Inicio", metodo, pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  Servico(
      Sessao(),
      [&] {
        static_cast<void>(dal.ExecutarFuncao(
            TDALCreditoCliente::GetSQLAtualizarBaixarCreditoClienteVarejo(), {},
            {{"pfCODIGOCREDITO", pfCodigoCredito}, {"pfCODIGOROTINA", Rotina()}, {"pfMATRICULAUSUARIO", Usuario()}}));
      },
      ComoBaixa);
  dal.InserirLog("AtualizarBaixarCreditoClienteVarejo-Fim", metodo, pfCodigoCredito, 0, 0, 0, 0, "", "", 0, 0);
  return true;
}

bool TBLLCreditoCliente::EstornarBaixaCreditoClienteVarejo(double pfNumeroTransacaoVenda) {
  VerificarTransacao();
  TDALCreditoCliente& dal = *FControladorDALCredito;
  const char* metodo = "EstornarBaixaCreditoClienteVarejo";
  dal.InserirLog("EstornarBaixaCreditoClienteVarejo-Inicio", metodo, 0, 0, 0, 0, pfNumeroTransacaoVenda, "", "", 0, 0);
  std::string codigos;
  Servico(
      Sessao(),
      [&] {
        codigos = dal.ExecutarFuncao(TDALCreditoCliente::GetSQLEstornarBaixaCreditoClienteVarejo(), {},
                                     {{"pfNUMTRANSVENDADESC", pfNumeroTransacaoVenda},
                                      {"pfCODIGOROTINA", Rotina()},
                                      {"pfMATRICULAUSUARIO", Usuario()}});
      },
      ComoBaixa);
  // The codes of the credits given back travel in the log, the only place this slot reports them.
  dal.InserirLog("EstornarBaixaCreditoClienteVarejo-Fim", metodo, 0, 0, 0, 0, pfNumeroTransacaoVenda, "", codigos, 0,
                 0);
  return true;
}
