#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Vouchers under concurrent sessions and hostile input. The concurrency cases commit, so they use
// a partner and an account no other test uses and remove what they wrote.
namespace {

using cli::Json;
using testsupport::HostSession;

constexpr double kParceiro = 7790;
constexpr double kConta = 9945;

std::string Valor(TOraSession& sessao, const std::string& sql) {
  return testsupport::QueryValue(sessao, sql).value_or("");
}

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery query(&sessao);
  query.SQL.Add(sql);
  query.ExecSQL();
}

class ValesReliability : public ::testing::Test {
 protected:
  void SetUp() override { Limpar(); }
  void TearDown() override { Limpar(); }

  void Limpar() {
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    Executar(FVerificacao.Host->Sessao(), "DELETE FROM ZTCORREN WHERE CODFUNC = " + ShortestDecimal(kParceiro));
    Executar(FVerificacao.Host->Sessao(), "DELETE FROM ZTMOVCR WHERE CODBANCO = " + ShortestDecimal(kConta));
    Executar(FVerificacao.Host->Sessao(), "DELETE FROM ZTESTCR WHERE CODBANCO = " + ShortestDecimal(kConta));
    transacao.Commit();
  }

  // A committed debit voucher of 100 for the partner, with no money side.
  RFin_ParametrosInclusaoVale Vale() {
    RFin_ParametrosInclusaoVale p;
    p.Inicializar();
    p.CODFILIAL = "1";
    p.TIPOPARCEIRO = "M";
    p.CODPARCEIRO = kParceiro;
    p.NATUREZA = "D";
    p.VALOR = 100;
    p.HISTORICO = "ADIANTAMENTO";
    p.DTLANC = TDateTime::EncodeDate(2026, 3, 2);
    p.CODBANCO = kConta;
    TOraTransaction transacao(FVerificacao.Host->Sessao());
    EXPECT_TRUE(FVerificacao.Financeiro->GetVales()->IncluirVale(p));
    transacao.Commit();
    return p;
  }

  static RFin_ParamBaixaVale Baixa(const RFin_ParametrosInclusaoVale& vale, double valor) {
    RFin_ParamBaixaVale b;
    b.Inicializar();
    b.NATUREZAVALE = nvDebito;
    b.NUMVALE = vale.NUMVALE;
    b.RECNUM = vale.RECNUM;
    b.VALORVALE = vale.VALOR;
    b.VALORBAIXA = valor;
    b.CODPARCEIRO = kParceiro;
    b.TIPOPARCEIRO = "M";
    b.CODFILIAL = "1";
    b.CODHIST = 1;
    b.HISTORICO = "ACERTO";
    b.CODBANCOVALE = static_cast<int>(kConta);
    b.CODBANCOBAIXA = static_cast<int>(kConta);
    b.PAGOEMDINHEIRO = true;
    return b;
  }

  // Sessions writing off the same voucher at once, each in its own transaction; what each threw.
  static std::vector<std::string> BaixarJuntas(int sessoes, const RFin_ParamBaixaVale& baixa) {
    return testsupport::InParallel(sessoes, "tests-vales", [&](HostSession& sessao, int) {
      TOraTransaction transacao(sessao.Host->Sessao());
      try {
        sessao.Financeiro->GetVales()->BaixarValeIndividual(baixa, nullptr);
      } catch (const Exception& e) {
        throw std::runtime_error(std::string(e.ClassName()) + ": " + e.Message());
      }
      transacao.Commit();
    });
  }

  HostSession FVerificacao{"tests-vales-verificacao"};
};

