#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "oradb/TOraSession.h"
#include "payable/Uclsfin_contaspagar.h"
#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// The payable area under concurrent sessions: each thread is a host of its own (its own connection,
// facade and transaction) on committed rows. Each suite keeps its rows under keys no other test uses
// and removes them before and after. QUORVIN_SOAK_N sets the number of sessions (default 8).
namespace {

// A suite on committed rows: `limpeza` runs before and after each test.
class Comitado : public ::testing::Test {
 protected:
  Comitado(const char* programa, const char* limpeza) : FPrograma(programa), FLimpeza(limpeza) {}
  void SetUp() override {
    FSessao = testsupport::NewSession(FPrograma);
    FSessao->ExecuteScript(FLimpeza);
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(FLimpeza);
  }
  void Script(const std::string& sql) { FSessao->ExecuteScript(sql); }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  std::unique_ptr<TOraSession> FSessao;

 private:
  const char* FPrograma;
  const char* FLimpeza;
};

// How many sessions went through (answered ""); every other answer is handed to `recusa`.
template <class Recusa>
int Aceitas(const std::vector<std::string>& erros, Recusa recusa) {
  int aceitas = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitas;
    } else {
      recusa(erro);
    }
  }
  return aceitas;
}

// Postings: branch 94, account 940001 with 1,000.00 for March 2026, supplier 9401; the branch
// blocks expenses over the budget.
class ContasPagarConcorrencia : public Comitado {
 protected:
  ContasPagarConcorrencia()
      : Comitado("tests:payable-reliability",
                 "DELETE FROM public.ZTLANC WHERE CODFILIAL = '94';"
                 "DELETE FROM public.ZTLANCBLOQ WHERE CODFILIAL = '94';"
                 "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '94';"
                 "DELETE FROM public.ZTCONTA WHERE CODCONTA = 940001;"
                 "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9401;"
                 "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '94';") {}
  void SetUp() override {
    Comitado::SetUp();
    Script(
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA) VALUES (940001, 'ORCADA');"
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9401, 'FORNECEDOR DO ORCAMENTO');"
        "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (940001, '94', 2026, 1000);"
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('FIL_BLOQDESPVLRORC', '94', 'S');");
  }

  // Every session posts 200.00 through the payable entry of routine 631 at once, confirming what it
  // is asked; answers what each one threw ("" when it was posted and committed).
  static std::vector<std::string> PostarEmParalelo(int sessoes) {
    return testsupport::InParallel(
        sessoes, "tests-cp",
        [&](testsupport::HostSession& sessao, int numero) {
          sessao.Host->SetConfirmationPolicy([](const std::string&) { return TModalResult::mrOk; });
          TOraTransaction transacao(sessao.Host->Sessao());
          RFin_IncluirContasPagar registro;
          registro.Inicializar();
          registro.RECNUM = sessao.Host->ProximoRecNum();
          registro.TIPOLANC = "C";
          registro.VALOR = 200;
          registro.CODCONTA = 940001;
          registro.HISTORICO = "COMPRA " + std::to_string(numero);
          registro.TIPOPARCEIRO = "F";
          registro.CODFORNEC = 9401;
          registro.CODFILIAL = "94";
          registro.DTLANC = TDateTime::EncodeDate(2026, 3, 2);
          registro.DTVENC = TDateTime::EncodeDate(2026, 3, 20);
          registro.DTEMISSAO = TDateTime::EncodeDate(2026, 3, 2);
          if (!sessao.Financeiro->GetContasPagar()->Incluir(registro)) {
            throw std::runtime_error("não incluído: " + registro.MENSAGEM);
          }
          transacao.Commit();
        },
        631);
  }
};

