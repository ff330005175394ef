#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "CentroCustoFixture.h"
#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

namespace {

// The command line commits: each suite's rows use keys of their own, read and removed through a
// session of the test's own.
class CentroCustoCli : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:cli");
  }
  // One call of the command line: its exit code and its answer.
  static std::pair<int, cli::Json> Chamar(const std::string& operacao, const std::string& args) {
    std::istringstream pedido(R"({"args": )" + args + "}");
    std::ostringstream saida, erros;
    const int codigo = cli::Main({"call", operacao}, pedido, saida, erros);
    return {codigo, cli::Json::parse(saida.str())};
  }
  // A batch of requests, one a line, that must all run: the answers in order.
  static std::vector<cli::Json> Lote(const std::string& linhas) {
    std::istringstream pedido(linhas);
    std::ostringstream saida, erros;
    EXPECT_EQ(cli::Main({"call", "--batch"}, pedido, saida, erros), 0) << saida.str() << erros.str();
    std::istringstream respostas(saida.str());
    std::vector<cli::Json> json;
    for (std::string linha; std::getline(respostas, linha);) json.push_back(cli::Json::parse(linha));
    return json;
  }
  std::unique_ptr<TOraSession> FSessao;
};

// RECNUMs from 8800100, cost centers CLI*, account 880001, branch 88.
class CentroCustoCliTest : public CentroCustoCli {
 protected:
  void TearDown() override {
    FSessao->ExecuteScript(
        "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800100 AND 8800199 OR RECNUM > 9999999900;"
        "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 8800100 AND 8800199 OR RECNUM > 9999999900;"
        "DELETE FROM public.ZTCONTA WHERE CODCONTA = 9999999999;"
        "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'CLI%';"
        "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'CLI%';"
        "DELETE FROM public.ZTCONTA WHERE CODCONTA = 880001;"
        "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA = 880001;"
        "DELETE FROM public.ZTPARAMETROS WHERE NOME = 'UTILIZACENTROCUSTO' AND CODFILIAL = '88';");
  }
  std::string Linhas(const std::string& colunas = "RECNUM, CODIGOCENTROCUSTO, VALOR") {
    return costcenter_it::Todas(*FSessao, "SELECT " + colunas +
                                              " FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 8800100 AND "
                                              "8800199 OR RECNUM > 9999999900 ORDER BY RECNUM, CODIGOCENTROCUSTO");
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
};

const std::string kEntrada =
    R"("TipoLancto": 0, "CodFilial": "88", "CodConta": "880001", "DataLancto": "2026-03-10", "NumTransacao": )";

// Record numbers and account codes up to ten digits pass whole through every operation that
// takes one.
TEST_F(CentroCustoCliTest, TenDigitRecordNumbersAndAccountsPassEndToEnd) {
  Cadastrar();
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (9999999999, 'DEZ DIGITOS', 'S');"
      "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, VALOR) VALUES (9999999999, '88', 880001, 10.01), "
      "(9999999998, '88', 880001, -10.01), (9999999997, '88', 880001, 10.01), (9999999996, '88', 880001, -10.01);");
  const std::pair<const char*, std::string> chamadas[] = {
      {"CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(9999999999, "ValorLancto": 10.01})"},
      {"CentroCusto.ProcessoCentroCusto", "{" + kEntrada +
                                              R"(9999999996, "ValorLancto": -10.01, "ContraPartida_Natureza": "S", )"
                                              R"("RecNumPrinc_CodPlanoConta": 9999999999})"},
      {"CentroCusto.estornarRateio", R"({"recNumEstornado": 9999999999, "recNumPernaNegativa": 9999999998})"},
      {"CentroCusto.ReplicarRateio", R"({"recNumAReplicar": 9999999999, "recNumNovoRateio": 9999999997})"},
      {"CentroCusto.AlterarContaCentroCusto", R"({"RecNum": 9999999997, "CodConta": 9999999999, "CodFilial": "88"})"},
  };
  for (const auto& [operacao, args] : chamadas) {
    const auto [codigo, resposta] = Chamar(operacao, args);
    EXPECT_EQ(codigo, 0) << operacao << ": " << resposta.dump();
  }
  EXPECT_EQ(Linhas("RECNUM, CODIGOCENTROCUSTO, VALOR, CODCONTA, NVL(RECNUMPRINC, 0)"),
            "9999999996:CLI1:-6.01:880001:9999999999 9999999996:CLI2:-4:880001:9999999999 "
            "9999999997:CLI1:6.01:9999999999:0 9999999997:CLI2:4:9999999999:0 "
            "9999999998:CLI1:-6.01:880001:0 9999999998:CLI2:-4:880001:0 "
            "9999999999:CLI1:6.01:880001:0 9999999999:CLI2:4:880001:0");
}

