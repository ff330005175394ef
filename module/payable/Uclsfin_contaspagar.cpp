#include "payable/Uclsfin_contaspagar.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <string_view>

#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteContabil.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

// The entry's amounts to cents, once, before any rule compares them or a statement stores them:
// 0.004 is a zero value and 1.005 is stored as the module rounds it, never as the column would.
void ArredondarValores(RFin_IncluirContasPagar& r) {
  for (double* valor :
       {&r.VALOR, &r.VPAGO, &r.VALORDEV, &r.VPAGOBORDERO, &r.DESCONTOFIN, &r.TXPERM, &r.VLIRRF, &r.VLSESTSENAT,
        &r.VALORMOEDAESTRANGEIRA, &r.VLISS, &r.VLINSS, &r.VLCSRF, &r.VLPIS, &r.VLCOFINS, &r.VLVARIACAOCAMBIAL,
        &r.VLOUTRAS, &r.VRECEITABRUTA, &r.VLDESPFIN, &r.VLRUTILIZADOADIANTFORNEC}) {
    *valor = RoundTo(*valor, 2);
  }
}

[[nodiscard]] bool Inteiro(double valor) {
  return std::isfinite(valor) && std::trunc(valor) == valor;
}

// Host routines the rules depend on.
constexpr int kRotinaBaixaDespesa = 776;
constexpr int kRotinaLancamentoDespesa = 749;
// An expense settled by this routine moves its money when its supplementation is approved.
constexpr int kRotinaDespesaBaixada = 631;

// Routines whose entries are checked against the accounting module's closed periods.
[[nodiscard]] bool RotinaVerificaPeriodoContabil(int rotina) {
  return rotina == 746 || rotina == 749 || rotina == 614;
}

// Routines whose entries may be held for a budget supplementation.
[[nodiscard]] bool RotinaLancaSuplementacao(int rotina) {
  return rotina == 614 || rotina == 631 || rotina == 703 || rotina == 749 || rotina == 750;
}

constexpr int kRotinaSemControleOrcamento = 614;

[[nodiscard]] bool Vazio(std::string_view texto) {
  return Trim(texto).empty();
}

// Width of a number as the database would print it.
[[nodiscard]] std::size_t LarguraNumero(double valor) {
  return ShortestDecimal(valor).size();
}

constexpr const char* kPerguntaAcimaOrcamento = "Confirma geração de lançamento acima do orçamento?";
constexpr const char* kPerguntaSuplementacao =
    "Confirma geração de lançamento acima do orçamento para a suplementação orçamentária?";

}  // namespace

TContasPagar::TContasPagar(TComponent* owner) : TBaseSubModulo(owner) {}
TContasPagar::~TContasPagar() = default;

TDALContasPagar& TContasPagar::GetDALContasPagar() {
  if (FDALContasPagar == nullptr) FDALContasPagar = new TDALContasPagar(&Quorvin().Componente());
  return *FDALContasPagar;
}

// ---- Host parameters: the setter's value in explicit-parameter mode, the store otherwise (read on
// every get, so a change of the parameter is seen at once).

double TContasPagar::ParametroNumerico(double valor_explicito, const char* nome) {
  if (Quorvin().ParametrosExplicitos()) return valor_explicito;
  return Quorvin().Parametros().ValorNumerico(nome);
}

std::string TContasPagar::ParametroTexto(const std::string& valor_explicito, const char* nome) {
  if (Quorvin().ParametrosExplicitos()) return valor_explicito;
  return Quorvin().Parametros().ValorTexto(nome);
}

#define FIN_LER_NUMERO(Nome, Host)           \
  double TContasPagar::Get##Nome() {         \
    return ParametroNumerico(F##Nome, Host); \
  }
#define FIN_LER_TEXTO(Nome, Host)         \
  std::string TContasPagar::Get##Nome() { \
    return ParametroTexto(F##Nome, Host); \
  }
