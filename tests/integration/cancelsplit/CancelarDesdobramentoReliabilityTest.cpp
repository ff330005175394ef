// The cancellation of splits under concurrent sessions. These cases commit, so they use sales no
// other test uses and remove what they wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::HostSession;

constexpr long long kVenda = 965901;

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
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    Executar(FVerificacao.Host->Sessao(), "DELETE FROM ZTPREST WHERE NUMTRANSVENDA = " + std::to_string(kVenda));
    Executar(FVerificacao.Host->Sessao(), "DELETE FROM ZTDESDPREST WHERE NUMTRANSVENDA = " + std::to_string(kVenda));
    transacao.Commit();
  }

  HostSession FVerificacao{"desdobramento-verificacao"};
};

TEST_F(CancelarDesdobramentoReliability, ConcurrentSessionsNeverTakeTheSameInstalment) {
  {
    // Instalment 3 exists only in the copies kept by a split; "A" is no number and does not count.
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    Executar(FVerificacao.Host->Sessao(), "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST) VALUES (965901, '1')");
    Executar(FVerificacao.Host->Sessao(), "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST) VALUES (965901, 'A')");
    Executar(FVerificacao.Host->Sessao(), "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST) VALUES (965901, '3')");
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
  TOraQuery q(&FVerificacao.Host->Sessao());
  q.SQL.Add("SELECT PREST FROM ZTPREST WHERE NUMTRANSVENDA = 965901 AND PREST NOT IN ('1', 'A')");
  q.Open();
  for (; !q.Eof(); q.Next()) tomadas.insert(q.FieldByName("PREST").AsString());
  std::set<std::string> esperadas;
  for (int i = 0; i < sessoes; ++i) esperadas.insert(std::to_string(4 + i));
  EXPECT_EQ(tomadas, esperadas);
}

}  // namespace
