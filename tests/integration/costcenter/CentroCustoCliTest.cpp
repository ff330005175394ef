#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "CentroCustoFixture.h"
#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

namespace {

// The command line commits: its rows use keys of their own (RECNUMs from 8800100, cost centers
// CLI*, account 880001, branch 88), read and removed through a session of the test's own.
class CentroCustoCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:cli");
  }
  void TearDown() override {
    FSessao->ExecuteScript(
        "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800100 AND 8800199;"
        "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'CLI%';"
        "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'CLI%';"
        "DELETE FROM public.ZTCONTA WHERE CODCONTA = 880001;"
        "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA = 880001;"
        "DELETE FROM public.ZTPARAMETROS WHERE NOME = 'UTILIZACENTROCUSTO' AND CODFILIAL = '88';");
  }
  // One call of the command line: its exit code and its answer.
  std::pair<int, cli::Json> Chamar(const std::string& operacao, const std::string& args) {
    std::istringstream pedido(R"({"args": )" + args + "}");
    std::ostringstream saida, erros;
    const int codigo = cli::Main({"call", operacao}, pedido, saida, erros);
    return {codigo, cli::Json::parse(saida.str())};
  }
  std::string Linhas(const std::string& colunas = "RECNUM, CODIGOCENTROCUSTO, VALOR") {
    return costcenter_it::Todas(*FSessao, "SELECT " + colunas +
                                              " FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800100 AND "
                                              "8800199 ORDER BY RECNUM, CODIGOCENTROCUSTO");
  }
  // Cost centers CLI1 and CLI2 of user 1; account 880001 works with them in branch 88, its
  // standard apportionment CLI1 60% and CLI2 40%.
  void Cadastrar() {
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('CLI1', 'UM'), ('CLI2', 'DOIS');"
        "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'CLI1'), (10, 1, 'CLI2');"
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (880001, 'CLI', 'S');"
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('UTILIZACENTROCUSTO', '88', 'S');"
        "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (880001, 'CLI1', "
        "60), (880001, 'CLI2', 40);");
  }
  std::unique_ptr<TOraSession> FSessao;
};

const std::string kEntrada =
    R"("TipoLancto": 0, "CodFilial": "88", "CodConta": "880001", "DataLancto": "2026-03-10", "NumTransacao": )";

// The principal was apportioned without an entry of its own in ZTLANC; its counterpart, given the
// principal's value as it stands, still stores the principal's rows negated.
TEST_F(CentroCustoCliTest, ACounterpartStoresItsPrincipalsRowsNegated) {
  Cadastrar();
  ASSERT_EQ(Chamar("CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(8800111, "ValorLancto": 10.01})").first, 0);
  const auto [codigo, resposta] =
      Chamar("CentroCusto.ProcessoCentroCusto", "{" + kEntrada +
                                                    R"(8800112, "ValorLancto": 10.01, "ContraPartida_Natureza": "S", )"
                                                    R"("RecNumPrinc_CodPlanoConta": 8800111})");
  EXPECT_EQ(codigo, 0) << resposta.dump();
  EXPECT_EQ(Linhas("RECNUM, CODIGOCENTROCUSTO, VALOR, CONTRAPARTIDA, NVL(RECNUMPRINC, 0)"),
            "8800111:CLI1:6.01:N:0 8800111:CLI2:4:N:0 8800112:CLI1:-6.01:S:8800111 8800112:CLI2:-4:S:8800111");
}

// Rows to replicate are saved for the entry and stay for the process's later entries; reversal
// writes the negated leg and the copy, replication a copy, each committed by the area itself.
TEST_F(CentroCustoCliTest, ABatchHostApportionsReversesAndReplicatesAnEntry) {
  Cadastrar();
  const std::string& entrada = kEntrada;
  std::istringstream pedido(
      R"({"op": "CentroCusto.ProcessoCentroCustoAReplicar", "args": {)" + entrada +
      R"(8800101, "ValorLancto": 10, "RateiosAReplicar": [{"CODIGOCENTROCUSTO": "CLI1", "PERCRATEIO": 33.33}, )"
      R"({"CODIGOCENTROCUSTO": "CLI2", "PERCRATEIO": 66.67}]}})"
      "\n"
      R"({"op": "CentroCusto.ProcessoCentroCusto", "args": {)" +
      entrada +
      R"(8800102, "ValorLancto": 1}})"
      "\n"
      R"({"op": "CentroCusto.estornarRateio", "args": {"recNumEstornado": 8800101, )"
      R"("recNumPernaNegativa": 8800103, "recnumPernaPositiva": 8800104}})"
      "\n"
      R"({"op": "CentroCusto.ReplicarRateio", "args": {"recNumAReplicar": 8800101, "recNumNovoRateio": 8800105}})"
      "\n");
  std::ostringstream saida, erros;
  ASSERT_EQ(cli::Main({"call", "--batch"}, pedido, saida, erros), 0) << saida.str() << erros.str();
  std::istringstream respostas(saida.str());
  std::vector<cli::Json> json;
  for (std::string linha; std::getline(respostas, linha);) json.push_back(cli::Json::parse(linha));
  ASSERT_EQ(json.size(), 4u) << saida.str();
  EXPECT_EQ(json[0]["result"], cli::Json::parse(R"({"status": true, "mensagens": []})"));
  EXPECT_EQ(
      costcenter_it::Todas(*FSessao,
                           "SELECT RECNUM, CODIGOCENTROCUSTO, VALOR, CONTRAPARTIDA FROM ZTRATEIOCENTROCUSTO WHERE "
                           "RECNUM BETWEEN 8800100 AND 8800199 ORDER BY RECNUM, CODIGOCENTROCUSTO"),
      "8800101:CLI1:3.33:N 8800101:CLI2:6.67:N 8800102:CLI1:0.33:N 8800102:CLI2:0.67:N "
      "8800103:CLI1:-3.33:S 8800103:CLI2:-6.67:S 8800104:CLI1:3.33:N 8800104:CLI2:6.67:N "
      "8800105:CLI1:3.33:N 8800105:CLI2:6.67:N");
}

}  // namespace