FIN_PARAMETROS_CONTAS_PAGAR(FIN_LER_NUMERO, FIN_LER_TEXTO)
#undef FIN_LER_NUMERO
#undef FIN_LER_TEXTO

// ---- Posting

bool TContasPagar::Incluir(RFin_IncluirContasPagar& prParametros) {
  GetValidador().Clear();
  CheckTransacao();
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  ArredondarValores(prParametros);

  if (prParametros.DTLANC.IsZero()) prParametros.DTLANC = Quorvin().SessaoAtual().BancoDados().DataServidor();
  if (Vazio(prParametros.NFSERVICO)) prParametros.NFSERVICO = "N";

  ValidarLancamento(prParametros);

  const bool trabalha_suplementacao = TrabalhaComSuplementacao(prParametros.CODFILIAL);
  // The branch's answer holds for the whole call: the budget check asks it again.
  FTrabalhaSuplementacaoIncluir.emplace(prParametros.CODFILIAL, trabalha_suplementacao);
  struct Esquecer {
    std::optional<std::pair<std::string, bool>>& Valor;
    ~Esquecer() { Valor.reset(); }
  } esquecer{FTrabalhaSuplementacaoIncluir};
  // The flag belongs to this entry: one held before must not hold this one.
  FSuplementacao = false;
  RFin_ValidarOrcamento orcamento;
  orcamento.Inicializar();
  orcamento.NEGATIVO = prParametros.VALOR < 0;
  orcamento.RECNUM = prParametros.RECNUM;
  orcamento.CODFILIAL = prParametros.CODFILIAL;
  orcamento.CODCONTA = prParametros.CODCONTA;
  orcamento.VALOR = prParametros.VALOR;
  orcamento.DTVENC = prParametros.DTVENC;
  orcamento.DTCOMPETENCIA = prParametros.DTCOMPETENCIA;
  orcamento.DENTROAPROVACAO = prParametros.DENTROAPROVACAOORCAMENTO;
  orcamento.PERGUNTARUSUARIO = true;
  FSuplementacao = LancarSuplementacao(orcamento);

  try {
    if (!GetDALContasPagar().IncluirLancamento(prParametros, trabalha_suplementacao, FSuplementacao)) return false;
    prParametros.MENSAGEM = Quorvin().SessaoAtual().Mensagens().Texto();
    // Exactly the entries sent to ZTLANCBLOQ keep their apportionment in ZTRATEIOCENTROCUSTOBLOQ.
    const bool retido = std::string_view(TDALContasPagar::TabelaDestino(prParametros, trabalha_suplementacao,
                                                                        FSuplementacao)) == "ZTLANCBLOQ";
    ProcessarCentroCusto(prParametros, retido);
  } catch (const std::exception& erro) {
    prParametros.MENSAGEM = std::string("Erro ao inserir registros!\r") + erro.what();
    std::throw_with_nested(Exception(erro.what()));
  }
  return true;
}

bool TContasPagar::VerificarRotina746(const RFin_IncluirContasPagar& registro) {
  return Quorvin().SessaoAtual().VerificarRotina("746", Trim(registro.LABELROTINA));
}

