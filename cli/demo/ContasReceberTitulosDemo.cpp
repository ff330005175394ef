#include <cmath>
#include <ostream>
#include <string>

#include "Runtime.h"
#include "demo/Demo.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace cli {

namespace {

constexpr double kVenda = 870101;  // the sale whose titles the chapter inserts
constexpr double kCliente = 87101;
constexpr double kRCA = 8711;

// The sale's invoice (sale condition 14), the RCA's route through the customer today, a SupplierCard
// charge; written afresh each time.
void PrepararDados(TOraSession& sessao) {
  for (const char* sql : {
           "DELETE FROM ZTDESDRECEBIMENTOFV WHERE NUMTRANSVENDA_ZTPREST = 870101",
           "DELETE FROM ZTRECEBIMENTOFV WHERE NUMTRANSVENDA = 870191",
           "DELETE FROM ZTFILASUPPLI WHERE NUMTRANSVENDA = 870101",
           "DELETE FROM ZTPREST WHERE NUMTRANSVENDA = 870101",
           "DELETE FROM ZTNFSAID WHERE NUMTRANSVENDA = 870101",
           "DELETE FROM ZTROTACLI WHERE CODUSUR = 8711",
           "DELETE FROM ZTCOB WHERE CODCOB IN ('SPCD', 'BDM2')",
           "INSERT INTO ZTCOB (CODCOB, COBSUPPLIERCARD) VALUES ('SPCD', 'S')",
           "INSERT INTO ZTCOB (CODCOB, BOLETO) VALUES ('BDM2', 'S')",
           "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CODUSUR, CONDVENDA, VLTOTGER) "
           "VALUES (870101, 87101, 87101, 8711, 14, 300)",
       }) {
    Executar(sessao, sql);
  }
}

TContasReceberZTPrest Titulo(const std::string& cobranca, double valor, TDateTime vencimento) {
  TContasReceberZTPrest t;
  t.CODFILIAL = "1";
  t.NUMTRANSVENDA = kVenda;
  t.DUPLIC = 87101;
  t.DTVENC = vencimento;
  t.CODCOB = cobranca;
  t.VALOR = valor;
  t.CODCLI = kCliente;
  t.CODUSUR = kRCA;
  return t;
}

// The weekday the module binds for the route question, 1 Monday .. 7 Sunday (day 0 of the host's
// calendar was a Saturday).
int DiaDaSemanaDemo(TDateTime momento) {
  const auto dia = static_cast<long long>(std::floor(momento.Value()));
  return static_cast<int>(((dia + 5) % 7 + 7) % 7) + 1;
}

const char* SimNao(bool valor) {
  return valor ? "sim" : "não";
}

}  // namespace

