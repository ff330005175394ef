#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "oradb/TOraSession.h"
#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Borderos under concurrent sessions: committed rows under keys no other test uses (branch 95,
// supplier 9501, bank 9501, employee 9501), removed before and after.
namespace {

const char* const kLimpeza =
    "DELETE FROM public.ZTLANC WHERE CODFILIAL = '95';"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9501;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9501;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 9501;"
    "DELETE FROM public.ZTVERBA WHERE CODFORNEC = 9501;"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9501;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 1 AND NOME = 'OPERADOR DOS TESTES';";

class BorderoConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:bordero-reliability");
    FSessao->ExecuteScript(kLimpeza);
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9501, 'FORNECEDOR DO BORDERO');"
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (9501, 'ANA TESOURARIA', 'ANA');"
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR DOS TESTES', "
        "'OPERADOR UM', 'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM public.ZTEMPR WHERE MATRICULA = 1);");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  // A committed open entry on bordero `bordero`; answers its RECNUM.
  std::string Entrada(int recnum, double bordero, double valor, double juros = 0) {
    const std::string numero = std::to_string(recnum);
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, CODFORNEC, TIPOPARCEIRO, TIPOLANC, VALOR, TXPERM, "
        "NUMBORDERO, HISTORICO, DTLANC, DTVENC) VALUES (" +
        numero + ", '95', 3101, 9501, 'F', 'C', " + ShortestDecimal(valor) + ", " + ShortestDecimal(juros) + ", " +
        ShortestDecimal(bordero) + ", 'FRETE', DATE '2026-03-02', DATE '2026-03-20');");
    return numero;
  }

  std::unique_ptr<TOraSession> FSessao;
};

// However many sessions settle one bordero at once, its entries are paid once, their side entries
// written once and its money moved once; every other session is refused naming an entry.
TEST_F(BorderoConcorrencia, ConcurrentSettlementsOfOneBorderoSettleItOnce) {
  const std::string a = Entrada(95000001, 951, 100, 1.5);
  const std::string b = Entrada(95000002, 951, 200);
  FSessao->ExecuteScript(
      "DELETE FROM public.ZTPARAMETROS WHERE NOME = 'CON_CODCONTPAGJUR' AND CODFILIAL = '*';"
      "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('CON_CODCONTPAGJUR', '*', "
      "'3202');");
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-bordero",
      [&](testsupport::HostSession& sessao, int) {
        TOraTransaction transacao(sessao.Host->Sessao());
        auto& contas = *sessao.Financeiro->GetContasPagar();
        std::vector<RFin_IncluirContasPagar> lancamentos = contas.GetListaLancamento(a + "," + b);
        (void)contas.BaixarBordero(951, 7001, 301.5, 9501, "D", lancamentos, "");
        transacao.Commit();
      },
      740);
  FSessao->ExecuteScript("DELETE FROM public.ZTPARAMETROS WHERE NOME = 'CON_CODCONTPAGJUR' AND CODFILIAL = '*';");
  int aceitas = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitas;
      continue;
    }
    EXPECT_EQ(erro.rfind("Não foi possível baixar o borderô nº 951. O lançamento RECNUM ", 0), 0u) << erro;
  }
  EXPECT_EQ(aceitas, 1);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE RECNUMBAIXA = " + a), "1");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9501"), "1");
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9501 AND CODCOB = 'D'"), "-301.5");
  std::cout << "[figures] " << sessoes << " sessions settling one bordero: " << aceitas << " settled, "
            << erros.size() - static_cast<std::size_t>(aceitas) << " refused\n";
}

