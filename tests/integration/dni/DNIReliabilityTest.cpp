#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"

#include "dni/Uclsfin_blldepositonaoidentificadocomverba.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Unidentified deposits under concurrent sessions. The cases commit, so they use a bank no other
// test uses and remove what they wrote.
namespace {

constexpr int kBanco = 9813;
constexpr int kRotina = TBLLDepositoNaoIdentificadoComVerba::kRotinaBaixaVerbaComDNI;

class DNIReliability : public ::testing::Test {
 protected:
  void SetUp() override { Limpar(); }
  void TearDown() override { Limpar(); }

  void Executar(const std::string& sql) {
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    TOraQuery query(&FVerificacao.Host->Sessao());
    query.SQL.Add(sql);
    query.ExecSQL();
    transacao.Commit();
  }
  void Limpar() {
    Executar("DELETE FROM ZTMOVCR WHERE CODBANCO = " + std::to_string(kBanco));
    Executar("DELETE FROM ZTESTCR WHERE CODBANCO = " + std::to_string(kBanco));
  }
  double Valor(const std::string& sql) {
    return std::stod(testsupport::QueryValue(FVerificacao.Host->Sessao(), sql).value_or("0"));
  }
  // A committed open deposit of the bank.
  double Deposito(double valor) {
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    RFin_IncluirMovimentacaoNumerarios m;
    m.Inicializar();
    m.DATA = TDateTime::EncodeDate(2026, 11, 3);
    m.CODBANCO = kBanco;
    m.CODCOB = "DNI";
    m.VALOR = valor;
    m.TIPO = "C";
    m.HISTORICO = "DEPOSITO NAO IDENTIFICADO";
    m.INDICE = "A";
    FVerificacao.Financeiro->GetMovimentacaoNumerarios()->Incluir(m);
    transacao.Commit();
    return m.NUMTRANS;
  }
  void EsperarSaldoCoerente() {
    const std::string banco = std::to_string(kBanco);
    EXPECT_DOUBLE_EQ(Valor("SELECT NVL(MAX(VALOR), 0) FROM ZTESTCR WHERE CODCOB = 'DNI' AND CODBANCO = " + banco),
                     -Valor("SELECT NVL(SUM(VALOR), 0) FROM ZTMOVCR WHERE CODCOB = 'DNI' AND TIPO = 'C' AND "
                            "((CONCILIACAO <> 'OK') OR (CONCILIACAO IS NULL)) AND CODBANCO = " +
                            banco));
  }

  // The session's picker takes `deposito`, cleared on 2026-11-20.
  static void Escolher(testsupport::HostSession& sessao, double deposito) {
    sessao.Host->SetSeletorDNI([deposito](const TJanelaSelecaoDNI&, const TConfirmarSelecaoDNI& confirmar) {
      confirmar(TSelecaoDNI{{deposito}, TDateTime::EncodeDate(2026, 11, 20)});
      return TModalResult::mrOk;
    });
  }

  testsupport::HostSession FVerificacao{"tests-dni-check", kRotina};
};

// Sessions picking one deposit at once: one settles it, every other is refused, and the deposit is
// cleared once.
TEST_F(DNIReliability, SessionsPickingOneDepositSettleItOnce) {
  const double deposito = Deposito(100);
  const int sessoes = testsupport::SoakSessions(4);
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-dni",
      [&](testsupport::HostSession& sessao, int numero) {
        Escolher(sessao, deposito);
        TOraTransaction transacao(sessao.Host->Sessao());
        sessao.Financeiro->GetDepositoNaoIdentificadoComVerba()->BaixarVerbaComDNI(8801, kBanco, 900 + numero, 60);
        transacao.Commit();
      },
      kRotina);
  int settled = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++settled;
    } else {
      EXPECT_EQ(erro.find("conexão"), std::string::npos) << erro;
    }
  }
  EXPECT_EQ(settled, 1);
  const std::string banco = std::to_string(kBanco);
  EXPECT_DOUBLE_EQ(Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE TIPO = 'D' AND CODBANCO = " + banco), 1);
  EXPECT_DOUBLE_EQ(Valor("SELECT SUM(VALOR) FROM ZTMOVCR WHERE TIPO = 'C' AND NUMCARR >= 900 AND CODBANCO = " + banco),
                   40);
  EsperarSaldoCoerente();
}

