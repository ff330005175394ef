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

// A title of 300,00 split, as the receivable routine does, into two of 180,00 and 120,00: the title
// keeps its copy and is settled with charge "DESD"; the links go from it to each new one.
void Desdobrar(TOraSession& sessao, const std::string& venda) {
  const std::string colunas = "NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, VALOR, DTEMISSAO, DTVENC";
  const auto titulo = [&](const std::string& tabela, const std::string& prest, const std::string& valor,
                          const std::string& extra_colunas, const std::string& extra) {
    Executar(sessao, "INSERT INTO " + tabela + " (" + colunas + extra_colunas + ") VALUES (" + venda + ", '" + prest +
                         "', " + venda + ", '1', 601, 'BK', " + valor + ", TRUNC(SYSDATE), TRUNC(SYSDATE) + 30" +
                         extra + ")");
  };
  titulo("ZTPREST", "1", "300", "", "");
  titulo("ZTDESDPREST", "1", "300", ", OPERACAODESD, QTREPLICAS", ", 'TONormal', 0");
  Executar(sessao,
           "UPDATE ZTPREST SET CODCOB = 'DESD', DTPAG = TRUNC(SYSDATE), VPAGO = VALOR WHERE NUMTRANSVENDA = " + venda);
  titulo("ZTPREST", "2", "180", "", "");
  titulo("ZTPREST", "3", "120", "", "");
  for (const char* destino : {"2", "3"}) {
    Executar(sessao,
             "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST, DTLANC, CODCLI) "
             "VALUES (" +
                 venda + ", '1', " + venda + ", '" + destino + "', TRUNC(SYSDATE), 601)");
  }
}

void MostrarTitulos(TOraSession& sessao, const std::string& venda, std::ostream& out) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT PREST, VALOR, CODCOB, DTPAG FROM ZTPREST WHERE NUMTRANSVENDA = " + venda + " ORDER BY PREST");
  query.Open();
  out << "  PREST        VALOR  COBRANÇA  SITUAÇÃO\n";
  for (query.First(); !query.Eof(); query.Next()) {
    const std::string cobranca = query.FieldByName("CODCOB").AsString();
    const std::string situacao = cobranca == "DESD"                    ? "desdobrado"
                                 : query.FieldByName("DTPAG").IsNull() ? "aberto"
                                                                       : "pago";
    out << "  " << std::left << std::setw(5) << query.FieldByName("PREST").AsString() << std::right << std::setw(13)
        << FormatarValor(query.FieldByName("VALOR").AsFloat()) << "  " << std::left << std::setw(8) << cobranca << "  "
        << situacao << std::right << "\n";
  }
}

std::string Lista(const std::vector<TAcaoDefinidaPtr>& acoes) {
  std::string lista;
  for (const TAcaoDefinidaPtr& acao : acoes) lista += (lista.empty() ? "" : ", ") + acao->Registro->Descricao();
  return lista;
}

}  // namespace

void AddCancelarDesdobramentoDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"Cancelamento de desdobramento de título", [](Runtime& runtime, std::ostream& out) {
                     TOraSession& sessao = runtime.Host().Sessao();
                     const std::string venda = ShortestDecimal(runtime.Host().Numeracao().ProximoNumTrans());
                     Desdobrar(sessao, venda);
                     out << "Título " << venda << "-1 de 300,00 desdobrado em dois:\n";
                     MostrarTitulos(sessao, venda, out);

                     IFin_CancelarDesdobramento& cancelamento = *runtime.Financeiro().CancelarDesdobramento(tmZTPrest);
                     TListaAcoes& lista =
                         cancelamento.ListaAcoes({std::make_shared<TRegistroZtPrest>(std::stoll(venda), "1")});
                     out << "Ações do cancelamento, a partir do título desdobrado " << venda << "-1:\n";
                     out << "  restaurar: " << Lista(lista.Raizes) << "\n";
                     out << "  baixar como desdobrados: " << Lista(lista.Folhas) << "\n";
                     out << "  impedimentos: " << lista.Impeditivas.size() << "\n";
                     cancelamento.Confirmar();
                     for (const TRegistroPtr& restaurado : cancelamento.Restaurados()) {
                       out << "Confirmado; o título volta como " << restaurado->Descricao() << ":\n";
                     }
                     MostrarTitulos(sessao, venda, out);
                   }});
}

}  // namespace cli
