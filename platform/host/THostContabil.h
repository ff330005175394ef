#pragma once

#include "oradb/TOraSession.h"
#include "sdk/IGerenteContabil.h"

namespace host {

// The accounting module as the reference host provides it: blocked or closed periods per branch
// (ZTPERIODOCONTABIL) and bank/collection pairs integrated with accounting (ZTBANCOMOEDACONTABIL).
class THostContabil final : public IGerenteContabil {
 public:
  explicit THostContabil(TOraSession& sessao) : FSessao(sessao) {}

  bool PeriodoBloqueadoEncerrado(const RCont_ParamFilialData& parametros) override;
  bool BancoMoedaIntegradoContabilidade(const RCont_ParamBancoMoeda& parametros) override;
  std::string FilialBancoMoeda(const RCont_ParamBancoMoeda& parametros) override;

 private:
  TOraSession& FSessao;
};

// The purchasing module stand-in; its operations arrive with the areas that call them.
class THostCompras final : public IGerenteCompras {};

}  // namespace host
