#include <gtest/gtest.h>

#include <chrono>
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
#include "frame/Uclsfin_except.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/TFin_GerarBoletos.h"
#include "support/ConcurrentHosts.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

// Bank data generation under concurrent sessions and hostile input. The concurrency cases commit, so
// they use a bank and sale transactions no other test uses and remove what they wrote.
namespace {

using cli::Json;

constexpr double kBanco = 9891;
constexpr int kPrimeiraTransacao = 989100;

struct Sessao : testsupport::HostSession {
  IFin_GeracaoDadosBancarios* Area = nullptr;

  explicit Sessao(int numero) : HostSession("tests-bankdata-" + std::to_string(numero)) {
    Area = dynamic_cast<IFin_GeracaoDadosBancarios*>(Financeiro->GetContasReceber());
  }
  bool Gerar(double transacao) {
    TFin_GerarBoletos boleto;
    boleto.NUMTRANSVENDA = transacao;
    boleto.getParametros().gerarDadosBancarios(true);
    return Area->GerarDadosBancarios(boleto);
  }
  void Exec(const std::string& sql) {
    TOraQuery query(&Host->Sessao());
    query.SQL.Add(sql);
    query.ExecSQL();
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Host->Sessao(), sql).value_or(""); }
  void Commitado(const std::vector<std::string>& comandos) {
    TOraTransaction transacao(Host->Sessao());
    for (const std::string& sql : comandos) Exec(sql);
    transacao.Commit();
  }
  void Limpar() {
    const std::string faixa =
        " BETWEEN " + std::to_string(kPrimeiraTransacao) + " AND " + std::to_string(kPrimeiraTransacao + 999);
    Commitado({"DELETE FROM ZTPREST WHERE NUMTRANSVENDA" + faixa,
               "DELETE FROM ZTBANCONOSSONUMERO WHERE CODBANCO = " + ShortestDecimal(kBanco),
               "DELETE FROM ZTCOB WHERE CODCOB = 'BKRL'",
               "DELETE FROM ZTBANCO WHERE CODBANCO = " + ShortestDecimal(kBanco),
               "DELETE FROM ZTCLIENT WHERE CODCLI = 98901"});
  }
  void Preparar(int transacoes) {
    std::vector<std::string> comandos{
        "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCOMPENSACAO) VALUES (" +
            ShortestDecimal(kBanco) + ", 'BRADESCO CONCORRENCIA', 237, '1172', '403005', '09', '237')",
        "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BKRL', 'S', " + ShortestDecimal(kBanco) + ")",
        "INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (98901, 'PAGADOR CONCORRENCIA')"};
    for (int t = 0; t < transacoes; ++t) {
      for (const char* prest : {"1", "2"}) {
        comandos.push_back(
            "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, "
            "VALOR) VALUES (" +
            std::to_string(kPrimeiraTransacao + t) + ", '" + prest + "', " + std::to_string(kPrimeiraTransacao + t) +
            ", '1', 98901, 'BKRL', TO_DATE('2026-06-01', 'YYYY-MM-DD'), 19.99)");
      }
    }
    Commitado(comandos);
  }
};

class DadosBancariosReliability : public ::testing::Test {
 protected:
  void SetUp() override { FVerificacao.Limpar(); }
  void TearDown() override { FVerificacao.Limpar(); }
  Sessao FVerificacao{0};
};

// While one session holds the bank, a second is refused at once with the designed message instead
// of waiting, and its transaction stays usable; once the first commits, the second goes through.
TEST_F(DadosBancariosReliability, ASecondSessionIsRefusedAtOnceWhileTheBankIsInUse) {
  FVerificacao.Preparar(2);
  Sessao primeira(1);
  Sessao segunda(2);
  TOraTransaction transacao_primeira(primeira.Host->Sessao());
  ASSERT_TRUE(primeira.Gerar(kPrimeiraTransacao));
  {
    TOraTransaction transacao_segunda(segunda.Host->Sessao());
    EXPECT_FAILS_WITH(segunda.Gerar(kPrimeiraTransacao + 1),
                      "ExNaoFoiPossivelBloqueiRegistroBancario: Processo não permitido no momento!\rEste banco está "
                      "sendo utilizado por outro processo no Quorvin! Favor aguardar...");
    EXPECT_EQ(segunda.Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = " +
                            std::to_string(kPrimeiraTransacao + 1) + " AND CODBARRA IS NULL"),
              "2");
    // The package takes the same lock when it is called by other means.
    EXPECT_FAILS_WITH(segunda.Exec("BEGIN PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS('1', 'BKRL', 9891, 989101, 0, "
                                   "'1', 'N', 'N', 'S'); END;"),
                      std::string("EOraBusy: ORA-00054: could not obtain lock on row in relation \"ztbanco\""));
  }
  transacao_primeira.Commit();
  TOraTransaction transacao_segunda(segunda.Host->Sessao());
  EXPECT_TRUE(segunda.Gerar(kPrimeiraTransacao + 1));
  transacao_segunda.Commit();
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(DISTINCT NOSSONUMBCO) FROM ZTPREST WHERE CODCOB = 'BKRL'"), "4");
}

