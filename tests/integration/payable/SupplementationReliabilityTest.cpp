#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <latch>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Approval and rejection of held entries under concurrent sessions: each thread is a host of its
// own (its own connection, facade and transaction) on committed rows, committing whatever its call
// answered, as the command-line host does. The rows live under keys no other test uses (branch 95,
// entries from 9500000, bank 95, employee 9501) and are removed before and after.
namespace {

constexpr double kPrimeiroLancamento = 9500000;
constexpr double kBanco = 95;

const char* const kLimpeza =
    "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 9500000 AND 9599999;"
    "DELETE FROM public.ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM BETWEEN 9500000 AND 9599999;"
    "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 9500000 AND 9599999;"
    "DELETE FROM public.ZTLANCBLOQ WHERE RECNUM BETWEEN 9500000 AND 9599999;"
    "DELETE FROM public.ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: 95_____ %';"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 95;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 95;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 9501;";

// One user's session: a host with the module's facade.
struct Sessao : testsupport::HostSession {
  explicit Sessao(testsupport::HostSession& base) : HostSession(std::move(base)) {}
  IFin_ContasPagar& ContasPagar() { return *Financeiro->GetContasPagar(); }
};

// What one session's call answered; `Erro` when it threw (or could not connect).
struct Resposta {
  bool Resultado = false;
  std::string Mensagem;
  std::string Erro;
};

// Runs `chamada(sessao)` in every session at once, each in its own transaction committed afterwards.
template <class Chamada>
std::vector<Resposta> EmParalelo(int sessoes, Chamada chamada) {
  std::vector<Resposta> respostas(static_cast<std::size_t>(sessoes));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-supl", [&](testsupport::HostSession& base, int numero) {
        Sessao sessao(base);
        Resposta& resposta = respostas[static_cast<std::size_t>(numero)];
        TOraTransaction transacao(sessao.Host->Sessao());
        resposta.Resultado = chamada(sessao, resposta.Mensagem);
        transacao.Commit();
      });
  for (std::size_t i = 0; i < erros.size(); ++i) respostas[i].Erro = erros[i];
  return respostas;
}

class SuplementacaoConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:supl-reliability");
    FSessao->ExecuteScript(kLimpeza);
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (9501, 'ANA DO ORCAMENTO', 'ANA95')");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }

  // An entry of 250.00 held for supplementation with its two apportionment rows, committed. A
  // settled one (routine 631) moves its money from bank 95 when approved.
  void Retido(double recnum, bool baixado, double banco = kBanco) {
    const std::string n = ShortestDecimal(recnum);
    const std::string baixa = baixado ? "631, 'D', " + ShortestDecimal(recnum - kPrimeiroLancamento + 7000) + ", " +
                                            ShortestDecimal(banco) + ", DATE '2030-05-10', 250"
                                      : "NULL, NULL, NULL, NULL, NULL, NULL";
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTLANCBLOQ (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, HISTORICO, NOMEFUNC, "
        "CODROTINABAIXA, CODMOEDABAIXA, NUMTRANS, NUMBANCO, DTPAGTO, VPAGO) VALUES (" +
        n + ", '95', 3101, 250, DATE '2030-05-10', DATE '2030-05-20', 'MATERIAL', 'ANA95', " + baixa +
        ");"
        "INSERT INTO public.ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, "
        "CONTRAPARTIDA, CODFILIAL) VALUES (" +
        n + ", 3101, 'ADM', 100, 40, DATE '2030-05-10', 'N', '95'), (" + n +
        ", 3101, 'COM', 150, 60, DATE '2030-05-10', 'N', '95');");
  }

  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }
  int Linhas(const std::string& tabela, double recnum) {
    return std::stoi(Valor("SELECT COUNT(*) FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
  }
  int Recados(double recnum, const std::string& acao) {
    return std::stoi(Valor("SELECT COUNT(*) FROM ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: " +
                           ShortestDecimal(recnum) + " " + acao + "%'"));
  }

  std::unique_ptr<TOraSession> FSessao;
};

// Sessions approving one held entry at once, and whether it is a settled expense (its money moves).
struct CasoAprovacao {
  const char* Nome;
  int Sessoes;
  bool Baixado;
  friend void PrintTo(const CasoAprovacao& caso, std::ostream* os) { *os << caso.Nome; }
};

class AprovacaoConcorrente : public SuplementacaoConcorrencia, public ::testing::WithParamInterface<CasoAprovacao> {};

// Every session approves the same held entry at once: one moves it (one ZTLANC row, its two
// apportionment rows, one notice, the money once); the others wait for it and find nothing held.
TEST_P(AprovacaoConcorrente, OneSessionApprovesTheOthersFindNothingHeld) {
  const CasoAprovacao caso = GetParam();
  constexpr int kRodadas = 3;
  for (int rodada = 0; rodada < kRodadas; ++rodada) {
    SCOPED_TRACE("rodada " + std::to_string(rodada));
    const double recnum = kPrimeiroLancamento + rodada;
    const std::string n = ShortestDecimal(recnum);
    Retido(recnum, caso.Baixado);
    const std::vector<Resposta> respostas = EmParalelo(caso.Sessoes, [&](Sessao& sessao, std::string& mensagem) {
      RFin_AprovarSuplementacao aprovacao;
      aprovacao.Inicializar();
      aprovacao.RECNUM = recnum;
      const bool aprovado = sessao.ContasPagar().AprovarSuplementacao(aprovacao);
      mensagem = aprovacao.MENSAGEM;
      return aprovado;
    });
    int aprovadas = 0;
    for (const Resposta& resposta : respostas) {
      EXPECT_EQ(resposta.Erro, "");
      if (resposta.Resultado) {
        ++aprovadas;
      } else {
        EXPECT_EQ(resposta.Mensagem, "RecNum: " + n + " não encontrado na tabela ZTLANCBLOQ !");
      }
    }
    EXPECT_EQ(aprovadas, 1);
    EXPECT_EQ(Linhas("ZTLANC", recnum), 1);
    EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTO", recnum), 2);
    EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum) + Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 0);
    EXPECT_EQ(Recados(recnum, "aprovado"), 1);
    const std::string movimentos = Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 95 AND NUMDOC = '" + n + "'");
    EXPECT_EQ(movimentos, caso.Baixado ? "1" : "0");
    std::cout << "[figures] approval, " << caso.Sessoes << " sessions, round " << rodada << ": " << aprovadas
              << " answered true, ZTLANC rows " << Linhas("ZTLANC", recnum) << ", notices "
              << Recados(recnum, "aprovado") << ", cash movements " << movimentos << "\n";
  }
  if (caso.Baixado) {
    // Three entries of 250.00 paid out of bank 95, each once.
    EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 95 AND CODCOB = 'D'"), "-750");
  }
}