// Sessions refunding one paid freight bill at once take turns on its row: one allowance is
// written, every other session is refused naming the entry.
TEST_F(BorderoConcorrencia, ConcurrentFreightRefundsWriteOneAllowance) {
  const std::string recnum = Entrada(95000021, 0, 120);
  FSessao->ExecuteScript("UPDATE public.ZTLANC SET DTPAGTO = DATE '2026-03-05', VPAGO = 120 WHERE RECNUM = " + recnum +
                         ";");
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-frete",
      [&](testsupport::HostSession& sessao, int) {
        TOraTransaction transacao(sessao.Host->Sessao());
        (void)sessao.Financeiro->GetContasPagar()->EstornarConhecimentoDeFrete(std::stod(recnum), 1);
        transacao.Commit();
      },
      1302);
  int aceitas = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitas;
      continue;
    }
    EXPECT_EQ(erro, "O lançamento nº " + recnum +
                        " já havia sido estornado anteriormente. Pois existe uma verba do fornecedor referente ao "
                        "processo.");
  }
  EXPECT_EQ(aceitas, 1);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTVERBA WHERE CODFORNEC = 9501"), "1");
}

// A row another session holds is reported at once with who holds it, never waited for: a host user
// with its employee number, name, routine and process, and a connection of another program as
// external. The settlement is then refused before anything is written.
TEST_F(BorderoConcorrencia, ABusyEntryIsReportedWithItsHolderNotWaitedFor) {
  const std::string recnum = Entrada(95000011, 0, 80);
  FSessao->ExecuteScript("UPDATE public.ZTLANC SET NUMBORDERO = NULL WHERE RECNUM = " + recnum + ";");

  // The holder: a host user (employee 9501) in routine 1804, its user in the connection's client info.
  host::THostConfig config;
  config.Dsn = testsupport::TestDsn();
  config.Matricula = 9501;
  config.CodigoRotina = 1804;
  config.Programa = "rotina-1804";
  host::THostQuorvin detentor(config);
  TOraTransaction trava(detentor.Sessao());
  detentor.Sessao().ExecuteScript("SELECT RECNUM FROM public.ZTLANC WHERE RECNUM = " + recnum + " FOR UPDATE");

  testsupport::HostSession baixa("tests-bordero-baixa", 740);
  const auto tentar = [&] {
    TOraTransaction transacao(baixa.Host->Sessao());
    try {
      (void)baixa.Financeiro->GetContasPagar()->BaixarLancamentoAutomaticamente(std::stod(recnum), 9501, "", 0, 0);
      transacao.Commit();
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const std::string erro = tentar();
  const std::string inicio =
      "Não é possível Baixa do borderô. no momento.\rA tabela ZTLANC está sendo utilizada no momento por um ou\rmais "
      "processos!\r\rFiltro utilizado:  Onde RECNUM = " +
      recnum + "\r\rInformações de lock:\r\r";
  EXPECT_EQ(erro.rfind(inicio, 0), 0u) << erro;
  EXPECT_NE(erro.find("Usuário quorvin.: 9501 - ANA TESOURARIA\rUsuário de rede.: "), std::string::npos) << erro;
  EXPECT_NE(erro.find("\rRotina.................: rotina-1804\r"), std::string::npos) << erro;
  EXPECT_NE(erro.find("\rProcesso.............: "), std::string::npos) << erro;
  trava.Rollback();

  // A connection that is not a host user: reported as an external program.
  auto externa = testsupport::NewSession("psql-manutencao");
  TOraTransaction trava_externa(*externa);
  externa->ExecuteScript("SELECT RECNUM FROM public.ZTLANC WHERE RECNUM = " + recnum + " FOR UPDATE");
  const std::string erro_externo = tentar();
  EXPECT_NE(erro_externo.find("Usuário quorvin.: Trava gerada por programa externo ao Quorvin\rUsuário de rede.: "),
            std::string::npos)
      << erro_externo;
  EXPECT_NE(erro_externo.find("\rPrograma...........: psql-manutencao\r"), std::string::npos) << erro_externo;
  trava_externa.Rollback();

  EXPECT_EQ(Valor("SELECT NVL(TO_CHAR(NUMBORDERO), 'nenhum') FROM ZTLANC WHERE RECNUM = " + recnum), "nenhum");
  EXPECT_EQ(tentar(), "");
  EXPECT_EQ(Valor("SELECT VPAGOBORDERO FROM ZTLANC WHERE RECNUM = " + recnum), "80");
}

// Sessions settling one entry on its own at once: it is paid once, with one bordero number and one
// movement. A session that finds the row held is refused at once naming the sessions that use the
// table; one that comes after the commit finds the entry paid, and so
// does a session that tries once more afterwards.
TEST_F(BorderoConcorrencia, AnEntrySettledBySessionsAtOnceIsPaidOnce) {
  const std::string recnum = Entrada(95000031, 0, 45);
  FSessao->ExecuteScript("UPDATE public.ZTLANC SET NUMBORDERO = NULL WHERE RECNUM = " + recnum + ";");
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-baixa-unica",
      [&](testsupport::HostSession& sessao, int) {
        TOraTransaction transacao(sessao.Host->Sessao());
        (void)sessao.Financeiro->GetContasPagar()->BaixarLancamentoAutomaticamente(std::stod(recnum), 9501, "", 0, 0);
        transacao.Commit();
      },
      740);
  int vencedora = -1;
  for (int i = 0; i < sessoes; ++i) {
    if (erros[static_cast<std::size_t>(i)].empty()) {
      EXPECT_EQ(vencedora, -1) << "sessions " << vencedora << " and " << i << " both settled the entry";
      vencedora = i;
    }
  }
  ASSERT_NE(vencedora, -1);
  const std::string travada = "Não é possível Baixa do borderô. no momento.\rA tabela ZTLANC está sendo utilizada";
  const std::string baixada =
      "Não foi possível fazer a baixa do lançamento nº(RECNUM) " + recnum + ". O mesmo pode estar:";
  const std::string detentor = "Usuário quorvin.: 1 - OPERADOR DOS TESTES\rUsuário de rede.: ";
  // The holders are every session using the table at that moment: settling sessions, the winner
  // among them unless it committed in between.
  const std::string rotina = "\rRotina.................: tests-baixa-unica-";
  int recusadas_em_uso = 0;
  int sem_detentor = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) continue;
    if (erro.rfind(travada, 0) == 0) {
      ++recusadas_em_uso;
      // A holder that ends between the refusal and the look-up, twice in a row, leaves the list
      // empty (the row changed hands meanwhile); a list that names anyone names these sessions.
      if (erro.size() > erro.rfind("Informações de lock:") + std::string("Informações de lock:\r\r").size()) {
        EXPECT_NE(erro.find(detentor), std::string::npos) << erro;
        EXPECT_NE(erro.find(rotina), std::string::npos) << erro;
      } else {
        ++sem_detentor;
      }
    } else {
      EXPECT_EQ(erro.rfind(baixada, 0), 0u) << erro;
    }
  }
  // A session that comes after the commit finds the row free and the entry paid.
  testsupport::HostSession depois("tests-baixa-depois", 740);
  {
    TOraTransaction transacao(depois.Host->Sessao());
    try {
      (void)depois.Financeiro->GetContasPagar()->BaixarLancamentoAutomaticamente(std::stod(recnum), 9501, "", 0, 0);
      transacao.Commit();
      ADD_FAILURE() << "a paid entry was settled again";
    } catch (const std::exception& e) {
      EXPECT_EQ(std::string(e.what()).rfind(baixada, 0), 0u) << e.what();
    }
  }
  EXPECT_EQ(Valor("SELECT COUNT(*) || ':' || COUNT(NUMBORDERO) || ':' || VPAGOBORDERO FROM ZTLANC WHERE RECNUM = " +
                  recnum + " AND DTPAGTO IS NOT NULL GROUP BY VPAGOBORDERO"),
            "1:1:45.00");
  EXPECT_EQ(Valor("SELECT COUNT(*) || ':' || SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = 9501"), "1:45.00");
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9501 AND CODCOB = 'D'"), "-45");
  std::cout << "[figures] " << sessoes << " sessions settling one entry: 1 settled, " << recusadas_em_uso
            << " refused as in use (" << sem_detentor << " with no holder left to name), "
            << sessoes - 1 - recusadas_em_uso << " found it paid\n";
}

}  // namespace
