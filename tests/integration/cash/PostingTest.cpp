#include <gtest/gtest.h>

#include <tuple>

#include "CashFixture.h"

namespace {

using namespace cashtest;

using Movimento = RFin_IncluirMovimentacaoNumerarios;

// Both ways of moving the balance (row locked first, or updated in place) give the same rows.
class CashPosting : public CashTest, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(BalanceLock, CashPosting, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Locked") : std::string("InPlace");
                         });

// The first movement of a pair creates its balance row at zero. "D" adds, "C" subtracts, any
// other kind (lower case included) leaves the balance and is still inserted with it. A clearing
// date alone marks a movement reconciled; a reconciliation mark fills the other reconciliation
// fields from the server's clock and the posting user.
TEST_P(CashPosting, MovesTheBalanceByKindAndFreezesItInTheMovement) {
  const auto postar = [&](const std::string& tipo, double valor, void (*ajuste)(Movimento&) = nullptr) {
    Movimento r = NovoMovimento(tipo, valor);
    r.TRAVARSALDO = GetParam();
    if (ajuste != nullptr) ajuste(r);
    EXPECT_TRUE(Caixa().Incluir(r));
    return r;
  };
  for (const auto& [tipo, valor] :
       std::vector<std::pair<std::string, double>>{{"C", 40}, {"D", 40.1}, {"D", 0.2}, {"X", 9}, {"d", 9}}) {
    postar(tipo, valor);
  }
  // A movement without a kind is refused before anything is written.
  Movimento sem_tipo = NovoMovimento("  ", 9);
  sem_tipo.TRAVARSALDO = GetParam();
  EXPECT_EQ(Failure([&] { Caixa().Incluir(sem_tipo); }),
            "Exception: Tipo de movimentação inválido: '  '. Informe \"D\" (débito) ou \"C\" (crédito).");
  const Movimento compensado =
      postar("C", 5, [](Movimento& r) { r.DTCOMPENSACAO = TDateTime::EncodeDate(2025, 2, 3); });
  const TDateTime antes = Host().DataHoraServidor();
  const Movimento marcado = postar("D", 20, [](Movimento& r) { r.CODFUNC = 7, r.CONCILIACAO = "OK"; });
  EXPECT_GE(marcado.DTCONCIL, antes);
  EXPECT_LE(marcado.DTCONCIL, Host().DataHoraServidor());
  EXPECT_EQ(compensado.CONCILIACAO, "OK");
  EXPECT_EQ(Movimentos("TIPO, VLSALDO, VLSALDOCONCIL, CONCILIACAO, CODFUNCCONCIL, TO_CHAR(DTCOMPENSACAO, "
                       "'YYYY-MM-DD'), TO_CHAR(DTCONCIL, 'YYYY-MM-DD HH24:MI:SS')"),
            (Rows{"C|-40|||||", "D|0.1|||||", "D|0.3|||||", "X|0.3|||||", "d|0.3|||||",
                  "C|-4.7|-5|OK|1|2025-02-03|" + compensado.DTCONCIL.ToIso(),
                  "D|15.3|15|OK|7|" + Host().DataServidor().ToIso(true) + "|" + marcado.DTCONCIL.ToIso()}));
  EXPECT_EQ(Saldo(), Rows{"15.3|15"});
  EXPECT_EQ(Linhas("SELECT TO_CHAR(DTULTCONCILIA, 'YYYY-MM-DD HH24:MI:SS') FROM ZTESTCR" + DaConta()),
            Rows{marcado.DTCONCIL.ToIso()});
}

TEST_F(CashTest, DrawsNumTransLeavesUnsetColumnsToTheTableAndReturnsTheHostMessage) {
  Host().SetTexto("Movimento gravado.");
  Movimento vazio = NovoMovimento("D", 1);
  Movimento cheio = NovoMovimento("D", 1);
  cheio.NUMTRANS = 424242;
  cheio.CODCONTADEB = 1101, cheio.CODCONTACRED = 2101, cheio.OPERACAO = 3, cheio.CODFILIAL = "01";
  cheio.CODCLI = 55, cheio.NUMASSOCDNI = 8, cheio.CODFUNCDNICLI = 9;
  cheio.DTASSOCIADNICLI = TDateTime::EncodeDateTime(2025, 1, 2, 15, 4, 5);
  for (Movimento* r : {&vazio, &cheio}) Caixa().Incluir(*r);
  EXPECT_EQ(vazio.MENSAGEM, "Movimento gravado.");
  EXPECT_GT(vazio.NUMTRANS, 0);
  // The same generator the host's numbering service draws from.
  EXPECT_GT(Host().ProximoNumTrans(), vazio.NUMTRANS);
  EXPECT_EQ(Movimentos("NUMTRANS, CODCONTADEB, CODCONTACRED, OPERACAO, CODFILIAL, CODCLI, NUMASSOCDNI, "
                       "CODFUNCDNICLI, TO_CHAR(DTASSOCIADNICLI, 'YYYY-MM-DD HH24:MI:SS')"),
            (Rows{ShortestDecimal(vazio.NUMTRANS) + "||||||||", "424242|1101|2101|3|01|55|8|9|2025-01-02 00:00:00"}));
}

