#include <gtest/gtest.h>

#include "CashFixture.h"
#include "frame/Uclsfin_except.h"

namespace {

using cashtest::CashTest;

constexpr double kBanco = 9101;
const std::string kCob = "TST";

// Both ways of moving the balance (row locked first, or updated in place) must give the same rows.
class CashPosting : public CashTest, public ::testing::WithParamInterface<bool> {
 protected:
  RFin_IncluirMovimentacaoNumerarios Novo(const std::string& tipo, double valor) {
    RFin_IncluirMovimentacaoNumerarios r = NovoMovimento(kBanco, kCob, tipo, valor);
    r.TRAVARSALDO = GetParam();
    return r;
  }
};

INSTANTIATE_TEST_SUITE_P(BalanceLock, CashPosting, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Locked") : std::string("InPlace");
                         });

TEST_P(CashPosting, FirstMovementOfANewPairCreatesItsBalanceAtZero) {
  ASSERT_FALSE(Saldo(kBanco, kCob).has_value());
  RFin_IncluirMovimentacaoNumerarios r = Novo("C", 40);
  EXPECT_TRUE(Caixa().Incluir(r));
  EXPECT_EQ(Saldo(kBanco, kCob), -40);
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 0);
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_EQ(rows[0].VlSaldo, -40);
  // Not reconciled: the reconciliation columns stay empty.
  EXPECT_FALSE(rows[0].VlSaldoConcil.has_value());
  EXPECT_EQ(rows[0].Conciliacao, "");
}

struct KindCase {
  std::string tipo;
  double saldo;
};

class CashPostingKind : public CashTest, public ::testing::WithParamInterface<std::tuple<bool, KindCase>> {};

// "D" adds, "C" subtracts, any other kind (lower case included) leaves the balance and is still
// inserted with it.
TEST_P(CashPostingKind, MovesTheBalanceByItsKind) {
  const auto& [travar, kind] = GetParam();
  DefinirSaldo(kBanco, kCob, 100, 0);
  RFin_IncluirMovimentacaoNumerarios r = NovoMovimento(kBanco, kCob, kind.tipo, 25.5);
  r.TRAVARSALDO = travar;
  Caixa().Incluir(r);
  EXPECT_EQ(Saldo(kBanco, kCob), kind.saldo);
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_EQ(rows[0].VlSaldo, kind.saldo);
  EXPECT_EQ(rows[0].Tipo, kind.tipo);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CashPostingKind,
                         ::testing::Combine(::testing::Values(true, false),
                                            ::testing::Values(KindCase{"D", 125.5}, KindCase{"C", 74.5},
                                                              KindCase{"X", 100}, KindCase{"d", 100},
                                                              KindCase{"", 100})));

TEST_P(CashPosting, RunningBalanceFollowsEveryPosting) {
  DefinirSaldo(kBanco, kCob, 0.1, 0);
  for (const auto& [tipo, valor] : std::vector<std::pair<std::string, double>>{{"D", 0.2}, {"C", 0.05}, {"D", 1000}}) {
    RFin_IncluirMovimentacaoNumerarios r = Novo(tipo, valor);
    Caixa().Incluir(r);
  }
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0].VlSaldo, 0.3);
  EXPECT_EQ(rows[1].VlSaldo, 0.25);
  EXPECT_EQ(rows[2].VlSaldo, 1000.25);
  EXPECT_EQ(Saldo(kBanco, kCob), 1000.25);
}

TEST_P(CashPosting, OnlyAReconciliationMarkFillsTheOtherReconciliationFields) {
  DefinirSaldo(kBanco, kCob, 10, 5);
  RFin_IncluirMovimentacaoNumerarios r = Novo("D", 20);
  r.CODFUNC = 7;
  r.CONCILIACAO = "OK";
  const TDateTime antes = Host().DataHoraServidor();
  Caixa().Incluir(r);
  const TDateTime depois = Host().DataHoraServidor();
  EXPECT_GE(r.DTCONCIL, antes);
  EXPECT_LE(r.DTCONCIL, depois);
  EXPECT_EQ(r.DTCOMPENSACAO, Host().DataServidor());
  EXPECT_EQ(r.CODFUNCCONCIL, 7);
  EXPECT_EQ(Saldo(kBanco, kCob), 30);
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 25);
  EXPECT_EQ(Scalar("SELECT TO_CHAR(DTULTCONCILIA, 'YYYY-MM-DD HH24:MI:SS') FROM ZTESTCR WHERE CODBANCO = 9101"),
            r.DTCONCIL.ToIso());
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_EQ(rows[0].VlSaldo, 30);
  EXPECT_EQ(rows[0].VlSaldoConcil, 25);
  EXPECT_EQ(rows[0].Conciliacao, "OK");
  EXPECT_EQ(rows[0].DtConcil, r.DTCONCIL);
  EXPECT_EQ(rows[0].DtCompensacao, r.DTCOMPENSACAO);
  EXPECT_EQ(rows[0].CodFuncConcil, 7);
}

