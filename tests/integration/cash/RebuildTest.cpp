#include <gtest/gtest.h>

#include <functional>

#include "CashFixture.h"
#include "oradb/TOraSession.h"

namespace {

using cashtest::CashTest;

constexpr double kBanco = 9301;
const std::string kCob = "TST";

TDateTime Dia(int ano, int mes, int dia, int hora = 12) {
  return TDateTime::EncodeDateTime(ano, mes, dia, hora, 0, 0);
}

class CashRebuild : public CashTest {
 protected:
  static RFin_RecalculaNumerario Pedido(TDateTime inicio, TDateTime fim, double saldo) {
    RFin_RecalculaNumerario p;
    p.Inicializar();
    p.CODBANCO = kBanco;
    p.CODCOB = kCob;
    p.DATAINICIAL = inicio;
    p.DATAFINAL = fim;
    p.SALDOINICIAL = saldo;
    return p;
  }

  std::string Falha(const std::function<void()>& chamada) {
    try {
      chamada();
    } catch (const Exception& e) {
      EXPECT_STREQ(e.ClassName(), "Exception");
      return e.Message();
    }
    ADD_FAILURE() << "no exception";
    return {};
  }

  // A trigger that fails the statement writing `coluna` on this test's account.
  void FalharAoGravar(const std::string& coluna, const std::string& texto) {
    const std::string nome = "tst_falha_" + coluna;
    Session().ExecuteScript("CREATE FUNCTION public." + nome +
                            "() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN\n"
                            "  IF NEW.codbanco = 9301 AND NEW." +
                            coluna + " IS DISTINCT FROM OLD." + coluna + " THEN RAISE EXCEPTION '" + texto +
                            "'; END IF;\n  RETURN NEW;\nEND $f$;\n"
                            "CREATE TRIGGER " +
                            nome + " BEFORE UPDATE ON ztmovcr FOR EACH ROW EXECUTE FUNCTION public." + nome + "();");
  }
};

// Starting balance 100 and movements D 50, C 30 of March, typed in the wrong order and carrying
// stale balances; April lies outside the range and keeps its balance.
TEST_F(CashRebuild, PlainBalanceFollowsTheDateOrder) {
  DefinirSaldo(kBanco, kCob, 7, 0);
  const std::string credito = InserirMovimento(kBanco, kCob, 20, Dia(2025, 3, 20), "C", 30, 999);
  const std::string debito = InserirMovimento(kBanco, kCob, 21, Dia(2025, 3, 10), "D", 50, 999);
  const std::string fora = InserirMovimento(kBanco, kCob, 22, Dia(2025, 4, 1), "D", 5, 999);
  RFin_RecalculaNumerario p = Pedido(TDateTime::EncodeDate(2025, 3, 1), TDateTime::EncodeDate(2025, 3, 31), 100);
  p.RECALCULARSALDO = true;
  p.RECALCULARSALDOCONCILIADO = true;
  EXPECT_TRUE(Caixa().RecalcularSaldos(p));
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[1].VlSaldo, 150);
  EXPECT_EQ(rows[0].VlSaldo, 120);
  EXPECT_EQ(rows[2].VlSaldo, 999);
  EXPECT_EQ(Saldo(kBanco, kCob), 120);
  // Nothing was reconciled in the range: the reconciled balance stays as it was.
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 0);
  EXPECT_EQ(rows[0].VlSaldoConcil, -1);
}

TEST_F(CashRebuild, PlainBalanceCountsOnlyDebitsAndCredits) {
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 3, 1), "D", 50, 0);
  InserirMovimento(kBanco, kCob, 2, Dia(2025, 3, 2), "X", 20, 0);
  InserirMovimento(kBanco, kCob, 3, Dia(2025, 3, 3), "C", 30, 0);
  RFin_RecalculaNumerario p = Pedido({}, {}, 100);
  p.RECALCULARSALDO = true;
  p.RECALCULARSALDOCONCILIADO = true;
  Caixa().RecalcularSaldos(p);
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0].VlSaldo, 150);
  EXPECT_EQ(rows[1].VlSaldo, 150);
  EXPECT_EQ(rows[2].VlSaldo, 120);
  // No balance row yet: the rebuild creates it.
  EXPECT_EQ(Saldo(kBanco, kCob), 120);
}