INSTANTIATE_TEST_SUITE_P(Reliability, AprovacaoConcorrente,
                         ::testing::Values(CasoAprovacao{"SixSessions", 6, false},
                                           CasoAprovacao{"TwelveSessions", 12, false},
                                           CasoAprovacao{"SixSessionsSettledExpense", 6, true},
                                           CasoAprovacao{"TwelveSessionsSettledExpense", 12, true}),
                         [](const ::testing::TestParamInfo<CasoAprovacao>& info) { return info.param.Nome; });

// The same rejection sent by every session at once: one stamps the entry and notifies; the others
// find it rejected already and write nothing.
TEST_F(SuplementacaoConcorrencia, OneSessionRejectsTheOthersFindItRejected) {
  constexpr int kSessoes = 6;
  const double recnum = kPrimeiroLancamento + 50;
  Retido(recnum, false);
  const std::vector<Resposta> respostas = EmParalelo(kSessoes, [&](Sessao& sessao, std::string& mensagem) {
    RFin_RejeitarSuplementacao rejeicao;
    rejeicao.Inicializar();
    rejeicao.RECNUM = recnum;
    rejeicao.HISTORICOREJEICAO = "SEM VERBA";
    const bool rejeitado = sessao.ContasPagar().RejeitarSuplementacao(rejeicao);
    mensagem = sessao.Host->Mensagens().Texto();
    return rejeitado;
  });
  int rejeitadas = 0;
  for (const Resposta& resposta : respostas) {
    EXPECT_EQ(resposta.Erro, "");
    if (resposta.Resultado) {
      ++rejeitadas;
    } else {
      EXPECT_EQ(resposta.Mensagem, "RecNum: " + ShortestDecimal(recnum) + " já rejeitado na tabela ZTLANCBLOQ !");
    }
  }
  EXPECT_EQ(rejeitadas, 1);
  EXPECT_EQ(Recados(recnum, "rejeitado"), 1);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 1);
  std::cout << "[figures] rejection, " << kSessoes << " sessions: " << rejeitadas << " answered true, notices "
            << Recados(recnum, "rejeitado") << "\n";
}

// An approval whose cash step is refused answers false and its caller commits, as the command-line
// host commits every call that did not throw: nothing of the approval is committed, the entry stays
// held, and once the cause is gone the same approval goes through.
TEST_F(SuplementacaoConcorrencia, AFailedApprovalCommittedByItsCallerLeavesNothingAndCanBeRetried) {
  const double recnum = kPrimeiroLancamento + 60;
  const std::string n = ShortestDecimal(recnum);
  Retido(recnum, true, 0);  // no bank to pay from
  const auto aprovar = [&] {
    return EmParalelo(1, [&](Sessao& sessao, std::string& mensagem) {
      RFin_AprovarSuplementacao aprovacao;
      aprovacao.Inicializar();
      aprovacao.RECNUM = recnum;
      const bool aprovado = sessao.ContasPagar().AprovarSuplementacao(aprovacao);
      mensagem = aprovacao.MENSAGEM;
      return aprovado;
    })[0];
  };
  const Resposta falha = aprovar();
  EXPECT_EQ(falha.Erro, "");
  EXPECT_FALSE(falha.Resultado);
  EXPECT_EQ(falha.Mensagem, "Erro ao aprovar a suplementação. \rCódigo do banco/caixa inválido: 0.");
  EXPECT_EQ(Linhas("ZTLANC", recnum) + Linhas("ZTRATEIOCENTROCUSTO", recnum) + Recados(recnum, "aprovado"), 0);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 1);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 2);

  FSessao->ExecuteScript("UPDATE public.ZTLANCBLOQ SET NUMBANCO = 95 WHERE RECNUM = " + n);
  const Resposta nova = aprovar();
  EXPECT_EQ(nova.Erro, "");
  EXPECT_TRUE(nova.Resultado) << nova.Mensagem;
  EXPECT_EQ(Linhas("ZTLANC", recnum), 1);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTO", recnum), 2);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 0);
  EXPECT_EQ(Recados(recnum, "aprovado"), 1);
}

}  // namespace
