#include "sdk/TBase.h"

#include "oradb/TOraSession.h"
#include "rtl/Exception.h"

namespace {

constexpr const char* kVersao = "1.0.0";

IQuorvin& RequireQuorvin(TComponent* owner) {
  IQuorvin* quorvin = FindQuorvin(owner);
  if (quorvin == nullptr) throw Exception("Serviços do Quorvin indisponíveis para o componente.");
  return *quorvin;
}

}  // namespace

IModulo::~IModulo() = default;

IQuorvin* FindQuorvin(TComponent* component) noexcept {
  for (TComponent* current = component; current != nullptr; current = current->Owner()) {
    if (auto* quorvin = dynamic_cast<IQuorvin*>(current)) return quorvin;
  }
  return nullptr;
}

TBaseModulo::TBaseModulo(TComponent* owner) : TComponent(owner), FQuorvin(&RequireQuorvin(owner)) {}
TBaseModulo::~TBaseModulo() = default;

std::string TBaseModulo::Versao() const {
  return kVersao;
}

TBaseSubModulo::TBaseSubModulo(TComponent* owner) : TComponent(owner), FQuorvin(&RequireQuorvin(owner)) {}
TBaseSubModulo::~TBaseSubModulo() = default;

void TBaseSubModulo::CheckTransacao() {
  if (!Quorvin().SessaoAtual().BancoDados().Sessao().InTransaction()) {
    FValidador.Add("Transação não iniciada.");
  }
}