void TContasPagar::ValidarLancamento(const RFin_IncluirContasPagar& registro) {
  const int rotina = Quorvin().SessaoAtual().Usuario().CodigoRotina();

  if (registro.RECNUM <= 0) throw ExRecNumVazio();
  if (!Inteiro(registro.RECNUM)) {
    throw Exception("O número do registro (RECNUM) deve ser um número inteiro: " + ShortestDecimal(registro.RECNUM) +
                    ".");
  }
  if (Vazio(registro.TIPOLANC)) throw ExTipoLancamentoVazio();
  if (registro.TIPOLANC != "P" && registro.TIPOLANC != "C") throw ExTipoLancamentoDiferentePeC();
  if (registro.VALOR == 0) throw ExValorZerado();
  if (registro.CODCONTA == 0) throw ExContaGerencialNaoInformada();
  if (Vazio(registro.HISTORICO)) throw ExHistoricoNaoInformado();
  if (registro.TIPOPARCEIRO != "O" && registro.CODFORNEC <= 0) throw ExCodigoParceiroNaoInformado();
  if (!Inteiro(registro.CODFORNEC) || registro.CODFORNEC < 0) {
    throw Exception(
        "O código do parceiro (CODFORNEC) deve ser um número inteiro: " + ShortestDecimal(registro.CODFORNEC) + ".");
  }
  if (registro.DTVENC.IsZero()) throw ExDataVencimentoNaoInformada();

  // Due-date floor of unpaid expenses typed in routine 749, unless the caller may act as 746.
  if (rotina == kRotinaLancamentoDespesa && registro.DTPAGTO.IsZero() &&
      registro.DTLANC + GetNUMDIASMINDESPPAG_1393() > registro.DTVENC && !VerificarRotina746(registro)) {
    throw ExDataVencimentoMenorQuePermitidoParam1393();
  }
  // Issue-date window; an issue date of 0 lies before any window.
  if (registro.CODROTINABAIXA != kRotinaBaixaDespesa &&
      registro.DTEMISSAO < registro.DTLANC - GetNUMDIASMAXEMISSAOCP_1957()) {
    throw ExDataEmissaoInferiorPermitidoParam1957();
  }
  if (registro.DESCONTOFIN > 0 && registro.DESCONTOFIN > registro.VALOR && !VerificarRotina746(registro)) {
    throw ExValorDescontoFinMaiorValorLancto();
  }
  if (registro.VALORDEV > 0 && registro.VALORDEV > registro.VALOR && !VerificarRotina746(registro)) {
    throw ExValorDevolucaoMaiorValorLancto();
  }
  if (registro.TXPERM < 0) {
    const std::string label = Trim(registro.LABELROTINA);
    if (label != "746" && label != "746 [NOVA]") throw ExValorJurosDeveSerMaiorQueZero();
  }
  if (registro.DTPAGTO.Value() > 0 && registro.VPAGO == 0) throw ExValorPagoZeradoComDataPagtoPreenchida();
  if (registro.NFSERVICO == "S") {
    if (registro.TIPOPARCEIRO == "O") throw ExLanctoNaoPermitidoNFServicoTipoParceiroOutros();
    if (registro.TIPOPARCEIRO == "C") throw ExLanctoNaoPermitidoNFServicoTipoParceiroCliente();
    if (registro.TIPOPARCEIRO == "R" && registro.NUMNOTA == 0) throw ExLanctoNFServicoRCANumNotaZerado();
  }
  if (Vazio(registro.CODFILIAL)) throw ExCodigoFilialNaoPreenchido();

  // Widths of the columns; numbers are measured as the database prints them.
  constexpr double kMaiorNumero10 = 9999999999.0;
  if (LarguraNumero(registro.CODCONTA) > 10) throw ExTamanhoCodContaMaiorQueDez();
  if (LarguraNumero(registro.CODFORNEC) > 10) throw ExTamanhoCodFornecMaiorQueDez();
  if (CharCount(registro.HISTORICO) > 200) throw ExTamanhoHistoricoMaiorQueDuzentos();
  if (registro.NUMNOTA > kMaiorNumero10) throw ExTamanhoNumNotaMaiorQueDez();
  if (registro.VPAGO > kMaiorNumero10) throw ExValorPagoMaiorQuePermitidoPeloCampo();
  if (CharCount(registro.LOCALIZACAO) > 20) throw ExTamanhoCampoLocalizacaoMaiorQueVinte();
  if (LarguraNumero(registro.NUMNOTADEV) > 10) throw ExTamanhoNumNotaDevMaiorQueDez();
  if (registro.VALORDEV > kMaiorNumero10) throw ExValorDevolucaoMaiorQuePermitidoPeloCampo();
  std::string prorrogacao = ShortestDecimal(registro.PRORROG);
  if (const auto sinal = prorrogacao.find('-'); sinal != std::string::npos) prorrogacao.erase(sinal, 1);
  if (prorrogacao.size() > 4) throw ExTamanhoCampoProrrogacaoMaiorQueQuatro();
  if (LarguraNumero(registro.NUMBORDERO) > 6) throw ExTamanhoNumBorderoMaiorQueSete();
  if (CharCount(registro.CODLANCAMENTORM) > 30) throw ExTamanhoCampoCodigoLancamentoRM();
  if (CharCount(registro.DUPLIC) > 1) throw ExTamanhoCampoDuplic();

  if (RotinaVerificaPeriodoContabil(rotina)) {
    if (IGerenteContabil* contabil = Quorvin().GerenteContabil()) {
      const RCont_ParamFilialData periodo{registro.CODFILIAL, registro.DTCOMPETENCIA};
      if (contabil->PeriodoBloqueadoEncerrado(periodo)) throw ExDataCompetenciaBloqueadaEncerrada();
    }
  }

  if (CharCount(registro.CODCOBSEFAZ) > 4) throw ExCodigoCobrancaSefaz();
  if (CharCount(registro.RAZAOCREDENCCARTAO) > 60) throw ExRazaoCredenciadoraCartao();
  if (CharCount(registro.CNPJCREDENCCARTAO) > 18) throw ExCNPJCredenciadoraCartao();
  if (CharCount(registro.NSUTEF) > 15) throw ExNSUTef();
  if (registro.BANDEIRACARTAO > 999) throw ExCodigoBandeiraCartao();
}

