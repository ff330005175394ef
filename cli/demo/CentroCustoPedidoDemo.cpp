#include <iomanip>
#include <ostream>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kPedido = 7001;

// The saved apportionment of an installment, one line per cost center.
void MostrarRateio(Runtime& runtime, std::ostream& out, const std::string& prestacao) {
  TOraQuery rows(&runtime.Host().Sessao());
  rows.SQL.Add("SELECT R.CODIGOCENTROCUSTO, C.DESCRICAO, R.PERCRATEIO, R.VALOR");
  rows.SQL.Add("  FROM ZTRATEIOCENTROCUSTOZTLANC3 R, ZTCENTROCUSTO C");
  rows.SQL.Add(" WHERE C.CODIGOCENTROCUSTO = R.CODIGOCENTROCUSTO AND R.NUMPED = :NUMPED AND R.PREST = :PREST");
  rows.SQL.Add(" ORDER BY R.CODIGOCENTROCUSTO");
  rows.ParamByName("NUMPED").SetAsFloat(kPedido);
  rows.ParamByName("PREST").SetAsString(prestacao);
  rows.Open();
  double total = 0;
  out << "  centro de custo                 %        valor\n";
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const double valor = rows.FieldByName("VALOR").AsFloat();
    total = RoundTo(total + valor, 2);
    out << "  " << std::left << std::setw(5) << rows.FieldByName("CODIGOCENTROCUSTO").AsString() << ' ' << std::setw(16)
        << rows.FieldByName("DESCRICAO").AsString() << std::right << std::setw(10)
        << rows.FieldByName("PERCRATEIO").AsString() << std::setw(13) << FormatarValor(valor) << "\n";
  }
  out << "  total" << std::setw(39) << FormatarValor(total) << "\n";
}

void ApportionOrder(Runtime& runtime, std::ostream& out) {
  IFin_CentroCustoPedidoCompraConsumo* area = runtime.Financeiro().GetCentroCustoPedidoCompraConsumo();
  if (area == nullptr) throw Exception("A área de centros de custo de pedidos de compra não está disponível.");
  const TDateTime hoje = runtime.Host().DataServidor();

  out << "Prestação 1 do pedido de compra de consumo " << ShortestDecimal(kPedido) << ", " << FormatarValor(900)
      << " na conta 3101, filial 1, sem formulário: o rateio padrão da conta.\n";
  const bool gravou = area->ProcessoCentroCusto(false, "1", "3101", 900, kPedido, "1", hoje, false, false);
  out << "ProcessoCentroCusto respondeu " << (gravou ? "true" : "false") << ":\n";
  MostrarRateio(runtime, out, "1");

  out << "\nA mesma prestação passa a " << FormatarValor(1200.01)
      << "; o rateio proposto parte do que o pedido já tem gravado para ela:\n";
  (void)area->ProcessoCentroCusto(false, "1", "3101", 1200.01, kPedido, "1", hoje, false, true);
  MostrarRateio(runtime, out, "1");

  out << "\nPrestação 2 de " << FormatarValor(10000)
      << " pelo formulário; a filial recusa prestações acima do orçado (parâmetro 3921):\n";
  (void)area->ProcessoCentroCusto(false, "1", "3101", 10000, kPedido, "2", hoje, true, false);
  try {
    area->ValidaDadosInformados_Inclusao();
    area->InsertCentroCusto_Banco();
    out << "  (o orçamento não foi ultrapassado)\n";
  } catch (const Exception& recusa) {
    out << "Recusado:\n" << ParaTerminal(recusa.Message()) << "\n";
  }
  area->LimparDadosUltimoLancto();
}

}  // namespace

void AddCentroCustoPedidoDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Rateio por centro de custo de pedidos de compra de consumo", ApportionOrder});
}

}  // namespace cli