class CashRebuildEmptyRange : public CashRebuild, public ::testing::WithParamInterface<bool> {};

TEST_P(CashRebuildEmptyRange, ChangesNothingNotEvenTheBalanceRow) {
  DefinirSaldo(kBanco, kCob, 999, 888);
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 5, 1), "D", 50, 777, "OK", Dia(2025, 5, 1));
  RFin_RecalculaNumerario p = Pedido(TDateTime::EncodeDate(2025, 3, 1), TDateTime::EncodeDate(2025, 3, 31), 100);
  p.RECALCULARSALDO = GetParam();
  p.RECALCULARSALDOCONCILIADO = true;
  EXPECT_TRUE(Caixa().RecalcularSaldos(p));
  EXPECT_EQ(Saldo(kBanco, kCob), 999);
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 888);
  EXPECT_EQ(Movimentos(kBanco, kCob)[0].VlSaldo, 777);
  EXPECT_EQ(Movimentos(kBanco, kCob)[0].VlSaldoConcil, -1);
}

INSTANTIATE_TEST_SUITE_P(PlainAndReconciled, CashRebuildEmptyRange, ::testing::Values(true, false));

TEST_F(CashRebuild, ReconciledBalanceWalksReconciledMovementsInReconciliationOrder) {
  DefinirSaldo(kBanco, kCob, 5, 5);
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 3, 1), "D", 100, 0, "OK", Dia(2025, 3, 5));
  InserirMovimento(kBanco, kCob, 2, Dia(2025, 3, 2), "C", 30, 0, "OK", Dia(2025, 3, 3));
  InserirMovimento(kBanco, kCob, 3, Dia(2025, 3, 3), "D", 10, 0);
  InserirMovimento(kBanco, kCob, 4, Dia(2025, 3, 4), "D", 500, 0, "OK", Dia(2025, 3, 4), {}, 99);
  RFin_RecalculaNumerario p = Pedido({}, {}, 0);
  p.RECALCULARSALDOCONCILIADO = true;
  const TDateTime antes = Host().DataHoraServidor();
  EXPECT_TRUE(Caixa().RecalcularSaldos(p));
  const auto rows = Movimentos(kBanco, kCob);
  ASSERT_EQ(rows.size(), 4U);
  EXPECT_EQ(rows[1].VlSaldoConcil, -30);
  EXPECT_EQ(rows[0].VlSaldoConcil, 70);
  EXPECT_EQ(rows[2].VlSaldoConcil, -1);  // not reconciled
  EXPECT_EQ(rows[3].VlSaldoConcil, -1);  // operation 99
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 70);
  EXPECT_EQ(Saldo(kBanco, kCob), 5);
  EXPECT_EQ(rows[0].VlSaldo, 0);  // the plain balance was not asked for
  EXPECT_GE(Scalar("SELECT TO_CHAR(DTULTCONCILIA, 'YYYY-MM-DD HH24:MI:SS') FROM ZTESTCR WHERE CODBANCO = 9301"),
            antes.ToIso());
}

