#pragma once

#include <memory>
#include <string>

#include "sdk/fin/TRegistroDesdobramento.h"

class TCancelarDesdobramento;

// One check of the records a cancellation of splits touches. A failing record gets one impeditive
// action with the check's reason; a record already holding an action keeps it, so the first
// failing check is the one reported.
class TValidacao {
 public:
  TValidacao(TArrayOfRegistro registros, const TCancelarDesdobramento& canc)
      : FRegistros(std::move(registros)), FCanc(canc) {}
  virtual ~TValidacao();
  TValidacao(const TValidacao&) = delete;
  TValidacao& operator=(const TValidacao&) = delete;

  // Leaves `mensagem` empty when the record passes.
  virtual void Teste(const TRegistro& registro, const TArrayOfRegistro& registros, std::string& mensagem) const = 0;
  void Validar(TArrayOfAcaoImpeditiva& impeditivas) const;

 protected:
  TArrayOfRegistro FRegistros;
  const TCancelarDesdobramento& FCanc;
};

#define QUORVIN_VALIDACAO(nome)                                                                                     \
  class nome : public TValidacao {                                                                                  \
   public:                                                                                                          \
    using TValidacao::TValidacao;                                                                                   \
    void Teste(const TRegistro& registro, const TArrayOfRegistro& registros, std::string& mensagem) const override; \
  };

QUORVIN_VALIDACAO(TValidacaoConjuguesComDestinosDistintos)
QUORVIN_VALIDACAO(TValidacaoIrmaosComOrigensDistintas)
QUORVIN_VALIDACAO(TValidacaoRefereciaCircular)
QUORVIN_VALIDACAO(TValidacaoZTDESDPREST)
QUORVIN_VALIDACAO(TValidacao1209)
QUORVIN_VALIDACAO(TValidacaoValoresZTPrest)
QUORVIN_VALIDACAO(TValidarTituloComVendor)
QUORVIN_VALIDACAO(TValidacaoAMaiorCRED)
QUORVIN_VALIDACAO(TValidacaoBaixadoPREST)
QUORVIN_VALIDACAO(TValidacaoZTDESDLANCOPERACAO)
QUORVIN_VALIDACAO(TValidacao775)
QUORVIN_VALIDACAO(TValidacaoDevolucaoLanc)
QUORVIN_VALIDACAO(TValidacaoValoresZTLanc)
QUORVIN_VALIDACAO(TValidacaoBaixadoLANC)
QUORVIN_VALIDACAO(TValidarTituloBaixadoComVerba)

#undef QUORVIN_VALIDACAO

// The reasons, as the host shows them.
namespace MensagensValidacao {
inline constexpr const char* kConjugues =
    "Este registro é inválido, pois tem um irmão que tem origens distintas, isto pode ter ocorridos por falhas durante "
    "o "
    "desdobramento!";
inline constexpr const char* kIrmaos =
    "Este registro é inválido, pois tem um irmão que tem destinos distintos, isto pode ter ocorridos por falhas "
    "durante "
    "o desdobramento!";
inline constexpr const char* kCircular =
    "Este registro é inválido, pois foi encontrada uma referência círcular, isto pode ter ocorridos por falhas durante "
    "o "
    "desdobramento!";
inline constexpr const char* kSemReplica =
    "Este registro não está preparado para o processo de cancelamento, pois foi lançado por uma rotina não homologada "
    "para este processo!";
inline constexpr const char* k1209 =
    "Este registro não está preparado para o processo de cancelamento, pois foi lançado pela 1209 em uma versão não "
    "homologada para este processo!";
inline constexpr const char* k775 =
    "Este registro não está preparado para o processo de cancelamento, pois foi lançado pela 775 em uma versão não "
    "homologada para este processo!";
inline constexpr const char* kValores =
    "Erro na validação dos valores dos títulos envolvidos no desdobramento, isto pode ter ocorridos por falhas durante "
    "o desdobramento!";
inline constexpr const char* kBaixadoPrest =
    "Este título já foi baixado, para realizar o cancelamento de desdobramento é necessário estorna-lo pela rotina "
    "1209!";
inline constexpr const char* kBaixadoLanc =
    "Este título já foi baixado, para realizar o cancelamento de desdobramento é necessário estorna-lo pela rotina "
    "775!";
inline constexpr const char* kDevolucao =
    "Este registro sofreu devolução e não será possivel cancelar seu desdobramento, cancele a devolução ou faça um "
    "novo "
    "desdobramento para o cenario desejado!";
[[nodiscard]] std::string Vendor(const std::string& duplic, const std::string& prest);
[[nodiscard]] std::string CreditosBaixados(const std::string& lista);
[[nodiscard]] std::string Verba(const std::string& recnum);
}  // namespace MensagensValidacao
