#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ValesFixture.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

using valestest::Falha;
using valestest::ValesTest;
using V = TValidacaoFinanceira;

// A cash-control situation: the switch, the account's closing flag, the user's open cash, and
// what the check answers for the user and account asked about.
struct Situacao {
  const char* Name;
  const char* Controle;    // ZTCONSUM.UTILIZACONTROLECAIXA (nullptr: no configuration row)
  const char* Fechamento;  // ZTBANCO.UTILIZAFECHAMENTOCAIXA of account 9941
  double CaixaAberto;      // account of the user's open cash (0: none)
  int HorasParaLimite;     // its closing limit from now (negative: already past)
  double Usuario;
  double Caixa;
  std::string Mensagem;
};

void PrintTo(const Situacao& s, std::ostream* out) {
  *out << s.Name;
}

const std::string kNenhum = std::string(V::kNenhumCaixaAberto) + "\r";
const std::string kLimite = std::string(V::kDataLimiteUltrapassada) + "\r";
const std::string kDiferente = std::string(V::kCaixaDiferente) + "\r";

class ControleCaixa : public ValesTest, public ::testing::WithParamInterface<Situacao> {
 protected:
  void Preparar(const Situacao& s) {
    Exec("DELETE FROM ZTCONSUM");
    if (s.Controle != nullptr)
      Exec(std::string("INSERT INTO ZTCONSUM (UTILIZACONTROLECAIXA) VALUES ('") + s.Controle + "')");
    Exec(std::string("UPDATE ZTBANCO SET UTILIZAFECHAMENTOCAIXA = ") +
         (s.Fechamento != nullptr ? std::string("'") + s.Fechamento + "'" : "NULL") + " WHERE CODBANCO = 9941");
    Exec("INSERT INTO ZTBANCO (CODBANCO, NOME, UTILIZAFECHAMENTOCAIXA) VALUES (9942, 'OUTRO CAIXA', 'S')");
    Exec("DELETE FROM ztcontrolecx WHERE codfunccaixa = 1");
    if (s.CaixaAberto > 0) {
      Exec("INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento) VALUES (1, " +
           ShortestDecimal(s.CaixaAberto) + ", SYSDATE - 1, SYSDATE + (" + std::to_string(s.HorasParaLimite) +
           " / 24))");
    }
    // A closed cash of the user never counts.
    Exec(
        "INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento, dtfechamento) VALUES (1, "
        "9941, SYSDATE - 10, SYSDATE - 9, SYSDATE - 9)");
  }
};

TEST_P(ControleCaixa, AnswersItsMessages) {
  const Situacao& s = GetParam();
  Preparar(s);
  std::string mensagem = "anterior";
  EXPECT_EQ(V::ValidarCaixaCReceber(mensagem, Session(), s.Usuario, s.Caixa), s.Mensagem.empty());
  EXPECT_EQ(mensagem, s.Mensagem);
}

INSTANTIATE_TEST_SUITE_P(
    Vouchers, ControleCaixa,
    ::testing::Values(Situacao{"SwitchedOffAnyAccountPasses", "N", "S", 0, 0, 1, 9941, ""},
                      Situacao{"NoConfigurationRowIsOff", nullptr, "S", 0, 0, 1, 9941, ""},
                      Situacao{"BankWithoutCashClosingPasses", "S", "N", 0, 0, 1, 9941, ""},
                      Situacao{"ClosingFlagUnsetPasses", "S", nullptr, 0, 0, 1, 9941, ""},
                      Situacao{"NoCashOpenForTheUser", "S", "S", 0, 0, 1, 9941, kNenhum},
                      Situacao{"OpenCashOnTheAccountPasses", "S", "S", 9941, 8, 1, 9941, ""},
                      Situacao{"OpenCashPastItsLimit", "S", "S", 9941, -2, 1, 9941, kLimite},
                      Situacao{"OpenCashOnAnotherAccount", "S", "S", 9942, 8, 1, 9941, kDiferente},
                      Situacao{"AnyOpenCashForAccountMinusOne", "S", "N", 9942, 8, 1, -1, ""},
                      Situacao{"AccountMinusOneWithoutOpenCash", "S", "N", 0, 0, 1, -1, kNenhum},
                      Situacao{"AccountMinusOnePastItsLimit", "S", "N", 9942, -1, 1, -1, kLimite},
                      Situacao{"NoUserAndNoOtherCheck", "S", "S", 0, 0, 0, 9941, "Usuario de baixa nao informado"},
                      Situacao{"NoUserEvenWithControlOff", "N", "S", 0, 0, 0, 9941, "Usuario de baixa nao informado"}),
    [](const ::testing::TestParamInfo<Situacao>& info) { return info.param.Name; });

// The inclusion refuses with the check's text behind its own prefix, before anything is written.
TEST_F(ValesTest, InclusionRefusedByTheCashControlWritesNothing) {
  Exec("DELETE FROM ZTCONSUM");
  Exec("INSERT INTO ZTCONSUM (UTILIZACONTROLECAIXA) VALUES ('S')");
  Exec("DELETE FROM ztcontrolecx WHERE codfunccaixa = 1");
  const std::string antes = Contagem();
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.MOVIMENTARCONTAVALE = true;
  EXPECT_EQ(Falha([&] { Vales().IncluirVale(p); }), "ExValidacaoCaixaReceber: Erro ao validar Caixa: \r" + kNenhum);
  EXPECT_EQ(Contagem(), antes);
  Exec(
      "INSERT INTO ztcontrolecx (codfunccaixa, codbanco, dtabertura, dtlimitefechamento) VALUES (1, 9941, SYSDATE, "
      "SYSDATE + 1)");
  EXPECT_TRUE(Vales().IncluirVale(p));
}

}  // namespace