void TContasPagar::ProcessarCentroCusto(RFin_IncluirContasPagar& registro, bool retido) {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_CentroCusto* centro_custo = financeiro != nullptr ? financeiro->GetCentroCusto() : nullptr;
  if (centro_custo == nullptr) return;  // a build without the cost-center area: nothing to apportion
  // The cost-center area reads this flag to pick the table family of the apportionment.
  SetLancarZTLancBloqGeral(retido);
  try {
    if (centro_custo->GetFazCloneRegistroPrincipal()) return;
    const bool incluido = centro_custo->ProcessoCentroCusto(
        false, tlFinanceiro, registro.CODFILIAL, ShortestDecimal(registro.CODCONTA), registro.RECNUM, registro.VALOR,
        registro.DTLANC, false, "N", 0, false, TDateTime(), TDateTime(), retido);
    if (!incluido) registro.MENSAGEM += "Porém, não foi possível incluir o centro de custo.";
  } catch (const std::exception& erro) {
    GetValidador().Add(erro.what());
    throw;
  }
}

std::vector<RFin_IncluirContasPagar> TContasPagar::GetListaLancamento(const std::string& psListaRecNum) {
  return GetDALContasPagar().GetListaLancamento(psListaRecNum);
}

std::string TContasPagar::GetListaRecNum(double prNumTransEnt) {
  return GetDALContasPagar().GetListaRecNum(prNumTransEnt);
}

// ---- Budget and supplementation

bool TContasPagar::TrabalhaComSuplementacao(const std::string& codfilial) {
  if (FTrabalhaSuplementacaoIncluir && FTrabalhaSuplementacaoIncluir->first == codfilial) {
    return FTrabalhaSuplementacaoIncluir->second;
  }
  return Trim(Quorvin().Parametros().ValorTextoFilial("TRABSUPLORC", codfilial, "N")) == "S";
}

bool TContasPagar::BloquearDespesaAcimaDoValorOrcado(const std::string& psCodFilial) {
  IQuorvinParametros& parametros = Quorvin().Parametros();
  const auto geral = [&parametros] {
    const std::string valor = Trim(parametros.ValorTexto("CON_BLOQDESPVLRORC"));
    return (valor.empty() ? std::string("N") : valor) == "S";
  };
  const std::string filial = Trim(psCodFilial);
  if (filial.empty() || filial == "99") return geral();
  const std::string da_filial = Trim(parametros.ValorTextoFilial("FIL_BLOQDESPVLRORC", filial, "NULO"));
  if (da_filial == "NULO") return geral();
  return da_filial == "S";
}

