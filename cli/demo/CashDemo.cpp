#include <iomanip>
#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kConta = 11;
const std::string kMoeda = "D";

std::string Valor(TField field) {
  return field.IsNull() ? "-" : FormatarValor(field.AsFloat());
}
std::string Data(TField field) {
  return field.IsNull() ? "-" : field.AsDateTime().ToBrazilian();
}

void MostrarMovimentos(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT NUMTRANS, DATA, TIPO, VALOR, VLSALDO, CONCILIACAO, VLSALDOCONCIL, DTCOMPENSACAO, HISTORICO");
  query.SQL.Add("  FROM ZTMOVCR WHERE CODBANCO = :CODBANCO AND CODCOB = :CODCOB ORDER BY DATA, NUMTRANS");
  query.ParamByName("CODBANCO").SetAsFloat(kConta);
  query.ParamByName("CODCOB").SetAsString(kMoeda);
  query.Open();
  out << "  NUMTRANS  DATA        T         VALOR       VLSALDO  CONC  VLSALDOCONCIL  COMPENSAÇÃO  HISTÓRICO\n";
  for (query.First(); !query.Eof(); query.Next()) {
    out << "  " << std::setw(8) << query.FieldByName("NUMTRANS").AsString() << "  " << Data(query.FieldByName("DATA"))
        << "  " << query.FieldByName("TIPO").AsString() << "  " << std::setw(12) << Valor(query.FieldByName("VALOR"))
        << "  " << std::setw(12) << Valor(query.FieldByName("VLSALDO")) << "  " << std::setw(4)
        << query.FieldByName("CONCILIACAO").AsString() << "  " << std::setw(13)
        << Valor(query.FieldByName("VLSALDOCONCIL")) << "  " << std::setw(11)
        << Data(query.FieldByName("DTCOMPENSACAO")) << "  " << query.FieldByName("HISTORICO").AsString() << "\n";
  }
}

void MostrarSaldo(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT VALOR, VALORCONCILIADO FROM ZTESTCR WHERE CODCOB = :CODCOB AND CODBANCO = :CODBANCO");
  query.ParamByName("CODBANCO").SetAsFloat(kConta);
  query.ParamByName("CODCOB").SetAsString(kMoeda);
  query.Open();
  if (query.IsEmpty()) {
    out << "  ZTESTCR: sem saldo para a conta\n";
    return;
  }
  out << "  ZTESTCR: saldo " << Valor(query.FieldByName("VALOR")) << ", saldo conciliado "
      << Valor(query.FieldByName("VALORCONCILIADO")) << "\n";
}

void MostrarMeses(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT MES, ANO, VALORDEBITO, VALORCREDITO, SALDOINICIAL, SALDO FROM ZTESTCRCOMPENSACAO");
  query.SQL.Add(" WHERE CODBANCO = :CODBANCO AND CODMOEDA = :CODMOEDA ORDER BY ANO, MES");
  query.ParamByName("CODBANCO").SetAsFloat(kConta);
  query.ParamByName("CODMOEDA").SetAsString(kMoeda);
  query.Open();
  out << "  MÊS/ANO       DÉBITOS     CRÉDITOS  SALDO INICIAL   SALDO FINAL\n";
  for (query.First(); !query.Eof(); query.Next()) {
    out << "  " << query.FieldByName("MES").AsString() << "/" << query.FieldByName("ANO").AsString() << "  "
        << std::setw(12) << Valor(query.FieldByName("VALORDEBITO")) << " " << std::setw(12)
        << Valor(query.FieldByName("VALORCREDITO")) << "  " << std::setw(13) << Valor(query.FieldByName("SALDOINICIAL"))
        << "  " << std::setw(12) << Valor(query.FieldByName("SALDO")) << "\n";
  }
}

RFin_IncluirMovimentacaoNumerarios Movimento(Runtime& runtime, const std::string& tipo, double valor,
                                             const std::string& historico) {
  RFin_IncluirMovimentacaoNumerarios movimento;
  movimento.Inicializar();
  const TDateTime agora = runtime.Host().DataHoraServidor();
  int hora = 0;
  int minuto = 0;
  int segundo = 0;
  agora.DecodeTime(hora, minuto, segundo);
  movimento.DATA = agora;
  movimento.HORA = hora;
  movimento.MINUTO = minuto;
  movimento.CODBANCO = kConta;
  movimento.CODCOB = kMoeda;
  movimento.TIPO = tipo;
  movimento.VALOR = valor;
  movimento.HISTORICO = historico;
  movimento.CODFUNC = runtime.Host().Matricula();
  movimento.INDICE = "A";
  movimento.CODROTINALANC = 632;
  return movimento;
}

}  // namespace

void AddCashDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Caixa: movimentos lançados fora de ordem", [](Runtime& runtime, std::ostream& out) {
                     out << "Conta 11, cobrança D. A tarifa bancária foi digitada depois do depósito seguinte,\n"
                            "então os saldos congelados em VLSALDO não seguem a ordem das datas:\n";
                     MostrarMovimentos(runtime.Host().Sessao(), out);
                     MostrarSaldo(runtime.Host().Sessao(), out);
                   }});
  steps.push_back({"Caixa: lançar e conciliar movimentos", [](Runtime& runtime, std::ostream& out) {
                     IFin_MovimentacaoNumerarios* caixa = runtime.Financeiro().GetMovimentacaoNumerarios();
                     RFin_IncluirMovimentacaoNumerarios recebimento =
                         Movimento(runtime, "D", 300, "RECEBIMENTO EM DINHEIRO");
                     caixa->Incluir(recebimento);
                     out << "Débito de 300,00 com o saldo travado (FOR UPDATE): NUMTRANS "
                         << ShortestDecimal(recebimento.NUMTRANS) << "\n";
                     RFin_IncluirMovimentacaoNumerarios sangria = Movimento(runtime, "C", 120.5, "SANGRIA DO CAIXA");
                     sangria.TRAVARSALDO = false;
                     caixa->Incluir(sangria);
                     out << "Crédito de 120,50 sem a trava (o saldo é somado no próprio UPDATE): NUMTRANS "
                         << ShortestDecimal(sangria.NUMTRANS) << "\n";
                     RFin_IncluirMovimentacaoNumerarios deposito =
                         Movimento(runtime, "D", 80, "DEPOSITO CONCILIADO NO LANCAMENTO");
                     deposito.CONCILIACAO = "OK";
                     caixa->Incluir(deposito);
                     out << "Débito de 80,00 já conciliado: NUMTRANS " << ShortestDecimal(deposito.NUMTRANS)
                         << ", compensação em " << deposito.DTCOMPENSACAO.ToBrazilian() << ", conciliado por "
                         << ShortestDecimal(deposito.CODFUNCCONCIL) << "\n";
                     MostrarMovimentos(runtime.Host().Sessao(), out);
                     MostrarSaldo(runtime.Host().Sessao(), out);
                   }});
  steps.push_back({"Caixa: recalcular os saldos da conta", [](Runtime& runtime, std::ostream& out) {
                     IFin_MovimentacaoNumerarios* caixa = runtime.Financeiro().GetMovimentacaoNumerarios();
                     const TDateTime hoje = runtime.Host().DataServidor();
                     int ano = hoje.Year();
                     int mes = hoje.Month() - 3;
                     if (mes < 1) {
                       mes += 12;
                       --ano;
                     }
                     RFin_RecalculaNumerario recalculo;
                     recalculo.Inicializar();
                     recalculo.CODBANCO = kConta;
                     recalculo.CODCOB = kMoeda;
                     recalculo.DATAINICIAL = TDateTime::EncodeDate(ano, mes, 1);
                     recalculo.DATAFINAL = hoje;
                     recalculo.SALDOINICIAL = 0;
                     recalculo.RECALCULARSALDO = true;
                     recalculo.RECALCULARSALDOCONCILIADO = true;
                     recalculo.RECALCULARSALDOCOMPENSACAO = true;
                     caixa->RecalcularSaldos(recalculo);
                     out << "Recálculo a partir de " << recalculo.DATAINICIAL.ToBrazilian()
                         << " com saldo inicial 0,00: saldo, saldo conciliado e saldos mensais por compensação.\n";
                     MostrarMovimentos(runtime.Host().Sessao(), out);
                     MostrarSaldo(runtime.Host().Sessao(), out);
                     out << "Saldos mensais por data de compensação (ZTESTCRCOMPENSACAO):\n";
                     MostrarMeses(runtime.Host().Sessao(), out);
                     out << "Saldo inicial da compensação: "
                         << FormatarValor(caixa->ObterSaldoInicialCompensacao(kConta, kMoeda)) << "\n";
                     out << "Saldo final do mês anterior a " << ZeroPad(hoje.Month(), 2) << "/" << hoje.Year() << ": "
                         << FormatarValor(caixa->ObterSaldoFinalMesAnterior(kConta, kMoeda, hoje.Year(), hoje.Month()))
                         << "\n";
                     out << "Saldo final do último mês antes de hoje: "
                         << FormatarValor(caixa->ObterSaldoFinalUltimoMes(kConta, kMoeda, hoje)) << "\n";
                   }});
}

}  // namespace cli
