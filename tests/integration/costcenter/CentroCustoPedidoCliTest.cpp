#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CentroCustoFixture.h"
#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

namespace {

// The command line commits: its rows use keys of their own (orders from 8700100, cost centers
// CLP*, account 870001, branch 87), read and removed through a session of the test's own.
class CentroCustoPedidoCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:cli-pedido");
    Limpar();
    // Account 870001 splits CLP1 60% and CLP2 40% in branch 87, which apportions orders.
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('CLP1', 'UM'), ('CLP2', 'DOIS');"
        "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'CLP1'), (10, 1, 'CLP2');"
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (870001, 'CLI', 'S');"
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('REALIZARATEIOPEDIDOCOMPRACONSUMO', '87', "
        "'S');"
        "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (870001, 'CLP1', "
        "60), (870001, 'CLP2', 40);");
  }
  void TearDown() override { Limpar(); }
  void Limpar() {
    FSessao->ExecuteScript(
        "DELETE FROM public.ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED BETWEEN 8700100 AND 8700199;"
        "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'CLP%';"
        "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'CLP%';"
        "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA = 870001;"
        "DELETE FROM public.ZTCONTA WHERE CODCONTA = 870001;"
        "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '87';");
  }
  std::pair<int, cli::Json> Chamar(const std::string& operacao, const std::string& args) {
    std::istringstream pedido(R"({"args": )" + args + "}");
    std::ostringstream saida, erros;
    const int codigo = cli::Main({"call", "CentroCustoPedidoCompraConsumo." + operacao}, pedido, saida, erros);
    return {codigo, cli::Json::parse(saida.str())};
  }
  std::string Linhas() {
    return costcenter_it::Todas(*FSessao,
                                "SELECT NUMPED, PREST, CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE "
                                "NUMPED BETWEEN 8700100 AND 8700199 ORDER BY NUMPED, PREST, CODIGOCENTROCUSTO");
  }
  std::unique_ptr<TOraSession> FSessao;
};

const std::string kPrestacao =
    R"("CodFilial": "87", "CodConta": "870001", "DataLancto": "2026-03-10", "Prestacao": "1", "NumeroPedido": )";

// A batch host opens the form, changes a row, validates and saves the installment.
TEST_F(CentroCustoPedidoCliTest, ABatchHostEditsTheFormAndSavesTheInstallment) {
  std::istringstream pedido(
      R"({"op": "CentroCustoPedidoCompraConsumo.ProcessoCentroCusto", "args": {)" + kPrestacao +
      R"(8700101, "ValorLancto": 10, "ShowForm": true}})"
      "\n"
      R"({"op": "CentroCustoPedidoCompraConsumo.SetParametros", "args": {"Percentual": 50, "ValorRateio": 5, )"
      R"("CodFilial": "87", "CodCentroCusto": "CLP1", "DescCentroCusto": "UM", "AlterandoLancto": true, "Linha": 1}})"
      "\n"
      R"({"op": "CentroCustoPedidoCompraConsumo.ValidaCamposInterface"})"
      "\n"
      R"({"op": "CentroCustoPedidoCompraConsumo.InsereCentroCusto_Client"})"
      "\n"
      R"({"op": "CentroCustoPedidoCompraConsumo.ValidaDadosInformados_Inclusao"})"
      "\n"
      R"({"op": "CentroCustoPedidoCompraConsumo.InsertCentroCusto_Banco"})"
      "\n");
  std::ostringstream saida, erros;
  ASSERT_EQ(cli::Main({"call", "--batch"}, pedido, saida, erros), 0) << saida.str() << erros.str();
  std::istringstream respostas(saida.str());
  std::vector<cli::Json> json;
  for (std::string linha; std::getline(respostas, linha);) json.push_back(cli::Json::parse(linha));
  ASSERT_EQ(json.size(), 6u) << saida.str();
  EXPECT_EQ(json[0]["result"]["rateios"].size(), 2u) << json[0].dump();
  EXPECT_EQ(json[2]["result"]["codigo"], 0) << json[2].dump();
  // The values no longer total the installment: they are recomputed from the percentages.
  EXPECT_EQ(Linhas(), "8700101:1:CLP1:5 8700101:1:CLP2:4");
}

// A bad order number is the module's refusal (exit 1) with its text; a database failure while
// saving keeps the area's message with the cause reachable (exit 2); nothing is written.
TEST_F(CentroCustoPedidoCliTest, RefusalsAndDatabaseFailuresKeepTheirClass) {
  auto [codigo, resposta] = Chamar("ProcessoCentroCusto", "{" + kPrestacao + R"(-8700101, "ValorLancto": 10})");
  EXPECT_EQ(codigo, 1) << resposta.dump();
  EXPECT_EQ(resposta.value("message", ""), "Número de pedido inválido para o rateio de Centro de Custo: -8700101!");
  // 60% of 10^13 does not fit the row's VALOR (numeric(14,2)).
  std::tie(codigo, resposta) = Chamar("ProcessoCentroCusto", "{" + kPrestacao + R"(8700102, "ValorLancto": 1e13})");
  EXPECT_EQ(codigo, 2) << resposta.dump();
  EXPECT_EQ(resposta.value("message", ""), "Não foi possível inserir lançamentos de centro de custo.");
  ASSERT_TRUE(resposta.contains("cause")) << resposta.dump();
  EXPECT_EQ(resposta["cause"].value("exception", "").rfind("EOra", 0), 0u) << resposta.dump();
  EXPECT_EQ(Linhas(), "");
}

}  // namespace
