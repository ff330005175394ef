#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/TCancDesdQry.h"

namespace cli {

namespace {

// A sale of two instalments split into one title the customer paid, a plain paid title of another
// sale, and a title split by a routine that keeps no copy of it; written afresh each time.
void PrepararDados(TOraSession& sessao) {
  for (const char* sql : {
           "DELETE FROM ZTDESD WHERE NUMTRANSVENDADEST BETWEEN 871001 AND 871009",
           "DELETE FROM ZTDESDPREST WHERE NUMTRANSVENDA BETWEEN 871001 AND 871009",
           "DELETE FROM ZTPRESTDNI WHERE NUMTRANSVENDA BETWEEN 871001 AND 871009",
           "DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 871001 AND 871009",
           "DELETE FROM ZTNFSAID WHERE NUMTRANSVENDA BETWEEN 871001 AND 871009",
           "DELETE FROM ZTCLIENT WHERE CODCLI = 87101",
           "INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (87101, 'ATACADO DEMONSTRACAO')",
           "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, VLTOTGER) VALUES (871001, 1001, 300)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871001, '1', 1001, '1', 87101, 100, 100, DATE '2026-03-01', 'DESD')",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871001, '2', 1001, '1', 87101, 200, 200, DATE '2026-03-01', 'DESD')",
           "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST, VALOR, CODCOB, OPERACAODESD, QTREPLICAS) "
           "VALUES (871001, '1', 100, 'BK', 'TONormal', 0)",
           "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST, VALOR, CODCOB, OPERACAODESD, QTREPLICAS) "
           "VALUES (871001, '2', 200, 'BK', 'TONormal', 0)",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871002, '1', 1002, '1', 87101, 300, 300, DATE '2026-03-20', 'BK')",
           "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) "
           "VALUES (871001, '1', 871002, '1')",
           "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) "
           "VALUES (871001, '2', 871002, '1')",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871003, '1', 1003, '1', 87101, 45.5, 45.5, DATE '2026-03-21', 'BK')",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871004, '1', 1004, '1', 87101, 80, 80, DATE '2026-03-01', 'DESD')",
           "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
           "VALUES (871005, '1', 1005, '1', 87101, 80, 80, DATE '2026-03-22', 'BK')",
           "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) "
           "VALUES (871004, '1', 871005, '1')",
           "INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (871002, '1', 1)",
           "INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (871003, '1', 2)",
           "INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (871005, '1', 3)",
       }) {
    Executar(sessao, sql);
  }
}

std::string Valor(double valor) {
  return FormatarValor(valor);
}

}  // namespace

void AddContasReceberListagemDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Listagem de títulos a receber e rastreio de pagamentos", [](Runtime& runtime, std::ostream& out) {
         TOraSession& sessao = runtime.Host().Sessao();
         IFin_ContasReceber& area = *runtime.Financeiro().GetContasReceber();
         PrepararDados(sessao);

         RFin_FiltrosOpcoesContasReceber filtros;
         filtros.Clientes = "87101";
         filtros.OrdenacaoColuna = 7;  // by value
         filtros.OrdenacaoModo = 2;
         out << "Títulos do cliente 87101 com documento de depósito, por valor (os desdobrados em outros não "
                "aparecem):\n";
         TCancDesdQry titulos(&sessao);
         area.CarregarTitulos(titulos, filtros);
         for (titulos.First(); !titulos.Eof(); titulos.Next()) {
           out << "  " << titulos.FieldByName("NUMTRANSVENDA").AsString() << "-"
               << titulos.FieldByName("PREST").AsString() << "  valor " << Valor(titulos.FieldByName("VALOR").AsFloat())
               << "  desdobramento: " << titulos.FieldByName("EXISTE").AsString() << "\n";
         }

         out << "Para onde foi cada pagamento (o título 871002 nasceu das duas parcelas da nota 1001; o 871005, "
                "de um desdobramento sem cópia):\n";
         TClientDataSet pagamentos;
         area.CarregarPagamentos(sessao, filtros, TStatusRastreamentoTitulos::srtTodos,
                                 TTipoRegistrosRastreamento::trrConsulta, TPersistenciaDados::tpdTabelaTemporaria,
                                 pagamentos);
         for (pagamentos.First(); !pagamentos.Eof(); pagamentos.Next()) {
           out << "  nota " << pagamentos.FieldByName("NUMNOTA").AsString() << "  ";
           if (pagamentos.FieldByName("RASTREAVEL").AsString() == "S") {
             out << "rastreado      baixa " << pagamentos.FieldByName("DOCBAIXA").AsString() << "  parte paga "
                 << Valor(pagamentos.FieldByName("VLRPAGO").AsFloat()) << "\n";
           } else {
             out << "não rastreado  (valor da nota " << Valor(pagamentos.FieldByName("VLRNOTA").AsFloat()) << ")\n";
           }
         }

         out << "Uma lista de clientes que não é só números ou textos entre aspas é recusada antes de qualquer "
                "SQL:\n";
         TOraSavepoint antes(sessao);
         try {
           filtros.Clientes = "87101) OR (1=1";
           area.CarregarTitulos(titulos, filtros);
         } catch (const Exception& falha) {
           out << ParaTerminal(falha.ClassName() + std::string(": ") + falha.Message(), "  ") << "\n";
         }
         antes.Rollback();
       }});
}

}  // namespace cli
