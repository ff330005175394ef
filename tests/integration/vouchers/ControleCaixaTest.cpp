#include <gtest/gtest.h>

#include <string>

#include "ValesFixture.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

using valestest::ValesTest;
using V = TValidacaoFinanceira;

const std::string kNenhum = std::string(V::kNenhumCaixaAberto) + "\r";
const std::string kLimite = std::string(V::kDataLimiteUltrapassada) + "\r";
const std::string kDiferente = std::string(V::kCaixaDiferente) + "\r";

// Each cash-control situation: the switch, the account's closing flag, the user's open cash, and
// what the check answers for the user and account asked about.
TEST_F(ValesTest, TheCashControlAnswersItsMessages) {
  const struct {
    const char* nome;
    const char* controle;    // ZTCONSUM.UTILIZACONTROLECAIXA (nullptr: no configuration row)
    const char* fechamento;  // ZTBANCO.UTILIZAFECHAMENTOCAIXA of account 9941
    double caixa_aberto;     // account of the user's open cash (0: none)
    int horas_para_limite;   // its closing limit from now (negative: already past)
    double usuario;
    double caixa;
    std::string mensagem;
  } casos[] = {
      {"SwitchedOffAnyAccountPasses", "N", "S", 0, 0, 1, 9941, ""},
      {"NoConfigurationRowIsOff", nullptr, "S", 0, 0, 1, 9941, ""},
      {"BankWithoutCashClosingPasses", "S", "N", 0, 0, 1, 9941, ""},
      {"ClosingFlagUnsetPasses", "S", nullptr, 0, 0, 1, 9941, ""},
      {"NoCashOpenForTheUser", "S", "S", 0, 0, 1, 9941, kNenhum},
      {"OpenCashOnTheAccountPasses", "S", "S", 9941, 8, 1, 9941, ""},
      {"OpenCashPastItsLimit", "S", "S", 9941, -2, 1, 9941, kLimite},
      {"OpenCashOnAnotherAccount", "S", "S", 9942, 8, 1, 9941, kDiferente},
      {"AnyOpenCashForAccountMinusOne", "S", "N", 9942, 8, 1, -1, ""},
      {"AccountMinusOneWithoutOpenCash", "S", "N", 0, 0, 1, -1, kNenhum},
      {"AccountMinusOnePastItsLimit", "S", "N", 9942, -1, 1, -1, kLimite},
      {"NoUserAndNoOtherCheck", "S", "S", 0, 0, 0, 9941, "Usuario de baixa nao informado"},
      {"NoUserEvenWithControlOff", "N", "S", 0, 0, 0, 9941, "Usuario de baixa nao informado"},
  };
  Exec("INSERT INTO ZTBANCO (CODBANCO, NOME, UTILIZAFECHAMENTOCAIXA) VALUES (9942, 'OUTRO CAIXA', 'S')");
  for (const auto& s : casos) {
    SCOPED_TRACE(s.nome);
    Exec("DELETE FROM ZTCONSUM");
    if (s.controle != nullptr)
      Exec(std::string("INSERT INTO ZTCONSUM (UTILIZACONTROLECAIXA) VALUES ('") + s.controle + "')");
    Exec(std::string("UPDATE ZTBANCO SET UTILIZAFECHAMENTOCAIXA = ") +
         (s.fechamento != nullptr ? std::string("'") + s.fechamento + "'" : "NULL") + " WHERE CODBANCO = 9941");
    Exec("DELETE FROM ztcontrolecx WHERE codfunccaixa = 1");
    if (s.caixa_aberto > 0) {
      Exec("INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento) VALUES (1, " +
           ShortestDecimal(s.caixa_aberto) + ", SYSDATE - 1, SYSDATE + (" + std::to_string(s.horas_para_limite) +
           " / 24))");
    }
    // A closed cash of the user never counts.
    Exec(
        "INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento, dtfechamento) VALUES (1, "
        "9941, SYSDATE - 10, SYSDATE - 9, SYSDATE - 9)");
    std::string mensagem = "anterior";
    EXPECT_EQ(V::ValidarCaixaCReceber(mensagem, Session(), s.usuario, s.caixa), s.mensagem.empty());
    EXPECT_EQ(mensagem, s.mensagem);
  }
}

// The inclusion refuses with the check's text behind its own prefix, before anything is written.
TEST_F(ValesTest, InclusionRefusedByTheCashControlWritesNothing) {
  Exec("DELETE FROM ZTCONSUM");
  Exec("INSERT INTO ZTCONSUM (UTILIZACONTROLECAIXA) VALUES ('S')");
  Exec("DELETE FROM ztcontrolecx WHERE codfunccaixa = 1");
  const std::string antes = Contagem();
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.MOVIMENTARCONTAVALE = true;
  EXPECT_FAILS_WITH(Vales().IncluirVale(p), "ExValidacaoCaixaReceber: Erro ao validar Caixa: \r" + kNenhum);
  EXPECT_EQ(Contagem(), antes);
  Exec(
      "INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento) VALUES (1, 9941, SYSDATE, "
      "SYSDATE + 1)");
  EXPECT_TRUE(Vales().IncluirVale(p));
}

}  // namespace