TEST_P(CashPosting, AClearingDateAloneMarksTheMovementReconciled) {
  DefinirSaldo(kBanco, kCob, 0, 0);
  RFin_IncluirMovimentacaoNumerarios r = Novo("C", 5);
  r.DTCOMPENSACAO = TDateTime::EncodeDate(2025, 2, 3);
  Caixa().Incluir(r);
  EXPECT_EQ(r.CONCILIACAO, "OK");
  EXPECT_EQ(r.DTCOMPENSACAO, TDateTime::EncodeDate(2025, 2, 3));
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), -5);
}

TEST_P(CashPosting, NumTransZeroIsDrawnAndAGivenOneKept) {
  RFin_IncluirMovimentacaoNumerarios primeiro = Novo("D", 1);
  RFin_IncluirMovimentacaoNumerarios segundo = Novo("D", 1);
  Caixa().Incluir(primeiro);
  Caixa().Incluir(segundo);
  EXPECT_GT(primeiro.NUMTRANS, 0);
  EXPECT_GT(segundo.NUMTRANS, primeiro.NUMTRANS);
  RFin_IncluirMovimentacaoNumerarios dado = Novo("D", 1);
  dado.NUMTRANS = 424242;
  Caixa().Incluir(dado);
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0].NumTrans, primeiro.NUMTRANS);
  EXPECT_EQ(rows[1].NumTrans, segundo.NUMTRANS);
  EXPECT_EQ(rows[2].NumTrans, 424242);
  // The same generator the host's numbering service draws from.
  EXPECT_GT(Host().ProximoNumTrans(), segundo.NUMTRANS);
}

TEST_P(CashPosting, OptionalColumnsNotSetAreLeftToTheTable) {
  RFin_IncluirMovimentacaoNumerarios vazio = Novo("D", 1);
  Caixa().Incluir(vazio);
  RFin_IncluirMovimentacaoNumerarios cheio = Novo("D", 1);
  cheio.CODCONTADEB = 1101;
  cheio.CODCONTACRED = 2101;
  cheio.OPERACAO = 3;
  cheio.CODFILIAL = "01";
  cheio.CODCLI = 55;
  cheio.NUMASSOCDNI = 8;
  cheio.CODFUNCDNICLI = 9;
  cheio.DTASSOCIADNICLI = TDateTime::EncodeDateTime(2025, 1, 2, 15, 4, 5);
  Caixa().Incluir(cheio);
  EXPECT_EQ(Scalar("SELECT NVL(TO_CHAR(CODCONTADEB), 'nulo') || '|' || NVL(TO_CHAR(CODCONTACRED), 'nulo') || '|' || "
                   "NVL(TO_CHAR(OPERACAO), 'nulo') || '|' || NVL(CODFILIAL, 'nulo') || '|' || "
                   "NVL(TO_CHAR(CODCLI), 'nulo') || '|' || NVL(TO_CHAR(NUMASSOCDNI), 'nulo') FROM ZTMOVCR "
                   "WHERE NUMTRANS = " +
                   cashtest::Literal(vazio.NUMTRANS)),
            "nulo|nulo|nulo|nulo|nulo|nulo");
  EXPECT_EQ(Scalar("SELECT CODCONTADEB || '|' || CODCONTACRED || '|' || OPERACAO || '|' || CODFILIAL || '|' || "
                   "CODCLI || '|' || NUMASSOCDNI || '|' || CODFUNCDNICLI || '|' || "
                   "TO_CHAR(DTASSOCIADNICLI, 'YYYY-MM-DD HH24:MI:SS') FROM ZTMOVCR WHERE NUMTRANS = " +
                   cashtest::Literal(cheio.NUMTRANS)),
            "1101|2101|3|01|55|8|9|2025-01-02 00:00:00");
}

TEST_P(CashPosting, SuccessReturnsTheHostMessage) {
  Host().SetTexto("Movimento gravado.");
  RFin_IncluirMovimentacaoNumerarios r = Novo("D", 1);
  Caixa().Incluir(r);
  EXPECT_EQ(r.MENSAGEM, "Movimento gravado.");
}

