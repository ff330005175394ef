#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/TestDatabase.h"

namespace {

using Json = nlohmann::ordered_json;

struct Resposta {
  int Saida = -1;
  Json Corpo;
};

// Runs `quorvin-fin call` as the host's users do, one request on stdin; its transaction is rolled
// back, so the database is left as found.
Resposta Chamar(const std::string& operacao, const Json& requisicao, const std::string& opcoes = "") {
  const std::filesystem::path arquivo = std::filesystem::temp_directory_path() / "payable-cli-request.json";
  std::ofstream(arquivo) << requisicao.dump();
  const std::string comando = "QUORVIN_DSN='" + testsupport::TestDsn() + "' '" + QUORVIN_CLI_PATH + "' call " +
                              operacao + " --rollback " + opcoes + " < '" + arquivo.string() + "' 2>/dev/null";
  std::FILE* saida = popen(comando.c_str(), "r");
  std::string texto;
  char bloco[4096];
  while (std::fgets(bloco, sizeof bloco, saida) != nullptr) texto += bloco;
  const int estado = pclose(saida);
  std::filesystem::remove(arquivo);
  return {WIFEXITED(estado) ? WEXITSTATUS(estado) : -1, Json::parse(texto)};
}

Json Despesa() {
  return Json{{"RECNUM", 987654},       {"TIPOLANC", "C"},          {"VALOR", 42.5},    {"CODCONTA", 3101},
              {"HISTORICO", "VIA CLI"}, {"TIPOPARCEIRO", "O"},      {"CODFILIAL", "1"}, {"DTLANC", "2030-05-10"},
              {"DTVENC", "2030-05-20"}, {"DTEMISSAO", "2030-05-10"}};
}

TEST(PayableCli, PostsAnEntryAndAnswersTheRecord) {
  const Resposta resposta = Chamar("ContasPagar.Incluir", Json{{"record", Despesa()}}, "--routine 1234");
  ASSERT_EQ(resposta.Saida, 0) << resposta.Corpo.dump();
  EXPECT_EQ(resposta.Corpo["ok"], true);
  EXPECT_EQ(resposta.Corpo["result"], true);
  EXPECT_EQ(resposta.Corpo["record"]["NFSERVICO"], "N");
  EXPECT_EQ(resposta.Corpo["record"]["RECNUM"], 987654);
}

TEST(PayableCli, RejectionComesBackWithItsClassAndMessage) {
  Json registro = Despesa();
  registro["TIPOLANC"] = "p";
  const Resposta resposta = Chamar("ContasPagar.Incluir", Json{{"record", registro}});
  EXPECT_EQ(resposta.Saida, 1);
  EXPECT_EQ(resposta.Corpo["ok"], false);
  EXPECT_EQ(resposta.Corpo["exception"], "ExTipoLancamentoDiferentePeC");
  EXPECT_EQ(resposta.Corpo["message"], "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado.");
}

TEST(PayableCli, ParametersAreReadBack) {
  const Resposta resposta = Chamar("ContasPagar.GetParametros", Json{{"args", Json::object()}});
  ASSERT_EQ(resposta.Saida, 0) << resposta.Corpo.dump();
  EXPECT_EQ(resposta.Corpo["result"]["NUMDIASMINDESPPAG_1393"], 0);
  EXPECT_EQ(resposta.Corpo["result"]["LancarZTLancBloqGeral"], false);
}

}  // namespace