// Starting balance 1000 on 1 March; reconciled movements cleared in March (D 200) and May (C 50).
TEST_F(CashRebuild, LaterMonthsCarryTheBalanceAndResetTheMonthsAfter) {
  const TDateTime inicio = TDateTime::EncodeDate(2025, 3, 1);
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 3, 2), "D", 200, 0, "OK", Dia(2025, 3, 2),
                   TDateTime::EncodeDate(2025, 3, 4));
  InserirMovimento(kBanco, kCob, 2, Dia(2025, 5, 2), "C", 50, 0, "OK", Dia(2025, 5, 2),
                   TDateTime::EncodeDate(2025, 5, 6));
  InserirMovimento(kBanco, kCob, 3, Dia(2025, 4, 2), "D", 70, 0, {}, {}, TDateTime::EncodeDate(2025, 4, 6));
  const TDateTime antiga = TDateTime::EncodeDate(2020, 1, 1);
  InserirMes(kBanco, kCob, 2025, 2, 1, 1, 1, 1, antiga);
  InserirMes(kBanco, kCob, 2025, 4, 9, 9, 9, 9, antiga);
  InserirMes(kBanco, kCob, 2025, 6, 9, 9, 9, 9, antiga);
  InserirMes(kBanco, kCob, 2026, 1, 9, 9, 9, 9, antiga);
  RFin_RecalculaNumerario p = Pedido(inicio, {}, 1000);
  p.RECALCULARSALDOCOMPENSACAO = true;
  p.SOMENTEMESESPOSTERIORES = true;
  EXPECT_TRUE(Caixa().RecalcularSaldos(p));

  const auto marco = Mes(kBanco, kCob, 2025, 3);
  ASSERT_TRUE(marco);
  EXPECT_EQ(marco->ValorDebito, 200);
  EXPECT_EQ(marco->ValorCredito, 0);
  EXPECT_EQ(marco->SaldoInicial, 1000);
  EXPECT_EQ(marco->Saldo, 1200);
  EXPECT_EQ(marco->DataSaldoInicial, inicio);
  const auto abril = Mes(kBanco, kCob, 2025, 4);
  ASSERT_TRUE(abril);
  EXPECT_EQ(abril->ValorDebito, 0);
  EXPECT_EQ(abril->ValorCredito, 0);
  EXPECT_EQ(abril->SaldoInicial, 1200);
  EXPECT_EQ(abril->Saldo, 1200);
  EXPECT_EQ(abril->DataSaldoInicial, inicio);
  const auto maio = Mes(kBanco, kCob, 2025, 5);
  ASSERT_TRUE(maio);
  EXPECT_EQ(maio->ValorCredito, 50);
  EXPECT_EQ(maio->SaldoInicial, 1200);
  EXPECT_EQ(maio->Saldo, 1150);
  for (const auto& [ano, mes] : std::vector<std::pair<int, int>>{{2025, 6}, {2026, 1}}) {
    const auto depois = Mes(kBanco, kCob, ano, mes);
    ASSERT_TRUE(depois);
    EXPECT_EQ(depois->ValorDebito, 0);
    EXPECT_EQ(depois->ValorCredito, 0);
    EXPECT_EQ(depois->SaldoInicial, 1150);
    EXPECT_EQ(depois->Saldo, 1150);
    // The reset leaves the start date of the rebuild that wrote the month.
    EXPECT_EQ(depois->DataSaldoInicial, antiga);
  }
  // Later months only: February is left as it was.
  const auto fevereiro = Mes(kBanco, kCob, 2025, 2);
  ASSERT_TRUE(fevereiro);
  EXPECT_EQ(fevereiro->Saldo, 1);
  EXPECT_EQ(MesesGravados(kBanco, kCob), 6);
}

// Starting balance 1000 on 1 March; February sums D 300, C 100 and December before D 50.
TEST_F(CashRebuild, EarlierMonthsWalkBackFromTheStart) {
  const TDateTime inicio = TDateTime::EncodeDate(2025, 3, 1);
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 2, 2), "D", 300, 0, "OK", Dia(2025, 2, 2),
                   TDateTime::EncodeDate(2025, 2, 3));
  InserirMovimento(kBanco, kCob, 2, Dia(2025, 2, 9), "C", 100, 0, "OK", Dia(2025, 2, 9),
                   TDateTime::EncodeDate(2025, 2, 10));
  InserirMovimento(kBanco, kCob, 3, Dia(2024, 12, 2), "D", 50, 0, "OK", Dia(2024, 12, 2),
                   TDateTime::EncodeDate(2024, 12, 3));
  InserirMes(kBanco, kCob, 2025, 4, 9, 9, 9, 9);
  RFin_RecalculaNumerario p = Pedido(inicio, {}, 1000);
  p.RECALCULARSALDOCOMPENSACAO = true;
  EXPECT_TRUE(Caixa().RecalcularSaldos(p));

  struct Esperado {
    int ano, mes;
    double debito, credito, inicial, saldo;
  };
  for (const Esperado& e : std::vector<Esperado>{{2025, 3, 0, 0, 1000, 1000},
                                                 {2025, 2, 300, 100, 800, 1000},
                                                 {2025, 1, 0, 0, 800, 800},
                                                 {2024, 12, 50, 0, 750, 800},
                                                 // no later movements: the months after the start carry it
                                                 {2025, 4, 0, 0, 1000, 1000}}) {
    const auto mes = Mes(kBanco, kCob, e.ano, e.mes);
    ASSERT_TRUE(mes) << e.mes << "/" << e.ano;
    EXPECT_EQ(mes->ValorDebito, e.debito) << e.mes << "/" << e.ano;
    EXPECT_EQ(mes->ValorCredito, e.credito) << e.mes << "/" << e.ano;
    EXPECT_EQ(mes->SaldoInicial, e.inicial) << e.mes << "/" << e.ano;
    EXPECT_EQ(mes->Saldo, e.saldo) << e.mes << "/" << e.ano;
  }
  EXPECT_EQ(MesesGravados(kBanco, kCob), 5);
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, kCob), 750);
}