// A database failure while saving keeps the area's message and stays the cause: exit 2, not a
// business refusal.
TEST_F(CentroCustoCliTest, ADatabaseFailureWhileSavingIsExitTwoWithItsCause) {
  Cadastrar();
  // 60% of 10^13 does not fit the row's VALOR (numeric(14,2)).
  const auto [codigo, resposta] =
      Chamar("CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(8800131, "ValorLancto": 1e13})");
  EXPECT_EQ(codigo, 2) << resposta.dump();
  EXPECT_EQ(resposta.value("message", "").rfind("Não foi possível inserir lançamentos de centro de custo! ", 0), 0u)
      << resposta.dump();
  ASSERT_TRUE(resposta.contains("cause")) << resposta.dump();
  EXPECT_EQ(resposta["cause"].value("exception", "").rfind("EOra", 0), 0u) << resposta.dump();
  EXPECT_EQ(Linhas(), "");
}

// Record numbers with a fraction, or wider than a double holds exactly, are usage errors before
// anything runs.
TEST_F(CentroCustoCliTest, FractionalOrInexactRecordNumbersAreUsageErrors) {
  const std::tuple<const char*, std::string, const char*> casos[] = {
      {"CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(650000.5, "ValorLancto": 1})",
       "args.NumTransacao: esperado número inteiro, recebido número."},
      {"CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(1, "RecNumPrinc_CodPlanoConta": 2.5})",
       "args.RecNumPrinc_CodPlanoConta: esperado número inteiro, recebido número."},
      {"CentroCusto.estornarRateio", R"({"recNumEstornado": 1, "recNumPernaNegativa": 9007199254740993.0})",
       "args.recNumPernaNegativa: esperado número inteiro, recebido número."},
      {"CentroCusto.ReplicarRateio", R"({"recNumAReplicar": 0.5, "recNumNovoRateio": 2})",
       "args.recNumAReplicar: esperado número inteiro, recebido número."},
      {"CentroCusto.AlterarContaCentroCusto", R"({"RecNum": 1, "CodConta": 1e300, "CodFilial": "88"})",
       "args.CodConta: esperado número inteiro, recebido número."},
      {"CentroCusto.DeleteTodosRegistrosLancto", R"({"TipoLancamento": 0, "NumTransacao": -0.25})",
       "args.NumTransacao: esperado número inteiro, recebido número."},
  };
  for (const auto& [operacao, args, mensagem] : casos) {
    const auto [codigo, resposta] = Chamar(operacao, args);
    EXPECT_EQ(codigo, 2) << operacao;
    EXPECT_EQ(resposta.value("message", ""), mensagem) << operacao;
  }
}

