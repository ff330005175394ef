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

// The saved apportionment of a payable entry, one line per cost center.
void MostrarRateio(Runtime& runtime, std::ostream& out, double recnum) {
  TOraQuery rows(&runtime.Host().Sessao());
  rows.SQL.Add(
      "SELECT R.CODIGOCENTROCUSTO, C.DESCRICAO, R.PERCRATEIO, R.VALOR, NVL(R.ORCAMENTOEXCEDIDO, 'N') EXCEDIDO");
  rows.SQL.Add("  FROM ZTRATEIOCENTROCUSTO R, ZTCENTROCUSTO C");
  rows.SQL.Add(" WHERE C.CODIGOCENTROCUSTO = R.CODIGOCENTROCUSTO AND R.RECNUM = :RECNUM");
  rows.SQL.Add(" ORDER BY R.CODIGOCENTROCUSTO");
  rows.ParamByName("RECNUM").SetAsFloat(recnum);
  rows.Open();
  double total = 0;
  out << "  centro de custo                 %        valor  acima do orçado\n";
  for (rows.First(); !rows.Eof(); rows.Next()) {
    const double valor = rows.FieldByName("VALOR").AsFloat();
    total += valor;
    out << "  " << std::left << std::setw(5) << rows.FieldByName("CODIGOCENTROCUSTO").AsString() << ' ' << std::setw(16)
        << rows.FieldByName("DESCRICAO").AsString() << std::right << std::setw(10)
        << rows.FieldByName("PERCRATEIO").AsString() << std::setw(13) << FormatarValor(valor) << "  "
        << rows.FieldByName("EXCEDIDO").AsString() << "\n";
  }
  out << "  total" << std::setw(45) << FormatarValor(total) << "\n";
}

void Apportion(Runtime& runtime, std::ostream& out) {
  IFin_CentroCusto* area = runtime.Financeiro().GetCentroCusto();
  if (area == nullptr) throw Exception("A área de centros de custo não está disponível.");
  host::THostQuorvin& host = runtime.Host();
  const TDateTime hoje = host.DataServidor();

  // An entry of 1,000.01 on account 3101: its standard apportionment is 33.33% / 33.33% / 33.34%.
  const double recnum = host.ProximoRecNum();
  out << "Lançamento " << ShortestDecimal(recnum) << " de " << FormatarValor(1000.01)
      << " na conta 3101, filial 1, sem formulário (o lançamento em si é da área de contas a pagar):\n";
  const bool gravou = area->ProcessoCentroCusto(false, tlFinanceiro, "1", "3101", recnum, 1000.01, hoje, false, "N", 0,
                                                false, hoje, hoje, false);
  out << "ProcessoCentroCusto respondeu " << (gravou ? "true" : "false")
      << "; o centavo que os percentuais não cobrem vai para o último centro de custo:\n";
  MostrarRateio(runtime, out, recnum);

  // A second entry through the form: its share of 1.01 passes this month's budget of that cost center.
  const double recnum2 = host.ProximoRecNum();
  out << "\nLançamento " << ShortestDecimal(recnum2) << " de " << FormatarValor(5000)
      << " na mesma conta, pelo formulário, sem permissão para passar do orçado:\n";
  (void)area->ProcessoCentroCusto(false, tlFinanceiro, "1", "3101", recnum2, 5000, hoje, true, "N", 0, false, hoje,
                                  hoje, false);
  try {
    area->ValidaDadosInformados_Inclusao();
    out << "  (o orçamento não foi ultrapassado)\n";
  } catch (const Exception& recusa) {
    out << "Recusado:\n" << ParaTerminal(recusa.Message()) << "\n";
  }
  area->LimparDadosUltimoLancto();

  out << "\nO mesmo lançamento com permissão para passar do orçado; o usuário confirma com OK:\n";
  host.SetConfirmationPolicy([](const std::string&) { return TModalResult::mrOk; });
  host.LimparConfirmacoes();
  (void)area->ProcessoCentroCusto(false, tlFinanceiro, "1", "3101", recnum2, 5000, hoje, true, "N", 0, true, hoje, hoje,
                                  false);
  area->ValidaDadosInformados_Inclusao();
  area->InsertCentroCusto_Banco();
  out << "Confirmações pedidas: " << host.Confirmacoes().size() << "\n";
  MostrarRateio(runtime, out, recnum2);

  // The over-budget mark also raised the blocked-posting flags; the story's next entries start clean.
  host.SetConfirmationPolicy([](const std::string&) { return TModalResult::mrCancel; });
  area->SetLancarZTLancBloq(false);
  if (IFin_ContasPagar* contas_pagar = runtime.Financeiro().GetContasPagar()) {
    contas_pagar->SetLancarZTLancBloqGeral(false);
  }
}

}  // namespace

void AddCentroCustoDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Rateio por centro de custo", Apportion});
}

}  // namespace cli