struct CheckCase {
  std::string name;
  std::function<void(RFin_RecalculaNumerario&)> ajuste;
  bool semTransacao;
  std::string mensagem;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}

class CashRebuildChecks : public CashRebuild, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CashRebuildChecks, RefuseInsideTheRebuildWrapper) {
  const CheckCase& c = GetParam();
  RFin_RecalculaNumerario p = Pedido({}, {}, 0);
  p.RECALCULARSALDOCONCILIADO = true;
  c.ajuste(p);
  if (c.semTransacao) Session().Rollback();
  EXPECT_EQ(Falha([&] { Caixa().RecalcularSaldos(p); }),
            "Erro ao realizar o recálculo do saldo do Caixa/Banco:\r" + c.mensagem);
  if (c.semTransacao) Session().StartTransaction();
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, CashRebuildChecks,
    ::testing::Values(
        CheckCase{"NotInitialised",
                  [](auto& p) {
                    p.Inicializado = false;
                    p.CODBANCO = 0;
                  },
                  true, "Parâmetros não inicializados."},
        CheckCase{"NoTransaction", [](auto& p) { p.CODBANCO = 0; }, true, "Transação não iniciada."},
        CheckCase{"NoAccount",
                  [](auto& p) {
                    p.CODBANCO = 0;
                    p.CODCOB.clear();
                  },
                  false, "O código do Banco para o recálculo não foi informado."},
        CheckCase{"NoCollectionCode",
                  [](auto& p) {
                    p.CODCOB.clear();
                    p.RECALCULARSALDOCONCILIADO = false;
                  },
                  false, "O código da Moeda para o recálculo não foi informado."},
        CheckCase{"PlainBalanceAlone",
                  [](auto& p) {
                    p.RECALCULARSALDOCONCILIADO = false;
                    p.RECALCULARSALDO = true;
                  },
                  false,
                  "Nenhuma opção para recálculo foi selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo "
                  "por Data de Compensação."}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

// A failing plain rebuild still lets the reconciled and clearing-date rebuilds run, and its own
// writes are undone.
TEST_F(CashRebuild, AFailingRebuildDoesNotStopTheOthers) {
  DefinirSaldo(kBanco, kCob, 7, 7);
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 3, 1), "D", 100, 0, "OK", Dia(2025, 3, 1),
                   TDateTime::EncodeDate(2025, 3, 2));
  InserirMovimento(kBanco, kCob, 2, Dia(2025, 3, 2), "C", 40, 0, "OK", Dia(2025, 3, 2),
                   TDateTime::EncodeDate(2025, 3, 3));
  FalharAoGravar("vlsaldo", "falha simulada no saldo");
  RFin_RecalculaNumerario p = Pedido(TDateTime::EncodeDate(2025, 3, 1), TDateTime::EncodeDate(2025, 3, 31), 10);
  p.RECALCULARSALDO = true;
  p.RECALCULARSALDOCONCILIADO = true;
  p.RECALCULARSALDOCOMPENSACAO = true;
  p.SOMENTEMESESPOSTERIORES = true;
  const std::string mensagem = Falha([&] { Caixa().RecalcularSaldos(p); });
  EXPECT_EQ(mensagem.rfind("Erro ao realizar o recálculo do saldo do Caixa/Banco '9301' - 'TST': \r", 0), 0U)
      << mensagem;
  EXPECT_NE(mensagem.find("falha simulada no saldo"), std::string::npos) << mensagem;
  const auto rows = Movimentos(kBanco, kCob);
  EXPECT_EQ(rows[0].VlSaldo, 0);
  EXPECT_EQ(Saldo(kBanco, kCob), 7);
  EXPECT_EQ(rows[0].VlSaldoConcil, 110);
  EXPECT_EQ(rows[1].VlSaldoConcil, 70);
  EXPECT_EQ(SaldoConciliado(kBanco, kCob), 70);
  const auto marco = Mes(kBanco, kCob, 2025, 3);
  ASSERT_TRUE(marco);
  EXPECT_EQ(marco->Saldo, 70);
}

