#pragma once

#include "oradb/TOraSession.h"
#include "sdk/IGerenteContabil.h"
#include "sdk/IQuorvin.h"

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

// The purchasing module stand-in: single supplier allowances written to ZTVERBA on the host session,
// numbered by DFSEQ_ZTVERBA and stamped with the user and the running routine.
class THostCompras final : public IGerenteCompras {
 public:
  THostCompras(TOraSession& sessao, IQuorvinUsuario& usuario) : FSessao(sessao), FUsuario(usuario) {}

  bool Verbas_Avulso_Incluir(RCom_Verbas_Avulso_Incluir& prParametros) override;

 private:
  TOraSession& FSessao;
  IQuorvinUsuario& FUsuario;
};

}  // namespace host
