// The cancellation of splits under concurrent sessions. These cases commit, so they use sales no
// other test uses and remove what they wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::HostSession;

constexpr long long kVenda = 965901;
constexpr long long kVendaCancelada = 965911;
constexpr long long kVendaDoLote = 965921;

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery query(&sessao);
  query.SQL.Add(sql);
  query.ExecSQL();
}

class CancelarDesdobramentoReliability : public ::testing::Test {
 protected:
  void SetUp() override { Limpar(); }
  void TearDown() override { Limpar(); }

  void Limpar() {
    TOraTransaction transacao(Verificacao());
    for (const long long venda : {kVenda, kVendaCancelada, kVendaDoLote}) {
      const std::string v = std::to_string(venda);
      Verificacao().ExecuteScript("DELETE FROM ZTPREST WHERE NUMTRANSVENDA = " + v +
                                  "; DELETE FROM ZTDESDPREST WHERE NUMTRANSVENDA = " + v +
                                  "; DELETE FROM ZTDESD WHERE NUMTRANSVENDAORIG = " + v + ";");
    }
    transacao.Commit();
  }
  TOraSession& Verificacao() { return FVerificacao.Host->Sessao(); }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Verificacao(), sql).value_or("?"); }

  // Title <venda>-1 of 30,00 split into <venda>-2 and <venda>-3, committed.
  void Desdobrar(long long venda) {
    const std::string v = std::to_string(venda);
    TOraSession& sessao = Verificacao();
    TOraTransaction transacao(sessao);
    Executar(sessao,
             "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, VPAGO, DTPAG, DTVENC) VALUES (" + v +
                 ", '1', 8201, 'DESD', 30, 30, DATE '2026-01-05', DATE '2030-02-05'), (" + v +
                 ", '2', 8201, 'BK', 10, NULL, NULL, DATE '2030-02-05'), (" + v +
                 ", '3', 8201, 'BK', 20, NULL, NULL, DATE '2030-02-05')");
    Executar(sessao,
             "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, DTVENC, OPERACAODESD, QTREPLICAS) "
             "VALUES (" +
                 v + ", '1', 8201, 'BK', 30, DATE '2030-02-05', 'TONormal', 0)");
    Executar(sessao, "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" + v +
                         ", '1', " + v + ", '2'), (" + v + ", '1', " + v + ", '3')");
    transacao.Commit();
  }

  HostSession FVerificacao{"desdobramento-verificacao"};
};

TEST_F(CancelarDesdobramentoReliability, ConcurrentSessionsNeverTakeTheSameInstalment) {
  {
    // Instalment 3 exists only in the copies kept by a split; "A" is no number and does not count.
    TOraTransaction transacao(Verificacao());
    Executar(Verificacao(), "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST) VALUES (965901, '1')");
    Executar(Verificacao(), "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST) VALUES (965901, 'A')");
    Executar(Verificacao(), "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST) VALUES (965901, '3')");
    transacao.Commit();
  }
  const int sessoes = std::min(testsupport::SoakSessions(), 20);
  const auto erros = testsupport::InParallel(sessoes, "desdobramento-prest", [](HostSession& s, int) {
    TOraSession& sessao = s.Host->Sessao();
    TOraTransaction transacao(sessao);
    const std::string prest =
        testsupport::QueryValue(sessao, "SELECT FNC_GETPROXIMAPREST(965901) FROM DUAL").value_or("");
    Executar(sessao, "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST) VALUES (965901, '" + prest + "')");
    transacao.Commit();
  });
  for (const std::string& erro : erros) EXPECT_EQ(erro, "");
  std::set<std::string> tomadas;
  TOraQuery q(&Verificacao());
  q.SQL.Add("SELECT PREST FROM ZTPREST WHERE NUMTRANSVENDA = 965901 AND PREST NOT IN ('1', 'A')");
  q.Open();
  for (; !q.Eof(); q.Next()) tomadas.insert(q.FieldByName("PREST").AsString());
  std::set<std::string> esperadas;
  for (int i = 0; i < sessoes; ++i) esperadas.insert(std::to_string(4 + i));
  EXPECT_EQ(tomadas, esperadas);
}

