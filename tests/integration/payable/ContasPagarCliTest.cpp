#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "Cli.h"
#include "RecordJson.h"
#include "support/TestDatabase.h"

namespace {

using cli::Json;

// An entry posted through the command line as the host's users do, then again with a lower-case
// type; each request's transaction is rolled back, so the database is left as found.
TEST(PayableCli, PostsAnEntryAndAnswersTheRecordOrTheRejectionsClassAndMessage) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  Json pedido{{"op", "ContasPagar.Incluir"},
              {"flags", {{"rollback", true}, {"routine", 1234}}},
              {"record",
               {{"RECNUM", 987654},
                {"TIPOLANC", "C"},
                {"VALOR", 42.5},
                {"CODCONTA", 3101},
                {"HISTORICO", "VIA CLI"},
                {"TIPOPARCEIRO", "O"},
                {"CODFILIAL", "1"},
                {"DTLANC", "2030-05-10"},
                {"DTVENC", "2030-05-20"},
                {"DTEMISSAO", "2030-05-10"}}}};
  std::string linhas = pedido.dump() + "\n";
  pedido["record"]["TIPOLANC"] = "p";
  std::istringstream entrada(linhas + pedido.dump() + "\n");
  std::ostringstream saida, erros;
  EXPECT_EQ(cli::Main({"call", "--batch"}, entrada, saida, erros), 1) << saida.str() << erros.str();
  std::istringstream respostas(saida.str());
  std::string postado, recusado;
  ASSERT_TRUE(std::getline(respostas, postado) && std::getline(respostas, recusado)) << saida.str();
  const Json resposta = Json::parse(postado);
  EXPECT_EQ(resposta["ok"], true);
  EXPECT_EQ(resposta["result"], true);
  EXPECT_EQ(resposta["record"]["NFSERVICO"], "N");
  EXPECT_EQ(resposta["record"]["RECNUM"], 987654);
  EXPECT_EQ(Json::parse(recusado), Json::parse(R"({"ok": false, "exception": "ExTipoLancamentoDiferentePeC",
      "message": "O tipo de lançamento deve ser 'P' - Provisionado ou 'C' = Confirmado."})"));
}

}  // namespace
