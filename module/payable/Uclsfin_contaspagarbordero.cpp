// The payable area's settlement services: bordero settlement, automatic settlement of one entry,
// freight-bill reversal, closed financial periods and the check of payment slips.
#include <exception>
#include <string>
#include <vector>

#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "payable/Uclsfin_linhadigitavel.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteContabil.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/RCom_Verbas_Avulso_Incluir.h"

namespace {

constexpr const char* kHistoricoBaixaAutomatica = "BAIXA AUTOM. ROT. 740";
constexpr const char* kObservacaoEstornoFrete = "ESTORNO DE CONHECIMENTO DE FRETE AUTOMATICO";

}  // namespace

std::string TContasPagar::BaixarBordero(double NUMBORDERO, double NUMTRANS, double Valor, double CodBanco,
                                        const std::string& CodCob, std::vector<RFin_IncluirContasPagar>& Lancamentos,
                                        const std::string& Historico) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  for (const RFin_IncluirContasPagar& lancamento : Lancamentos) {
    if (!lancamento.Inicializado) throw ExParametrosNaoInicializados();
  }
  // A bordero that fails half-way leaves nothing of itself, whatever its caller does next.
  TOraSavepoint bordero(Quorvin().SessaoAtual().BancoDados().Sessao());
  QuitarLancamentosBordero(NUMBORDERO, NUMTRANS, Lancamentos);
  RatearLancamentosAdicionais(NUMBORDERO);
  std::string mensagem = "Títulos baixados com sucesso.";
  MovimentarBordero(NUMBORDERO, NUMTRANS, Valor, CodBanco, CodCob, Historico);
  mensagem += " Movimetação Finaceira gerada com sucesso.";
  bordero.Release();
  return mensagem;
}

void TContasPagar::QuitarLancamentosBordero(double numbordero, double numtrans,
                                            std::vector<RFin_IncluirContasPagar>& lancamentos) {
  IQuorvinParametros& parametros = Quorvin().Parametros();
  TDALContasPagar::TContasLancamentoAdicional contas;
  contas.CodContaDesconto = parametros.ValorNumerico("CON_CODCONTANTPAG");
  contas.CodContaJuros = parametros.ValorNumerico("CON_CODCONTPAGJUR");
  contas.CodContaCambial = parametros.ValorNumerico("CON_CODCONTACAMBIAL");
  TDALContasPagar& dal = GetDALContasPagar();
  const TDateTime hoje = Quorvin().SessaoAtual().BancoDados().DataServidor();
  for (RFin_IncluirContasPagar& lancamento : lancamentos) {
    if (lancamento.NUMTRANS <= 0) lancamento.NUMTRANS = numtrans;
    // The update pays only an unpaid entry, and a second session settling the same bordero waits
    // for the first one's row and then finds it paid: the whole bordero is refused, once.
    if (!dal.QuitarContasPagarBordero(lancamento, contas, hoje)) {
      throw Exception("Não foi possível baixar o borderô nº " + ShortestDecimal(numbordero) + ". O lançamento RECNUM " +
                      ShortestDecimal(lancamento.RECNUM) + " já está baixado ou não existe.");
    }
  }
}

void TContasPagar::RatearLancamentosAdicionais(double numbordero) {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_CentroCusto* centro_custo = financeiro != nullptr ? financeiro->GetCentroCusto() : nullptr;
  if (centro_custo == nullptr) return;  // a build without the cost-center area: nothing to apportion
  // Once for the whole bordero: each side entry is apportioned once, whatever entry it came from.
  for (const TDALContasPagar::TLancamentoAdicional& adicional :
       GetDALContasPagar().ObterLancamentosAdicionais(numbordero)) {
    (void)centro_custo->ProcessoCentroCusto(false, tlFinanceiro, adicional.CODFILIAL,
                                            ShortestDecimal(adicional.CODCONTA), adicional.RECNUM, adicional.VALOR,
                                            adicional.DTLANC, false, "N", 0, false, TDateTime(), TDateTime(), false);
  }
}