TSituacaoOrcamento TContasPagar::AvaliarOrcamento(double orcado, double pago, double aberto, double valor) {
  TSituacaoOrcamento situacao;
  situacao.Orcado = RoundTo(orcado, 2);
  situacao.Realizado = RoundTo(pago + aberto, 2);
  situacao.Disponivel = std::max(0.0, RoundTo(situacao.Orcado - situacao.Realizado, 2));
  situacao.Excedido = RoundTo(pago + aberto + valor, 2) > situacao.Orcado;
  return situacao;
}

std::string TContasPagar::TextoOrcamento(double codconta, int mes, int ano, const std::string& codfilial,
                                         const TSituacaoOrcamento& situacao) {
  return "Lançamentos da Conta " + ShortestDecimal(codconta) + " para " + ZeroPad(mes, 2) + "/" + std::to_string(ano) +
         " na Filial " + codfilial + " ultrapassou o Valor Orçado !" + "\r\n" +
         "Lançamentos já realizados: " + FormatarValor(situacao.Realizado) + "\r\n" +
         "Valor Orçado: " + FormatarValor(situacao.Orcado) + "\r\n" +
         "Saldo disponível: " + FormatarValor(situacao.Disponivel);
}

bool TContasPagar::AvaliarOrcamentoExcedido(RFin_ValidarOrcamento& parametros, std::optional<bool>& suplementacao) {
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  if (sessao.Usuario().CodigoRotina() == kRotinaSemControleOrcamento) return false;

  // Asked through the facade, so a host that installs its own payable area decides the blocking.
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas_pagar = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
  if (contas_pagar == nullptr) contas_pagar = this;
  const bool bloqueia = contas_pagar->BloquearDespesaAcimaDoValorOrcado(parametros.CODFILIAL);
  suplementacao = TrabalhaComSuplementacao(parametros.CODFILIAL);
  if (!bloqueia && !*suplementacao) return true;  // no budget control in this branch

  const bool por_competencia =
      Trim(Quorvin().Parametros().ValorTextoFilial("ORCREGCOMPETENCIA", parametros.CODFILIAL, "N")) == "S";
  const TDateTime referencia = por_competencia ? parametros.DTCOMPETENCIA : parametros.DTVENC;
  const int ano = referencia.Year();
  const int mes = referencia.Month();
  const double valor = parametros.NEGATIVO ? -parametros.VALOR : parametros.VALOR;

  TDALContasPagar& dal = GetDALContasPagar();
  // The budget row is held to the end of the caller's transaction: a second posting to this budget
  // waits for it and then reads this one's entry among the realized ones. The cost-center budget
  // rows are locked after this one, never before. Held entries (ZTLANCBLOQ) count by accrual only.
  const TDALContasPagar::TValoresOrcamento lidos =
      dal.LerOrcamento(parametros.CODCONTA, parametros.CODFILIAL, parametros.RECNUM, ano, mes, por_competencia,
                       *suplementacao && por_competencia);
  const double orcado = lidos.Orcado;
  const double pago = lidos.Pago;
  const double aberto = lidos.Aberto;
  const TSituacaoOrcamento situacao = AvaliarOrcamento(orcado, pago, aberto, valor);
  // Within budget the entry is posted as usual; nothing held before decides for it.
  if (!situacao.Excedido) return false;

  const std::string texto = TextoOrcamento(parametros.CODCONTA, mes, ano, parametros.CODFILIAL, situacao);
  const auto confirmar = [&](const char* pergunta) {
    if (!parametros.PERGUNTARUSUARIO) return;
    if (sessao.Mensagens().Confirmar(texto + "\r\n" + pergunta) != TModalResult::mrOk) {
      throw ExValidarOrcamentoExcedido(std::string(*suplementacao ? "Suplementação orçamentária! \r\n" : "") +
                                       "Ação abortada pelo usuário!");
    }
  };
  if (parametros.DENTROAPROVACAO) {
    confirmar(kPerguntaAcimaOrcamento);
    return false;
  }
  if (*suplementacao) {
    confirmar(kPerguntaSuplementacao);
    return true;
  }
  throw ExValidarOrcamentoExcedido(texto + "\r\n" + "Usuário sem permissão para lançar acima do orçamento.");
}

