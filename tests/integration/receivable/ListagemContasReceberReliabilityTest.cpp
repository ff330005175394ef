#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Payment tracking under concurrent sessions: each session's temporary rows are its own, so runs of
// the same kind at once never delete or read one another's. The titles are committed under sales
// 989500 and up and removed afterwards.
namespace {

void Exec(TOraSession& sessao, const std::string& sql) {
  TOraQuery query(&sessao);
  query.SQL.Add(sql);
  query.ExecSQL();
}

void Commitado(const std::vector<std::string>& comandos) {
  testsupport::HostSession sessao("tests-rastreio-dados");
  TOraTransaction transacao(sessao.Host->Sessao());
  for (const std::string& sql : comandos) Exec(sessao.Host->Sessao(), sql);
  transacao.Commit();
}

void Limpar() {
  Commitado({"DELETE FROM ZTPRESTDNI WHERE NUMTRANSVENDA BETWEEN 989500 AND 989599",
             "DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 989500 AND 989599",
             "DELETE FROM ZTCLIENT WHERE CODCLI = 98951"});
}

TEST(ContasReceberRastreioReliability, SessionsOfOneKindKeepTheirOwnRows) {
  Limpar();
  std::vector<std::string> dados = {"INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (98951, 'RASTREIO')"};
  for (int i = 0; i < 3; ++i) {
    const std::string venda = std::to_string(989500 + i);
    dados.push_back(
        "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB) "
        "VALUES (" +
        venda + ", '1', " + venda + ", '1', 98951, 10, 10, DATE '2026-03-01', 'BK')");
    dados.push_back("INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (" + venda + ", '1', 1)");
  }
  Commitado(dados);

  const int sessoes = testsupport::SoakSessions(8);
  std::latch escreveram(sessoes);
  std::vector<int> linhas(static_cast<std::size_t>(sessoes), -1);
  std::vector<std::string> depois(static_cast<std::size_t>(sessoes));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-rastreio", [&](testsupport::HostSession& sessao, int numero) {
        TOraSession& s = sessao.Host->Sessao();
        RFin_FiltrosOpcoesContasReceber filtros;
        filtros.Clientes = "98951";
        // Each run deletes the kind's rows and writes its own, committed, while the others do the same.
        for (int rodada = 0; rodada < 3; ++rodada) {
          TOraTransaction transacao(s);
          TClientDataSet resultado;
          sessao.Financeiro->GetContasReceber()->CarregarPagamentos(s, filtros, TStatusRastreamentoTitulos::srtTodos,
                                                                    TTipoRegistrosRastreamento::trrSped,
                                                                    TPersistenciaDados::tpdTabelaTemporaria, resultado);
          linhas[static_cast<std::size_t>(numero)] = static_cast<int>(resultado.RecordCount());
          transacao.Commit();
        }
        escreveram.arrive_and_wait();
        depois[static_cast<std::size_t>(numero)] =
            testsupport::QueryValue(s, "SELECT COUNT(*) FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = 'S'").value_or("");
        TOraTransaction transacao(s);
        sessao.Financeiro->GetContasReceber()->ApagarDadosRastreamentoDePagamento(s,
                                                                                  TTipoRegistrosRastreamento::trrSped);
        transacao.Commit();
      });
  Limpar();
  for (int i = 0; i < sessoes; ++i) {
    const auto n = static_cast<std::size_t>(i);
    EXPECT_EQ(erros[n], "") << i;
    EXPECT_EQ(linhas[n], 3) << i;
    EXPECT_EQ(depois[n], "3") << i;  // after every session has written and committed
  }
}

}  // namespace