// Sessions reversing one settlement at once: the allowance's value comes back once.
TEST_F(DNIReliability, SessionsReversingOneSettlementReverseItOnce) {
  const double deposito = Deposito(100);
  {
    testsupport::HostSession sessao("tests-dni-settle", kRotina);
    Escolher(sessao, deposito);
    TOraTransaction transacao(sessao.Host->Sessao());
    ASSERT_TRUE(sessao.Financeiro->GetDepositoNaoIdentificadoComVerba()->BaixarVerbaComDNI(8801, kBanco, 950, 100));
    transacao.Commit();
  }
  const std::vector<std::string> erros = testsupport::InParallel(
      testsupport::SoakSessions(4), "tests-dni-rev",
      [&](testsupport::HostSession& sessao, int) {
        TOraTransaction transacao(sessao.Host->Sessao());
        sessao.Financeiro->GetDepositoNaoIdentificadoComVerba()->EstornarBaixaDNIComVerba(950, 100);
        transacao.Commit();
      },
      kRotina);
  int reversed = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++reversed;
    } else {
      EXPECT_EQ(erro, "Não foi possível localizar a baixa para estorno da verba n.: 950 - Valor.: 100,00");
    }
  }
  EXPECT_EQ(reversed, 1);
  EXPECT_DOUBLE_EQ(
      Valor("SELECT COUNT(*) FROM ZTMOVCR WHERE HISTORICO LIKE 'ESTORNO%' AND CODBANCO = " + std::to_string(kBanco)),
      1);
  EsperarSaldoCoerente();
}

// The command line's picker: a pick the list does not offer, a repeated one, a bad date or a wrong
// type is a usage error (exit 2) and writes nothing; no --pick cancels; a good pick settles.
TEST_F(DNIReliability, CommandLinePicksAreCheckedBeforeAnyWrite) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const double deposito = Deposito(100);
  const std::string alheio = std::to_string(static_cast<long long>(deposito) + 1000000);
  const std::string pedido = R"({"args": {"CodigoCliente": 8801, "CodigoBanco": 9813, "NumeroVerba": 960, )"
                             R"("ValorVerba": 100}})";
  const auto chamar = [&](std::vector<std::string> flags, const std::string& entrada, int saida_esperada) {
    std::vector<std::string> argumentos{"call", "DepositoNaoIdentificadoComVerba.BaixarVerbaComDNI", "--routine",
                                        std::to_string(kRotina)};
    argumentos.insert(argumentos.end(), flags.begin(), flags.end());
    std::istringstream in(entrada);
    std::ostringstream out, err;
    EXPECT_EQ(cli::Main(argumentos, in, out, err), saida_esperada) << out.str() << err.str();
    return cli::Json::parse(out.str());
  };
  const std::string numtrans = std::to_string(static_cast<long long>(deposito));
  const std::string movimentos = "SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = " + std::to_string(kBanco);
  const double antes = Valor(movimentos);
  struct Caso {
    std::vector<std::string> Flags;
    std::string Entrada;
    int Saida;
    std::string Mensagem;
  };
  const Caso casos[] = {
      {{"--pick", alheio, "--clearing-date", "2026-11-20"}, pedido, 2, "não está na lista de DNIs"},
      {{"--pick", numtrans + "," + numtrans, "--clearing-date", "2026-11-20"}, pedido, 2, "mais de uma vez"},
      {{"--pick", numtrans, "--clearing-date", "2026-02-30"}, pedido, 2, "não é uma data"},
      {{"--pick", numtrans + ";1", "--clearing-date", "2026-11-20"}, pedido, 2, "não é um numtrans"},
      {{"--pick", numtrans, "--clearing-date", "2026-11-20"},
       R"({"args": {"CodigoCliente": "8801", "CodigoBanco": 9813, "NumeroVerba": 960, "ValorVerba": 100}})",
       2,
       "CodigoCliente"},
      {{"--pick", numtrans}, pedido, 1, "Favor informar a data de compensação"},
      {{}, pedido, 1, "Operação cancelada pelo usuário"},
  };
  for (const Caso& caso : casos) {
    const cli::Json resposta = chamar(caso.Flags, caso.Entrada, caso.Saida);
    EXPECT_EQ(resposta["ok"], false);
    EXPECT_NE(resposta["message"].get<std::string>().find(caso.Mensagem), std::string::npos) << resposta.dump();
    EXPECT_DOUBLE_EQ(Valor(movimentos), antes) << caso.Mensagem;
  }
  // "-" asks on the terminal, and only there (a run from a terminal would ask it here).
  if (isatty(STDIN_FILENO) == 0) {
    EXPECT_NE(chamar({"--pick", "-"}, pedido, 2)["message"].get<std::string>().find("não é um terminal"),
              std::string::npos);
  }
  const cli::Json resposta = chamar({"--pick", numtrans, "--clearing-date", "2026-11-20"}, pedido, 0);
  EXPECT_EQ(resposta["result"], true);
  EXPECT_DOUBLE_EQ(Valor(movimentos), antes + 1);
  EsperarSaldoCoerente();
}

}  // namespace
