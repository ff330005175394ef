#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>
#include <latch>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
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

struct Sessao : testsupport::HostSession {
  IFin_ContratoEmprestimo* Area = nullptr;

  explicit Sessao(int numero) : HostSession("tests-loans-" + std::to_string(numero)) {
    Area = Financeiro->GetContratoEmprestimo();
  }
  bool Salvar(TFin_ContratoEmprestimo& c) {
    TOraTransaction transacao(Host->Sessao());
    const bool salvo = Area->Salvar(c);
    transacao.Commit();
    return salvo;
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Host->Sessao(), sql).value_or(""); }
  void Limpar() {
    TOraTransaction transacao(Host->Sessao());
    for (const std::string& sql : {"DELETE FROM ZTMOVCR WHERE CODBANCO = " + ShortestDecimal(kConta),
                                   "DELETE FROM ZTESTCR WHERE CODBANCO = " + ShortestDecimal(kConta),
                                   "DELETE FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO LIKE '" + kMarca + "%'"}) {
      TOraQuery query(&Host->Sessao());
      query.SQL.Add(sql);
      query.ExecSQL();
    }
    transacao.Commit();
  }
};

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
  void SetUp() override { FVerificacao.Limpar(); }
  void TearDown() override { FVerificacao.Limpar(); }
  Sessao FVerificacao{0};
};

// Sessions saving new contracts into one account at once, then all saving the first one again:
// every contract gets its own key, its money enters once, and the account's balance is the sum of
// its movements.
TEST_F(LoansReliability, ConcurrentSavesDrawDistinctKeysAndPostEachLoanOnce) {
  const int sessoes = 4;
  const int contratos = testsupport::SoakSessions(15);
  std::vector<std::string> erros(sessoes);
  std::vector<std::vector<double>> chaves(sessoes);
  TFin_ContratoEmprestimo compartilhado = Contrato(0, 0);
  ASSERT_TRUE(FVerificacao.Salvar(compartilhado));
  std::latch juntas(sessoes);
  std::vector<std::thread> threads;
  for (int s = 0; s < sessoes; ++s) {
    threads.emplace_back([&, s] {
      bool conectada = false;
      try {
        Sessao sessao(s + 1);
        conectada = true;
        juntas.arrive_and_wait();
        for (int i = 0; i < contratos; ++i) {
          TFin_ContratoEmprestimo c = Contrato(s + 1, i);
          if (!sessao.Salvar(c)) erros[s] = "not saved";
          chaves[s].push_back(c.NUMSEQCONTRATOEMPRESTIMO);
          TFin_ContratoEmprestimo outra_vez = compartilhado;
          outra_vez.OBSERVACAO = "sessao " + std::to_string(s);
          if (!sessao.Salvar(outra_vez)) erros[s] = "shared contract not updated";
        }
      } catch (const std::exception& e) {
        erros[s] = e.what();
        if (!conectada) juntas.count_down();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_EQ(erros, std::vector<std::string>(sessoes));

  std::set<double> distintas;
  for (const auto& lista : chaves) distintas.insert(lista.begin(), lista.end());
  EXPECT_EQ(distintas.size(), static_cast<std::size_t>(sessoes * contratos));
  const std::string conta = ShortestDecimal(kConta);
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = " + conta),
            std::to_string(sessoes * contratos + 1));
  EXPECT_EQ(
      FVerificacao.Valor("SELECT SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = " + conta),
      FVerificacao.Valor("SELECT SUM(VLRTOTAL) FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO LIKE '" + kMarca + "%'"));
  EXPECT_EQ(FVerificacao.Valor("SELECT VALOR FROM ZTESTCR WHERE CODCOB = 'D' AND CODBANCO = " + conta),
            FVerificacao.Valor("SELECT SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = " + conta));
}

// Hostile requests through the command line: each is refused with a clear message and exit code,
// and nothing is written.
struct Pedido {
  const char* Nome;
  const char* Registro;
  std::vector<std::string> Flags;
  int Saida;
  const char* Mensagem;
};

// A case prints as its name, in test listings and failure reports.
void PrintTo(const Pedido& c, std::ostream* out) {
  *out << c.Nome;
}

class LoansHostileInput : public ::testing::TestWithParam<Pedido> {};

INSTANTIATE_TEST_SUITE_P(
    Cli, LoansHostileInput,
    ::testing::Values(
        Pedido{"TextWhereANumberGoes",
               R"({"TIPOCONTRATO": "3", "CODBANCO": "9932", "VLRTOTAL": 10})",
               {},
               2,
               "record.CODBANCO: esperado número, recebido texto."},
        Pedido{"TypeWiderThanItsColumn",
               R"({"TIPOCONTRATO": "33", "CODBANCO": 9932, "VLRTOTAL": 10})",
               {},
               2,
               "TIPOCONTRATO"},
        Pedido{"ContractNumberTooWide",
               R"({"NUMCONTRATO": "123456789012345678901", "TIPOCONTRATO": "1"})",
               {},
               2,
               "NUMCONTRATO"},
        Pedido{"NoAccountForItsMoney",
               R"({"TIPOCONTRATO": "4", "VLRTOTAL": 10})",
               {},
               1,
               "Informe o banco/caixa que recebe o valor do contrato de empréstimo."},
        Pedido{"NegativeValue",
               R"({"TIPOCONTRATO": "3", "CODBANCO": 9932, "VLRTOTAL": -1})",
               {},
               1,
               "O valor total do contrato de empréstimo deve ser maior que zero."},
        Pedido{"NoTransaction", R"({"TIPOCONTRATO": "1"})", {"--no-transaction"}, 1, "Transação não iniciada."}),
    [](const ::testing::TestParamInfo<Pedido>& info) { return info.param.Nome; });

TEST_P(LoansHostileInput, IsRefusedClearlyAndWritesNothing) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  Sessao verificacao(0);
  const std::string antes = verificacao.Valor("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO");
  std::vector<std::string> argumentos{"call", "ContratoEmprestimo.Salvar"};
  argumentos.insert(argumentos.end(), GetParam().Flags.begin(), GetParam().Flags.end());
  std::istringstream entrada(std::string(R"({"record": )") + GetParam().Registro + "}");
  std::ostringstream saida, erros;
  EXPECT_EQ(cli::Main(argumentos, entrada, saida, erros), GetParam().Saida) << saida.str() << erros.str();
  const Json resposta = Json::parse(saida.str());
  EXPECT_EQ(resposta["ok"], false);
  EXPECT_NE(resposta["message"].get<std::string>().find(GetParam().Mensagem), std::string::npos) << saida.str();
  EXPECT_EQ(verificacao.Valor("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO"), antes);
}

}  // namespace