bool TContasPagar::VerificarOrcamentoExcedido(RFin_ValidarOrcamento& prParametros) {
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  std::optional<bool> suplementacao;
  return VerificarOrcamento(prParametros, suplementacao);
}

bool TContasPagar::VerificarOrcamento(RFin_ValidarOrcamento& prParametros, std::optional<bool>& suplementacao) {
  bool resposta = false;
  try {
    resposta = AvaliarOrcamentoExcedido(prParametros, suplementacao);
  } catch (...) {
    FOrcamentoExcedido = false;
    FLancarZTLancBloqGeral = suplementacao.value_or(false) && CentroCustoPedeRetencao(prParametros.RECNUM);
    throw;
  }
  FOrcamentoExcedido = resposta;
  FLancarZTLancBloqGeral =
      suplementacao.value_or(false) && (FOrcamentoExcedido || CentroCustoPedeRetencao(prParametros.RECNUM));
  return resposta;
}

bool TContasPagar::CentroCustoPedeRetencao(double recnum) {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_CentroCusto* centro_custo = financeiro != nullptr ? financeiro->GetCentroCusto() : nullptr;
  // Its flags outlive the entry they were raised for; only this entry's apportionment decides.
  if (centro_custo == nullptr || centro_custo->GetNumTransacao() != recnum) return false;
  return centro_custo->VerificarOrcamentoExcedido() || centro_custo->GetLancarZTLancBloq();
}

bool TContasPagar::LancarSuplementacao(RFin_ValidarOrcamento& prParametros) {
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  const int rotina = Quorvin().SessaoAtual().Usuario().CodigoRotina();
  if (!RotinaLancaSuplementacao(rotina) || prParametros.NEGATIVO || prParametros.VALOR < 0) return false;
  std::optional<bool> suplementacao;
  const bool excedido = VerificarOrcamento(prParametros, suplementacao);
  const bool trabalha = suplementacao.has_value() ? *suplementacao : TrabalhaComSuplementacao(prParametros.CODFILIAL);
  return trabalha && (excedido || CentroCustoPedeRetencao(prParametros.RECNUM));
}

bool TContasPagar::AprovarSuplementacao(RFin_AprovarSuplementacao& prParametros) {
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  try {
    // An approval that answers false leaves nothing of itself, even when its caller commits.
    TOraSavepoint aprovacao(Quorvin().SessaoAtual().BancoDados().Sessao());
    if (!AprovarLancamentoRetido(prParametros)) return false;
    aprovacao.Release();
  } catch (const std::exception& erro) {
    prParametros.MENSAGEM = erro.what();
    return false;
  }
  return true;
}

bool TContasPagar::AprovarLancamentoRetido(RFin_AprovarSuplementacao& registro) {
  try {
    IQuorvinSessao& sessao = Quorvin().SessaoAtual();
    TDALContasPagar& dal = GetDALContasPagar();
    const std::optional<TDALContasPagar::TLancamentoRetido> retido = dal.LerLancamentoRetido(registro.RECNUM);
    if (!retido) {
      registro.MENSAGEM = TDALContasPagar::MensagemNaoEncontrado(registro.RECNUM);
      return false;
    }
    const RFin_IncluirContasPagar& lancamento = retido->Lancamento;
    const double aprovador = sessao.Usuario().Matricula();
    dal.AprovarSuplementacao(*retido, registro.RECNUM, aprovador);

    // An expense already settled by routine 631 moves its money now.
    std::string observacao;
    if (lancamento.CODROTINABAIXA == kRotinaDespesaBaixada) {
      MovimentarDespesaAprovada(*retido, registro.RECNUM, aprovador);
      observacao = "O lançamento da despesa foi realizado.";
    }
    dal.ExcluirLancamentoRetido(registro.RECNUM);

    // The requester hears of it.
    std::string texto = "Lançamento RecNum: " + ShortestDecimal(registro.RECNUM) + " aprovado. ";
    if (!observacao.empty()) texto += "\r" + observacao;
    dal.InserirRecado(dal.MatriculaPorNomeGuerra(lancamento.NOMEFUNC), "Aprovação de suplementação", texto);
    return true;
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(std::string("Erro ao aprovar a suplementação. \r") + erro.what()));
  }
}