// The close is a conditional update: however many sessions write the voucher off together, one
// closes it and settles it once; every other one waits for it, finds the voucher closed and fails
// with the inner "already written off" message, leaving nothing behind.
TEST_F(ValesReliability, ConcurrentWriteOffsOfOneVoucherSettleItOnce) {
  for (const double valor : {100.0, 30.0}) {
    const RFin_ParametrosInclusaoVale vale = Vale();
    const int sessoes = testsupport::SoakSessions(6);
    const std::vector<std::string> erros = BaixarJuntas(sessoes, Baixa(vale, valor));
    int sucessos = 0;
    const std::string ja_baixado =
        "ExProcessoBaixaVale: Ocorreu um problema durante o processo de baixa de vale. "
        "Erro: \rVale número " +
        ShortestDecimal(vale.NUMVALE) + " já baixado.";
    for (const std::string& erro : erros) {
      if (erro.empty()) {
        ++sucessos;
      } else {
        EXPECT_EQ(erro, ja_baixado);
      }
    }
    EXPECT_EQ(sucessos, 1) << "write-off of " << valor;
    TOraSession& sessao = FVerificacao.Host->Sessao();
    const std::string n = ShortestDecimal(vale.NUMVALE);
    EXPECT_EQ(Valor(sessao, "SELECT SUM(VALOR) FROM ZTMOVCR WHERE CODCOB = 'VALE' AND NUMCARR = " + n),
              ShortestDecimal(valor));
    EXPECT_EQ(Valor(sessao, "SELECT COUNT(*) FROM ZTCORREN WHERE DTBAIXAVALE IS NULL AND NUMVALE = " + n),
              valor < 100 ? "1" : "0");
    EXPECT_EQ(
        Valor(sessao, "SELECT SUM(DECODE(TIPOLANC, 'D', VALOR, 'C', -VALOR, 0)) FROM ZTCORREN WHERE NUMVALE = " + n),
        ShortestDecimal(100 - valor));
  }
}

// Hostile requests through the command line: each is refused with a clear message and exit
// code, and nothing is written.
TEST_F(ValesReliability, HostileInputIsRefusedClearlyAndWritesNothing) {
  const struct {
    const char* nome;
    const char* operacao;
    const char* corpo;
    int saida;
    const char* mensagem;
  } casos[] = {
      {"TextWhereAValueGoes", "Vales.IncluirVale",
       R"({"record": {"CODFILIAL": "1", "TIPOPARCEIRO": "M", "CODPARCEIRO": 7790, "VALOR": "100"}})", 2,
       "record.VALOR: esperado número, recebido texto."},
      {"FractionalPartner", "Vales.IncluirVale",
       R"({"record": {"CODFILIAL": "1", "TIPOPARCEIRO": "M", "CODPARCEIRO": 7790.5, "VALOR": 1}})", 2, "CODPARCEIRO"},
      {"PartnerTypeTooWide", "Vales.IncluirVale",
       R"({"record": {"CODFILIAL": "1", "TIPOPARCEIRO": "MM", "CODPARCEIRO": 7790, "VALOR": 1}})", 2, "TIPOPARCEIRO"},
      {"InjectionInTheNature", "Vales.IncluirVale",
       R"({"record": {"CODFILIAL": "1", "TIPOPARCEIRO": "M", "CODPARCEIRO": 7790, "VALOR": 1,
                      "NATUREZA": "'", "DTLANC": "2026-03-02"}})",
       1, "Favor informar a natureza do vale."},
      {"ZeroWriteOff", "Vales.BaixarValeIndividual",
       R"({"record": {"NUMVALE": 1, "RECNUM": 1, "VALORVALE": 100, "VALORBAIXA": 0, "CODPARCEIRO": 7790,
                      "TIPOPARCEIRO": "M", "CODHIST": 1, "HISTORICO": "X", "CODBANCOBAIXA": 9945,
                      "PAGOEMDINHEIRO": true}})",
       1, "O valor a baixar não pode ser nulo ou menor que zero"},
      {"TransferToAnUnknownType", "Vales.TransferirVales",
       R"({"args": {"pfRecNum": 1, "pfCodigoParceiroDestino": 7790, "psTipoParceiroDestino": "X"}})", 1,
       "Favor informar o tipo do parceiro."},
      {"ReportWithAnUnknownOrdering", "Vales.EmissaoVales", R"({"args": {"pTipoOrdenacao": 9}})", 2, "pTipoOrdenacao"},
      {"TitleThatTriesToEndItsLiteral", "Vales.EmissaoVales",
       R"({"args": {"psTituloVale": "x' UNION SELECT 1 --", "pfCodigoParceiro": 7790}})", 0, ""},
  };
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  const std::string contagem = "SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC = 7790";
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const std::string antes = Valor(FVerificacao.Host->Sessao(), contagem);
    std::istringstream entrada(caso.corpo);
    std::ostringstream saida, erros;
    EXPECT_EQ(cli::Main({"call", caso.operacao}, entrada, saida, erros), caso.saida) << saida.str() << erros.str();
    const Json resposta = Json::parse(saida.str());
    EXPECT_EQ(resposta["ok"], caso.saida == 0) << saida.str();
    if (caso.saida != 0) {
      EXPECT_NE(resposta["message"].get<std::string>().find(caso.mensagem), std::string::npos) << saida.str();
    }
    EXPECT_EQ(Valor(FVerificacao.Host->Sessao(), contagem), antes);
  }
}

}  // namespace