void AddContasReceberTitulosDemo(std::vector<DemoStep>& steps) {
  steps.push_back(
      {"Inclusão de títulos a receber e perguntas sobre um título", [](Runtime& runtime, std::ostream& out) {
         TOraSession& sessao = runtime.Host().Sessao();
         IFin_ContasReceber& area = *runtime.Financeiro().GetContasReceber();
         PrepararDados(sessao);
         const TDateTime hoje = runtime.Host().DataServidor();

         out << "Dois títulos da venda 870101; o banco escolhe a parcela, e os campos omitidos tomam os seus "
                "padrões:\n";
         for (TContasReceberZTPrest titulo : {Titulo("SPCD", 100.004, hoje + 30), Titulo("BDM2", 199.996, hoje + 60)}) {
           area.Incluir(titulo);
           out << "  parcela " << titulo.PREST << ": " << titulo.CODCOB << " " << FormatarValor(titulo.VALOR)
               << ", vence " << titulo.DTVENC.ToBrazilian() << ", emitido " << titulo.DTEMISSAO.ToBrazilian()
               << ", situação " << titulo.STATUS << "\n";
         }
         out << "Um título sem RCA é recusado:\n";
         try {
           TContasReceberZTPrest semRCA = Titulo("BDM2", 10, hoje);
           semRCA.CODUSUR = 0;
           area.Incluir(semRCA);
         } catch (const Exception& falha) {
           out << "  " << falha.ClassName() << ": " << falha.Message() << "\n";
         }

         out << "Desdobrado pelo força de vendas? " << SimNao(area.TituloDesdobradoPeloForcaVendas(kVenda, "1"));
         Executar(sessao, "INSERT INTO ZTRECEBIMENTOFV (NUMTRANSVENDA, PREST) VALUES (870191, '1')");
         Executar(sessao, "INSERT INTO ZTDESDRECEBIMENTOFV VALUES (870101, '1', 870191, '1', 1, 'N')");
         out << "; com um recebimento que pede o desdobramento: "
             << SimNao(area.TituloDesdobradoPeloForcaVendas(kVenda, "1")) << "\n";

         Executar(sessao, "INSERT INTO ZTROTACLI (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA) VALUES (8711, 87101, '" +
                              std::to_string(DiaDaSemanaDemo(runtime.Host().DataHoraServidor())) +
                              "', TO_CHAR(SYSDATE, 'W'))");
         out << "Na rota de algum RCA hoje, sem roteirização (2659): "
             << SimNao(area.TituloEstaNaRotaDeAlgumRCA(kVenda, "1"));
         runtime.Host().DefinirParametro("UTILIZAROTEIRIZACAO", "S");
         runtime.Host().DefinirParametro("USABAIXATITULOCOMROTRCA", "S");
         runtime.Host().DefinirParametro("ATUALIZAROTANOMOMENTOVENDA", "N");
         out << "; com 2659 e 3035 e a rota cadastrada: " << SimNao(area.TituloEstaNaRotaDeAlgumRCA(kVenda, "1"))
             << "\n";

         out << "A cobrança SPCD é SupplierCard? " << SimNao(area.CobrancaESupplierCard("SPCD"))
             << "; situação: " << NomeStatusCobrancaSupplierCard(area.RetornarStatusCobrancaSupplierCard(kVenda));
         Executar(sessao,
                  "INSERT INTO ZTFILASUPPLI (NUMTRANSVENDA, PREST, TIPOINF, ENVIADOSUPPLI) VALUES (870101, '1', '1', "
                  "'S')");
         out << "; enviada: " << NomeStatusCobrancaSupplierCard(area.RetornarStatusCobrancaSupplierCard(kVenda));
         Executar(sessao, "UPDATE ZTFILASUPPLI SET APROVADOSUPPLI = 'S' WHERE NUMTRANSVENDA = 870101");
         out << "; aprovada: " << NomeStatusCobrancaSupplierCard(area.RetornarStatusCobrancaSupplierCard(kVenda))
             << "\n";
         out << "Prorrogação comunicada: " << SimNao(area.ComunicarProrrogacaoCobrancaSupplierCard(kVenda, "1"))
             << "\n";

         out << "DSR de 1.000,00 por 4 dias, de um dia para o mesmo dia: "
             << FormatarValor(area.CalcularDSR(1000, hoje, hoje, 4))
             << "; num mês de 30 dias: " << FormatarValor(area.CalcularDSR(1000, hoje, hoje + 30, 4)) << "\n";

         TOraQuery titulos(&sessao);
         titulos.SQL.Add("SELECT CODCOB, CODBANCOCM FROM ZTPREST WHERE NUMTRANSVENDA = 870101 ORDER BY PREST");
         titulos.Open();
         out << "Boletos da venda com cobranças diferentes? "
             << SimNao(area.TitulosParaImpressaoBoletoComCobrancasDiferentes(titulos));
         Executar(sessao, "UPDATE ZTPREST SET CODBANCOCM = TO_NUMBER(PREST) WHERE NUMTRANSVENDA = 870101");
         titulos.Close();
         titulos.Open();
         out << "; com bancos diferentes também: "
             << SimNao(area.TitulosParaImpressaoBoletoComCobrancasDiferentes(titulos)) << "\n";
       }});
}

}  // namespace cli
