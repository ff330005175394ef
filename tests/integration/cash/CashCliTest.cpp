#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "Cli.h"
#include "support/TestDatabase.h"

namespace {

struct Resposta {
  int exit = 0;
  nlohmann::json answer;
  std::string err;
};

Resposta Chamar(const std::string& operacao, const std::string& pedido) {
  const std::string dsn = testsupport::TestDsn();
  // Without the test database the command line would start a private cluster of its own.
  if (dsn.empty()) return {-1, nullptr, "QUORVIN_TEST_DSN não definido"};
  setenv("QUORVIN_DSN", dsn.c_str(), 1);
  std::istringstream in(pedido);
  std::ostringstream out;
  std::ostringstream err;
  Resposta resposta;
  resposta.exit = cli::Main({"call", "MovimentacaoNumerarios." + operacao, "--rollback", "--user", "1"}, in, out, err);
  resposta.err = err.str();
  if (!out.str().empty()) resposta.answer = nlohmann::json::parse(out.str());
  return resposta;
}

TEST(CashCli, PostsAMovementAndWritesBackWhatWasDrawn) {
  const Resposta r = Chamar("Incluir", R"({"record": {"DATA": "2025-03-10T09:30:00", "CODBANCO": 9401, "CODCOB": "TST",
      "VALOR": 12.5, "TIPO": "D", "HISTORICO": "PELA LINHA DE COMANDO", "CODFUNC": 1, "DTCOMPENSACAO": "2025-03-11",
      "TRAVARSALDO": false}})");
  ASSERT_EQ(r.exit, 0) << r.answer.dump() << r.err;
  EXPECT_EQ(r.answer["result"], true);
  EXPECT_GT(r.answer["record"]["NUMTRANS"].get<double>(), 0);
  EXPECT_EQ(r.answer["record"]["CONCILIACAO"], "OK");
  EXPECT_EQ(r.answer["record"]["CODFUNCCONCIL"], 1);
  EXPECT_EQ(r.answer["record"]["DTCOMPENSACAO"], "2025-03-11T00:00:00");
  const Resposta mes = Chamar("ObterSaldoFinalMesAnterior",
                              R"({"args": {"CodigoBanco": 9401, "CodigoMoeda": "TST", "Ano": 2024, "Mes": 1}})");
  ASSERT_EQ(mes.exit, 0) << mes.answer.dump() << mes.err;
  EXPECT_EQ(mes.answer["result"], 0);
}

// A missing argument is refused before running (exit 2); a rebuild refused by its checks is a
// business failure (exit 1). Record widths are checked against the table by the unit tests.
TEST(CashCli, RefusalsCarryTheirExitClassAndMessage) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"ObterSaldoFinalUltimoMes", R"({"args": {"CodigoBanco": 9401, "CodigoMoeda": "TST"}})",
       "2 UsageError args: campo obrigatório ausente \"DtConcil\"."},
      {"RecalcularSaldos", R"({"record": {"CODBANCO": 9401, "CODCOB": "TST", "RECALCULARSALDO": true}})",
       "1 Exception Erro ao realizar o recálculo do saldo do Caixa/Banco:\rNenhuma opção para recálculo foi "
       "selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo por Data de Compensação."}};
  for (const auto& [operacao, pedido, esperado] : cases) {
    const Resposta r = Chamar(operacao, pedido);
    EXPECT_EQ(std::to_string(r.exit) + " " + r.answer.value("exception", "") + " " + r.answer.value("message", ""),
              esperado);
  }
}

}  // namespace