void TContasPagar::MovimentarBordero(double numbordero, double numtrans, double valor, double codbanco,
                                     const std::string& codcob, const std::string& historico) {
  try {
    IQuorvinSessao& sessao = Quorvin().SessaoAtual();
    IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
    IFin_MovimentacaoNumerarios* numerarios = financeiro ? financeiro->GetMovimentacaoNumerarios() : nullptr;
    if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
    // The entries take the server's day; the movement takes the same clock.
    const TDateTime agora = sessao.BancoDados().DataHoraServidor();
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
    agora.DecodeTime(hora, minuto, segundo);
    RFin_IncluirMovimentacaoNumerarios movimento;
    movimento.Inicializar();
    movimento.NUMTRANS = numtrans;
    movimento.DATA = agora.DateOnly();
    movimento.CODBANCO = codbanco;
    movimento.CODCOB = codcob;
    movimento.VALOR = RoundTo(valor, 2);
    movimento.TIPO = "C";
    movimento.HISTORICO = Trim(historico).empty() ? std::string(kHistoricoBaixaAutomatica) : historico;
    movimento.NUMCARR = numbordero;
    movimento.HORA = hora;
    movimento.MINUTO = minuto;
    movimento.CODFUNC = sessao.Usuario().Matricula();
    movimento.CODCONTADEB = 0;
    movimento.CODCONTACRED = 0;
    movimento.INDICE = "A";
    movimento.CODROTINALANC = sessao.Usuario().CodigoRotina();
    if (!numerarios->Incluir(movimento)) throw Exception(movimento.MENSAGEM);
  } catch (const std::exception&) {
    std::throw_with_nested(Exception("Erro ao gerar a Movimentação de Numerários."));
  }
}

bool TContasPagar::BaixarLancamentoAutomaticamente(double RECNUM, int CodBanco, const std::string& Historico,
                                                   double DescontoFin, double Juros) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  if (RECNUM <= 0) throw ExRecNumVazio();
  if (CodBanco <= 0) throw ExCodigoCaixaBancoObrigatorio();
  try {
    IQuorvinSessao& sessao = Quorvin().SessaoAtual();
    TDALContasPagar& dal = GetDALContasPagar();
    TOraSavepoint baixa(sessao.BancoDados().Sessao());
    // The row is locked before it is written: a row another session holds is reported with its
    // holder at once instead of being waited for.
    (void)dal.ValidarLockRegistro("ZTLANC", "RECNUM = " + ShortestDecimal(RECNUM), "Baixa do borderô.");

    const double numbordero = Quorvin().Numeracao().ProximoNumBordero();
    const std::string assinatura =
        sessao.BancoDados()
            .Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = " + std::to_string(sessao.Usuario().Matricula()))
            .value_or("");
    if (!dal.UpdateZTLancParaAtenderProcesso1804(RECNUM, numbordero, CodBanco, assinatura, Historico, DescontoFin,
                                                 Juros)) {
      throw Exception("Não foi possível fazer a baixa do lançamento nº(RECNUM) " + ShortestDecimal(RECNUM) +
                      ". O mesmo pode estar:" + "\r" + "Baixado no sistema." + "\r" + "Vinculado a um borderô. " +
                      "\r" + "Não existir na base de dados.");
    }
    std::vector<RFin_IncluirContasPagar> lancamentos = dal.GetListaLancamento(ShortestDecimal(RECNUM));
    if (lancamentos.empty()) throw Exception("O lançamento RECNUM " + ShortestDecimal(RECNUM) + " não foi encontrado.");
    const double numtrans = Quorvin().Numeracao().ProximoNumTrans();
    RFin_IncluirContasPagar& lancamento = lancamentos.front();
    lancamento.NUMTRANS = numtrans;
    const double valor = RoundTo(lancamento.VALOR - lancamento.VALORDEV + lancamento.TXPERM - lancamento.DESCONTOFIN +
                                     lancamento.VLVARIACAOCAMBIAL,
                                 2);
    (void)BaixarBordero(numbordero, numtrans, valor, CodBanco, "D", lancamentos, Historico);
    baixa.Release();
  } catch (const std::exception& erro) {
    std::throw_with_nested(Exception(erro.what()));
  }
  return true;
}

bool TContasPagar::EstornarConhecimentoDeFrete(double RECNUM, int Modo) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  if (RECNUM <= 0) throw ExRecNumVazio();
  if (Modo != 0 && Modo != 1) {
    throw Exception("Modo de estorno do conhecimento de frete inválido: " + std::to_string(Modo) +
                    ". Informe 0 (título no contas a receber) ou 1 (verba do fornecedor).");
  }
  const std::string numero = ShortestDecimal(RECNUM);
  TDALContasPagar& dal = GetDALContasPagar();
  TOraSavepoint estorno(Quorvin().SessaoAtual().BancoDados().Sessao());
  // Two sessions reversing one freight bill take turns on its row: the second finds it reversed.
  if (!dal.TravarLancamento(RECNUM)) {
    throw Exception(
        "Não foi encontrado o registro da tabela ZTLANC referente ao conhecimento de frete. \rRecNum informado: " +
        numero);
  }
  const std::vector<RFin_IncluirContasPagar> lidos = dal.GetListaLancamento(numero);
  if (lidos.empty()) {
    throw Exception(
        "Não foi encontrado o registro da tabela ZTLANC referente ao conhecimento de frete. \rRecNum informado: " +
        numero);
  }
  const RFin_IncluirContasPagar& lancamento = lidos.front();
  if (!lancamento.DTESTORNOBAIXA.IsZero()) {
    throw Exception("O lançamento informado já estornado. \rRecNum informado: " + numero);
  }
  if (lancamento.DTPAGTO.IsZero()) {
    dal.EstornarLancamento(RECNUM);
  } else if (Modo == 0) {
    EstornarFreteContasReceber(lancamento);
  } else {
    EstornarFreteVerba(lancamento);
  }
  estorno.Release();
  return true;
}