TEST_P(CashPosting, DatabaseFailureIsAPlainExceptionWithTheMessageInTheRecord) {
  RFin_IncluirMovimentacaoNumerarios r = Novo("D", 1);
  r.DATA = TDateTime();  // a movement without a date is refused by the table
  try {
    Caixa().Incluir(r);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_NE(e.Message().find("ORA-01400"), std::string::npos) << e.Message();
    EXPECT_EQ(r.MENSAGEM, "Erro ao inserir registros!\r" + e.Message());
  }
}

TEST_F(CashTest, PostingOutsideATransactionIsRefusedBeforeAnyWrite) {
  Session().Rollback();
  RFin_IncluirMovimentacaoNumerarios r = NovoMovimento(kBanco, kCob, "D", 1);
  try {
    Caixa().Incluir(r);
    FAIL() << "no exception";
  } catch (const ExTransacaoNaoIniciada& e) {
    EXPECT_EQ(e.Message(), "Transação não iniciada.");
    EXPECT_EQ(r.MENSAGEM, "Erro ao inserir registros!\rTransação não iniciada.");
  }
  EXPECT_FALSE(Saldo(kBanco, kCob).has_value());
  EXPECT_EQ(r.NUMTRANS, 0);
  Session().StartTransaction();
}

// Routine 632 with permission 6 refuses a clearing date inside a closed or blocked accounting
// period of the branch an integrated bank/collection pair posts to; every other case posts.
struct PeriodCase {
  std::string name;
  int rotina;
  bool permissao;
  bool integrado;
  std::string situacao;  // of the period holding the clearing date; empty = no period
  bool recusado;
};

void PrintTo(const PeriodCase& c, std::ostream* os) {
  *os << c.name;
}

class CashPostingPeriod : public CashTest, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(CashPostingPeriod, ClosedAccountingPeriodIsCheckedOnlyWhereItApplies) {
  const PeriodCase& c = GetParam();
  Host().SetCodigoRotina(c.rotina);
  Exec("DELETE FROM ZTPERMISSAO WHERE MATRICULA = 1 AND CODROTINA = 632 AND CODPERMISSAO = 6");
  if (c.permissao) Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 632, 6)");
  if (c.integrado) Exec("INSERT INTO ZTBANCOMOEDACONTABIL (CODBANCO, CODCOB, CODFILIAL) VALUES (9101, 'TST', '77')");
  if (!c.situacao.empty()) {
    Exec(
        "INSERT INTO ZTPERIODOCONTABIL (CODFILIAL, DTINICIO, DTFIM, SITUACAO) VALUES ('77', "
        "TO_DATE('2025-02-01', 'YYYY-MM-DD'), TO_DATE('2025-02-28', 'YYYY-MM-DD'), '" +
        c.situacao + "')");
  }
  RFin_IncluirMovimentacaoNumerarios r = NovoMovimento(kBanco, kCob, "D", 10);
  r.DTCOMPENSACAO = TDateTime::EncodeDate(2025, 2, 14);
  if (c.recusado) {
    try {
      Caixa().Incluir(r);
      FAIL() << "no exception";
    } catch (const ExDataCompensacaoBloqueioEncerramento& e) {
      EXPECT_EQ(e.Message(),
                "A data de compensação informada, encontra-se dentro de um período bloqueado/encerrado (rotinas "
                "2106/rotina 2117) na contabilidade.! Conforme parâmetro: 2822 - Permitir conciliação em períodos "
                "encerrados no contábil.");
    }
    EXPECT_FALSE(Saldo(kBanco, kCob).has_value());
    EXPECT_TRUE(Movimentos(kBanco, kCob).empty());
    EXPECT_EQ(r.NUMTRANS, 0);
  } else {
    EXPECT_TRUE(Caixa().Incluir(r));
    EXPECT_EQ(Saldo(kBanco, kCob), 10);
  }
}

INSTANTIATE_TEST_SUITE_P(Routine632, CashPostingPeriod,
                         ::testing::Values(PeriodCase{"ClosedPeriod", 632, true, true, "E", true},
                                           PeriodCase{"BlockedPeriod", 632, true, true, "B", true},
                                           PeriodCase{"OpenPeriod", 632, true, true, "", false},
                                           PeriodCase{"PairNotIntegrated", 632, true, false, "E", false},
                                           PeriodCase{"WithoutPermission6", 632, false, true, "E", false},
                                           PeriodCase{"OtherRoutine", 746, true, true, "E", false}),
                         [](const ::testing::TestParamInfo<PeriodCase>& info) { return info.param.name; });

}  // namespace
