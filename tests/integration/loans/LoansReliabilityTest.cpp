#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Loan contracts under concurrent sessions and hostile input. The concurrency cases commit, so
// they use an account and contract numbers no other test uses and remove what they wrote.
namespace {

using cli::Json;

constexpr double kConta = 9932;
const std::string kMarca = "RELIAB-LOAN";

// Saves a contract in a transaction of the session's own, committed.
bool Salvar(testsupport::HostSession& sessao, TFin_ContratoEmprestimo& c) {
  TOraTransaction transacao(sessao.Host->Sessao());
  const bool salvo = sessao.Financeiro->GetContratoEmprestimo()->Salvar(c);
  transacao.Commit();
  return salvo;
}

TFin_ContratoEmprestimo Contrato(int sessao, int i) {
  TFin_ContratoEmprestimo c;
  c.Inicializar();
  c.NUMCONTRATO = kMarca + "-" + std::to_string(sessao) + "-" + std::to_string(i);
  c.TIPOCONTRATO = i % 2 == 0 ? "3" : "4";
  c.CODBANCO = kConta;
  c.VLRTOTAL = 100 + sessao + i * 0.01;
  return c;
}

class LoansReliability : public ::testing::Test {
 protected:
  void SetUp() override { Limpar(); }
  void TearDown() override { Limpar(); }
  void Limpar() {
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    for (const std::string& sql : {"DELETE FROM ZTMOVCR WHERE CODBANCO = " + ShortestDecimal(kConta),
                                   "DELETE FROM ZTESTCR WHERE CODBANCO = " + ShortestDecimal(kConta),
                                   "DELETE FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO LIKE '" + kMarca + "%'"}) {
      TOraQuery query(&FVerificacao.Host->Sessao());
      query.SQL.Add(sql);
      query.ExecSQL();
    }
    transacao.Commit();
  }
  std::string Valor(const std::string& sql) {
    return testsupport::QueryValue(FVerificacao.Host->Sessao(), sql).value_or("");
  }
  testsupport::HostSession FVerificacao{"tests-loans-0"};
};

// Sessions saving new contracts into one account at once, then all saving the first one again:
// every contract gets its own key, its money enters once, and the account's balance is the sum of
// its movements.
TEST_F(LoansReliability, ConcurrentSavesDrawDistinctKeysAndPostEachLoanOnce) {
  const int sessoes = 4;
  const int contratos = testsupport::SoakSessions(15);
  std::vector<std::vector<double>> chaves(sessoes);
  TFin_ContratoEmprestimo compartilhado = Contrato(0, 0);
  ASSERT_TRUE(Salvar(FVerificacao, compartilhado));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-loans", [&](testsupport::HostSession& sessao, int s) {
        for (int i = 0; i < contratos; ++i) {
          TFin_ContratoEmprestimo c = Contrato(s + 1, i);
          if (!Salvar(sessao, c)) throw std::runtime_error("not saved");
          chaves[static_cast<std::size_t>(s)].push_back(c.NUMSEQCONTRATOEMPRESTIMO);
          TFin_ContratoEmprestimo outra_vez = compartilhado;
          outra_vez.OBSERVACAO = "sessao " + std::to_string(s);
          if (!Salvar(sessao, outra_vez)) throw std::runtime_error("shared contract not updated");
        }
      });
  ASSERT_EQ(erros, std::vector<std::string>(sessoes));

  std::set<double> distintas;
  for (const auto& lista : chaves) distintas.insert(lista.begin(), lista.end());
  EXPECT_EQ(distintas.size(), static_cast<std::size_t>(sessoes * contratos));
  const std::string conta = ShortestDecimal(kConta);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = " + conta), std::to_string(sessoes * contratos + 1));
  EXPECT_EQ(Valor("SELECT SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = " + conta),
            Valor("SELECT SUM(VLRTOTAL) FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO LIKE '" + kMarca + "%'"));
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODCOB = 'D' AND CODBANCO = " + conta),
            Valor("SELECT SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = " + conta));
}

// Hostile requests through the command line: each is refused with a clear message and exit code,
// and nothing is written.
TEST_F(LoansReliability, HostileInputIsRefusedClearlyAndWritesNothing) {
  const struct {
    const char* nome;
    const char* registro;
    std::vector<std::string> flags;
    int saida;
    const char* mensagem;
  } casos[] = {
      {"TextWhereANumberGoes",
       R"({"TIPOCONTRATO": "3", "CODBANCO": "9932", "VLRTOTAL": 10})",
       {},
       2,
       "record.CODBANCO: esperado número, recebido texto."},
      {"TypeWiderThanItsColumn", R"({"TIPOCONTRATO": "33", "CODBANCO": 9932, "VLRTOTAL": 10})", {}, 2, "TIPOCONTRATO"},
      {"ContractNumberTooWide",
       R"({"NUMCONTRATO": "123456789012345678901", "TIPOCONTRATO": "1"})",
       {},
       2,
       "NUMCONTRATO"},
      {"NoAccountForItsMoney",
       R"({"TIPOCONTRATO": "4", "VLRTOTAL": 10})",
       {},
       1,
       "Informe o banco/caixa que recebe o valor do contrato de empréstimo."},
      {"NegativeValue",
       R"({"TIPOCONTRATO": "3", "CODBANCO": 9932, "VLRTOTAL": -1})",
       {},
       1,
       "O valor total do contrato de empréstimo deve ser maior que zero."},
      {"NoTransaction", R"({"TIPOCONTRATO": "1"})", {"--no-transaction"}, 1, "Transação não iniciada."},
  };
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const std::string antes = Valor("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO");
    std::vector<std::string> argumentos{"call", "ContratoEmprestimo.Salvar"};
    argumentos.insert(argumentos.end(), caso.flags.begin(), caso.flags.end());
    std::istringstream entrada(std::string(R"({"record": )") + caso.registro + "}");
    std::ostringstream saida, erros;
    EXPECT_EQ(cli::Main(argumentos, entrada, saida, erros), caso.saida) << saida.str() << erros.str();
    const Json resposta = Json::parse(saida.str());
    EXPECT_EQ(resposta["ok"], false);
    EXPECT_NE(resposta["message"].get<std::string>().find(caso.mensagem), std::string::npos) << saida.str();
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO"), antes);
  }
}

}  // namespace