// However the sessions interleave, the entries accepted never add up to more than the budget: five
// of 200.00, the others refused with the budget's own message. The test also runs 20 sessions.
TEST_F(ContasPagarConcorrencia, ConcurrentPostingsNeverExceedTheAccountsBudget) {
  for (const int sessoes : {testsupport::SoakSessions(), 20}) {
    Script("DELETE FROM public.ZTLANC WHERE CODFILIAL = '94';");
    const int aceitas = Aceitas(PostarEmParalelo(sessoes), [](const std::string& erro) {
      EXPECT_EQ(
          erro.rfind("Validação de Orçamento! \rLançamentos da Conta 940001 para 03/2026 na Filial 94 ultrapassou "
                     "o Valor Orçado !",
                     0),
          0u)
          << erro;
      EXPECT_NE(erro.find("Usuário sem permissão para lançar acima do orçamento."), std::string::npos) << erro;
    });
    const std::string lancado = Valor("SELECT SUM(VALOR) FROM ZTLANC WHERE CODFILIAL = '94'");
    EXPECT_EQ(aceitas, 5) << sessoes << " sessions";
    EXPECT_EQ(lancado, "1000") << sessoes << " sessions";
    std::cout << "[figures] budget 1,000.00, " << sessoes << " sessions posting 200.00: " << aceitas
              << " accepted, posted " << lancado << "\n";
  }
}

// Where the branch works with supplementation, what the budget cannot take is held for approval
// instead: the posted entries still add up to the budget, and every other one waits in ZTLANCBLOQ.
TEST_F(ContasPagarConcorrencia, ConcurrentPostingsOverTheBudgetAreHeldNotPosted) {
  Script("INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('TRABSUPLORC', '94', 'S');");
  const int sessoes = testsupport::SoakSessions();
  for (const std::string& erro : PostarEmParalelo(sessoes)) EXPECT_EQ(erro, "");
  const std::string lancado = Valor("SELECT SUM(VALOR) FROM ZTLANC WHERE CODFILIAL = '94'");
  const std::string retidas = Valor("SELECT COUNT(*) FROM ZTLANCBLOQ WHERE CODFILIAL = '94'");
  EXPECT_EQ(lancado, "1000");
  EXPECT_EQ(retidas, std::to_string(sessoes - 5));
  std::cout << "[figures] budget 1,000.00 with supplementation, " << sessoes << " sessions posting 200.00: posted "
            << lancado << ", held " << retidas << "\n";
}

// Borderos: branch 95, supplier 9501, bank 9501, employee 9501 (and employee 1, the sessions' user,
// when the database lacks one).
class BorderoConcorrencia : public Comitado {
 protected:
  BorderoConcorrencia()
      : Comitado("tests:bordero-reliability",
                 "DELETE FROM public.ZTLANC WHERE CODFILIAL = '95';"
                 "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9501;"
                 "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9501;"
                 "DELETE FROM public.ZTEMPR WHERE MATRICULA = 9501;"
                 "DELETE FROM public.ZTVERBA WHERE CODFORNEC = 9501;"
                 "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9501;"
                 "DELETE FROM public.ZTEMPR WHERE MATRICULA = 1 AND NOME = 'OPERADOR DOS TESTES';") {}
  void SetUp() override {
    Comitado::SetUp();
    Script(
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9501, 'FORNECEDOR DO BORDERO');"
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (9501, 'ANA TESOURARIA', 'ANA');"
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR DOS TESTES', "
        "'OPERADOR UM', 'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM public.ZTEMPR WHERE MATRICULA = 1);");
  }

  // A committed open entry, on bordero `bordero` unless 0; answers its RECNUM.
  std::string Entrada(int recnum, double bordero, double valor, double juros = 0) {
    const std::string numero = std::to_string(recnum);
    Script(
        "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, CODFORNEC, TIPOPARCEIRO, TIPOLANC, VALOR, TXPERM, "
        "NUMBORDERO, HISTORICO, DTLANC, DTVENC) VALUES (" +
        numero + ", '95', 3101, 9501, 'F', 'C', " + ShortestDecimal(valor) + ", " + ShortestDecimal(juros) + ", " +
        (bordero == 0 ? std::string("NULL") : ShortestDecimal(bordero)) +
        ", 'FRETE', DATE '2026-03-02', DATE '2026-03-20');");
    return numero;
  }

  // Settles one entry on its own from bank 9501 in `sessao`, committed; answers what it threw.
  static std::string BaixarSozinho(testsupport::HostSession& sessao, const std::string& recnum) {
    TOraTransaction transacao(sessao.Host->Sessao());
    try {
      (void)sessao.Financeiro->GetContasPagar()->BaixarLancamentoAutomaticamente(std::stod(recnum), 9501, "", 0, 0);
      transacao.Commit();
    } catch (const std::exception& e) {
      return e.what();
    }
    return {};
  }
};

