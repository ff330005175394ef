#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kRateio = 1;  // the demo's named apportionment: 3101, 3102 and 3201
constexpr const char* kFilial = "1";

void MostrarProposta(IFin_RateioContas& area, std::ostream& out) {
  TClientDataSet& contas = *area.GetCdsContasRateio();
  TClientDataSet& centros = *area.GetCdsCentroCustoConta();
  const std::string filtro = centros.Filter();
  out << "  conta  descrição              %         valor\n";
  for (contas.First(); !contas.Eof(); contas.Next()) {
    const double conta = contas.FieldByName("CODCONTA").AsFloat();
    out << "  " << std::left << std::setw(6) << ShortestDecimal(conta) << ' ' << std::setw(20)
        << contas.FieldByName("DESCRICAO_CONTA").AsString() << std::right << std::setw(7)
        << ShortestDecimal(contas.FieldByName("PERCRATEIO").AsFloat()) << std::setw(14)
        << FormatarValor(contas.FieldByName("VALOR").AsFloat()) << "\n";
    centros.SetFiltered(false);
    centros.SetFilter("CODCONTA = " + ShortestDecimal(conta));
    centros.SetFiltered(true);
    for (centros.First(); !centros.Eof(); centros.Next()) {
      out << "         centro de custo " << std::left << std::setw(6)
          << centros.FieldByName("CODIGOCENTROCUSTO").AsString() << std::right << std::setw(7)
          << ShortestDecimal(centros.FieldByName("PERCRATEIO").AsFloat()) << std::setw(14)
          << FormatarValor(centros.FieldByName("VALOR").AsFloat()) << "\n";
    }
  }
  contas.First();
  centros.SetFiltered(false);
  centros.SetFilter(filtro);
  centros.SetFiltered(!filtro.empty());
}

void MostrarLancamentos(TOraSession& sessao, std::ostream& out, const std::vector<double>& recnums) {
  std::string lista;
  for (const double recnum : recnums) lista += (lista.empty() ? "" : ", ") + ShortestDecimal(recnum);
  TOraQuery lancamentos(&sessao);
  lancamentos.SQL.Add("SELECT RECNUM, CODCONTA, VALOR, VLIRRF, RECNUMPRINC, PRCRATEIOUTILIZADO FROM ZTLANC");
  lancamentos.SQL.Add(" WHERE RECNUM IN (" + lista + ") ORDER BY RECNUM");
  lancamentos.Open();
  out << "  RECNUM  conta        valor      IRRF  principal      %\n";
  for (lancamentos.First(); !lancamentos.Eof(); lancamentos.Next()) {
    const std::string recnum = lancamentos.FieldByName("RECNUM").AsString();
    out << "  " << std::left << std::setw(7) << recnum << ' ' << std::setw(6)
        << lancamentos.FieldByName("CODCONTA").AsString() << std::right << std::setw(12)
        << FormatarValor(lancamentos.FieldByName("VALOR").AsFloat()) << std::setw(10)
        << FormatarValor(lancamentos.FieldByName("VLIRRF").AsFloat()) << std::setw(11)
        << lancamentos.FieldByName("RECNUMPRINC").AsString() << std::setw(7)
        << lancamentos.FieldByName("PRCRATEIOUTILIZADO").AsString() << "\n";
    TOraQuery centros(&sessao);
    centros.SQL.Add("SELECT CODIGOCENTROCUSTO, PERCRATEIO, VALOR FROM ZTRATEIOCENTROCUSTO");
    centros.SQL.Add(" WHERE RECNUM = :RECNUM ORDER BY CODIGOCENTROCUSTO");
    centros.ParamByName("RECNUM").SetAsString(recnum);
    centros.Open();
    for (centros.First(); !centros.Eof(); centros.Next()) {
      out << "          centro de custo " << std::left << std::setw(6)
          << centros.FieldByName("CODIGOCENTROCUSTO").AsString() << std::right << std::setw(7)
          << centros.FieldByName("PERCRATEIO").AsString() << std::setw(12)
          << FormatarValor(centros.FieldByName("VALOR").AsFloat()) << "\n";
    }
  }
}

void Split(Runtime& runtime, std::ostream& out) {
  IFin_RateioContas* area = runtime.Financeiro().GetRateioContas();
  if (area == nullptr) throw Exception("A área de rateio de contas não está disponível.");
  host::THostQuorvin& host = runtime.Host();
  const TDateTime hoje = host.DataServidor();

  out << "Conta de " << FormatarValor(1000.01) << " (IRRF de " << FormatarValor(15)
      << " retido) pelo rateio de contas 1, filial " << kFilial << ", sem formulário:\n";
  (void)area->ProcessoRateioConta(true, tlFinanceiro, kFilial, kRateio, 1000.01, hoje, host.Matricula(), false, 0, 0,
                                  0);
  MostrarProposta(*area, out);
  area->ValidarDadosInformadosParaInclusao();
  out << "Rateio conferido; a última conta fica com o que os percentuais não cobrem.\n";

  RFin_IncluirContasPagar registro;
  registro.Inicializar();
  registro.TIPOLANC = "C";
  registro.TIPOPARCEIRO = "F";
  registro.CODFORNEC = 502;
  registro.CODFILIAL = kFilial;
  registro.VALOR = 985.01;  // net of the withheld tax
  registro.VLIRRF = 15;
  registro.HISTORICO = "CONTA DE ENERGIA RATEADA";
  registro.DTLANC = hoje;
  registro.DTEMISSAO = hoje;
  registro.DTVENC = hoje + 10;
  area->InserirRateioConta(registro);
  out << "\nUm lançamento por conta, todos com o primeiro como principal; cada um com seus centros de custo:\n";
  MostrarLancamentos(host.Sessao(), out, registro.RecNums());
}

}  // namespace

void AddRateioContasDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Rateio de um lançamento por várias contas", Split});
}

}  // namespace cli