// Sessions generating for one bank at once, each retrying while the bank is busy: every title gets
// its own number, the counter ends at the number of titles, and no session ever waited on the lock.
TEST_F(DadosBancariosReliability, ConcurrentSessionsNeverRepeatAnOwnNumber) {
  const int sessoes = 4;
  const int transacoes_por_sessao = testsupport::SoakSessions(5);
  FVerificacao.Preparar(sessoes * transacoes_por_sessao);
  std::vector<std::string> erros(sessoes);
  std::vector<int> recusas(sessoes, 0);
  std::latch juntas(sessoes);
  std::vector<std::thread> threads;
  for (int s = 0; s < sessoes; ++s) {
    threads.emplace_back([&, s] {
      bool conectada = false;
      try {
        Sessao sessao(s + 1);
        conectada = true;
        juntas.arrive_and_wait();
        for (int t = 0; t < transacoes_por_sessao; ++t) {
          const double transacao = kPrimeiraTransacao + s * transacoes_por_sessao + t;
          while (true) {
            TOraTransaction transacao_sessao(sessao.Host->Sessao());
            try {
              sessao.Gerar(transacao);
            } catch (const ExNaoFoiPossivelBloqueiRegistroBancario&) {
              ++recusas[s];
              std::this_thread::sleep_for(std::chrono::milliseconds(2));
              continue;
            }
            transacao_sessao.Commit();
            break;
          }
        }
      } catch (const std::exception& e) {
        erros[s] = e.what();
        if (!conectada) juntas.count_down();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_EQ(erros, std::vector<std::string>(sessoes));

  const int titulos = sessoes * transacoes_por_sessao * 2;
  EXPECT_EQ(FVerificacao.Valor("SELECT COUNT(*) || ':' || COUNT(DISTINCT NOSSONUMBCO) || ':' || MIN(NOSSONUMBCO) || "
                               "':' || MAX(NOSSONUMBCO) FROM ZTPREST WHERE CODCOB = 'BKRL' AND CODBARRA IS NOT NULL"),
            std::to_string(titulos) + ":" + std::to_string(titulos) +
                ":00000000001:" + std::string(11 - std::to_string(titulos).size(), '0') + std::to_string(titulos));
  EXPECT_EQ(FVerificacao.Valor("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = 9891"),
            std::to_string(titulos));
}

// Hostile requests through the command line: each is refused with a clear message and exit code,
// and nothing is written.
struct Pedido {
  const char* Nome;
  const char* Argumentos;
  int Saida;
  const char* Mensagem;
};

void PrintTo(const Pedido& c, std::ostream* out) {
  *out << c.Nome;
}

class DadosBancariosHostileInput : public ::testing::TestWithParam<Pedido> {};

INSTANTIATE_TEST_SUITE_P(Cli, DadosBancariosHostileInput,
                         ::testing::Values(Pedido{"TextWhereANumberGoes", R"({"NUMTRANSVENDA": "989100"})", 2,
                                                  "args.NUMTRANSVENDA: esperado número, recebido texto."},
                                           Pedido{"FractionalTransaction", R"({"NUMTRANSVENDA": 989100.5})", 2,
                                                  "NUMTRANSVENDA"},
                                           Pedido{"InstalmentWiderThanItsColumn",
                                                  R"({"NUMTRANSVENDA": 989100, "PREST": "1' OR '1'='1"})", 2, "PREST"},
                                           Pedido{"NoTransactionNumber", R"({"PREST": "1"})", 2, "NUMTRANSVENDA"},
                                           Pedido{"UnknownTitle", R"({"NUMTRANSVENDA": 989999})", 1,
                                                  "Não foi encontrado o registro do contas a receber."},
                                           Pedido{"QuoteInInstalment", R"({"NUMTRANSVENDA": 989100, "PREST": "'"})", 1,
                                                  "Não foi encontrado o registro do contas a receber."}),
                         [](const ::testing::TestParamInfo<Pedido>& info) { return info.param.Nome; });

TEST_P(DadosBancariosHostileInput, IsRefusedClearlyAndWritesNothing) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  Sessao verificacao(0);
  verificacao.Limpar();
  verificacao.Preparar(1);
  std::istringstream entrada(std::string(R"({"args": )") + GetParam().Argumentos + "}");
  std::ostringstream saida, erros;
  EXPECT_EQ(cli::Main({"call", "ContasReceber.GerarDadosBancarios"}, entrada, saida, erros), GetParam().Saida)
      << saida.str() << erros.str();
  const Json resposta = Json::parse(saida.str());
  EXPECT_EQ(resposta["ok"], false);
  EXPECT_NE(resposta["message"].get<std::string>().find(GetParam().Mensagem), std::string::npos) << saida.str();
  EXPECT_EQ(verificacao.Valor("SELECT COUNT(*) FROM ZTPREST WHERE CODCOB = 'BKRL' AND CODBARRA IS NOT NULL"), "0");
  verificacao.Limpar();
}

}  // namespace