// However many sessions settle one bordero at once, its entries are paid once, their side entries
// written once and its money moved once; every other session is refused naming an entry.
TEST_F(BorderoConcorrencia, ConcurrentSettlementsOfOneBorderoSettleItOnce) {
  const std::string a = Entrada(95000001, 951, 100, 1.5);
  const std::string b = Entrada(95000002, 951, 200);
  const std::string sem_conta_juros =
      "DELETE FROM public.ZTPARAMETROS WHERE NOME = 'CON_CODCONTPAGJUR' AND "
      "CODFILIAL = '*';";
  Script(sem_conta_juros +
         "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('CON_CODCONTPAGJUR', "
         "'*', '3202');");
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
  Script(sem_conta_juros);
  const int aceitas = Aceitas(erros, [](const std::string& erro) {
    EXPECT_EQ(erro.rfind("Não foi possível baixar o borderô nº 951. O lançamento RECNUM ", 0), 0u) << erro;
  });
  EXPECT_EQ(aceitas, 1);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE RECNUMBAIXA = " + a), "1");
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9501"), "1");
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9501 AND CODCOB = 'D'"), "-301.5");
  std::cout << "[figures] " << sessoes << " sessions settling one bordero: " << aceitas << " settled, "
            << sessoes - aceitas << " refused\n";
}

// Sessions refunding one paid freight bill at once take turns on its row: one allowance is
// written, every other session is refused naming the entry.
TEST_F(BorderoConcorrencia, ConcurrentFreightRefundsWriteOneAllowance) {
  const std::string recnum = Entrada(95000021, 0, 120);
  Script("UPDATE public.ZTLANC SET DTPAGTO = DATE '2026-03-05', VPAGO = 120 WHERE RECNUM = " + recnum + ";");
  const std::vector<std::string> erros = testsupport::InParallel(
      testsupport::SoakSessions(), "tests-frete",
      [&](testsupport::HostSession& sessao, int) {
        TOraTransaction transacao(sessao.Host->Sessao());
        (void)sessao.Financeiro->GetContasPagar()->EstornarConhecimentoDeFrete(std::stod(recnum), 1);
        transacao.Commit();
      },
      1302);
  EXPECT_EQ(Aceitas(erros,
                    [&](const std::string& erro) {
                      EXPECT_EQ(erro, "O lançamento nº " + recnum +
                                          " já havia sido estornado anteriormente. Pois existe uma verba do "
                                          "fornecedor referente ao processo.");
                    }),
            1);
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTVERBA WHERE CODFORNEC = 9501"), "1");
}

