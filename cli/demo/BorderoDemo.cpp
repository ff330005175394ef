#include <ostream>
#include <string>
#include <vector>

#include "Runtime.h"
#include "demo/Demo.h"
#include "febraban/Boleto.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kBanco = 31;
constexpr double kBordero = 7401;

void Mostrar(TOraSession& sessao, std::ostream& out, const std::string& titulo, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.Open();
  out << titulo << ":" << (consulta.IsEmpty() ? " nenhuma linha" : "") << "\n";
  for (consulta.First(); !consulta.Eof(); consulta.Next()) {
    out << " ";
    for (std::size_t indice = 0; indice < consulta.FieldCount(); ++indice) {
      TField campo = consulta.Fields(indice);
      out << " " << campo.FieldName() << "=" << (campo.IsNull() ? "-" : campo.AsString());
    }
    out << "\n";
  }
}

RFin_IncluirContasPagar Titulo(host::THostQuorvin& host, double valor, const std::string& historico) {
  RFin_IncluirContasPagar titulo;
  titulo.Inicializar();
  titulo.RECNUM = host.ProximoRecNum();
  titulo.TIPOLANC = "C";
  titulo.TIPOPARCEIRO = "O";
  titulo.FORNECEDOR = "FORNECEDOR DO BORDERO";
  titulo.CODFILIAL = "1";
  titulo.CODCONTA = 3101;
  titulo.VALOR = valor;
  titulo.HISTORICO = historico;
  titulo.NUMBORDERO = kBordero;
  titulo.DTLANC = host.DataServidor();
  titulo.DTEMISSAO = host.DataServidor();
  titulo.DTVENC = host.DataServidor() + 3;
  return titulo;
}

}  // namespace

void AddBorderoDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Contas a pagar: borderô com desconto, juros e variação cambial; linha digitável conferida",
                   [](Runtime& runtime, std::ostream& out) {
                     host::THostQuorvin& host = runtime.Host();
                     TOraSession& sessao = host.Sessao();
                     IFin_ContasPagar* pagar = runtime.Financeiro().GetContasPagar();
                     if (pagar == nullptr) {
                       out << "A área de contas a pagar não está neste módulo.\n";
                       return;
                     }
                     host.DefinirParametro("CON_CODCONTANTPAG", "3201");
                     host.DefinirParametro("CON_CODCONTPAGJUR", "3202");
                     host.DefinirParametro("CON_CODCONTACAMBIAL", "3203");

                     std::vector<RFin_IncluirContasPagar> bordero = {Titulo(host, 1200, "DUPLICATA 101"),
                                                                     Titulo(host, 800, "DUPLICATA 102"),
                                                                     Titulo(host, 500, "IMPORTACAO 103")};
                     bordero[0].DESCONTOFIN = 24;
                     bordero[1].TXPERM = 6.4;
                     bordero[2].VLVARIACAOCAMBIAL = -15.75;
                     for (RFin_IncluirContasPagar& titulo : bordero) pagar->Incluir(titulo);
                     out << "Borderô " << ShortestDecimal(kBordero) << ": três títulos, " << FormatarValor(1200)
                         << " com desconto de " << FormatarValor(24) << ", " << FormatarValor(800) << " com juros de "
                         << FormatarValor(6.4) << ", " << FormatarValor(500) << " com variação cambial de "
                         << FormatarValor(-15.75) << ".\n";
                     const double total = 1200 - 24 + 800 + 6.4 + 500 - 15.75;
                     const std::string mensagem = pagar->BaixarBordero(kBordero, host.ProximoNumTrans(), total, kBanco,
                                                                       "D", bordero, "PAGAMENTO DO BORDERO 7401");
                     out << mensagem << "\n";
                     Mostrar(sessao, out, "ZTLANC (títulos e lançamentos adicionais)",
                             "SELECT RECNUM, RECNUMBAIXA, CODCONTA, VALOR, VPAGOBORDERO, HISTORICO FROM ZTLANC WHERE "
                             "NUMBORDERO = 7401 ORDER BY RECNUM");
                     Mostrar(sessao, out, "ZTMOVCR (movimentação do borderô)",
                             "SELECT CODBANCO, CODCOB, TIPO, VALOR, NUMCARR, HISTORICO FROM ZTMOVCR WHERE NUMCARR = "
                             "7401");
                     try {
                       std::vector<RFin_IncluirContasPagar> de_novo = bordero;
                       (void)pagar->BaixarBordero(kBordero, host.ProximoNumTrans(), total, kBanco, "D", de_novo, "");
                     } catch (const std::exception& erro) {
                       out << "Segunda baixa do mesmo borderô recusada: " << erro.what() << "\n";
                     }

                     const auto vencimento =
                         std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::March, std::chrono::day{10}};
                     const std::string linha = febraban::FormatarLinhaDigitavelBoleto(febraban::LinhaDigitavelBoleto(
                         febraban::NovoBoleto(341, vencimento, 19.99, "1090000012345600000123456")));
                     RFin_ValidarLinhaDigitavel boleto;
                     boleto.Inicializar();
                     boleto.FORMATO = 1;
                     boleto.CODIGO = linha;
                     boleto.VALOR = 19.99;
                     boleto.DTVENC = TDateTime::EncodeDate(2026, 3, 10);
                     const bool aceito = pagar->ValidarLinhaDigitavel(boleto);
                     out << "Linha digitável " << linha << " para um título de " << FormatarValor(19.99) << ": "
                         << (aceito ? "aceita, código de barras " + boleto.CODIGOBARRAS : boleto.MENSAGEM) << "\n";
                     boleto.VALOR = 19.98;
                     (void)pagar->ValidarLinhaDigitavel(boleto);
                     out << "A mesma linha para um título de " << FormatarValor(19.98) << ": " << boleto.MENSAGEM
                         << "\n";
                   }});
}

}  // namespace cli
