#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RCom_Verbas_Avulso_Incluir.h"

// A branch and a date whose accounting period is asked about.
struct RCont_ParamFilialData {
  std::string CODFILIAL;
  TDateTime DATA;
};

// A bank/collection pair asked about its integration with accounting.
struct RCont_ParamBancoMoeda {
  double CODBANCO = 0;
  std::string CODCOB;
};

// The host's accounting module, as far as the financial module asks it.
class IGerenteContabil {
 public:
  virtual ~IGerenteContabil();
  // Is the period of (branch, date) blocked or closed?
  [[nodiscard]] virtual bool PeriodoBloqueadoEncerrado(const RCont_ParamFilialData& parametros) = 0;
  [[nodiscard]] virtual bool BancoMoedaIntegradoContabilidade(const RCont_ParamBancoMoeda& parametros) = 0;
  // The branch an integrated bank/collection pair posts to.
  [[nodiscard]] virtual std::string FilialBancoMoeda(const RCont_ParamBancoMoeda& parametros) = 0;
};

// The host's purchasing module; its operations are declared by the areas that call them.
class IGerenteCompras {
 public:
  virtual ~IGerenteCompras();
  // Includes one supplier allowance in the caller's transaction; false (with the reason in the
  // record) when refused.
  virtual bool Verbas_Avulso_Incluir(RCom_Verbas_Avulso_Incluir& prParametros) = 0;
};
