// Customer credits under concurrent sessions: a title is settled once and a credit reversed once,
// however many sessions try at the same time. These cases commit, so they use a customer, titles
// and a cash account no other test uses, and remove what they wrote.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "customercredit/Uclsfin_bllcreditocliente.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/ZTCore.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::HostSession;

constexpr double kCliente = 8891;
constexpr int kCaixa = 9962;

std::string Valor(TOraSession& sessao, const std::string& sql) {
  return testsupport::QueryValue(sessao, sql).value_or("");
}

// The cash movement on account 9962.
TMovimentacaoFinanceira Caixa() {
  TMovimentacaoFinanceira m;
  m.CodigoCaixaBanco = kCaixa;
  m.CodigoCobranca = "D";
  return m;
}

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery query(&sessao);
  query.SQL.Add(sql);
  query.ExecSQL();
}

class CreditoClienteReliability : public ::testing::Test {
 protected:
  void SetUp() override {
    // The block files of the services go to a folder of the test's own, never the working directory.
    FSpoolAnterior = DiretorioSpool(-1);
    FSpool = std::filesystem::temp_directory_path() / ("quorvin-credito-concorrencia-" + std::to_string(::getpid()));
    std::filesystem::create_directories(FSpool);
    DefinirDiretorios(DiretorioProd(-1), FSpool.string());
    Limpar();
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    Executar(Sessao(), "INSERT INTO ZTBANCO (CODBANCO, NOME) VALUES (9962, 'CAIXA CONCORRENCIA')");
    transacao.Commit();
  }
  void TearDown() override {
    Limpar();
    DefinirDiretorios(DiretorioProd(-1), FSpoolAnterior);
    std::error_code ignorado;
    std::filesystem::remove_all(FSpool, ignorado);
  }

  TOraSession& Sessao() { return FVerificacao.Host->Sessao(); }

  void Limpar() {
    TOraTransaction transacao(Sessao());
    Executar(Sessao(),
             "DELETE FROM ZTDESDCRECLI WHERE CODIGOORIG IN (SELECT CODIGO FROM ZTCRECLI WHERE CODCLI = 8891)");
    Executar(Sessao(), "DELETE FROM ZTCRECLI WHERE CODCLI = 8891");
    Executar(Sessao(), "DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 889100 AND 889199");
    Executar(Sessao(), "DELETE FROM ZTMOVCR WHERE CODBANCO = 9962");
    Executar(Sessao(), "DELETE FROM ZTESTCR WHERE CODBANCO = 9962");
    Executar(Sessao(), "DELETE FROM ZTBANCO WHERE CODBANCO = 9962");
    transacao.Commit();
  }

  // A committed cash credit of `valor`; answers its code.
  double CreditoConfirmado(double valor) {
    TOraTransaction transacao(Sessao());
    TCreditoCliente c(kCliente, valor, "1");
    c.Movimentacao = Caixa();
    std::string mensagem;
    EXPECT_TRUE(FVerificacao.Financeiro->GetCreditoCliente()->IncluirCreditoCliente(c, mensagem));
    transacao.Commit();
    return c.CODIGO;
  }

  void TituloConfirmado(double numtransvenda, double valor) {
    TOraTransaction transacao(Sessao());
    Executar(Sessao(), "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, VALOR) VALUES (" +
                           ShortestDecimal(numtransvenda) + ", '1', 77, '1', 8891, 'BK', " + ShortestDecimal(valor) +
                           ")");
    transacao.Commit();
  }

  static long Sucessos(const std::vector<std::string>& erros) {
    return std::count(erros.begin(), erros.end(), std::string());
  }

  HostSession FVerificacao{"credito-verificacao"};
  std::filesystem::path FSpool;
  std::string FSpoolAnterior;
};

