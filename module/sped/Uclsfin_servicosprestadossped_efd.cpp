#include "sped/Uclsfin_servicosprestadossped_efd.h"

#include <cmath>
#include <exception>

#include "frame/Uclsfin_except.h"
#include "rtl/Formatacao.h"
#include "sped/Uclsfin_dalservicosprestadossped_efd.h"

namespace {

constexpr const char* kFalhaInsercao = "Erro ao inserir registros!\r";
constexpr const char* kFalhaAlteracao = "Erro ao alterar registros!\r";
constexpr const char* kFalhaCPRB = "Erro ao consultar se o fornecedor é contribuinte do CPRB\r";

// Runs the data-access step; any failure comes back as the operation's prefix and the failure's
// own message, with the failure kept as the cause.
template <class Passo>
auto Executar(const char* prefixo, Passo&& passo) -> decltype(passo()) {
  try {
    return passo();
  } catch (const std::exception& falha) {
    std::throw_with_nested(Exception(prefixo + std::string(falha.what())));
  }
}

[[nodiscard]] bool Inteiro(double valor) {
  return std::isfinite(valor) && std::trunc(valor) == valor;
}

}  // namespace

TServicosPrestadosSPED_EFD::TServicosPrestadosSPED_EFD(TComponent* owner) : TBaseSubModulo(owner) {}

TServicosPrestadosSPED_EFD::~TServicosPrestadosSPED_EFD() = default;

TDALServicosPrestadosSPED_EFD& TServicosPrestadosSPED_EFD::GetDALServicosPrestadosSPED_EFD() {
  if (fDALServicosPrestadosSPED_EFD == nullptr) {
    fDALServicosPrestadosSPED_EFD = new TDALServicosPrestadosSPED_EFD(Owner());
  }
  return *fDALServicosPrestadosSPED_EFD;
}

void TServicosPrestadosSPED_EFD::VerificarRequisicao(const RFin_IncluirServicosPrestadosSPED_EFD& Registro) {
  GetValidador().Clear();
  CheckTransacao();
  if (!Registro.TRANSACAOABERTA) throw ExTransacaoNaoIniciada();
  if (!GetValidador().IsEmpty()) throw ExParametrosNaoInicializados();
}

void TServicosPrestadosSPED_EFD::VerificarCodigos(const RFin_IncluirServicosPrestadosSPED_EFD& Registro) {
  if (!(Registro.CODSERVICO > 0)) throw ExCodServicoPrestadoVazio();
  const std::pair<const char*, double> codigos[] = {
      {"CODSERVICO", Registro.CODSERVICO},
      {"CODCONSTCIVIL", Registro.CODCONSTCIVIL},
      {"CODTIPOSERVICO", Registro.CODTIPOSERVICO},
      {"TIPOPROCESSO", Registro.TIPOPROCESSO},
      {"TIPOPROCESSOADIC", Registro.TIPOPROCESSOADIC},
  };
  for (const auto& [nome, valor] : codigos) {
    if (!Inteiro(valor) || valor < 0) {
      throw Exception(std::string("O código ") + nome + " deve ser um número inteiro não negativo (recebido " +
                      ShortestDecimal(valor) + ").");
    }
  }
}

bool TServicosPrestadosSPED_EFD::IncluirServicosPrestadosSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) {
  VerificarRequisicao(Registro);
  VerificarCodigos(Registro);
  Executar(kFalhaInsercao, [&] { return GetDALServicosPrestadosSPED_EFD().IncluirServicoPrestadoSPED_EFD(Registro); });
  Registro.MENSAGEM = Quorvin().SessaoAtual().Mensagens().Texto();
  return true;
}

bool TServicosPrestadosSPED_EFD::AlterarServicoPrestadoSPED_EFD(RFin_IncluirServicosPrestadosSPED_EFD& Registro) {
  VerificarRequisicao(Registro);
  VerificarCodigos(Registro);
  Executar(kFalhaAlteracao, [&] {
    // An update that finds no row is a failure, not a success with nothing written.
    if (!GetDALServicosPrestadosSPED_EFD().AlterarServicoPrestadoSPED_EFD(Registro)) {
      throw Exception("Serviço prestado " + ShortestDecimal(Registro.CODSERVICO) + " não encontrado.");
    }
    return true;
  });
  Registro.MENSAGEM = Quorvin().SessaoAtual().Mensagens().Texto();
  return true;
}

std::string TServicosPrestadosSPED_EFD::BuscarCONTRIBUINTEDOCPRB(RFin_IncluirServicosPrestadosSPED_EFD& Registro) {
  VerificarRequisicao(Registro);
  std::string contribuinte = Executar(
      kFalhaCPRB, [&] { return GetDALServicosPrestadosSPED_EFD().BuscarCONTRIBUINTEDOCPRB(Registro.CODFORNEC); });
  Registro.MENSAGEM = Quorvin().SessaoAtual().Mensagens().Texto();
  return contribuinte;
}