// Sessions that listed the same cancellation confirm it at once: the first to lock the rows
// restores the title; each of the others, once the first commits, finds the rows changed and writes
// nothing.
class ConfirmacoesConcorrentes : public CancelarDesdobramentoReliability, public ::testing::WithParamInterface<int> {};

TEST_P(ConfirmacoesConcorrentes, OnlyOneSessionRestoresTheTitle) {
  Desdobrar(kVendaCancelada);
  const int sessoes = GetParam();
  std::latch listadas(sessoes);
  const auto erros = testsupport::InParallel(sessoes, "desdobramento-confirmar", [&](HostSession& s, int) {
    TOraTransaction transacao(s.Host->Sessao());
    IFin_CancelarDesdobramento& cancelamento = *s.Financeiro->CancelarDesdobramento(tmZTPrest);
    bool listou = false;
    try {
      (void)cancelamento.ListaAcoes({std::make_shared<TRegistroZtPrest>(kVendaCancelada, "1")});
      listou = true;
    } catch (...) {
      listadas.count_down();
      throw;
    }
    listadas.arrive_and_wait();
    if (listou) cancelamento.Confirmar();
    transacao.Commit();
  });
  int restauraram = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++restauraram;
    } else {
      EXPECT_EQ(erro, ExceptionTitulosAlterados::Mensagem);
    }
  }
  EXPECT_EQ(restauraram, 1);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 965911 AND PREST NOT IN ('1', '2', '3')"), "1");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 965911 AND CODCOB = 'DESD'"), "3");
  EXPECT_EQ(Valor("SELECT COUNT(*) || '/' || MAX(QTREPLICAS) FROM ZTDESDPREST WHERE NUMTRANSVENDA = "
                  "965911 AND PREST = '1'"),
            "1/1");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTDESD WHERE NUMTRANSVENDADEST = 965911 AND PRESTDEST = '4'"), "2");
}

INSTANTIATE_TEST_SUITE_P(Sessoes, ConfirmacoesConcorrentes, ::testing::Values(2, 8));

// A batch lists in one line and confirms in a later one (each line its own transaction); the run
// of the batch refuses a second confirmation, and a call without a transaction refuses first.
TEST_F(CancelarDesdobramentoReliability, ABatchListsConfirmsAndRefusesASecondConfirmation) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  Desdobrar(kVendaDoLote);
  const std::string registros = R"("Registros": [{"NUMTRANSVENDA": 965921, "PREST": "1"}])";
  const std::string lote = R"({"op": "CancelarDesdobramento.Confirmar", "flags": {"no_transaction": true}, "args": )"
                           R"({"Modo": 1, )" +
                           registros + "}}\n" + R"({"op": "CancelarDesdobramento.ListaAcoes", "args": {"Modo": 1, )" +
                           registros + "}}\n" + R"({"op": "CancelarDesdobramento.Confirmar", "args": {"Modo": 1}})" +
                           "\n" + R"({"op": "CancelarDesdobramento.Confirmar", "args": {"Modo": 1}})" + "\n";
  std::istringstream in(lote);
  std::ostringstream out, err;
  EXPECT_EQ(cli::Main({"call", "--batch"}, in, out, err), 1);
  std::istringstream linhas(out.str());
  std::vector<cli::Json> respostas;
  for (std::string linha; std::getline(linhas, linha);) respostas.push_back(cli::Json::parse(linha));
  ASSERT_EQ(respostas.size(), 4u) << out.str();
  EXPECT_EQ(respostas[0]["message"], MensagensCancelamento::kSemTransacao);
  EXPECT_EQ(respostas[1]["result"]["folhas"].size(), 2u);
  EXPECT_EQ(respostas[2]["result"],
            cli::Json::parse(R"({"passo": 4, "restaurados": [{"NUMTRANSVENDA": 965921, "PREST": "4"}]})"));
  EXPECT_EQ(respostas[3]["message"], MensagensCancelamento::kListaAcoesInvalida);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 965921 AND CODCOB = 'BK'"), "1");
}

}  // namespace
