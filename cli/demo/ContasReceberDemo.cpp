#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/TFin_GerarBoletos.h"

namespace cli {

namespace {

constexpr double kVenda = 870001;            // the demo sale, two instalments
constexpr double kVendaSemLeiaute = 870002;  // a title whose bank has no free-field layout here

// The demo's banks, charges, customer and titles, written afresh each time.
void PrepararDados(TOraSession& sessao) {
  for (const char* sql : {
           "DELETE FROM ZTPREST WHERE NUMTRANSVENDA IN (870001, 870002)",
           "DELETE FROM ZTBANCONOSSONUMERO WHERE CODBANCO IN (8701, 8702)",
           "DELETE FROM ZTCOB WHERE CODCOB IN ('BDEM', 'BHSB')",
           "DELETE FROM ZTBANCO WHERE CODBANCO IN (8701, 8702)",
           "DELETE FROM ZTCLIENT WHERE CODCLI = 87001",
           "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) "
           "VALUES (8701, 'BRADESCO COBRANCA', 237, '1172-0', '0403005-2', '09', '237')",
           "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) "
           "VALUES (8702, 'HSBC COBRANCA', 399, '0001', '123456', '00', '399')",
           "INSERT INTO ZTCOB (CODCOB, BOLETO, SOMATXBOLETO, CODBANCO) VALUES ('BDEM', 'S', 'S', 8701)",
           "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BHSB', 'S', 8702)",
           "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, ISENTOTXBOLETO) VALUES (87001, 'MERCADO DEMONSTRACAO', 'N')",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR, VLTXBOLETO) "
           "VALUES (870001, '1', 870001, '1', 87001, 'BDEM', TO_DATE('2026-02-21', 'YYYY-MM-DD'), 19.99, 2.50)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR, VLTXBOLETO) "
           "VALUES (870001, '2', 870001, '1', 87001, 'BDEM', TO_DATE('2026-03-23', 'YYYY-MM-DD'), 1500, 2.50)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) "
           "VALUES (870002, '1', 870002, '1', 87001, 'BHSB', TO_DATE('2026-02-21', 'YYYY-MM-DD'), 80)",
       }) {
    Executar(sessao, sql);
  }
}

void MostrarTitulos(TOraSession& sessao, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT PREST, VALOR, NOSSONUMBCO, DVCOB, CODBARRA, LINHADIG FROM ZTPREST");
  query.SQL.Add(" WHERE NUMTRANSVENDA = :NUMTRANSVENDA ORDER BY PREST");
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(kVenda);
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) {
    out << "  parcela " << query.FieldByName("PREST").AsString() << " ("
        << FormatarValor(query.FieldByName("VALOR").AsFloat()) << "): nosso número "
        << query.FieldByName("NOSSONUMBCO").AsString() << "-" << query.FieldByName("DVCOB").AsString()
        << "\n    código de barras " << query.FieldByName("CODBARRA").AsString() << "\n    linha digitável  "
        << query.FieldByName("LINHADIG").AsString() << "\n";
  }
  TOraQuery contador(&sessao);
  contador.SQL.Add("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = 8701");
  contador.Open();
  out << "  último nosso número do banco 8701: " << contador.FieldByName("ULTIMONOSSONUMERO").AsString() << "\n";
}

TFin_GerarBoletos Pedido(double venda) {
  TFin_GerarBoletos boleto;
  boleto.NUMTRANSVENDA = venda;
  boleto.getParametros().gerarDadosBancarios(true);
  return boleto;
}

}  // namespace

void AddContasReceberDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Dados bancários dos títulos a receber", [](Runtime& runtime, std::ostream& out) {
         TOraSession& sessao = runtime.Host().Sessao();
         auto& area = dynamic_cast<IFin_GeracaoDadosBancarios&>(*runtime.Financeiro().GetContasReceber());
         PrepararDados(sessao);
         out << "Uma venda em duas parcelas, cobrança com tarifa de boleto de 2,50, banco 237 (carteira 09).\n"
                "O banco dá a cada título o seu nosso número, e o código de barras cobra o valor do boleto:\n";
         TFin_GerarBoletos venda = Pedido(kVenda);
         out << "  GerarDadosBancarios -> " << (area.GerarDadosBancarios(venda) ? "true" : "false") << "\n";
         MostrarTitulos(sessao, out);

         out << "Gerar outra vez não muda nada nem gasta números:\n";
         out << "  GerarDadosBancarios -> " << (area.GerarDadosBancarios(venda) ? "true" : "false") << "\n";
         MostrarTitulos(sessao, out);

         out << "Um título cujo código de barras foi apagado guarda o seu nosso número:\n";
         Executar(sessao,
                  "UPDATE ZTPREST SET CODBARRA = NULL, LINHADIG = NULL WHERE NUMTRANSVENDA = 870001 AND "
                  "PREST = '2'");
         out << "  GerarDadosBancarios -> " << (area.GerarDadosBancarios(venda) ? "true" : "false") << "\n";
         MostrarTitulos(sessao, out);

         out << "Um banco da lista sem leiaute de campo livre aqui é recusado, sem gravar nada:\n";
         TOraSavepoint antes(sessao);
         try {
           TFin_GerarBoletos outro = Pedido(kVendaSemLeiaute);
           (void)area.GerarDadosBancarios(outro);
         } catch (const Exception& falha) {
           out << ParaTerminal(falha.ClassName() + std::string(": ") + falha.Message(), "  ") << "\n";
         }
         antes.Rollback();
       }});
}

}  // namespace cli
