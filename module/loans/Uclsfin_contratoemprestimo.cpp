#include "loans/Uclsfin_contratoemprestimo.h"

#include <exception>

#include "frame/Uclsfin_except.h"
#include "loans/Uclsfin_dalcontratoemprestimo.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

constexpr const char* kHistoricoEmprestimo = "Emprestimo 772";
constexpr const char* kFalhaMovimentacao = "Houve um erro ao gerar a movimentação de numerários: ";

}  // namespace

bool ContratoGeraMovimentacao(const TFin_ContratoEmprestimo& pcContrato) {
  return pcContrato.TIPOCONTRATO == "3" || pcContrato.TIPOCONTRATO == "4";
}

TContratoEmprestimo::TContratoEmprestimo(TComponent* owner) : TBaseSubModulo(owner) {}

TContratoEmprestimo::~TContratoEmprestimo() = default;

TDALContratoEmprestimo& TContratoEmprestimo::GetDALContratoEmprestimo() {
  if (fDALContratoEmprestimo == nullptr) fDALContratoEmprestimo = new TDALContratoEmprestimo(Owner());
  return *fDALContratoEmprestimo;
}

void TContratoEmprestimo::VerificarContrato(const TFin_ContratoEmprestimo& pcContrato) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  // A contract that brings money in needs the account that receives it and a value to post.
  if (ContratoGeraMovimentacao(pcContrato)) {
    if (pcContrato.CODBANCO <= 0) {
      throw Exception("Informe o banco/caixa que recebe o valor do contrato de empréstimo.");
    }
    if (RoundTo(pcContrato.VLRTOTAL, 2) <= 0) {
      throw Exception("O valor total do contrato de empréstimo deve ser maior que zero.");
    }
  }
}

bool TContratoEmprestimo::Salvar(TFin_ContratoEmprestimo& pcContrato) {
  VerificarContrato(pcContrato);
  TDALContratoEmprestimo& dal = GetDALContratoEmprestimo();
  if (pcContrato.NUMSEQCONTRATOEMPRESTIMO > 0) {
    // The money of a contract was posted when it was inserted; saving it again only rewrites
    // the row, so the receiving account is never credited twice.
    return dal.Update(pcContrato);
  }
  const bool inserido = dal.Inserir(pcContrato);
  if (inserido && ContratoGeraMovimentacao(pcContrato)) GerarMovimentacaoNumerarios(pcContrato);
  return inserido;
}

bool TContratoEmprestimo::Cancelar(TFin_ContratoEmprestimo& /*pcContrato*/) {
  return true;
}

void TContratoEmprestimo::GerarMovimentacaoNumerarios(const TFin_ContratoEmprestimo& pcContrato) {
  try {
    IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
    IFin_MovimentacaoNumerarios* numerarios = financeiro ? financeiro->GetMovimentacaoNumerarios() : nullptr;
    if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
    IQuorvinSessao& sessao = Quorvin().SessaoAtual();
    // Date, hour and minute of one reading of the server's clock.
    const TDateTime agora = sessao.BancoDados().DataHoraServidor();
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
    agora.DecodeTime(hora, minuto, segundo);

    RFin_IncluirMovimentacaoNumerarios movimento;
    movimento.Inicializar();
    movimento.DATA = agora.DateOnly();
    movimento.HORA = hora;
    movimento.MINUTO = minuto;
    movimento.CODBANCO = pcContrato.CODBANCO;
    movimento.CODCOB = "D";
    movimento.HISTORICO = kHistoricoEmprestimo;
    movimento.VALOR = RoundTo(pcContrato.VLRTOTAL, 2);
    movimento.TIPO = "D";
    movimento.NUMCARR = 0;
    movimento.CODFUNC = sessao.Usuario().Matricula();
    movimento.CODCONTADEB = 0;
    movimento.CODCONTACRED = 0;
    movimento.INDICE = "A";
    movimento.CODROTINALANC = sessao.Usuario().CodigoRotina();
    numerarios->Incluir(movimento);
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(kFalhaMovimentacao + std::string(falha.what())));
  }
}