void TContasPagar::MovimentarDespesaAprovada(const TDALContasPagar::TLancamentoRetido& retido, double recnum,
                                             double aprovador) {
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_MovimentacaoNumerarios* numerarios = financeiro ? financeiro->GetMovimentacaoNumerarios() : nullptr;
  if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
  const RFin_IncluirContasPagar& lancamento = retido.Lancamento;
  const TDateTime agora = sessao.BancoDados().DataHoraServidor();
  int hora = 0;
  int minuto = 0;
  int segundo = 0;
  agora.DecodeTime(hora, minuto, segundo);
  RFin_IncluirMovimentacaoNumerarios movimento;
  movimento.Inicializar();
  movimento.NUMTRANS = lancamento.NUMTRANS;
  movimento.CODBANCO = lancamento.NUMBANCO;
  movimento.CODCOB = retido.CODMOEDABAIXA;
  movimento.VALOR = std::fabs(lancamento.VALOR);
  movimento.TIPO = lancamento.VALOR > 0 ? "C" : "D";
  movimento.HISTORICO = lancamento.HISTORICO;
  movimento.NUMCARR = lancamento.NUMNOTA;
  movimento.INDICE = lancamento.INDICE;
  movimento.HISTORICO2 = lancamento.HISTORICO2;
  movimento.NUMDOC = ShortestDecimal(recnum);
  movimento.DATA = agora.DateOnly();
  movimento.HORA = hora;
  movimento.MINUTO = minuto;
  movimento.CODFUNC = aprovador;
  movimento.CODROTINALANC = sessao.Usuario().CodigoRotina();
  numerarios->Incluir(movimento);
}

bool TContasPagar::RejeitarSuplementacao(RFin_RejeitarSuplementacao& prParametros) {
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  TDALContasPagar& dal = GetDALContasPagar();
  if (dal.ExisteNotaEntrada(prParametros.NUMTRANSENT)) {
    throw ExSuplementacaoZTNFENTVinculada("RecNum: " + ShortestDecimal(prParametros.RECNUM) +
                                          " NumTransEnt: " + ShortestDecimal(prParametros.NUMTRANSENT));
  }
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  TOraSavepoint rejeicao(sessao.BancoDados().Sessao());
  // The held row is locked first: of two sessions rejecting one entry, the second finds it rejected.
  TDALContasPagar::TSituacaoRetido situacao = TDALContasPagar::TSituacaoRetido::Ausente;
  try {
    situacao = dal.TravarLancamentoRetido(prParametros.RECNUM);
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(std::string("Erro ao rejeitar a suplementação\r") + erro.what()));
  }
  if (situacao == TDALContasPagar::TSituacaoRetido::Ausente) {
    sessao.Mensagens().SetTexto(TDALContasPagar::MensagemNaoEncontrado(prParametros.RECNUM));
    return false;
  }
  if (situacao == TDALContasPagar::TSituacaoRetido::Rejeitado) {
    sessao.Mensagens().SetTexto("RecNum: " + ShortestDecimal(prParametros.RECNUM) +
                                " já rejeitado na tabela ZTLANCBLOQ !");
    return false;
  }
  dal.RejeitarSuplementacao(prParametros);
  rejeicao.Release();
  return true;
}