// Rows to replicate pass the form's row checks and must make a whole apportionment of registered
// cost centers that take entries; otherwise nothing is written for the entry.
TEST_F(CentroCustoCliTest, RowsToReplicateThatDoNotMakeAWholeApportionmentAreRefused) {
  Cadastrar();
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO) VALUES ('CLI3', 'INATIVO', 'N');"
      "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'CLI3');"
      "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, VALOR) VALUES (8800106, '88', 880001, 10);");
  const auto linha = [](const std::string& centro, const std::string& percentual) {
    return R"({"CODIGOCENTROCUSTO": ")" + centro + R"(", "PERCRATEIO": )" + percentual + "}";
  };
  std::string muitas;
  for (int i = 0; i < 2000; ++i) muitas += (i == 0 ? "" : ", ") + linha("CLI1", "0.05");
  // The module's refusals exit 1; texts the dataset cannot hold are mistakes of the request,
  // refused before the module runs (exit 2).
  const struct {
    int saida;
    const char* nome;
    std::string linhas;
    std::string mensagem;
  } casos[] = {
      {1, "partial", linha("CLI1", "30") + ", " + linha("CLI2", "30"),
       "O rateio a replicar soma 60% e deve totalizar 100%. Favor verificar!"},
      {1, "negative row", linha("CLI1", "150") + ", " + linha("CLI2", "-50"),
       "Favor informar o percentual de rateio maior que zero!"},
      {1, "zero row", linha("CLI1", "100") + ", " + linha("CLI2", "0"),
       "Favor informar o percentual de rateio do lançamento para inclusão!"},
      {1, "over 100", linha("CLI1", "60") + ", " + linha("CLI2", "60"),
       "O percentual de rateio não pode ser maior que 100%. Favor verificar!"},
      {1, "duplicate", linha("CLI1", "50") + ", " + linha("CLI1", "50"), "Centro de Custo CLI1 já existe!"},
      {1, "2,000 rows of one center", muitas, "Centro de Custo CLI1 já existe!"},
      {1, "no cost center", linha("", "100"),
       "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!"},
      {1, "unknown", linha("CLI1", "50") + ", " + linha("CLIX", "50"), "Centro de Custo CLIX não cadastrado!"},
      {1, "inactive", linha("CLI3", "100"), "Centro de Custo CLI3 inativo ou não recebe lançamentos!"},
      {2, "NUL in the code", R"({"CODIGOCENTROCUSTO": "CLI\u00001", "PERCRATEIO": 100})",
       "args.RateiosAReplicar.CODIGOCENTROCUSTO: texto com caractere nulo (\\u0000)."},
      {2, "code of 41 characters", linha(std::string(41, 'C'), "100"),
       "args.RateiosAReplicar.CODIGOCENTROCUSTO: no máximo 40 caracteres."},
      {2, "description of 81 characters",
       R"({"CODIGOCENTROCUSTO": "CLI1", "DESCCENTROCUSTO": ")" + std::string(81, 'd') + R"(", "PERCRATEIO": 100})",
       "args.RateiosAReplicar.DESCCENTROCUSTO: no máximo 80 caracteres."},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const auto [codigo, resposta] =
        Chamar("CentroCusto.ProcessoCentroCustoAReplicar",
               "{" + kEntrada + R"(8800106, "ValorLancto": 10, "RateiosAReplicar": [)" + caso.linhas + "]}");
    EXPECT_EQ(codigo, caso.saida) << resposta.dump();
    EXPECT_EQ(resposta.value("message", ""), caso.mensagem) << resposta.dump();
    EXPECT_EQ(Linhas(), "");
  }
  // Two registered centers making 100% are stored as given.
  const auto [codigo, resposta] = Chamar("CentroCusto.ProcessoCentroCustoAReplicar",
                                         "{" + kEntrada + R"(8800106, "ValorLancto": 10, "RateiosAReplicar": [)" +
                                             linha("CLI1", "60") + ", " + linha("CLI2", "40") + "]}");
  EXPECT_EQ(codigo, 0) << resposta.dump();
  EXPECT_EQ(Linhas(), "8800106:CLI1:6 8800106:CLI2:4");
}

// Rows to replicate are saved for the entry and stay for the process's later entries; reversal
// writes the negated leg and the copy, replication a copy, each committed by the area itself.
TEST_F(CentroCustoCliTest, ABatchHostApportionsReversesAndReplicatesAnEntry) {
  Cadastrar();
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, VALOR) VALUES (8800101, '88', 880001, 10);");
  const std::string& entrada = kEntrada;
  const std::vector<cli::Json> json =
      Lote(R"({"op": "CentroCusto.ProcessoCentroCustoAReplicar", "args": {)" + entrada +
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
  ASSERT_EQ(json.size(), 4u);
  EXPECT_EQ(json[0]["result"], cli::Json::parse(R"({"status": true, "mensagens": []})"));
  EXPECT_EQ(
      costcenter_it::Todas(*FSessao,
                           "SELECT RECNUM, CODIGOCENTROCUSTO, VALOR, CONTRAPARTIDA FROM ZTRATEIOCENTROCUSTO WHERE "
                           "RECNUM BETWEEN 8800100 AND 8800199 ORDER BY RECNUM, CODIGOCENTROCUSTO"),
      "8800101:CLI1:3.33:N 8800101:CLI2:6.67:N 8800102:CLI1:0.33:N 8800102:CLI2:0.67:N "
      "8800103:CLI1:-3.33:S 8800103:CLI2:-6.67:S 8800104:CLI1:3.33:N 8800104:CLI2:6.67:N "
      "8800105:CLI1:3.33:N 8800105:CLI2:6.67:N");
}