// A row another session holds is reported at once with who holds it, never waited for: a host user
// with its employee number, name, routine and process, and a connection of another program as
// external. The settlement is then refused before anything is written.
TEST_F(BorderoConcorrencia, ABusyEntryIsReportedWithItsHolderNotWaitedFor) {
  const std::string recnum = Entrada(95000011, 0, 80);
  testsupport::HostSession baixa("tests-bordero-baixa", 740);

  // The holder: a host user (employee 9501) in routine 1804, its user in the connection's client info.
  host::THostConfig config;
  config.Dsn = testsupport::TestDsn();
  config.Matricula = 9501;
  config.CodigoRotina = 1804;
  config.Programa = "rotina-1804";
  host::THostQuorvin detentor(config);
  TOraTransaction trava(detentor.Sessao());
  detentor.Sessao().ExecuteScript("SELECT RECNUM FROM public.ZTLANC WHERE RECNUM = " + recnum + " FOR UPDATE");
  const std::string erro = BaixarSozinho(baixa, recnum);
  EXPECT_EQ(erro.rfind("Não é possível Baixa do borderô. no momento.\rA tabela ZTLANC está sendo utilizada no "
                       "momento por um ou\rmais processos!\r\rFiltro utilizado:  Onde RECNUM = " +
                           recnum + "\r\rInformações de lock:\r\r",
                       0),
            0u)
      << erro;
  EXPECT_NE(erro.find("Usuário quorvin.: 9501 - ANA TESOURARIA\rUsuário de rede.: "), std::string::npos) << erro;
  EXPECT_NE(erro.find("\rRotina.................: rotina-1804\r"), std::string::npos) << erro;
  EXPECT_NE(erro.find("\rProcesso.............: "), std::string::npos) << erro;
  trava.Rollback();

  // A connection that is not a host user: reported as an external program.
  auto externa = testsupport::NewSession("psql-manutencao");
  TOraTransaction trava_externa(*externa);
  externa->ExecuteScript("SELECT RECNUM FROM public.ZTLANC WHERE RECNUM = " + recnum + " FOR UPDATE");
  const std::string erro_externo = BaixarSozinho(baixa, recnum);
  EXPECT_NE(erro_externo.find("Usuário quorvin.: Trava gerada por programa externo ao Quorvin\rUsuário de rede.: "),
            std::string::npos)
      << erro_externo;
  EXPECT_NE(erro_externo.find("\rPrograma...........: psql-manutencao\r"), std::string::npos) << erro_externo;
  trava_externa.Rollback();

  EXPECT_EQ(Valor("SELECT NVL(TO_CHAR(NUMBORDERO), 'nenhum') FROM ZTLANC WHERE RECNUM = " + recnum), "nenhum");
  EXPECT_EQ(BaixarSozinho(baixa, recnum), "");
  EXPECT_EQ(Valor("SELECT VPAGOBORDERO FROM ZTLANC WHERE RECNUM = " + recnum), "80");
}

// Sessions settling one entry on its own at once: it is paid once, with one bordero number and one
// movement. A session that finds the row held is refused at once naming the sessions that use the
// table; one that comes after the commit finds the entry paid, and so does a session that tries once
// more afterwards.
TEST_F(BorderoConcorrencia, AnEntrySettledBySessionsAtOnceIsPaidOnce) {
  const std::string recnum = Entrada(95000031, 0, 45);
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-baixa-unica",
      [&](testsupport::HostSession& sessao, int) {
        if (const std::string erro = BaixarSozinho(sessao, recnum); !erro.empty()) throw std::runtime_error(erro);
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
  const std::string informacoes = "Informações de lock:\r\r";
  int recusadas_em_uso = 0;
  int sem_detentor = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) continue;
    if (erro.rfind(travada, 0) != 0) {
      EXPECT_EQ(erro.rfind(baixada, 0), 0u) << erro;
      continue;
    }
    ++recusadas_em_uso;
    // A holder that ends between the refusal and the look-up, twice in a row, leaves the list empty
    // (the row changed hands meanwhile); a list that names anyone names these sessions.
    if (erro.size() > erro.rfind(informacoes) + informacoes.size()) {
      EXPECT_NE(erro.find(detentor), std::string::npos) << erro;
      EXPECT_NE(erro.find(rotina), std::string::npos) << erro;
    } else {
      ++sem_detentor;
    }
  }
  // A session that comes after the commit finds the row free and the entry paid.
  testsupport::HostSession depois("tests-baixa-depois", 740);
  const std::string erro_depois = BaixarSozinho(depois, recnum);
  EXPECT_EQ(erro_depois.rfind(baixada, 0), 0u) << "a paid entry was settled again: " << erro_depois;
  EXPECT_EQ(Valor("SELECT COUNT(*) || ':' || COUNT(NUMBORDERO) || ':' || VPAGOBORDERO FROM ZTLANC WHERE RECNUM = " +
                  recnum + " AND DTPAGTO IS NOT NULL GROUP BY VPAGOBORDERO"),
            "1:1:45.00");
  EXPECT_EQ(Valor("SELECT COUNT(*) || ':' || SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = 9501"), "1:45.00");
  EXPECT_EQ(Valor("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = 9501 AND CODCOB = 'D'"), "-45");
  std::cout << "[figures] " << sessoes << " sessions settling one entry: 1 settled, " << recusadas_em_uso
            << " refused as in use (" << sem_detentor << " with no holder left to name), "
            << sessoes - 1 - recusadas_em_uso << " found it paid\n";
}

