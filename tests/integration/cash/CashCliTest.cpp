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

Resposta Chamar(const std::vector<std::string>& args, const std::string& pedido) {
  const std::string dsn = testsupport::TestDsn();
  // Without the test database the command line would start a private cluster of its own.
  if (dsn.empty()) return {-1, nullptr, "QUORVIN_TEST_DSN não definido"};
  setenv("QUORVIN_DSN", dsn.c_str(), 1);
  std::istringstream in(pedido);
  std::ostringstream out;
  std::ostringstream err;
  Resposta resposta;
  resposta.exit = cli::Main(args, in, out, err);
  resposta.err = err.str();
  if (!out.str().empty()) resposta.answer = nlohmann::json::parse(out.str());
  return resposta;
}

TEST(CashCli, PostsAMovementAndWritesBackWhatWasDrawn) {
  const Resposta r = Chamar({"call", "MovimentacaoNumerarios.Incluir", "--rollback", "--user", "1"},
                            R"({"record": {"DATA": "2025-03-10T09:30:00", "CODBANCO": 9401, "CODCOB": "TST",
                                "VALOR": 12.5, "TIPO": "D", "HISTORICO": "PELA LINHA DE COMANDO", "CODFUNC": 1,
                                "DTCOMPENSACAO": "2025-03-11", "TRAVARSALDO": false}})");
  ASSERT_EQ(r.exit, 0) << r.answer.dump() << r.err;
  EXPECT_EQ(r.answer["ok"], true);
  EXPECT_EQ(r.answer["result"], true);
  EXPECT_GT(r.answer["record"]["NUMTRANS"].get<double>(), 0);
  EXPECT_EQ(r.answer["record"]["CONCILIACAO"], "OK");
  EXPECT_EQ(r.answer["record"]["CODFUNCCONCIL"], 1);
  EXPECT_EQ(r.answer["record"]["DTCOMPENSACAO"], "2025-03-11T00:00:00");
}

TEST(CashCli, RefusesAHistoryWiderThanItsColumnBeforeRunning) {
  const Resposta r =
      Chamar({"call", "MovimentacaoNumerarios.Incluir", "--rollback"},
             R"({"record": {"CODBANCO": 9401, "CODCOB": "TST", "HISTORICO": ")" + std::string(201, 'X') + R"("}})");
  EXPECT_EQ(r.exit, 2);
  EXPECT_EQ(r.answer["exception"], "UsageError");
  EXPECT_EQ(r.answer["message"], "record.HISTORICO: no máximo 200 caracteres.");
}

TEST(CashCli, RebuildOfThePlainBalanceAloneIsABusinessFailure) {
  const Resposta r = Chamar({"call", "MovimentacaoNumerarios.RecalcularSaldos", "--rollback"},
                            R"({"record": {"CODBANCO": 9401, "CODCOB": "TST", "RECALCULARSALDO": true}})");
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.answer["exception"], "Exception");
  EXPECT_EQ(r.answer["message"],
            "Erro ao realizar o recálculo do saldo do Caixa/Banco:\rNenhuma opção para recálculo foi selecionada. "
            "Escolha pelo menos uma: Saldo Conciliado ou Saldo por Data de Compensação.");
}

TEST(CashCli, BalanceGettersTakeTheirArguments) {
  const Resposta mes = Chamar({"call", "MovimentacaoNumerarios.ObterSaldoFinalMesAnterior", "--rollback"},
                              R"({"args": {"CodigoBanco": 9401, "CodigoMoeda": "TST", "Ano": 2024, "Mes": 1}})");
  ASSERT_EQ(mes.exit, 0) << mes.answer.dump() << mes.err;
  EXPECT_EQ(mes.answer["result"], 0);
  const Resposta faltando = Chamar({"call", "MovimentacaoNumerarios.ObterSaldoFinalUltimoMes", "--rollback"},
                                   R"({"args": {"CodigoBanco": 9401, "CodigoMoeda": "TST"}})");
  EXPECT_EQ(faltando.exit, 2);
  EXPECT_EQ(faltando.answer["message"], "args: campo obrigatório ausente \"DtConcil\".");
}

}  // namespace
