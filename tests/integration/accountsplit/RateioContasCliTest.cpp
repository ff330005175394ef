#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "OperationRegistry.h"
#include "RecordJson.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

namespace {

// The command line commits: its rows use keys of their own (branch 86, accounts 86000x, cost
// centers CLA*, apportionments 860..862), read and removed through a session of the test's own.
const char* const kLimpeza =
    "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '86';"
    "DELETE FROM public.ZTRATEIOCONTAS WHERE CODFILIAL = '86';"
    "DELETE FROM public.ZTLANC WHERE CODFILIAL = '86';"
    "DELETE FROM public.ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA BETWEEN 860 AND 869;"
    "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 860000 AND 860009;"
    "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 860000 AND 860009;"
    "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'CLA%';"
    "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'CLA%';"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 8601;";

class RateioContasCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
    FSessao = testsupport::NewSession("tests:cli-rateio");
    FSessao->ExecuteScript(kLimpeza);
    // 860 = 860001 (cost centers CLA1 60% / CLA2 40%) 50% + 860002 (none) 50%; 862 has an item
    // whose account is not a number.
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('CLA1', 'UM'), ('CLA2', 'DOIS');"
        "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'CLA1'), (10, 1, 'CLA2');"
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (860001, 'COM CENTROS', 'S'), "
        "(860002, 'SEM CENTROS', 'N');"
        "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (860001, 'CLA1', 60), "
        "(860001, 'CLA2', 40);"
        "INSERT INTO public.ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES "
        "(860, '860001', 50), (860, '860002', 50), (862, '860001', 50), (862, 'X1', 50);"
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (8601, 'FORNECEDOR DA LINHA DE COMANDO');");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }

  // One batch of the command line: its exit code and one answer per line.
  std::pair<int, std::vector<cli::Json>> Lote(const std::vector<std::string>& linhas) {
    std::string texto;
    for (const std::string& linha : linhas) texto += linha + "\n";
    std::istringstream pedido(texto);
    std::ostringstream saida, erros;
    const int codigo = cli::Main({"call", "--batch"}, pedido, saida, erros);
    std::vector<cli::Json> respostas;
    std::istringstream leitura(saida.str());
    for (std::string linha; std::getline(leitura, linha);) respostas.push_back(cli::Json::parse(linha));
    return {codigo, respostas};
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  std::unique_ptr<TOraSession> FSessao;
};

const std::string kProcesso =
    R"({"op": "RateioContas.ProcessoRateioConta", "args": {"CodFilial": "86", "CodRateioConta": )";
const std::string kInserir =
    R"({"op": "RateioContas.InserirRateioConta", "record": {"TIPOLANC": "C", "VALOR": 200, "HISTORICO": "RATEIO", )"
    R"("TIPOPARCEIRO": "F", "CODFORNEC": 8601, "CODFILIAL": "86", "DTLANC": "2030-05-10", "DTVENC": "2030-05-20", )"
    R"("DTEMISSAO": "2030-05-10"}})";

// A batch host proposes, validates and posts a split; the answer names the entries created.
TEST_F(RateioContasCliTest, ABatchProposesValidatesAndPostsASplit) {
  const auto [codigo, respostas] = Lote({kProcesso + R"(860, "ValorLancto": 200, "DataLancto": "2030-05-10"}})",
                                         R"({"op": "RateioContas.ValidarDadosInformadosParaInclusao"})", kInserir,
                                         R"({"op": "RateioContas.GetCdsCentroCustoConta"})"});
  ASSERT_EQ(codigo, 0) << respostas.back().dump();
  ASSERT_EQ(respostas.size(), 4u);
  const cli::Json& contas = respostas[0]["result"]["contas"];
  ASSERT_EQ(contas.size(), 2u);
  EXPECT_EQ(contas[0]["CODCONTA"], 860001);
  EXPECT_EQ(contas[1]["VALOR"], 100);
  EXPECT_EQ(respostas[0]["result"]["centros_custo"].size(), 2u);
  EXPECT_EQ(respostas[1]["result"]["status"], true);
  const cli::Json& recnums = respostas[2]["result"]["RecNums"];
  ASSERT_EQ(recnums.size(), 2u);
  EXPECT_NE(recnums[0], recnums[1]);
  EXPECT_EQ(respostas[2]["record"]["RECNUM"], recnums[1]);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '86' AND RECNUMPRINC = " + recnums[0].dump()), "2");
  EXPECT_EQ(
      Valor("SELECT SUM(VALOR) FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '86' AND RECNUM = " + recnums[0].dump()),
      "100");
  // Every row of the area's cost centers, whatever account the form is on.
  EXPECT_EQ(respostas[3]["result"].size(), 2u);
}

// An item whose account is not a number fails as a database failure (exit 2) with a Portuguese
// message; posting after it refuses as a business failure (exit 1); nothing is written.
TEST_F(RateioContasCliTest, ANonNumericAccountFailsCleanlyAndNothingIsPosted) {
  const auto [codigo, respostas] = Lote({kProcesso + R"(862, "ValorLancto": 200}})", kInserir});
  EXPECT_EQ(codigo, 2);
  ASSERT_EQ(respostas.size(), 2u);
  EXPECT_EQ(respostas[0]["ok"], false);
  EXPECT_EQ(respostas[0]["message"].get<std::string>().rfind("Não foi possível carregar o rateio de contas 862.", 0),
            0u)
      << respostas[0].dump();
  EXPECT_TRUE(respostas[0].contains("cause")) << respostas[0].dump();
  EXPECT_EQ(respostas[1]["ok"], false);
  EXPECT_EQ(respostas[1]["message"],
            "Nenhuma conta informada para o rateio de contas! Nenhum lançamento foi incluído.");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '86'"), "0");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTRATEIOCONTAS WHERE CODFILIAL = '86'"), "0");
}