TEST_F(CreditoClienteReliability, ConcurrentSettlementsOfOneTitlePayItOnce) {
  TituloConfirmado(889101, 100);
  const int sessoes = testsupport::SoakSessions();
  const auto erros = testsupport::InParallel(sessoes, "credito-baixa", [](HostSession& s, int) {
    TOraTransaction transacao(s.Host->Sessao());
    TContasReceberZTPrest t;
    t.NUMTRANSVENDA = 889101;
    t.PREST = "1";
    t.DUPLIC = 77;
    t.VALOR = 100;
    t.CODCOB = "BK";
    dynamic_cast<IFin_BaixaTituloComoCredito&>(*s.Financeiro->GetCreditoCliente()).BaixarTituloComoCredito(t, false);
    transacao.Commit();
  });
  EXPECT_EQ(Sucessos(erros), 1);
  for (const std::string& erro : erros) {
    if (!erro.empty()) {
      EXPECT_NE(erro.find("já foi baixado por outro usuário"), std::string::npos) << erro;
    }
  }
  EXPECT_EQ(Valor(Sessao(), "SELECT VPAGO || '/' || CODCOB FROM ZTPREST WHERE NUMTRANSVENDA = 889101"), "100.00/CRED");
}

TEST_F(CreditoClienteReliability, ConcurrentReversalsOfOneCreditPayTheMoneyOutOnce) {
  const double codigo = CreditoConfirmado(100);
  const int sessoes = testsupport::SoakSessions();
  const auto erros = testsupport::InParallel(sessoes, "credito-estorno", [codigo](HostSession& s, int) {
    TOraTransaction transacao(s.Host->Sessao());
    std::string mensagem;
    s.Financeiro->GetCreditoCliente()->EstornarCreditoCliente(codigo, 40, "", "", Caixa(), mensagem);
    transacao.Commit();
  });
  EXPECT_EQ(Sucessos(erros), 1);
  EXPECT_EQ(Valor(Sessao(), "SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9962 AND TIPO = 'C'"), "1");
  EXPECT_EQ(Valor(Sessao(), "SELECT SUM(VALOR) FROM ZTCRECLI WHERE CODCLI = 8891 AND DTDESCONTO IS NULL"), "60");
  EXPECT_EQ(Valor(Sessao(), "SELECT COUNT(*) FROM ZTCRECLI WHERE CODCLI = 8891"), "5");
}

TEST_F(CreditoClienteReliability, ConcurrentUsesOfOneCreditNeverSpendMoreThanItsValue) {
  const double codigo = CreditoConfirmado(100);
  for (int i = 0; i < 4; ++i) TituloConfirmado(889110 + i, 60);
  const auto erros = testsupport::InParallel(4, "credito-uso", [codigo](HostSession& s, int numero) {
    TOraTransaction transacao(s.Host->Sessao());
    TCreditoCliente c;
    c.CODIGO = codigo;
    TContasReceberZTPrest t;
    t.NUMTRANSVENDA = 889110 + numero;
    t.PREST = "1";
    std::string mensagem;
    s.Financeiro->GetCreditoCliente()->BaixarUmCreditoComUmOuVariosTitulos(c, {t}, false, mensagem);
    transacao.Commit();
  });
  EXPECT_EQ(Sucessos(erros), 1);
  EXPECT_EQ(Valor(Sessao(),
                  "SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 889110 AND 889113 AND CODCOB = "
                  "'CRED'"),
            "1");
  EXPECT_EQ(Valor(Sessao(), "SELECT SUM(VALOR) FROM ZTCRECLI WHERE CODCLI = 8891"), "100");
}

// The settlement of a title as credit, which no slot carries, is a command-line operation too; the
// title's refusals come back with their texts.
TEST_F(CreditoClienteReliability, SettlementAsCreditIsACommandLineOperation) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  TituloConfirmado(889120, 100);
  const auto chamar = [](const std::string& corpo) {
    std::istringstream entrada(corpo);
    std::ostringstream saida, erros;
    const int codigo = cli::Main({"call", "CreditoCliente.BaixarTituloComoCredito"}, entrada, saida, erros);
    return std::make_pair(codigo, cli::Json::parse(saida.str()));
  };
  const auto [pago, resposta] = chamar(
      R"({"args": {"TituloContasReceber": {"NUMTRANSVENDA": 889120, "PREST": "1", "DUPLIC": 77, "VALOR": 100,
          "TXPERM": 10.456, "CODCOB": "BK"}, "ConsideraDesconto": false}})");
  EXPECT_EQ(pago, 0) << resposta.dump();
  EXPECT_EQ(resposta["result"], true);
  EXPECT_EQ(Valor(Sessao(), "SELECT VPAGO || '/' || TXPERM FROM ZTPREST WHERE NUMTRANSVENDA = 889120"), "110.46/10.46");
  const auto [de_novo, recusa] = chamar(
      R"({"args": {"TituloContasReceber": {"NUMTRANSVENDA": 889120, "PREST": "1", "DUPLIC": 77, "VALOR": 100}}})");
  EXPECT_EQ(de_novo, 1) << recusa.dump();
  EXPECT_EQ(recusa["exception"], "ExErroAoBaixarCreditoCliente");
  EXPECT_NE(recusa["message"].get<std::string>().find("já foi baixado por outro usuário"), std::string::npos);
}