TEST_F(CashRebuild, TheLastFailureIsTheOneReported) {
  InserirMovimento(kBanco, kCob, 1, Dia(2025, 3, 1), "D", 100, 0, "OK", Dia(2025, 3, 1),
                   TDateTime::EncodeDate(2025, 3, 2));
  FalharAoGravar("vlsaldo", "falha simulada no saldo");
  FalharAoGravar("vlsaldoconcil", "falha simulada no conciliado");
  RFin_RecalculaNumerario p = Pedido({}, {}, 0);
  p.RECALCULARSALDO = true;
  p.RECALCULARSALDOCONCILIADO = true;
  const std::string mensagem = Falha([&] { Caixa().RecalcularSaldos(p); });
  EXPECT_NE(mensagem.find("falha simulada no conciliado"), std::string::npos) << mensagem;
  EXPECT_EQ(mensagem.find("falha simulada no saldo"), std::string::npos) << mensagem;
  // The session is still usable after both failures.
  EXPECT_EQ(Movimentos(kBanco, kCob).size(), 1U);
}

TEST_F(CashRebuild, PreviousMonthOfJanuaryIsDecemberOfTheYearBefore) {
  InserirMes(kBanco, kCob, 2023, 12, 0, 0, 0, 321.5);
  InserirMes(kBanco, kCob, 2024, 1, 0, 0, 0, 111);
  InserirMes(kBanco, kCob, 2024, 12, 0, 0, 0, 999);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, kCob, 2024, 1), 321.5);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, kCob, 2024, 2), 111);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, kCob, 2024, 3), 0);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, "OUT", 2024, 1), 0);
  EXPECT_EQ(Falha([&] { (void)Caixa().ObterSaldoFinalMesAnterior(kBanco, kCob, 2024, 13); }), "Mês inválido: 13.");
}

TEST_F(CashRebuild, OpeningBalanceIsTheEarliestMonthsAcrossYears) {
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, kCob), 0);
  InserirMes(kBanco, kCob, 2024, 1, 0, 0, 20, 0);
  InserirMes(kBanco, kCob, 2023, 12, 0, 0, 10, 0);
  InserirMes(kBanco, "OUT", 2020, 1, 0, 0, 99, 0);
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, kCob), 10);
}

struct LastMonthCase {
  TDateTime data;
  double saldo;
};

class CashLastMonth : public CashRebuild, public ::testing::WithParamInterface<LastMonthCase> {};

TEST_P(CashLastMonth, ClosingBalanceOfTheLatestMonthStartingBeforeTheDate) {
  InserirMes(kBanco, kCob, 2024, 1, 0, 0, 0, 100);
  InserirMes(kBanco, kCob, 2024, 3, 0, 0, 0, 300);
  InserirMes(kBanco, kCob, 2024, 5, 0, 0, 0, 500);
  InserirMes(kBanco, "OUT", 2024, 4, 0, 0, 0, 444);
  EXPECT_EQ(Caixa().ObterSaldoFinalUltimoMes(kBanco, kCob, GetParam().data), GetParam().saldo);
}

INSTANTIATE_TEST_SUITE_P(Dates, CashLastMonth,
                         ::testing::Values(LastMonthCase{TDateTime::EncodeDate(2024, 3, 15), 300},
                                           LastMonthCase{TDateTime::EncodeDate(2024, 3, 1), 100},
                                           LastMonthCase{TDateTime::EncodeDate(2024, 4, 30), 300},
                                           LastMonthCase{TDateTime::EncodeDate(2024, 1, 1), 0},
                                           LastMonthCase{TDateTime::EncodeDate(2026, 1, 1), 500}));

}  // namespace
