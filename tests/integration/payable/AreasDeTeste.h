#pragma once

// The cost-center and cash areas as a host installs them through the facade's setters, replacing
// only the operation the payable area calls: they record what they are handed.

#include <optional>
#include <string>
#include <vector>

#include "cash/Uclsfin_movimentacaonumerarios.h"
#include "costcenter/Uclsfin_centrocusto.h"
#include "sdk/Exception.h"

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
  bool operator==(const ChamadaCentroCusto&) const = default;
};

class CentroCustoDeTeste final : public TValidaCentroCusto {
 public:
  explicit CentroCustoDeTeste(TComponent* owner) : TValidaCentroCusto(owner) {}
  using TValidaCentroCusto::ProcessoCentroCusto;

  bool ProcessoCentroCusto(bool, TTipoLancamento, const std::string& psCodFilial, const std::string& psCodConta,
                           double prNumTransacao, double prValorLancto, TDateTime pdDataLancto, bool,
                           const std::string& psContraPartida_Natureza, int, bool, TDateTime, TDateTime,
                           bool pbLancarZTLancBloq) override {
    Chamadas.push_back({psCodFilial, psCodConta, prNumTransacao, prValorLancto, pdDataLancto, psContraPartida_Natureza,
                        pbLancarZTLancBloq});
    if (Falha) throw Exception(*Falha);
    return true;
  }

  std::vector<ChamadaCentroCusto> Chamadas;
  std::optional<std::string> Falha;
};

class NumerariosDeTeste final : public TMovimentacaoNumerarios {
 public:
  explicit NumerariosDeTeste(TComponent* owner) : TMovimentacaoNumerarios(owner) {}

  bool Incluir(RFin_IncluirMovimentacaoNumerarios& prParametros) override {
    Movimentos.push_back(prParametros);
    return true;
  }

  std::vector<RFin_IncluirMovimentacaoNumerarios> Movimentos;
};

}  // namespace payabletest
