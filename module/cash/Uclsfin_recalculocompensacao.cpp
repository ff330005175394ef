#include "cash/Uclsfin_recalculocompensacao.h"

#include <string>

#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

[[nodiscard]] double Somar(double saldo, double variacao) {
  return RoundTo(saldo + variacao, 2);
}

[[nodiscard]] std::string TextoMes(int mes) {
  return ZeroPad(mes, 2);
}

[[nodiscard]] int IndiceMes(int ano, int mes) {
  return ano * 12 + (mes - 1);
}

}  // namespace

std::vector<TGravacaoCompensacao> PlanejarRecalculoCompensacao(TDateTime DataInicial, double SaldoInicial, int Direcao,
                                                               const std::vector<TMesCompensacao>& Meses) {
  using TTipo = TGravacaoCompensacao::TTipo;
  if (Direcao != kDirecaoMesesAnteriores && Direcao != kDirecaoMesesPosteriores) {
    throw Exception("Direção de recálculo inválida: " + std::to_string(Direcao) + ".");
  }
  const int passo = Direcao == kDirecaoMesesPosteriores ? 1 : -1;
  std::vector<TGravacaoCompensacao> gravacoes;
  if (Meses.empty()) {
    gravacoes.push_back(
        {TTipo::LimparMeses, DataInicial.Year(), DataInicial.Month(), 0, 0, SaldoInicial, SaldoInicial, Direcao});
    return gravacoes;
  }
  double saldo = SaldoInicial;
  int atual = Direcao == kDirecaoMesesAnteriores ? IndiceMes(DataInicial.Year(), DataInicial.Month())
                                                 : IndiceMes(Meses.front().Ano, Meses.front().Mes);
  for (const TMesCompensacao& mes : Meses) {
    if (mes.Mes < 1 || mes.Mes > 12) {
      throw Exception("Mês inválido no recálculo por data de compensação: " + std::to_string(mes.Mes) + ".");
    }
    const int lido = IndiceMes(mes.Ano, mes.Mes);
    if ((lido - atual) * passo < 0) {
      throw Exception("Meses fora de ordem no recálculo por data de compensação: " + TextoMes(mes.Mes) + "/" +
                      std::to_string(mes.Ano) + ".");
    }
    // Months the walk passes without movements carry the balance unchanged.
    for (; atual != lido; atual += passo) {
      gravacoes.push_back({TTipo::MesSemMovimento, atual / 12, atual % 12 + 1, 0, 0, saldo, saldo, Direcao});
    }
    TGravacaoCompensacao gravacao{TTipo::MesComMovimento, mes.Ano, mes.Mes, mes.ValorDebito,
                                  mes.ValorCredito,       0,       0,       Direcao};
    if (Direcao == kDirecaoMesesPosteriores) {
      gravacao.SaldoInicial = saldo;
      gravacao.Saldo = Somar(saldo, mes.ValorDebito - mes.ValorCredito);
      saldo = gravacao.Saldo;
    } else {
      gravacao.Saldo = saldo;
      gravacao.SaldoInicial = Somar(saldo, mes.ValorCredito - mes.ValorDebito);
      saldo = gravacao.SaldoInicial;
    }
    gravacoes.push_back(gravacao);
    atual += passo;
  }
  if (Direcao == kDirecaoMesesPosteriores) {
    gravacoes.push_back({TTipo::LimparMeses, Meses.back().Ano, Meses.back().Mes, 0, 0, saldo, saldo, Direcao});
  }
  return gravacoes;
}
