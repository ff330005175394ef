#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "RecordJson.h"
#include "Runtime.h"
#include "support/TestDatabase.h"

namespace {

using cli::Json;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string dsn = testsupport::TestDsn();
    ASSERT_FALSE(dsn.empty());
    setenv("QUORVIN_DSN", dsn.c_str(), 1);
    setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  }

  int Run(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int exit = cli::Main(args, in, out, err);
    FOut = out.str();
    FErr = err.str();
    return exit;
  }

  std::string FOut;
  std::string FErr;
};

// The plug-in answers each line of a batch; the batch exits with the worst line's code.
TEST_F(CliTest, BatchRunsEachLineAndReportsTheWorstExit) {
  const std::string input =
      "{\"op\": \"Frame.GetVersao\"}\n"
      "\n"
      "{\"op\": \"CancelarDesdobramento.Confirmar\", \"flags\": {\"routine\": 749}, \"args\": {\"Modo\": 2}}\n"
      "{\"op\": \"Frame.Nada\"}\n"
      "nao e json\n"
      "{\"op\": \"Frame.GetVersao\", \"flags\": {\"confirm\": \"talvez\"}}\n";
  EXPECT_EQ(Run({"call", "--batch"}, input), 2);
  std::istringstream lines(FOut);
  std::vector<Json> answers;
  for (std::string line; std::getline(lines, line);) answers.push_back(Json::parse(line));
  ASSERT_EQ(answers.size(), 5u);
  EXPECT_EQ(answers[0], Json::parse(R"({"ok": true, "result": "1.0.0"})"));
  // Nothing listed yet: the run refuses to confirm, a business refusal.
  EXPECT_EQ(answers[1]["message"], "Chamada do método 'ListaAcoes' inválida!");
  EXPECT_EQ(answers[2]["exception"], "UsageError");
  EXPECT_EQ(answers[3]["exception"], "UsageError");
  EXPECT_EQ(answers[4]["message"], "flags.confirm: use \"ok\" ou \"cancel\".");
}

// A database error is reported (exit 2), not a crash.
TEST_F(CliTest, ParamSetAndSqlGoThroughTheDataAccessLayerAndReportItsErrors) {
  ASSERT_EQ(Run({"param", "set", "CLI_TESTE", "S", "--branch", "7"}), 0) << FErr;
  ASSERT_EQ(Run({"sql", "SELECT VALOR, CODFILIAL FROM ZTPARAMETROS WHERE NOME = :NOME", "-p", "NOME=CLI_TESTE"}), 0)
      << FErr;
  EXPECT_EQ(Json::parse(FOut), Json::parse(R"([{"VALOR": "S", "CODFILIAL": "7"}])"));
  ASSERT_EQ(Run({"sql", "DELETE FROM ZTPARAMETROS WHERE NOME = 'CLI_TESTE'"}), 0) << FErr;
  EXPECT_EQ(Json::parse(FOut)["rows_affected"], 1);
  // A block changes rows without counting them: it says so instead of answering 0.
  ASSERT_EQ(Run({"sql", "BEGIN UPDATE ZTPARAMETROS SET VALOR = VALOR WHERE NOME = 'CLI_TESTE'; END;", "--rollback"}), 0)
      << FErr;
  EXPECT_EQ(Json::parse(FOut), Json::parse(R"({"block": true, "rows_affected": null})"));
  EXPECT_EQ(Run({"sql", "SELECT * FROM TABELA_QUE_NAO_EXISTE"}), 2);
  EXPECT_NE(FErr.find("EOraError"), std::string::npos) << FErr;
}

// One transaction per call: kept on success, undone with --rollback; without one the module refuses
// to write.
TEST_F(CliTest, EachCallIsOneTransaction) {
  const std::string movimento =
      R"({"record": {"CODBANCO": 9811, "CODCOB": "CLI", "TIPO": "D", "VALOR": 5, "DATA": "2026-01-02"}})";
  const auto linhas = [this] {
    EXPECT_EQ(Run({"sql", "SELECT COUNT(*) QTD FROM ZTMOVCR WHERE CODBANCO = 9811"}), 0) << FErr;
    return Json::parse(FOut)[0]["QTD"].dump();
  };
  ASSERT_EQ(Run({"call", "MovimentacaoNumerarios.Incluir", "--rollback"}, movimento), 0) << FOut << FErr;
  EXPECT_EQ(linhas(), "0");
  EXPECT_EQ(Run({"call", "MovimentacaoNumerarios.Incluir", "--no-transaction"}, movimento), 1);
  EXPECT_EQ(Json::parse(FOut)["exception"], "ExTransacaoNaoIniciada");
  ASSERT_EQ(Run({"call", "MovimentacaoNumerarios.Incluir"}, movimento), 0) << FOut << FErr;
  EXPECT_EQ(linhas(), "1");
  for (const char* tabela : {"ZTMOVCR", "ZTESTCR"}) {
    EXPECT_EQ(Run({"sql", std::string("DELETE FROM ") + tabela + " WHERE CODBANCO = 9811"}), 0) << FErr;
  }
}

// Lock waits are unbounded unless the caller bounds them for the invocation or a batch request.
TEST_F(CliTest, LockWaitsAreUnboundedUnlessTheCallerBoundsThem) {
  const std::string setting = "SELECT current_setting('lock_timeout') T FROM DUAL";
  ASSERT_EQ(Run({"sql", setting}), 0) << FErr;
  EXPECT_EQ(Json::parse(FOut)[0]["T"], "0");
  ASSERT_EQ(Run({"sql", setting, "--lock-timeout", "3"}), 0) << FErr;
  EXPECT_EQ(Json::parse(FOut)[0]["T"], "3s");
  EXPECT_EQ(Run({"sql", setting, "--lock-timeout", "-1"}), 2);
  EXPECT_EQ(Run({"call", "--batch"}, R"({"op": "Frame.GetVersao", "flags": {"lock_timeout": 2.5}})"), 2);
  EXPECT_EQ(Json::parse(FOut)["message"], "flags.lock_timeout: esperado número inteiro de segundos entre 0 e 86400.");
}

}  // namespace

namespace {

// Files the module saves go to the host's spool folder, never to the folder the command runs in.
TEST(CliFolders, SpoolFolderComesFromTheEnvironmentOrTheBuildFolder) {
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  unsetenv("QUORVIN_SPOOL_DIR");
  unsetenv("QUORVIN_PROD_DIR");
  const cli::HostFolders defaults = cli::ResolveFolders();
  const std::filesystem::path build = std::filesystem::path(QUORVIN_PLUGIN_PATH).parent_path().parent_path();
  EXPECT_EQ(defaults.Prod, (build / "prod").string());
  EXPECT_EQ(defaults.Spool, (build / "spool").string());
  EXPECT_TRUE(std::filesystem::is_directory(defaults.Spool));

  const std::filesystem::path chosen = std::filesystem::temp_directory_path() / "quorvin-spool-escolhido";
  std::filesystem::remove_all(chosen);
  setenv("QUORVIN_SPOOL_DIR", chosen.c_str(), 1);
  setenv("QUORVIN_PROD_DIR", "/opt/quorvin", 1);
  const cli::HostFolders set = cli::ResolveFolders();
  EXPECT_EQ(set.Spool, chosen.string());
  EXPECT_EQ(set.Prod, "/opt/quorvin");
  EXPECT_TRUE(std::filesystem::is_directory(chosen));
  unsetenv("QUORVIN_SPOOL_DIR");
  unsetenv("QUORVIN_PROD_DIR");
  std::filesystem::remove_all(chosen);
}

}  // namespace