// Approval and rejection of held entries, each session committing whatever its call answered, as the
// command-line host does: branch 95, entries from 9500000, bank 95, employee 9501.
constexpr double kPrimeiroRetido = 9500000;

class SuplementacaoConcorrencia : public Comitado {
 protected:
  SuplementacaoConcorrencia()
      : Comitado("tests:supl-reliability",
                 "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 9500000 AND 9599999;"
                 "DELETE FROM public.ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM BETWEEN 9500000 AND 9599999;"
                 "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 9500000 AND 9599999;"
                 "DELETE FROM public.ZTLANCBLOQ WHERE RECNUM BETWEEN 9500000 AND 9599999;"
                 "DELETE FROM public.ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: 95_____ %';"
                 "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 95;"
                 "DELETE FROM public.ZTESTCR WHERE CODBANCO = 95;"
                 "DELETE FROM public.ZTEMPR WHERE MATRICULA = 9501;") {}
  void SetUp() override {
    Comitado::SetUp();
    Script("INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (9501, 'ANA DO ORCAMENTO', 'ANA95')");
  }

  // An entry of 250.00 held for supplementation with its two apportionment rows, committed. A
  // settled one (routine 631) moves its money from `banco` when approved.
  void Retido(double recnum, bool baixado, double banco = 95) {
    const std::string n = ShortestDecimal(recnum);
    const std::string baixa = baixado ? "631, 'D', " + ShortestDecimal(recnum - kPrimeiroRetido + 7000) + ", " +
                                            ShortestDecimal(banco) + ", DATE '2030-05-10', 250"
                                      : "NULL, NULL, NULL, NULL, NULL, NULL";
    Script(
        "INSERT INTO public.ZTLANCBLOQ (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, HISTORICO, NOMEFUNC, "
        "CODROTINABAIXA, CODMOEDABAIXA, NUMTRANS, NUMBANCO, DTPAGTO, VPAGO) VALUES (" +
        n + ", '95', 3101, 250, DATE '2030-05-10', DATE '2030-05-20', 'MATERIAL', 'ANA95', " + baixa +
        ");"
        "INSERT INTO public.ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, "
        "CONTRAPARTIDA, CODFILIAL) VALUES (" +
        n + ", 3101, 'ADM', 100, 40, DATE '2030-05-10', 'N', '95'), (" + n +
        ", 3101, 'COM', 150, 60, DATE '2030-05-10', 'N', '95');");
  }
  int Linhas(const std::string& tabela, double recnum) {
    return std::stoi(Valor("SELECT COUNT(*) FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
  }
  int Recados(double recnum, const std::string& acao) {
    return std::stoi(Valor("SELECT COUNT(*) FROM ZTRECFUNC WHERE TEXTORECADO LIKE 'Lançamento RecNum: " +
                           ShortestDecimal(recnum) + " " + acao + "%'"));
  }
};

// What one session's call answered; `Erro` when it threw (or could not connect).
struct Resposta {
  bool Resultado = false;
  std::string Mensagem;
  std::string Erro;
};

// Every session approves (or, `rejeitar`, rejects as "SEM VERBA") held entry `recnum` at once, each
// in its own transaction committed afterwards.
std::vector<Resposta> EmParalelo(int sessoes, double recnum, bool rejeitar = false) {
  std::vector<Resposta> respostas(static_cast<std::size_t>(sessoes));
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-supl", [&](testsupport::HostSession& sessao, int numero) {
        Resposta& resposta = respostas[static_cast<std::size_t>(numero)];
        IFin_ContasPagar& contas = *sessao.Financeiro->GetContasPagar();
        TOraTransaction transacao(sessao.Host->Sessao());
        if (rejeitar) {
          RFin_RejeitarSuplementacao rejeicao;
          rejeicao.Inicializar();
          rejeicao.RECNUM = recnum;
          rejeicao.HISTORICOREJEICAO = "SEM VERBA";
          resposta.Resultado = contas.RejeitarSuplementacao(rejeicao);
          resposta.Mensagem = sessao.Host->Mensagens().Texto();
        } else {
          RFin_AprovarSuplementacao aprovacao;
          aprovacao.Inicializar();
          aprovacao.RECNUM = recnum;
          resposta.Resultado = contas.AprovarSuplementacao(aprovacao);
          resposta.Mensagem = aprovacao.MENSAGEM;
        }
        transacao.Commit();
      });
  for (std::size_t i = 0; i < erros.size(); ++i) respostas[i].Erro = erros[i];
  return respostas;
}

