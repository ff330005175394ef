#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Call.h"
#include "Cli.h"
#include "RecordJson.h"
#include "Runtime.h"
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

// Parameter reads of a batch of `linhas` postings (each rolled back) through one runtime, as
// `quorvin-fin call --batch` runs them.
std::uint64_t LeiturasDeUmLote(int linhas) {
  cli::CallFlags flags;
  cli::Runtime runtime(flags);
  std::string texto;
  for (int linha = 0; linha < linhas; ++linha) {
    const Json pedido{{"op", "ContasPagar.Incluir"},
                      {"flags", {{"rollback", true}, {"routine", 1234}}},
                      {"record",
                       {{"RECNUM", 987000 + linha},
                        {"TIPOLANC", "C"},
                        {"VALOR", 10},
                        {"CODCONTA", 3101},
                        {"HISTORICO", "LOTE"},
                        {"TIPOPARCEIRO", "O"},
                        {"CODFILIAL", "1"},
                        {"DTLANC", "2030-05-10"},
                        {"DTVENC", "2030-05-20"},
                        {"DTEMISSAO", "2030-05-10"}}}};
    texto += pedido.dump() + "\n";
  }
  std::istringstream entrada(texto);
  std::ostringstream saida;
  const std::uint64_t antes = runtime.Host().LeiturasParametros();
  EXPECT_EQ(cli::RunBatch(runtime, entrada, saida, flags), 0) << saida.str();
  return runtime.Host().LeiturasParametros() - antes;
}

// A batch reads the parameters its postings use once: every later line costs only the check of
// the parameters' version.
TEST(PayableCli, ABatchReadsItsParametersOnceAndChecksTheirVersionPerLine) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const std::uint64_t uma = LeiturasDeUmLote(1);
  EXPECT_GT(uma, 2u);
  EXPECT_EQ(LeiturasDeUmLote(25), uma + 24);
}

}  // namespace
