#pragma once

#include <string>

#include "sdk/TDateTime.h"
#include "sdk/fin/TTipoLancamento.h"

// Cost-center apportionment of an entry (the cost-center area).
class IFin_CentroCusto {
 public:
  static constexpr const char* InterfaceName = "IFin_CentroCusto";
  virtual ~IFin_CentroCusto();

  // Apportions one entry without a form: answers whether rows were produced and saved.
  [[nodiscard]] virtual bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                                                 const std::string& psCodFilial, const std::string& psCodConta,
                                                 double prNumTransacao, double prValorLancto, TDateTime pdDataLancto,
                                                 bool pbShowForm, const std::string& psContraPartida_Natureza,
                                                 int prRecNumPrinc_CodPlanoConta,
                                                 bool pbPermitirGerarLancamentoAcimaOrcado,
                                                 TDateTime pdDataCompetencia, TDateTime pdDataVencimento,
                                                 bool pbLancarZTLancBloq) = 0;
  [[nodiscard]] virtual bool GetFazCloneRegistroPrincipal() = 0;
  virtual void SetFazCloneRegistroPrincipal(bool value) = 0;
};