// Wrong JSON types are refused before anything runs, with the field named.
TEST_F(RateioContasCliTest, WrongTypesAreUsageErrors) {
  const std::string processo = R"({"op": "RateioContas.ProcessoRateioConta", "args": )";
  const std::pair<std::string, const char*> casos[] = {
      {processo + R"({"CodFilial": "86", "CodRateioConta": "860", "ValorLancto": 1}})",
       "args.CodRateioConta: esperado número, recebido texto."},
      {processo + R"({"CodFilial": "86", "CodRateioConta": 860.5, "ValorLancto": 1}})",
       "args.CodRateioConta: esperado número inteiro"},
      {processo + R"({"CodFilial": "86", "CodRateioConta": 860, "ValorLancto": true}})",
       "args.ValorLancto: esperado número"},
      {processo + R"({"CodFilial": 86, "CodRateioConta": 860, "ValorLancto": 1}})", "args.CodFilial: esperado texto"},
      {processo + R"({"CodFilial": "860", "CodRateioConta": 860, "ValorLancto": 1}})",
       "args.CodFilial: no máximo 2 caracteres."},
      {processo + R"({"CodFilial": "86", "ValorLancto": 1}})", "args: campo obrigatório ausente \"CodRateioConta\"."},
      {R"({"op": "RateioContas.SetParametrosConta", "args": {"ContaGerencial": 1, "AlterandoLancto": "S"}})",
       "args.AlterandoLancto: esperado true/false"},
      {R"({"op": "RateioContas.InserirRateioConta", "record": {"VALOR": "10"}})", "record.VALOR: esperado número"},
      {R"({"op": "RateioContas.InserirRateioConta", "args": {}})", "RateioContas.InserirRateioConta recebe \"record\""},
  };
  for (const auto& [linha, inicio] : casos) {
    SCOPED_TRACE(linha);
    const auto [codigo, respostas] = Lote({linha});
    EXPECT_EQ(codigo, 2);
    ASSERT_EQ(respostas.size(), 1u);
    EXPECT_EQ(respostas[0]["exception"], "UsageError");
    EXPECT_EQ(respostas[0]["message"].get<std::string>().rfind(inicio, 0), 0u) << respostas[0].dump();
  }
}

// Every slot of the area is an operation of the command line.
TEST(RateioContasOperacoes, EverySlotIsAnOperation) {
  for (const char* slot : {"GetUTILIZACENTROCUSTO_2663",
                           "setUTILIZACENTROCUSTO_2663",
                           "GetStatusRateioContas",
                           "GetCdsCentroCustoConta",
                           "GetCdsContasRateio",
                           "GetCodigoFilial",
                           "GetPermissaoEditarLancamento",
                           "GetValorTotalLancamento",
                           "GetCodigoRateioPadrao",
                           "InserirCentroCustoCdsRateioCentroCusto",
                           "InserirContasCdsRateioContas",
                           "CancelarUltimoRateioEfetuado",
                           "InserirRateioConta",
                           "SetParametrosCentroCusto",
                           "SetParametrosConta",
                           "ProcessoRateioConta",
                           "ValidaCamposInterfaceCentroCusto",
                           "ValidaCamposInterfaceRateioConta",
                           "ValidarDadosInformadosParaInclusao",
                           "CancelaRateioContas"}) {
    EXPECT_NE(cli::Operations().Find(std::string("RateioContas.") + slot), nullptr) << slot;
  }
}

}  // namespace
