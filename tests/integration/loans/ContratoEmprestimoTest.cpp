#include <gtest/gtest.h>

#include <exception>
#include <string>

#include "frame/Uclsfin_except.h"
#include "oradb/EOraError.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace {

constexpr double kConta = 9931;  // receiving account no other test uses

using testsupport::CausaDoBanco;

class ContratoEmprestimoTest : public testsupport::HostTest {
 protected:
  IFin_ContratoEmprestimo& Area() { return *Financeiro().GetContratoEmprestimo(); }

  static TFin_ContratoEmprestimo Contrato(const std::string& tipo, double valor) {
    TFin_ContratoEmprestimo c;
    c.Inicializar();
    c.NUMCONTRATO = "CT-" + tipo;
    c.TIPOCONTRATO = tipo;
    c.CODBANCO = kConta;
    c.VLRTOTAL = valor;
    c.CODFORNEC = 77;
    return c;
  }

  std::string Movimentos() {
    return Scalar("SELECT COUNT(*) || ';' || SUM(VALOR) FROM ZTMOVCR WHERE CODBANCO = " + ShortestDecimal(kConta));
  }
};

TEST_F(ContratoEmprestimoTest, TypeOneWritesOnlyItsRowWithUnsetDatesAsNull) {
  TFin_ContratoEmprestimo c = Contrato("1", 1000);
  c.DTCOTACAO = TDateTime(-3);  // not positive: NULL as well
  ASSERT_TRUE(Area().Salvar(c));
  ASSERT_GT(c.NUMSEQCONTRATOEMPRESTIMO, 0);
  const std::string chave = ShortestDecimal(c.NUMSEQCONTRATOEMPRESTIMO);
  EXPECT_EQ(Scalar("SELECT NVL(TO_CHAR(DTCONTRATO), 'NULL') || '|' || NVL(TO_CHAR(DTCOTACAO), 'NULL') || '|' || "
                   "VLRTOTAL FROM ZTCONTRATOEMPRESTIMO WHERE NUMSEQCONTRATOEMPRESTIMO = " +
                   chave),
            "NULL|NULL|1000.00");
  EXPECT_EQ(Movimentos(), "0;");
}

// The money of a type 3 or 4 contract enters its account once, on insert, with the movement the
// finance staff recognise; saving the contract again rewrites the row and posts nothing.
TEST_F(ContratoEmprestimoTest, TypesThreeAndFourPostTheirValueOnceOnInsert) {
  Host().SetCodigoRotina(772);
  TFin_ContratoEmprestimo tres = Contrato("3", 1234.567);
  tres.DTCONTRATO = TDateTime::EncodeDate(2026, 3, 2);
  ASSERT_TRUE(Area().Salvar(tres));
  TFin_ContratoEmprestimo quatro = Contrato("4", 100);
  ASSERT_TRUE(Area().Salvar(quatro));
  EXPECT_NE(tres.NUMSEQCONTRATOEMPRESTIMO, quatro.NUMSEQCONTRATOEMPRESTIMO);
  EXPECT_EQ(Movimentos(), "2;1334.57");
  EXPECT_EQ(Scalar("SELECT CODCOB || '|' || TIPO || '|' || HISTORICO || '|' || NUMCARR || '|' || CODFUNC || '|' || "
                   "INDICE || '|' || CODCONTADEB || '|' || CODCONTACRED || '|' || CODROTINALANC || '|' || "
                   "TO_CHAR(DATA, 'HH24:MI:SS') FROM ZTMOVCR WHERE VALOR = 1234.57 AND CODBANCO = " +
                   ShortestDecimal(kConta)),
            "D|D|Emprestimo 772|0|1|A|||772|00:00:00");
  // Accounts 0 are not written (the cash area stores only accounts it is given).
  // Hour and minute are those of the server's clock when the movement was posted.
  const std::string hora =
      Scalar("SELECT HORA * 60 + MINUTO FROM ZTMOVCR WHERE VALOR = 1234.57 AND CODBANCO = " + ShortestDecimal(kConta));
  const std::string agora = Scalar(
      "SELECT TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')) * 60 + "
      "TO_NUMBER(TO_CHAR(SYSDATE, 'MI')) FROM DUAL");
  EXPECT_LE(std::abs(std::stod(agora) - std::stod(hora)), 1.0) << hora << " vs " << agora;
  EXPECT_EQ(Scalar("SELECT VALOR FROM ZTESTCR WHERE CODCOB = 'D' AND CODBANCO = " + ShortestDecimal(kConta)),
            "1334.57");

  tres.OBSERVACAO = "renegociado";
  tres.VLRTOTAL = 2000;
  ASSERT_TRUE(Area().Salvar(tres));
  EXPECT_EQ(Movimentos(), "2;1334.57");
  EXPECT_EQ(Scalar("SELECT OBSERVACAO || '|' || VLRTOTAL FROM ZTCONTRATOEMPRESTIMO WHERE NUMSEQCONTRATOEMPRESTIMO = " +
                   ShortestDecimal(tres.NUMSEQCONTRATOEMPRESTIMO)),
            "renegociado|2000.00");
}

