#include "cash/Uclsfin_movimentacaonumerarios.h"

#include <cmath>
#include <exception>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "frame/Uclsfin_except.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteContabil.h"

namespace {

// Routine 632 reconciles bank statements; with its permission 6 a clearing date must lie in an
// open accounting period when the bank/collection pair is integrated with accounting.
constexpr int kRotinaConciliacaoBancaria = 632;
constexpr int kPermissaoPeriodoContabil = 6;

[[nodiscard]] bool Inteiro(double valor) {
  return std::isfinite(valor) && std::trunc(valor) == valor;
}

}  // namespace

TMovimentacaoNumerarios::TMovimentacaoNumerarios(TComponent* owner) : TBaseSubModulo(owner) {}

TMovimentacaoNumerarios::~TMovimentacaoNumerarios() = default;

TDALMovimentacaoNumerarios& TMovimentacaoNumerarios::GetDALMovimentacaoNumerarios() {
  if (fDALMovimentacaoNumerarios == nullptr) fDALMovimentacaoNumerarios = new TDALMovimentacaoNumerarios(Owner());
  return *fDALMovimentacaoNumerarios;
}

void TMovimentacaoNumerarios::VerificarPeriodoContabil(const RFin_IncluirMovimentacaoNumerarios& prParametros) {
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  if (sessao.Usuario().CodigoRotina() != kRotinaConciliacaoBancaria) return;
  if (!sessao.TemPermissao(kRotinaConciliacaoBancaria, kPermissaoPeriodoContabil)) return;
  IGerenteContabil* contabil = Quorvin().GerenteContabil();
  if (contabil == nullptr) throw Exception("O módulo de contabilidade não está disponível.");
  const RCont_ParamBancoMoeda bancoMoeda{prParametros.CODBANCO, prParametros.CODCOB};
  if (!contabil->BancoMoedaIntegradoContabilidade(bancoMoeda)) return;
  const RCont_ParamFilialData filialData{contabil->FilialBancoMoeda(bancoMoeda), prParametros.DTCOMPENSACAO};
  if (contabil->PeriodoBloqueadoEncerrado(filialData)) throw ExDataCompensacaoBloqueioEncerramento();
}

void TMovimentacaoNumerarios::VerificarMovimento(RFin_IncluirMovimentacaoNumerarios& prParametros) {
  // The amount to cents, once: the balance moves by exactly what the movement stores.
  prParametros.VALOR = RoundTo(prParametros.VALOR, 2);
  const std::string& tipo = prParametros.TIPO;
  // "D" and "C" move the balance; another kind is posted with the balance unchanged. A movement
  // with no kind at all is not a movement.
  if (Trim(tipo).empty()) {
    throw Exception("Tipo de movimentação inválido: '" + tipo + "'. Informe \"D\" (débito) ou \"C\" (crédito).");
  }
  if (!(prParametros.CODBANCO > 0) || !Inteiro(prParametros.CODBANCO)) {
    throw Exception("Código do banco/caixa inválido: " + ShortestDecimal(prParametros.CODBANCO) + ".");
  }
}

bool TMovimentacaoNumerarios::Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) {
  VerificarMovimento(prParametros);
  VerificarPeriodoContabil(prParametros);
  try {
    GetDALMovimentacaoNumerarios().IncluirMovimentacao(prParametros);
  } catch (const ExFinanceiro& falha) {
    // The module's own failures (no transaction, balance row lost) keep their class.
    prParametros.MENSAGEM = "Erro ao inserir registros!\r" + falha.Message();
    throw;
  } catch (const std::exception& falha) {
    prParametros.MENSAGEM = std::string("Erro ao inserir registros!\r") + falha.what();
    std::throw_with_nested(Exception(falha.what()));
  }
  prParametros.MENSAGEM = Quorvin().SessaoAtual().Mensagens().Texto();
  return true;
}

double TMovimentacaoNumerarios::ObterSaldoInicialCompensacao(double CodigoBanco, const std::string& CodigoMoeda) {
  return GetDALMovimentacaoNumerarios().ObterSaldoInicialCompensacao(CodigoBanco, CodigoMoeda);
}

double TMovimentacaoNumerarios::ObterSaldoFinalMesAnterior(double CodigoBanco, const std::string& CodigoMoeda, int Ano,
                                                           int Mes) {
  return GetDALMovimentacaoNumerarios().ObterSaldoFinalMesAnterior(CodigoBanco, CodigoMoeda, Ano, Mes);
}

double TMovimentacaoNumerarios::ObterSaldoFinalUltimoMes(double CodigoBanco, const std::string& CodigoMoeda,
                                                         TDateTime DtConcil) {
  return GetDALMovimentacaoNumerarios().ObterSaldoFinalUltimoMes(CodigoBanco, CodigoMoeda, DtConcil);
}

void TMovimentacaoNumerarios::VerificarRecalculo(const RFin_RecalculaNumerario& prNumerario) {
  if (!prNumerario.Inicializado) throw ExParametrosNaoInicializados();
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  if (prNumerario.CODBANCO == 0) throw ExCodigoBancoRecalculoVazio();
  if (Trim(prNumerario.CODCOB).empty()) throw ExCodigoCobrancaRecalculoVazia();
  // The plain balance alone is not a rebuild the screens offer.
  if (!prNumerario.RECALCULARSALDOCONCILIADO && !prNumerario.RECALCULARSALDOCOMPENSACAO) {
    throw ExNenhumaOpcaoDeRecalculoSelecionada();
  }
}

bool TMovimentacaoNumerarios::RecalcularSaldos(const RFin_RecalculaNumerario& prNumerario) {
  RFin_RecalculaNumerario parametros = prNumerario;
  try {
    VerificarRecalculo(parametros);
  } catch (const Exception& falha) {
    throw Exception("Erro ao realizar o recálculo do saldo do Caixa/Banco:\r" + falha.Message());
  }
  TDALMovimentacaoNumerarios& dal = GetDALMovimentacaoNumerarios();
  // Each rebuild runs even when an earlier one failed; the last failure is the one reported.
  const std::string cabecalho = "Erro ao realizar o recálculo do saldo do Caixa/Banco '" +
                                ShortestDecimal(parametros.CODBANCO) + "' - '" + parametros.CODCOB + "': \r";
  std::string mensagem;
  std::string falha;
  try {
    if (parametros.RECALCULARSALDO && !dal.RecalcularSaldoZTMOVCR(parametros, falha)) mensagem = falha;
    if (parametros.RECALCULARSALDOCONCILIADO && !dal.RecalcularSaldoZTMOVCRCConciliado(parametros, falha)) {
      mensagem = falha;
    }
    if (parametros.RECALCULARSALDOCOMPENSACAO && !dal.RecalcularSaldoZTMOVCRCompensacao(parametros, falha)) {
      mensagem = falha;
    }
  } catch (const std::exception& erro) {
    // The connection was lost: the designed message, with the database failure as its cause.
    std::throw_with_nested(Exception(cabecalho + erro.what()));
  }
  if (!mensagem.empty()) throw Exception(cabecalho + mensagem);
  return true;
}
