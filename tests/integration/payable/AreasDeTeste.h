#pragma once

// Stand-ins for the cost-center and cash areas that a host installs through the facade's setters
// (Financeiro().SetCentroCusto / SetMovimentacaoNumerarios): they record what the payable area hands
// them and answer as the test says. When the real area is part of the build, the stand-in derives
// from it and replaces only the operations the payable area calls.

#include <optional>
#include <string>
#include <vector>

#include "sdk/Exception.h"
#include "sdk/TComponent.h"
#include "sdk/fin/IFin_CentroCusto.h"
#include "sdk/fin/IFin_MovimentacaoNumerarios.h"

#if __has_include("costcenter/Uclsfin_centrocusto.h")
#include "costcenter/Uclsfin_centrocusto.h"
#define PAYABLE_TEST_CENTROCUSTO_BASE TValidaCentroCusto
#endif
#if __has_include("cash/Uclsfin_movimentacaonumerarios.h")
#include "cash/Uclsfin_movimentacaonumerarios.h"
#define PAYABLE_TEST_NUMERARIOS_BASE TMovimentacaoNumerarios
#endif

namespace payabletest {

// One hand-off of an entry to the cost-center area.
struct ChamadaCentroCusto {
  std::string CodFilial;
  std::string CodConta;
  double NumTransacao = 0;
  double ValorLancto = 0;
  TDateTime DataLancto;
  std::string ContraPartida;
  bool LancarZTLancBloq = false;
};

#ifdef PAYABLE_TEST_CENTROCUSTO_BASE
class CentroCustoDeTeste final : public PAYABLE_TEST_CENTROCUSTO_BASE {
 public:
  explicit CentroCustoDeTeste(TComponent* owner) : PAYABLE_TEST_CENTROCUSTO_BASE(owner) {}
  using PAYABLE_TEST_CENTROCUSTO_BASE::ProcessoCentroCusto;
#else
class CentroCustoDeTeste final : public TComponent, public IFin_CentroCusto {
 public:
  explicit CentroCustoDeTeste(TComponent* owner) : TComponent(owner) {}
#endif

  bool ProcessoCentroCusto(bool, TTipoLancamento, const std::string& psCodFilial, const std::string& psCodConta,
                           double prNumTransacao, double prValorLancto, TDateTime pdDataLancto, bool,
                           const std::string& psContraPartida_Natureza, int, bool, TDateTime, TDateTime,
                           bool pbLancarZTLancBloq) override {
    Chamadas.push_back({psCodFilial, psCodConta, prNumTransacao, prValorLancto, pdDataLancto, psContraPartida_Natureza,
                        pbLancarZTLancBloq});
    if (Falha) throw Exception(*Falha);
    return Resposta;
  }
  bool GetFazCloneRegistroPrincipal() override {
    return Clone;
  }
  void SetFazCloneRegistroPrincipal(bool value) override {
    Clone = value;
  }

  std::vector<ChamadaCentroCusto> Chamadas;
  bool Resposta = true;
  bool Clone = false;
  std::optional<std::string> Falha;
};

#ifdef PAYABLE_TEST_NUMERARIOS_BASE
class NumerariosDeTeste final : public PAYABLE_TEST_NUMERARIOS_BASE {
 public:
  explicit NumerariosDeTeste(TComponent* owner) : PAYABLE_TEST_NUMERARIOS_BASE(owner) {}
#else
class NumerariosDeTeste final : public TComponent, public IFin_MovimentacaoNumerarios {
 public:
  explicit NumerariosDeTeste(TComponent* owner) : TComponent(owner) {}
#endif

  bool Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) override {
    Movimentos.push_back(prParametros);
    return true;
  }

  std::vector<RFin_IncluirMovimentacaoNumerarios> Movimentos;
};

}  // namespace payabletest