TEST_F(CashTest, AFailureKeepsItsClassAndLeavesItsMessageInTheRecord) {
  Movimento semData = NovoMovimento("D", 1);
  semData.DATA = TDateTime();  // a movement without a date is refused by the table
  const std::string falha = Failure([&] { Caixa().Incluir(semData); });
  EXPECT_EQ(falha.rfind("Exception: ", 0), 0U) << falha;
  EXPECT_NE(falha.find("ORA-01400"), std::string::npos) << falha;
  EXPECT_EQ(semData.MENSAGEM, "Erro ao inserir registros!\r" + falha.substr(11));
  // Outside a transaction nothing is written.
  Session().Rollback();
  Movimento fora = NovoMovimento("D", 1);
  EXPECT_EQ(Failure([&] { Caixa().Incluir(fora); }), "ExTransacaoNaoIniciada: Transação não iniciada.");
  EXPECT_EQ(fora.MENSAGEM, "Erro ao inserir registros!\rTransação não iniciada.");
  EXPECT_EQ(fora.NUMTRANS, 0);
  EXPECT_EQ(Saldo(), Rows{});
  Session().StartTransaction();
}

// A database failure inside a posting keeps the module's message and stays reachable as the
// cause, so the host (and the command line's exit code) tells it from a business refusal.
TEST_F(CashTest, ADatabaseFailureKeepsTheModulesMessageAndTheDatabaseCause) {
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.falha_de_banco() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'falha do servidor'; END$$;"
      "CREATE TRIGGER falha_de_banco BEFORE INSERT ON ZTMOVCR FOR EACH ROW EXECUTE FUNCTION pg_temp.falha_de_banco();");
  Movimento movimento = NovoMovimento("D", 10);
  try {
    Caixa().Incluir(movimento);
    FAIL() << "posted";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("falha do servidor"), std::string::npos) << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e)) << testsupport::ClassAndMessage(e);
  }
}

// Routine, permission 6 given, pair integrated, state of the period holding the clearing date
// (empty for none), refused.
class CashPostingPeriod : public CashTest,
                          public ::testing::WithParamInterface<std::tuple<int, bool, bool, std::string, bool>> {};

// Routine 632 with permission 6 refuses a clearing date inside a closed or blocked accounting
// period of the branch an integrated bank/collection pair posts to; every other case posts.
TEST_P(CashPostingPeriod, ClosedAccountingPeriodIsCheckedOnlyWhereItApplies) {
  const auto& [rotina, permissao, integrado, situacao, recusado] = GetParam();
  Host().SetCodigoRotina(rotina);
  Exec("DELETE FROM ZTPERMISSAO WHERE MATRICULA = 1 AND CODROTINA = 632 AND CODPERMISSAO = 6");
  if (permissao) Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 632, 6)");
  if (integrado) Exec("INSERT INTO ZTBANCOMOEDACONTABIL (CODBANCO, CODCOB, CODFILIAL) VALUES (9101, 'TST', '77')");
  if (!situacao.empty()) {
    Exec("INSERT INTO ZTPERIODOCONTABIL (CODFILIAL, DTINICIO, DTFIM, SITUACAO)" +
         Valores(std::string("77"), std::string("2025-02-01"), std::string("2025-02-28"), situacao));
  }
  Movimento r = NovoMovimento("D", 10);
  r.DTCOMPENSACAO = TDateTime::EncodeDate(2025, 2, 14);
  EXPECT_EQ(Failure([&] { Caixa().Incluir(r); }),
            recusado ? "ExDataCompensacaoBloqueioEncerramento: A data de compensação informada, encontra-se dentro "
                       "de um período bloqueado/encerrado (rotinas 2106/rotina 2117) na contabilidade.! Conforme "
                       "parâmetro: 2822 - Permitir conciliação em períodos encerrados no contábil."
                     : "(no exception)");
  EXPECT_EQ(Movimentos("VLSALDO"), recusado ? Rows{} : Rows{"10"});
  EXPECT_EQ(r.NUMTRANS == 0, recusado);
}

INSTANTIATE_TEST_SUITE_P(Routine632, CashPostingPeriod,
                         ::testing::Values(std::make_tuple(632, true, true, "E", true),     // closed
                                           std::make_tuple(632, true, true, "B", true),     // blocked
                                           std::make_tuple(632, true, true, "", false),     // open
                                           std::make_tuple(632, true, false, "E", false),   // pair not integrated
                                           std::make_tuple(632, false, true, "E", false),   // without permission 6
                                           std::make_tuple(746, true, true, "E", false)));  // another routine

}  // namespace