// A reversal or replication run again (a retried request) is refused: its legs already have rows.
TEST_F(CentroCustoCliTest, AReplayedReversalOrReplicationIsRefusedAndWritesNothing) {
  Cadastrar();
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, VALOR) VALUES (8800121, '88', 880001, 100);");
  ASSERT_EQ(Chamar("CentroCusto.ProcessoCentroCusto", "{" + kEntrada + R"(8800121, "ValorLancto": 100})").first, 0);
  const std::pair<const char*, std::string> chamadas[] = {
      {"CentroCusto.estornarRateio", R"({"recNumEstornado": 8800121, "recNumPernaNegativa": 8800122})"},
      {"CentroCusto.ReplicarRateio", R"({"recNumAReplicar": 8800121, "recNumNovoRateio": 8800123})"},
  };
  for (const auto& [operacao, args] : chamadas) {
    ASSERT_EQ(Chamar(operacao, args).first, 0) << operacao;
    const std::string depois = Linhas();
    const auto [codigo, resposta] = Chamar(operacao, args);
    EXPECT_EQ(codigo, 1) << operacao;
    EXPECT_EQ(resposta.value("exception", ""), "Exception");
    EXPECT_EQ(Linhas(), depois);
  }
  EXPECT_EQ(costcenter_it::Todas(*FSessao,
                                 "SELECT RECNUM, SUM(VALOR) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN "
                                 "8800121 AND 8800123 GROUP BY RECNUM ORDER BY 1"),
            "8800121:100 8800122:-100 8800123:100");
}

// Orders from 8700100, cost centers CLP*, account 870001, branch 87.
class CentroCustoPedidoCliTest : public CentroCustoCli {
 protected:
  void SetUp() override {
    CentroCustoCli::SetUp();
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
  std::string Linhas() {
    return costcenter_it::Todas(*FSessao,
                                "SELECT NUMPED, PREST, CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE "
                                "NUMPED BETWEEN 8700100 AND 8700199 ORDER BY NUMPED, PREST, CODIGOCENTROCUSTO");
  }
};

const std::string kPrestacao =
    R"("CodFilial": "87", "CodConta": "870001", "DataLancto": "2026-03-10", "Prestacao": "1", "NumeroPedido": )";

// A batch host opens the form, changes a row, validates and saves the installment.
TEST_F(CentroCustoPedidoCliTest, ABatchHostEditsTheFormAndSavesTheInstallment) {
  const std::vector<cli::Json> json = Lote(
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
  ASSERT_EQ(json.size(), 6u);
  EXPECT_EQ(json[0]["result"]["rateios"].size(), 2u) << json[0].dump();
  EXPECT_EQ(json[2]["result"]["codigo"], 0) << json[2].dump();
  // The values no longer total the installment: they are recomputed from the percentages.
  EXPECT_EQ(Linhas(), "8700101:1:CLP1:5 8700101:1:CLP2:4");
}

// A bad order number is the module's refusal (exit 1) with its text; a database failure while
// saving keeps the area's message with the cause reachable (exit 2); nothing is written.
TEST_F(CentroCustoPedidoCliTest, RefusalsAndDatabaseFailuresKeepTheirClass) {
  auto [codigo, resposta] = Chamar("CentroCustoPedidoCompraConsumo.ProcessoCentroCusto",
                                   "{" + kPrestacao + R"(-8700101, "ValorLancto": 10})");
  EXPECT_EQ(codigo, 1) << resposta.dump();
  EXPECT_EQ(resposta.value("message", ""), "Número de pedido inválido para o rateio de Centro de Custo: -8700101!");
  // 60% of 10^13 does not fit the row's VALOR (numeric(14,2)).
  std::tie(codigo, resposta) = Chamar("CentroCustoPedidoCompraConsumo.ProcessoCentroCusto",
                                      "{" + kPrestacao + R"(8700102, "ValorLancto": 1e13})");
  EXPECT_EQ(codigo, 2) << resposta.dump();
  EXPECT_EQ(resposta.value("message", ""), "Não foi possível inserir lançamentos de centro de custo.");
  ASSERT_TRUE(resposta.contains("cause")) << resposta.dump();
  EXPECT_EQ(resposta["cause"].value("exception", "").rfind("EOra", 0), 0u) << resposta.dump();
  EXPECT_EQ(Linhas(), "");
}

}  // namespace