// A request the command line refuses (exit 2), or the module or its database package refuses
// (exit 1), with its text and exit code; nothing is written.
TEST_F(CreditoClienteReliability, HostileInputIsRefusedClearlyAndWritesNothing) {
  const struct {
    const char* nome;
    const char* operacao;
    const char* corpo;
    int saida;
    const char* mensagem;
  } casos[] = {
      {"TextWhereACodeGoes", "CreditoCliente.IncluirCreditoCliente",
       R"({"args": {"CreditoCliente": {"CODCLI": "8891", "CODFILIAL": "1", "VALOR": 10}}})", 2,
       "args.CreditoCliente.CODCLI: esperado número, recebido texto."},
      {"BranchTooWide", "CreditoCliente.IncluirCreditoCliente",
       R"({"args": {"CreditoCliente": {"CODCLI": 8891, "CODFILIAL": "123", "VALOR": 10}}})", 2, "CODFILIAL"},
      {"MovementKindOutOfRange", "CreditoCliente.EstornarCreditoCliente",
       R"({"args": {"CodigoCredito": 1, "ValorEstorno": 1, "Movimentacao": {"Tipo": 7}}})", 2,
       "args.Movimentacao.Tipo: valor fora do domínio (0 a 1)."},
      {"FractionalCreditCode", "CreditoCliente.EstornarCreditoCliente",
       R"({"args": {"CodigoCredito": 1.5, "ValorEstorno": 1}})", 2, "CodigoCredito"},
      {"TitlesThatAreNotAList", "CreditoCliente.BaixarUmCreditoComUmOuVariosTitulos",
       R"({"args": {"CreditoCliente": {"CODIGO": 1}, "ListaTitulos": {"NUMTRANSVENDA": 1}}})", 2,
       "args.ListaTitulos: esperada lista JSON, recebido objeto."},
      {"UnknownArgument", "CreditoCliente.AtualizarBaixarCreditoClienteVarejo", R"({"args": {"CodigoCreditoo": 1}})", 2,
       "campo desconhecido \"CodigoCreditoo\""},
      {"InstalmentThatTriesToEndItsLiteral", "CreditoCliente.EstornarTituloBaixadoComCredito",
       R"({"args": {"NumeroTransacaoVenda": 889199, "Prestacao": "1'"}})", 1, "O título 889199-1' não existe."},
      {"HistoryThatTriesToEndItsLiteral", "CreditoCliente.BaixarCreditoClienteVarejo",
       R"({"args": {"CodigoCredito": 999999991, "ValorBaixar": 1,
                            "Historico": "x'); DELETE FROM ZTCRECLI; --"}})",
       1, "Não existe crédito cadastrado para o código 999999991"},
      {"CounterEntryOfAnUnknownCredit", "CreditoCliente.ApenasGerarContraPartidaCredito",
       R"({"args": {"CodigoCredito": 999999992, "NumCred": 1}})", 1, "Erro ao gerar contra-partida em ZTCRECLI: "},
  };
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const std::string contagem = "SELECT COUNT(*) || '/' || NVL(SUM(VALOR), 0) FROM ZTCRECLI";
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const std::string antes = Valor(Sessao(), contagem);
    std::istringstream entrada(caso.corpo);
    std::ostringstream saida, erros;
    EXPECT_EQ(cli::Main({"call", caso.operacao}, entrada, saida, erros), caso.saida) << saida.str() << erros.str();
    const cli::Json resposta = cli::Json::parse(saida.str());
    EXPECT_EQ(resposta["ok"], false) << saida.str();
    EXPECT_NE(resposta["message"].get<std::string>().find(caso.mensagem), std::string::npos) << saida.str();
    EXPECT_EQ(Valor(Sessao(), contagem), antes);
  }
}

}  // namespace
