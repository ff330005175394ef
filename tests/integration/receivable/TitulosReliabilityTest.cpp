#include <gtest/gtest.h>

#include <cstdlib>
#include <latch>
#include <memory>
#include <ostream>
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

// Title insertion under concurrent sessions. The cases commit, so they use a sale no other test
// uses and remove what they wrote.
namespace {

constexpr double kVenda = 977800;

struct Sessao : testsupport::HostSession {
  IFin_ContasReceber* Area = nullptr;

  explicit Sessao(int numero) : HostSession("tests-titulos-" + std::to_string(numero)) {
    Area = Financeiro->GetContasReceber();
  }
  std::string Incluir() {
    TContasReceberZTPrest t;
    t.CODFILIAL = "1";
    t.NUMTRANSVENDA = kVenda;
    t.DUPLIC = 7780;
    t.DTVENC = TDateTime::EncodeDate(2027, 2, 1);
    t.CODCOB = "D";
    t.VALOR = 10;
    t.CODCLI = 97780;
    t.CODUSUR = 1;
    TOraTransaction transacao(Host->Sessao());
    Area->Incluir(t);
    transacao.Commit();
    return t.PREST;
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Host->Sessao(), sql).value_or(""); }
  void Limpar() {
    TOraTransaction transacao(Host->Sessao());
    TOraQuery query(&Host->Sessao());
    query.SQL.Add("DELETE FROM ZTPREST WHERE NUMTRANSVENDA = " + ShortestDecimal(kVenda));
    query.ExecSQL();
    transacao.Commit();
  }
};

class TitulosReliability : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { FVerificacao.Limpar(); }
  void TearDown() override { FVerificacao.Limpar(); }
  Sessao FVerificacao{0};
};

INSTANTIATE_TEST_SUITE_P(Sessoes, TitulosReliability, ::testing::Values(2, 8));

// Sessions inserting titles of one sale at once each get an instalment of their own, and each is
// told the instalment it took.
TEST_P(TitulosReliability, ConcurrentInsertionsOfOneSaleNeverShareAnInstalment) {
  const int sessoes = GetParam();
  std::vector<std::string> erros(sessoes);
  std::vector<std::string> prestacoes(sessoes);
  std::latch juntas(sessoes);
  std::vector<std::thread> threads;
  for (int s = 0; s < sessoes; ++s) {
    threads.emplace_back([&, s] {
      bool conectada = false;
      try {
        Sessao sessao(s + 1);
        conectada = true;
        juntas.arrive_and_wait();
        prestacoes[s] = sessao.Incluir();
      } catch (const std::exception& e) {
        erros[s] = e.what();
        if (!conectada) juntas.count_down();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_EQ(erros, std::vector<std::string>(sessoes));

  std::set<std::string> esperadas;
  for (int p = 1; p <= sessoes; ++p) esperadas.insert(std::to_string(p));
  EXPECT_EQ(std::set<std::string>(prestacoes.begin(), prestacoes.end()), esperadas);
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) || ':' || COUNT(DISTINCT PREST) FROM ZTPREST WHERE NUMTRANSVENDA = " +
                               ShortestDecimal(kVenda)),
            std::to_string(sessoes) + ":" + std::to_string(sessoes));
}

// Hostile titles through the command line: each is refused with a clear message and exit code
// before anything is written, or, for text that looks like SQL, stored exactly as written.
struct Pedido {
  const char* Nome;
  const char* Campos;  // the record's fields after those of a valid title
  int Saida;
  const char* Mensagem;
};

void PrintTo(const Pedido& c, std::ostream* out) {
  *out << c.Nome;
}

class TitulosHostileInput : public ::testing::TestWithParam<Pedido> {};

INSTANTIATE_TEST_SUITE_P(Cli, TitulosHostileInput,
                         ::testing::Values(Pedido{"TextWhereANumberGoes", R"("NUMTRANSVENDA": "977800")", 2,
                                                  "record.NUMTRANSVENDA: esperado número, recebido texto."},
                                           Pedido{"FractionalSale", R"("NUMTRANSVENDA": 977800.5)", 2, "NUMTRANSVENDA"},
                                           Pedido{"BranchWiderThanItsColumn", R"("CODFILIAL": "1' OR '1'='1")", 2,
                                                  "CODFILIAL"},
                                           Pedido{"ImpossibleDueDate", R"("DTVENC": "2027-02-30")", 2, "DTVENC"},
                                           Pedido{"NegativeValue", R"("VALOR": -5)", 1,
                                                  "O valor informado não pode estar vazio ou igual a zero."},
                                           Pedido{"SqlInTheObservation", R"("OBS2": "x'); DELETE FROM ZTPREST; --")", 0,
                                                  "\"result\": \"1\""}),
                         [](const ::testing::TestParamInfo<Pedido>& info) { return info.param.Nome; });

TEST_P(TitulosHostileInput, IsRefusedClearlyOrStoredAsWritten) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  Sessao verificacao(0);
  verificacao.Limpar();
  std::istringstream entrada(
      std::string(R"({"record": {"CODFILIAL": "1", "NUMTRANSVENDA": 977800, "DUPLIC": 7780, "DTVENC": "2027-02-01",)"
                  R"( "CODCOB": "D", "VALOR": 10, "CODCLI": 97780, "CODUSUR": 1, )") +
      GetParam().Campos + "}}");
  std::ostringstream saida, erros;
  EXPECT_EQ(cli::Main({"call", "ContasReceber.Incluir"}, entrada, saida, erros), GetParam().Saida)
      << saida.str() << erros.str();
  EXPECT_NE(saida.str().find(GetParam().Mensagem), std::string::npos) << saida.str();
  EXPECT_EQ(verificacao.Valor("SELECT COUNT(*) || ':' || MAX(OBS2) FROM ZTPREST WHERE NUMTRANSVENDA = 977800"),
            GetParam().Saida == 0 ? "1:x'); DELETE FROM ZTPREST; --" : "0:");
  verificacao.Limpar();
}

}  // namespace