// How many answered true; every other answer carries `recusa` as its message, and none threw.
int Verdadeiras(const std::vector<Resposta>& respostas, const std::string& recusa) {
  int verdadeiras = 0;
  for (const Resposta& resposta : respostas) {
    EXPECT_EQ(resposta.Erro, "");
    if (resposta.Resultado) {
      ++verdadeiras;
    } else {
      EXPECT_EQ(resposta.Mensagem, recusa);
    }
  }
  return verdadeiras;
}

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
  for (int rodada = 0; rodada < 3; ++rodada) {
    SCOPED_TRACE("rodada " + std::to_string(rodada));
    const double recnum = kPrimeiroRetido + rodada;
    const std::string n = ShortestDecimal(recnum);
    Retido(recnum, caso.Baixado);
    const int aprovadas =
        Verdadeiras(EmParalelo(caso.Sessoes, recnum), "RecNum: " + n + " não encontrado na tabela ZTLANCBLOQ !");
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
  // Three entries of 250.00 paid out of bank 95, each once.
  if (caso.Baixado) {
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
  const double recnum = kPrimeiroRetido + 50;
  Retido(recnum, false);
  const int rejeitadas = Verdadeiras(EmParalelo(6, recnum, true),
                                     "RecNum: " + ShortestDecimal(recnum) + " já rejeitado na tabela ZTLANCBLOQ !");
  EXPECT_EQ(rejeitadas, 1);
  EXPECT_EQ(Recados(recnum, "rejeitado"), 1);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 1);
  std::cout << "[figures] rejection, 6 sessions: " << rejeitadas << " answered true, notices "
            << Recados(recnum, "rejeitado") << "\n";
}

// An approval whose cash step is refused answers false and its caller commits, as the command-line
// host commits every call that did not throw: nothing of the approval is committed, the entry stays
// held, and once the cause is gone the same approval goes through.
TEST_F(SuplementacaoConcorrencia, AFailedApprovalCommittedByItsCallerLeavesNothingAndCanBeRetried) {
  const double recnum = kPrimeiroRetido + 60;
  Retido(recnum, true, 0);  // no bank to pay from
  const Resposta falha = EmParalelo(1, recnum)[0];
  EXPECT_EQ(falha.Erro, "");
  EXPECT_FALSE(falha.Resultado);
  EXPECT_EQ(falha.Mensagem, "Erro ao aprovar a suplementação. \rCódigo do banco/caixa inválido: 0.");
  EXPECT_EQ(Linhas("ZTLANC", recnum) + Linhas("ZTRATEIOCENTROCUSTO", recnum) + Recados(recnum, "aprovado"), 0);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 1);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 2);

  Script("UPDATE public.ZTLANCBLOQ SET NUMBANCO = 95 WHERE RECNUM = " + ShortestDecimal(recnum));
  const Resposta nova = EmParalelo(1, recnum)[0];
  EXPECT_EQ(nova.Erro, "");
  EXPECT_TRUE(nova.Resultado) << nova.Mensagem;
  EXPECT_EQ(Linhas("ZTLANC", recnum), 1);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTO", recnum), 2);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 0);
  EXPECT_EQ(Recados(recnum, "aprovado"), 1);
}

}  // namespace