TEST_F(ContratoEmprestimoTest, UpdatingAKeyThatDoesNotExistAnswersFalseAndWritesNothing) {
  TFin_ContratoEmprestimo c = Contrato("3", 500);
  c.NUMSEQCONTRATOEMPRESTIMO = 9999999999;
  EXPECT_FALSE(Area().Salvar(c));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO WHERE NUMSEQCONTRATOEMPRESTIMO = 9999999999"), "0");
  EXPECT_EQ(Movimentos(), "0;");
  EXPECT_TRUE(Area().Cancelar(c));
}

TEST_F(ContratoEmprestimoTest, AContractThatBringsMoneyInNeedsItsAccountAndAValue) {
  const auto falha = [this](TFin_ContratoEmprestimo c) { return testsupport::Failure([&] { Area().Salvar(c); }); };
  TFin_ContratoEmprestimo sem_conta = Contrato("4", 10);
  sem_conta.CODBANCO = 0;
  EXPECT_EQ(falha(sem_conta), "Exception: Informe o banco/caixa que recebe o valor do contrato de empréstimo.");
  EXPECT_EQ(falha(Contrato("3", 0.004)), "Exception: O valor total do contrato de empréstimo deve ser maior que zero.");
  EXPECT_EQ(falha(Contrato("3", -10)), "Exception: O valor total do contrato de empréstimo deve ser maior que zero.");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCONTRATOEMPRESTIMO WHERE NUMCONTRATO IN ('CT-3', 'CT-4')"), "0");
}

// A failed posting keeps its designed text and its cause: the database failure stays reachable,
// so the host tells a database fault from a refusal.
TEST_F(ContratoEmprestimoTest, AFailedPostingIsReportedWithItsTextAndKeepsTheDatabaseCause) {
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.recusa_emprestimo() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'conta bloqueada para testes'; END$$;"
      "CREATE TRIGGER recusa_emprestimo BEFORE INSERT ON ZTMOVCR FOR EACH ROW "
      "EXECUTE FUNCTION pg_temp.recusa_emprestimo();");
  TFin_ContratoEmprestimo c = Contrato("3", 10);
  try {
    Area().Salvar(c);
    FAIL() << "posted";
  } catch (const Exception& e) {
    const std::string falha = testsupport::ClassAndMessage(e);
    EXPECT_EQ(falha.rfind("Exception: Houve um erro ao gerar a movimentação de numerários: ", 0), 0u) << falha;
    EXPECT_NE(e.Message().find("conta bloqueada para testes"), std::string::npos) << e.Message();
    EXPECT_TRUE(CausaDoBanco(e));
  }
}

}  // namespace