void TContasPagar::EstornarFreteContasReceber(const RFin_IncluirContasPagar& lancamento) {
  IQuorvinBancoDados& banco = Quorvin().SessaoAtual().BancoDados();
  const std::string numero = ShortestDecimal(lancamento.RECNUM);
  const std::string transacao = ShortestDecimal(lancamento.NUMTRANSVENDA);
  const std::string existentes =
      banco
          .Localizar("ZTPREST", "COUNT(*)",
                     "NUMTRANSVENDA =" + transacao + " AND OBS2 LIKE " + "'" + kObservacaoEstornoFrete + "'")
          .value_or("0");
  if (std::stod(existentes) > 0) {
    throw Exception("O lançamento nº " + numero + " - nº de transação de venda " + transacao +
                    " já havia sido estornado anteriormente. Pois existe um título no contas a receber referente ao "
                    "processo.");
  }
  const std::string venda = "NUMTRANSVENDA = " + transacao;
  const auto codcli = banco.Localizar("ZTNFSAID", "CODCLI", venda);
  if (lancamento.NUMTRANSVENDA <= 0 || !codcli || Trim(*codcli).empty()) {
    throw Exception("Não foi encontrada a nota de venda (transação " + transacao + ") do lançamento nº " + numero +
                    " para gerar o título no contas a receber.");
  }
  const std::string codcob = banco.Localizar("ZTNFSAID", "CODCOB", venda).value_or("");
  const std::string numnota = banco.Localizar("ZTNFSAID", "NUMNOTA", venda).value_or("");
  const std::string codusur = banco.Localizar("ZTNFSAID", "CODUSUR", venda).value_or("");
  const auto numero_de = [](const std::string& texto) { return Trim(texto).empty() ? 0.0 : std::stod(texto); };
  (void)GetDALContasPagar().IncluirTituloEstornoFrete(lancamento.NUMTRANSVENDA, lancamento.CODFILIAL,
                                                      numero_de(*codcli), codcob, numero_de(numnota),
                                                      numero_de(codusur), lancamento.VPAGO);
}

void TContasPagar::EstornarFreteVerba(const RFin_IncluirContasPagar& lancamento) {
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  const std::string numero = ShortestDecimal(lancamento.RECNUM);
  const std::string historico = "CANC. CONHEC. FRETE N. " + numero;
  if (GetDALContasPagar().ContarVerbas(historico) > 0) {
    throw Exception(
        "O lançamento nº " + numero +
        " já havia sido estornado anteriormente. Pois existe uma verba do fornecedor referente ao processo.");
  }
  IGerenteCompras* compras = Quorvin().GerenteCompras();
  if (compras == nullptr) throw Exception("Módulo de compras indisponível para incluir a verba do fornecedor.");
  RCom_Verbas_Avulso_Incluir verba;
  verba.TIPO = "D";
  verba.CODFORNEC = lancamento.CODFORNEC;
  verba.CODCONTA = lancamento.CODCONTA;
  verba.VALOR = RoundTo(lancamento.VPAGO, 2);
  verba.DTEMISSAO = sessao.BancoDados().DataServidor();
  verba.HISTORICO = historico;
  verba.OBS = "LANC. AUT. VIA SERVIÇO - ROTINA " + std::to_string(sessao.Usuario().CodigoRotina());
  verba.NUMLANC = lancamento.RECNUM;
  if (!compras->Verbas_Avulso_Incluir(verba)) throw Exception(verba.MENSAGEM);
}

bool TContasPagar::VerificarPeriodoBloqueado(const RFin_ParamFilialData& prParametros) {
  try {
    return GetDALContasPagar().VerificarPeriodoBloqueado(prParametros.CODFILIAL, prParametros.DATA);
  } catch (const std::exception& erro) {
    std::throw_with_nested(ExRetornarVerificarPeriodoBloqueado(erro.what()));
  }
}

bool TContasPagar::ValidarLinhaDigitavel(RFin_ValidarLinhaDigitavel& prParametros) {
  if (!prParametros.Inicializado) throw ExParametrosNaoInicializados();
  return TValidaLinhaDigitavel::Validar(prParametros, Quorvin().SessaoAtual().BancoDados().DataServidor());
}
