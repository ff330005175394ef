#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/ZTCore.h"

namespace cli {

namespace {

constexpr double kCliente = 6201;  // the customer of the story
constexpr int kCaixa = 22;         // the cash account the credits move

// The cash account and a new open title of 180,00 for the customer (idempotent for the account).
double Preparar(TOraSession& sessao, double numtransvenda) {
  Executar(sessao,
           "INSERT INTO ZTBANCO (CODBANCO, NOME) SELECT 22, 'CAIXA CREDITOS' FROM DUAL WHERE NOT EXISTS (SELECT 1 "
           "FROM ZTBANCO WHERE CODBANCO = 22)");
  Executar(sessao, "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, VALOR) VALUES (" +
                       ShortestDecimal(numtransvenda) + ", '1', " + ShortestDecimal(numtransvenda) +
                       ", '1', 6201, 'BK', 180)");
  return numtransvenda;
}

void MostrarCreditos(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT CODIGO, VALOR, DTDESCONTO, DTESTORNO, HISTORICO FROM ZTCRECLI WHERE CODCLI = 6201");
  query.SQL.Add(" AND DTLANC = TRUNC(SYSDATE) ORDER BY CODIGO");
  query.Open();
  out << "  CÓDIGO        VALOR  SITUAÇÃO   HISTÓRICO\n";
  for (query.First(); !query.Eof(); query.Next()) {
    const std::string situacao = !query.FieldByName("DTESTORNO").IsNull()    ? "estornado"
                                 : !query.FieldByName("DTDESCONTO").IsNull() ? "usado"
                                                                             : "aberto";
    out << "  " << std::setw(6) << query.FieldByName("CODIGO").AsString() << "  " << std::setw(11)
        << FormatarValor(query.FieldByName("VALOR").AsFloat()) << "  " << std::left << std::setw(9) << situacao
        << std::right << "  " << query.FieldByName("HISTORICO").AsString() << "\n";
  }
}

TCreditoCliente PorCaixa(double valor, const std::string& historico) {
  TCreditoCliente c(kCliente, valor, "1");
  c.NUMNOTA = 6201;
  c.HISTORICO = historico;
  TMovimentacaoFinanceira m;
  m.CodigoCaixaBanco = kCaixa;
  m.CodigoCobranca = "D";
  c.Movimentacao = m;
  return c;
}

}  // namespace

void AddCreditoClienteDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Créditos de cliente: inclusão em dinheiro, estorno parcial e baixa de título com dois créditos",
       [](Runtime& runtime, std::ostream& out) {
         IFin_CreditoCliente& creditos = *runtime.Financeiro().GetCreditoCliente();
         TOraSession& sessao = runtime.Host().Sessao();
         const double titulo = Preparar(sessao, runtime.Host().ProximoNumTrans());

         out << "Dois créditos do cliente 6201 (uma devolução de 120,00 e um pagamento a maior de 90,00), "
                "com a entrada do dinheiro no caixa 22:\n";
         TCreditoCliente devolucao = PorCaixa(120, "DEVOLUCAO DA NF 6201");
         TCreditoCliente maior = PorCaixa(90, "PAGAMENTO A MAIOR D'AGUA");
         std::string mensagem;
         out << "  IncluirCreditoCliente -> "
             << (creditos.IncluirCreditoCliente(devolucao, mensagem) ? "true" : "false") << ": código "
             << ShortestDecimal(devolucao.CODIGO) << ", NUMCRED " << ShortestDecimal(devolucao.NUMCRED)
             << ", transação " << ShortestDecimal(devolucao.NUMTRANS) << "\n";
         out << "  IncluirCreditoCliente -> " << (creditos.IncluirCreditoCliente(maior, mensagem) ? "true" : "false")
             << ": código " << ShortestDecimal(maior.CODIGO) << "\n";

         out << "O cliente leva 20,00 da devolução em dinheiro: o crédito fecha com seu gêmeo negativo, o valor "
                "estornado fica registrado e os 100,00 restantes são um crédito novo:\n";
         TMovimentacaoFinanceira caixa;
         caixa.CodigoCaixaBanco = kCaixa;
         caixa.CodigoCobranca = "D";
         out << "  EstornarCreditoCliente -> "
             << (creditos.EstornarCreditoCliente(devolucao.CODIGO, 20, "RETIRADA NO CAIXA", "", caixa, mensagem)
                     ? "true"
                     : "false")
             << "\n";
         MostrarCreditos(sessao, out);
         out << "Estornar mais do que o crédito vale é recusado antes de qualquer gravação:\n";
         try {
           creditos.EstornarCreditoCliente(maior.CODIGO, 1234.5, "", "", caixa, mensagem);
           out << "  (estornou?)\n";
         } catch (const Exception& falha) {
           out << "  " << falha.ClassName() << ":\n" << ParaTerminal(falha.Message(), "    ") << "\n";
         }

         out << "O título " << ShortestDecimal(titulo)
             << "-1 de 180,00 é pago com os dois créditos abertos; o que "
                "sobra do último fica aberto, ligado ao crédito de origem:\n";
         TContasReceberZTPrest t;
         t.NUMTRANSVENDA = titulo;
         t.PREST = "1";
         TCreditoCliente aberto;
         aberto.CODIGO =
             std::stod(runtime.Host()
                           .Localizar("ZTCRECLI", "MAX(CODIGO)", "CODCLI = 6201 AND DTDESCONTO IS NULL AND VALOR = 100")
                           .value_or("0"));
         out << "  BaixarUmTituloComUmOuVariosCreditos -> "
             << (creditos.BaixarUmTituloComUmOuVariosCreditos(t, {aberto, maior}, false, mensagem) ? "true" : "false")
             << "\n";
         MostrarCreditos(sessao, out);
         out << "  título: "
             << runtime.Host()
                    .Localizar("ZTPREST", "CODCOB || ' pago ' || TO_CHAR(VPAGO)",
                               "NUMTRANSVENDA = " + ShortestDecimal(titulo))
                    .value_or("?")
             << "\n";
         out << "Cada serviço de crédito guarda o bloco que executou na pasta de spool:\n";
         const std::string arquivo =
             DiretorioSpool(-1) + "SERVICO_CREDITO_CLIENTE_BAIXAR_UM_TITULO_COM_UM_VARIOS_CREDITOS.SQL";
         out << "  " << std::filesystem::path(arquivo).filename().string() << ":\n";
         std::ifstream bloco(arquivo);
         for (std::string linha; std::getline(bloco, linha);) out << "    " << linha << "\n";
       }});
}

}  // namespace cli
