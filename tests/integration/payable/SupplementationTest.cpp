#include <ostream>
#include <string>
#include <tuple>
#include <utility>

#include "PayableFixture.h"
#include "support/Failure.h"

namespace payabletest {
namespace {

constexpr const char* kTextoOrcamento =
    "Lançamentos da Conta 3101 para 05/2030 na Filial 1 ultrapassou o Valor Orçado !\r\n"
    "Lançamentos já realizados: 999,99\r\n"
    "Valor Orçado: 1.000,00\r\n"
    "Saldo disponível: 0,01";

// Account 3101 of branch "1" has 1.000,00 for May 2030, of which 999,99 is already due. The
// entries are requested by MARIA, employee 901.
class PayableBudget : public PayableTest {
 protected:
  void SetUp() override {
    PayableTest::SetUp();
    Host().SetCodigoRotina(749);
    Exec("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES05) VALUES (3101, '1', 2030, 1000)");
    Lancado("ZTLANC", 999.99, "DTVENC = DATE '2030-05-25'");
    Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (901, 'MARIA DAS COMPRAS', 'MARIA')");
  }

  // A row already posted (outside the module) in account 3101 of branch "1"; `colunas` sets the rest.
  void Lancado(const std::string& tabela, double valor, const std::string& colunas) {
    const std::string recnum = ShortestDecimal(Host().ProximoRecNum());
    Exec("INSERT INTO " + tabela + " (RECNUM, CODCONTA, CODFILIAL, VALOR) VALUES (" + recnum + ", 3101, '1', " +
         ShortestDecimal(valor) + ")");
    Exec("UPDATE " + tabela + " SET " + colunas + " WHERE RECNUM = " + recnum);
  }

  void TrabalhaComSuplementacao() { SetParametro("TRABSUPLORC", "S", "1"); }

  [[nodiscard]] RFin_IncluirContasPagar Despesa(double valor) {
    RFin_IncluirContasPagar registro = Valida();
    registro.VALOR = valor;
    registro.NOMEFUNC = "MARIA";
    return registro;
  }

  [[nodiscard]] static RFin_ValidarOrcamento Pergunta(double valor, double recnum = 0) {
    RFin_ValidarOrcamento pergunta{.RECNUM = recnum,
                                   .CODFILIAL = "1",
                                   .CODCONTA = kConta,
                                   .VALOR = valor,
                                   .DTVENC = Dia(20),
                                   .DTCOMPETENCIA = Dia(20),
                                   .Inicializado = true};
    return pergunta;
  }

  [[nodiscard]] bool Excedido(double valor, double recnum = 0) {
    RFin_ValidarOrcamento pergunta = Pergunta(valor, recnum);
    return ContasPagar().VerificarOrcamentoExcedido(pergunta);
  }

  // An entry held for supplementation through Incluir (the user confirms).
  double Reter() {
    TrabalhaComSuplementacao();
    AnswerConfirmations(TModalResult::mrOk);
    RFin_IncluirContasPagar registro = Despesa(0.02);
    EXPECT_TRUE(ContasPagar().Incluir(registro));
    EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 1);
    Host().LimparConfirmacoes();
    return registro.RECNUM;
  }

  // Two apportionment rows of 0.01 (ADM, COM) of held entry `n`, over budget when `excedido`.
  void RateiosRetidos(const std::string& n, bool excedido) {
    for (const char* centro : {"ADM", "COM"}) {
      Exec(std::string("INSERT INTO ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, "
                       "DTLANC, CONTRAPARTIDA, CODFILIAL") +
           (excedido ? ", ORCAMENTOEXCEDIDO" : "") + ") VALUES (" + n + ", 3101, '" + centro +
           "', 0.01, 50, DATE '2030-05-10', 'N', '1'" + (excedido ? ", 'S'" : "") + ")");
    }
  }

  // Held entry `n` made an expense settled by routine 631 from bank 11 (transaction 4321).
  void Baixada(const std::string& n, const std::string& outras_colunas = "") {
    Exec(
        "UPDATE ZTLANCBLOQ SET CODROTINABAIXA = 631, CODMOEDABAIXA = 'D', NUMTRANS = 4321, NUMBANCO = 11, "
        "DTPAGTO = DTLANC, VPAGO = VALOR" +
        outras_colunas + " WHERE RECNUM = " + n);
  }

  // Approves held entry `recnum`; its message in `mensagem`.
  bool Aprovar(double recnum, std::string& mensagem) {
    RFin_AprovarSuplementacao aprovacao{.RECNUM = recnum, .MENSAGEM = "", .Inicializado = true};
    const bool aprovado = ContasPagar().AprovarSuplementacao(aprovacao);
    mensagem = aprovacao.MENSAGEM;
    return aprovado;
  }
};

constexpr const char* kPerguntaSuplementacao =
    "Confirma geração de lançamento acima do orçamento para a suplementação orçamentária?";

// How Incluir ends for an entry at the budget's edge.
struct Desfecho {
  const char* nome;
  const char* parametro;  // "S" in branch "1": TRABSUPLORC (supplementation) or FIL_BLOQDESPVLRORC (blocking)
  TModalResult resposta;  // the user's answer to the question
  bool dentro_aprovacao;
  double valor;
  const char* tabela;    // where the entry goes; null when refused
  const char* pergunta;  // the question after the budget text; null when none is asked
  std::string erro;      // ExValidarOrcamentoExcedido's message when refused
};

// A case prints as its name, in test listings and failure reports.
void PrintTo(const Desfecho& c, std::ostream* out) {
  *out << c.nome;
}

class PayableBudgetOutcome : public PayableBudget, public ::testing::WithParamInterface<Desfecho> {};

TEST_P(PayableBudgetOutcome, EntryIsPostedHeldOrRefused) {
  const Desfecho& caso = GetParam();
  SetParametro(caso.parametro, "S", "1");
  AnswerConfirmations(caso.resposta);
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Despesa(caso.valor);
  registro.DENTROAPROVACAOORCAMENTO = caso.dentro_aprovacao;
  if (caso.tabela == nullptr) {
    EXPECT_FAILS_WITH(ContasPagar().Incluir(registro), "ExValidarOrcamentoExcedido: " + caso.erro);
  } else {
    ASSERT_TRUE(ContasPagar().Incluir(registro));
    EXPECT_EQ(Linhas(caso.tabela, registro.RECNUM), 1);
    // A held entry keeps its apportionment in the held tables too.
    const bool retido = std::string(caso.tabela) == "ZTLANCBLOQ";
    EXPECT_EQ(ContasPagar().GetSuplementacao(), retido);
    EXPECT_EQ(ContasPagar().GetLancarZTLancBloqGeral(), retido);
    ASSERT_EQ(centro_custo.Chamadas.size(), 1U);
    EXPECT_EQ(centro_custo.Chamadas[0].LancarZTLancBloq, retido);
  }
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM) + Linhas("ZTLANCBLOQ", registro.RECNUM), caso.tabela ? 1 : 0);
  ASSERT_EQ(Host().Confirmacoes().size(), caso.pergunta ? 1U : 0U);
  if (caso.pergunta != nullptr) {
    EXPECT_EQ(Host().Confirmacoes()[0].Texto, std::string(kTextoOrcamento) + "\r\n" + caso.pergunta);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Boundary, PayableBudgetOutcome,
    ::testing::Values(
        Desfecho{"LastCentIsPosted", "TRABSUPLORC", TModalResult::mrOk, false, 0.01, "ZTLANC", nullptr, ""},
        Desfecho{"OneCentOverIsHeldOnceConfirmed", "TRABSUPLORC", TModalResult::mrOk, false, 0.02, "ZTLANCBLOQ", kPerguntaSuplementacao, ""},
        Desfecho{"CancelledConfirmationAborts", "TRABSUPLORC", TModalResult::mrCancel, false, 0.02, nullptr, kPerguntaSuplementacao,
                 "Validação de Orçamento! \rSuplementação orçamentária! \r\nAção abortada pelo usuário!"},
        Desfecho{"ApprovedEntryIsAskedAboutAndPosted", "TRABSUPLORC", TModalResult::mrOk, true, 0.02, "ZTLANC", "Confirma geração de lançamento acima do orçamento?", ""},
        Desfecho{"BlockingBranchPostsTheLastCent", "FIL_BLOQDESPVLRORC", TModalResult::mrOk, false, 0.01, "ZTLANC", nullptr, ""},
        Desfecho{"BlockingBranchRefusesTheCentOver", "FIL_BLOQDESPVLRORC", TModalResult::mrOk, false, 0.02, nullptr, nullptr,
                 std::string("Validação de Orçamento! \r") + kTextoOrcamento + "\r\nUsuário sem permissão para lançar acima do orçamento."}),
    [](const ::testing::TestParamInfo<Desfecho>& info) { return info.param.nome; });
// clang-format on

// The supplementation flag belongs to each entry: one held before must not hold this one.
TEST_F(PayableBudget, AnEntryWithinBudgetIsNeverHeldBecauseThePreviousOneWas) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  Reter();
  RFin_IncluirContasPagar seguinte = Despesa(0.01);
  ASSERT_TRUE(ContasPagar().Incluir(seguinte));
  EXPECT_EQ(Linhas("ZTLANC", seguinte.RECNUM), 1);
  EXPECT_FALSE(ContasPagar().GetSuplementacao());
  EXPECT_FALSE(ContasPagar().GetLancarZTLancBloqGeral());
  ASSERT_EQ(centro_custo.Chamadas.size(), 2U);
  EXPECT_FALSE(centro_custo.Chamadas[1].LancarZTLancBloq);
}

// An apportionment over its cost centers' budget holds an entry the account's budget lets through; what the
// cost-center area still holds about an earlier entry holds nothing.
TEST_F(PayableBudget, TheCostCenterAreaHoldsOnlyTheEntryItsApportionmentIsAbout) {
  TrabalhaComSuplementacao();
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Despesa(0.01);
  centro_custo.SetNumTransacao(registro.RECNUM);
  centro_custo.SetLancarZTLancBloq(true);
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 1);
  EXPECT_TRUE(centro_custo.Chamadas.at(0).LancarZTLancBloq);

  RFin_IncluirContasPagar seguinte = Despesa(0.01);
  ASSERT_TRUE(ContasPagar().Incluir(seguinte));
  EXPECT_EQ(Linhas("ZTLANC", seguinte.RECNUM), 1);

  // A row marked over budget in the area's rows counts the same; without supplementation nothing is held.
  Exec("DELETE FROM ZTLANC WHERE RECNUM = " + ShortestDecimal(seguinte.RECNUM));
  RFin_ValidarOrcamento pergunta = Pergunta(0.01, 4242);
  centro_custo.SetLancarZTLancBloq(false);
  centro_custo.SetNumTransacao(4242);
  TClientDataSet& rateios = *centro_custo.GetCdsRateios();
  rateios.Append();
  rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString("1.01");
  rateios.FieldByName("ORCAMENTOEXCEDIDO").SetAsString("S");
  rateios.Post();
  EXPECT_TRUE(ContasPagar().LancarSuplementacao(pergunta));
  EXPECT_FALSE(ContasPagar().GetOrcamentoExcedido());
  EXPECT_TRUE(ContasPagar().GetLancarZTLancBloqGeral());
  SetParametro("TRABSUPLORC", "N", "1");
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(pergunta));
  EXPECT_FALSE(ContasPagar().GetLancarZTLancBloqGeral());
}

TEST_F(PayableBudget, TheEntryItselfIsLeftOutOfWhatTheMonthHolds) {
  TrabalhaComSuplementacao();
  const double ja_lancado = ScalarNumber("SELECT MAX(RECNUM) FROM ZTLANC");
  // Re-checking the 999,99 entry with a new value of 1.000,00: its own 999,99 does not count.
  EXPECT_FALSE(Excedido(1000, ja_lancado));
  EXPECT_TRUE(Excedido(1000, ja_lancado + 1));
  EXPECT_TRUE(ContasPagar().GetOrcamentoExcedido());
}

// Open entries count by due month, paid ones by what was paid in the month; held entries count only
// when budgets are consumed by accrual, and then entries count by accrual month wherever due.
TEST_F(PayableBudget, CountsWhatTheMonthReallyHolds) {
  TrabalhaComSuplementacao();
  // The row's table, value and other columns, what it takes from the month's 1.000,00, by accrual.
  // clang-format off
  const std::tuple<const char*, double, const char*, double, bool> casos[] = {
      {"ZTLANC", 50, "DTVENC = DATE '2030-05-31'", 50, false},
      {"ZTLANC", 50, "DTVENC = DATE '2030-06-01'", 0, false},
      {"ZTLANC", 500, "DTPAGTO = TIMESTAMP '2030-05-31 18:00:00', VPAGO = 450, DTVENC = DATE '2030-04-01'", 450, false},
      {"ZTLANCBLOQ", 30, "DTVENC = DATE '2030-05-03'", 0, false},
      {"ZTLANCBLOQ", 299.99, "DTCOMPETENCIA = DATE '2030-05-09'", 299.99, true},
      {"ZTLANCBLOQ", 30, "DTCOMPETENCIA = DATE '2030-05-09', DTREJEICAOSUPLORC = DATE '2030-05-10'", 0, true},
      {"ZTLANC", 700, "DTVENC = DATE '2030-07-01', DTCOMPETENCIA = DATE '2030-05-02'", 700, true}};
  // clang-format on
  for (const auto& [tabela, valor, colunas, conta, competencia] : casos) {
    Exec("DELETE FROM ZTLANC");
    Exec("DELETE FROM ZTLANCBLOQ");
    SetParametro("ORCREGCOMPETENCIA", competencia ? "S" : "N", "1");
    Lancado(tabela, valor, colunas);
    EXPECT_FALSE(Excedido(RoundTo(1000 - conta, 2))) << tabela << " " << colunas;
    EXPECT_TRUE(Excedido(RoundTo(1000 - conta + 0.01, 2))) << tabela << " " << colunas;
  }
}

TEST_F(PayableBudget, OnlyPositiveEntriesOfItsRoutinesInABranchWithBudgetControlAreSupplemented) {
  RFin_ValidarOrcamento pergunta = Pergunta(5000);
  // Without budget control in the branch anything is posted, never held.
  EXPECT_TRUE(ContasPagar().VerificarOrcamentoExcedido(pergunta));
  EXPECT_FALSE(ContasPagar().GetLancarZTLancBloqGeral());
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(pergunta));

  TrabalhaComSuplementacao();
  EXPECT_TRUE(ContasPagar().LancarSuplementacao(pergunta));
  RFin_ValidarOrcamento estorno = Pergunta(-5000);
  estorno.NEGATIVO = true;
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(estorno));
  // Every routine that may hold an entry for supplementation, and its neighbours that may not.
  for (const auto& [rotina, suplementa] : {std::pair{631, true},
                                           {703, true},
                                           {749, true},
                                           {750, true},
                                           {630, false},
                                           {702, false},
                                           {704, false},
                                           {748, false},
                                           {751, false},
                                           {746, false},
                                           {614, false}}) {
    Host().SetCodigoRotina(rotina);
    EXPECT_EQ(ContasPagar().LancarSuplementacao(pergunta), suplementa) << rotina;
  }
  // Routine 614 has no budget control at all.
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(pergunta));
  EXPECT_FALSE(ContasPagar().GetOrcamentoExcedido());
}

using PayableApproval = PayableBudget;

TEST_F(PayableApproval, HeldEntryAndItsApportionmentMoveAndTheRequesterIsTold) {
  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  RateiosRetidos(n, true);
  std::string mensagem;
  ASSERT_TRUE(Aprovar(recnum, mensagem)) << mensagem;

  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum) + Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 0);
  EXPECT_EQ(Valores("ZTLANC", recnum,
                    {"HISTORICO", "TO_CHAR(VALOR)", "CODROTINACAD", "TO_CHAR(CODFUNCAUTSUPLORC)",
                     "CASE WHEN TRUNC(DATAAUTSUPLORC) = TRUNC(SYSDATE) THEN 'HOJE' END"}),
            (Textos{"MATERIAL DE ESCRITORIO", "0.02", "749", "1", "HOJE"}));
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE CODFUNCAUTSUPLORC = 1 AND ORCAMENTOEXCEDIDO "
                         "= 'S' AND DATAAUTSUPLORC IS NOT NULL AND RECNUM = " +
                         n),
            2);
  EXPECT_EQ(Scalar("SELECT CODFUNCAB || '|' || CODFUNCDEST || '|' || ASSUNTO || '|' || TEXTORECADO FROM ZTRECFUNC"),
            "1|901|Aprovação de suplementação|Lançamento RecNum: " + n + " aprovado. ");
}

// An expense settled by routine 631 moves its money through the cash area when approved.
TEST_F(PayableApproval, SettledExpenseMovesItsMoneyWhenApproved) {
  Host().SetCodigoRotina(631);
  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  Baixada(n, ", NUMNOTA = 8899, INDICE = 'B', HISTORICO2 = 'NF 8899'");
  std::string mensagem;
  ASSERT_TRUE(Aprovar(recnum, mensagem)) << mensagem;
  EXPECT_EQ(Scalar("SELECT NUMTRANS || '|' || CODBANCO || '|' || CODCOB || '|' || TO_CHAR(VALOR) || '|' || TIPO || "
                   "'|' || HISTORICO || '|' || HISTORICO2 || '|' || NUMCARR || '|' || NUMDOC || '|' || INDICE || '|' "
                   "|| CODFUNC || '|' || CODROTINALANC || '|' || TO_CHAR(VLSALDO) FROM ZTMOVCR"),
            "4321|11|D|0.02|C|MATERIAL DE ESCRITORIO|NF 8899|8899|" + n + "|B|1|631|-0.02");
  EXPECT_EQ(Scalar("SELECT TEXTORECADO FROM ZTRECFUNC"),
            "Lançamento RecNum: " + n + " aprovado. \rO lançamento da despesa foi realizado.");
}

// An entry tied to an entry invoice is not rejected here; the others are stamped, lose their
// service row and the user is told.
TEST_F(PayableApproval, RejectionStampsTheEntryDropsItsServiceRowAndTellsTheUser) {
  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  Exec("INSERT INTO ZTNFENT (NUMTRANSENT, NUMNOTA) VALUES (77, 123)");
  RFin_RejeitarSuplementacao nota{.RECNUM = recnum, .HISTORICOREJEICAO = "", .NUMTRANSENT = 77, .Inicializado = true};
  EXPECT_FAILS_WITH(
      ContasPagar().RejeitarSuplementacao(nota),
      "ExSuplementacaoZTNFENTVinculada: Suplementação possui ZTNFENT vinculada com numtransent! \rRecNum: " + n +
          " NumTransEnt: 77");
  EXPECT_EQ(Valores("ZTLANCBLOQ", recnum, {"DTREJEICAOSUPLORC"}), Textos{""});

  Exec("INSERT INTO ZTSERVICOSPEDEFD (CODSERVICO, SERIENF) VALUES (42, '1')");
  RFin_RejeitarSuplementacao rejeicao{
      .RECNUM = recnum, .HISTORICOREJEICAO = "SEM VERBA NO TRIMESTRE", .CODSERVICO = 42, .Inicializado = true};
  ASSERT_TRUE(ContasPagar().RejeitarSuplementacao(rejeicao));
  EXPECT_EQ(Valores("ZTLANCBLOQ", recnum,
                    {"TO_CHAR(CODFUNCREJEICAOSUPLORC)", "HISTORICOREJEICAOSUPLORC",
                     "CASE WHEN TRUNC(DTREJEICAOSUPLORC) = TRUNC(SYSDATE) THEN 'HOJE' END"}),
            (Textos{"1", "SEM VERBA NO TRIMESTRE", "HOJE"}));
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTSERVICOSPEDEFD"), 0);
  EXPECT_EQ(Scalar("SELECT CODFUNCDEST || '|' || ASSUNTO || '|' || TEXTORECADO FROM ZTRECFUNC"),
            "1|Rejeição de suplementação|Lançamento RecNum: " + n + " rejeitado. \rSEM VERBA NO TRIMESTRE");
}

// An entry approved after it was rejected is posted without the rejection stamp, so it counts in
// the month's budget like any other posted entry.
TEST_F(PayableApproval, AnEntryApprovedAfterItsRejectionCountsInTheBudget) {
  const double recnum = Reter();
  RFin_RejeitarSuplementacao rejeicao{.RECNUM = recnum, .HISTORICOREJEICAO = "SEM VERBA", .Inicializado = true};
  ASSERT_TRUE(ContasPagar().RejeitarSuplementacao(rejeicao));
  std::string mensagem;
  ASSERT_TRUE(Aprovar(recnum, mensagem)) << mensagem;
  EXPECT_EQ(Valores("ZTLANC", recnum, {"TO_CHAR(DTREJEICAOSUPLORC)"}), Textos{""});
  // 999.99 due before plus the approved 0.02: the last cent of the budget is gone.
  EXPECT_TRUE(Excedido(0.01));
}

// Where an approval can fail after it has started writing, and how the test makes it fail and
// then removes the cause. The entry is a settled expense (its money moves) with two apportionment
// rows.
struct FalhaAprovacao {
  const char* Nome;
  const char* Causa;     // PostgreSQL text run before the approval
  const char* Remedio;   // run before the retry
  const char* Mensagem;  // the whole message, or "" when only its opening and the cause's text are known
  friend void PrintTo(const FalhaAprovacao& caso, std::ostream* os) { *os << caso.Nome; }
};

class PayableApprovalFailure : public PayableApproval, public ::testing::WithParamInterface<FalhaAprovacao> {
 protected:
  // Every trigger of these cases raises this text.
  static constexpr const char* kFalhaForcada = "falha forçada no teste";

  void SetUp() override {
    PayableApproval::SetUp();
    Session().ExecuteScript(
        std::string("CREATE FUNCTION public.falha_forcada() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE "
                    "EXCEPTION '") +
        kFalhaForcada + "'; END $$");
  }
};

TEST_P(PayableApprovalFailure, AnsweringFalseLeavesNothingAndTheRetrySucceeds) {
  const FalhaAprovacao& caso = GetParam();
  Host().SetCodigoRotina(631);
  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  Baixada(n);
  RateiosRetidos(n, false);
  const Textos colunas{"HISTORICO", "TO_CHAR(VALOR)", "TO_CHAR(NUMBANCO)", "CODMOEDABAIXA", "TO_CHAR(NUMTRANS)"};
  Session().ExecuteScript(caso.Causa);
  const Textos retido = Valores("ZTLANCBLOQ", recnum, colunas);

  std::string mensagem;
  EXPECT_FALSE(Aprovar(recnum, mensagem));
  if (*caso.Mensagem != '\0') {
    EXPECT_EQ(mensagem, caso.Mensagem);
  } else {
    EXPECT_EQ(mensagem.rfind("Erro ao aprovar a suplementação. \r", 0), 0U) << mensagem;
    EXPECT_NE(mensagem.find(kFalhaForcada), std::string::npos) << mensagem;
  }
  EXPECT_EQ(Linhas("ZTLANC", recnum), 0);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTO", recnum), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTMOVCR") + ScalarNumber("SELECT COUNT(*) FROM ZTESTCR") +
                ScalarNumber("SELECT COUNT(*) FROM ZTRECFUNC"),
            0);
  EXPECT_EQ(Valores("ZTLANCBLOQ", recnum, colunas), retido);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 2);

  Session().ExecuteScript(caso.Remedio);
  ASSERT_TRUE(Aprovar(recnum, mensagem)) << mensagem;
  EXPECT_EQ(Linhas("ZTLANC", recnum), 1);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTO", recnum), 2);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum) + Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTMOVCR"), 1);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRECFUNC"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Payable, PayableApprovalFailure,
    ::testing::Values(FalhaAprovacao{"CashStepRefusesAnEntryWithoutBank", "UPDATE ZTLANCBLOQ SET NUMBANCO = 0",
                                     "UPDATE ZTLANCBLOQ SET NUMBANCO = 11",
                                     "Erro ao aprovar a suplementação. \rCódigo do banco/caixa inválido: 0."},
                      FalhaAprovacao{"BalanceRowInsertFails",
                                     "CREATE TRIGGER falha BEFORE INSERT ON ZTESTCR FOR EACH ROW EXECUTE FUNCTION "
                                     "public.falha_forcada()",
                                     "DROP TRIGGER falha ON ZTESTCR", ""},
                      FalhaAprovacao{
                          "ApportionmentCopyFails",
                          "CREATE TRIGGER falha BEFORE INSERT ON ZTRATEIOCENTROCUSTO FOR EACH ROW EXECUTE FUNCTION "
                          "public.falha_forcada()",
                          "DROP TRIGGER falha ON ZTRATEIOCENTROCUSTO", ""},
                      FalhaAprovacao{"NoticeFailsAfterTheHeldRowsWereDeleted",
                                     "CREATE TRIGGER falha BEFORE INSERT ON ZTRECFUNC FOR EACH ROW EXECUTE FUNCTION "
                                     "public.falha_forcada()",
                                     "DROP TRIGGER falha ON ZTRECFUNC", ""}),
    [](const ::testing::TestParamInfo<FalhaAprovacao>& info) { return std::string(info.param.Nome); });

// Approval and rejection act on an entry still held: one not held answers false, never a success
// that did nothing, and a rejected one answers false to a second rejection, with the host's message;
// neither writes anything (no entry, no second stamp, no second notice).
TEST_F(PayableApproval, ApprovalOrRejectionOfAnEntryNotHeldOrRejectedAlreadyAnswersFalse) {
  std::string mensagem;
  EXPECT_FALSE(Aprovar(999999, mensagem));
  EXPECT_EQ(mensagem, "RecNum: 999999 não encontrado na tabela ZTLANCBLOQ !");
  EXPECT_EQ(Linhas("ZTLANC", 999999), 0);
  RFin_RejeitarSuplementacao ausente{.RECNUM = 999999, .HISTORICOREJEICAO = "X", .Inicializado = true};
  EXPECT_FALSE(ContasPagar().RejeitarSuplementacao(ausente));
  EXPECT_EQ(Host().Mensagens().Texto(), "RecNum: 999999 não encontrado na tabela ZTLANCBLOQ !");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRECFUNC"), 0);

  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  RFin_RejeitarSuplementacao rejeicao{.RECNUM = recnum, .HISTORICOREJEICAO = "SEM VERBA", .Inicializado = true};
  ASSERT_TRUE(ContasPagar().RejeitarSuplementacao(rejeicao));
  RFin_RejeitarSuplementacao outra{.RECNUM = recnum, .HISTORICOREJEICAO = "OUTRO MOTIVO", .Inicializado = true};
  EXPECT_FALSE(ContasPagar().RejeitarSuplementacao(outra));
  EXPECT_EQ(Host().Mensagens().Texto(), "RecNum: " + n + " já rejeitado na tabela ZTLANCBLOQ !");
  EXPECT_EQ(Valores("ZTLANCBLOQ", recnum, {"HISTORICOREJEICAOSUPLORC"}), Textos{"SEM VERBA"});
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRECFUNC"), 1);
}

// A rejection that fails part-way (its notice) leaves the entry as it was, even for a caller that
// goes on with its transaction.
TEST_F(PayableApproval, AFailedRejectionLeavesTheEntryAsItWas) {
  const double recnum = Reter();
  Exec("INSERT INTO ZTSERVICOSPEDEFD (CODSERVICO, SERIENF) VALUES (42, '1')");
  Session().ExecuteScript(
      "CREATE FUNCTION public.falha_forcada() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION "
      "'recado recusado'; END $$; CREATE TRIGGER falha BEFORE INSERT ON ZTRECFUNC FOR EACH ROW EXECUTE FUNCTION "
      "public.falha_forcada()");
  RFin_RejeitarSuplementacao rejeicao{
      .RECNUM = recnum, .HISTORICOREJEICAO = "SEM VERBA", .CODSERVICO = 42, .Inicializado = true};
  try {
    ContasPagar().RejeitarSuplementacao(rejeicao);
    ADD_FAILURE() << "a rejeição deveria falhar";
  } catch (const Exception& erro) {
    EXPECT_EQ(erro.Message().rfind("Erro ao rejeitar a suplementação\r", 0), 0U) << erro.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(erro));
  }
  EXPECT_EQ(Valores("ZTLANCBLOQ", recnum, {"DTREJEICAOSUPLORC"}), Textos{""});
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTSERVICOSPEDEFD"), 1);
  Session().ExecuteScript("DROP TRIGGER falha ON ZTRECFUNC");
  EXPECT_TRUE(ContasPagar().RejeitarSuplementacao(rejeicao));
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTSERVICOSPEDEFD"), 0);
}

}  // namespace
}  // namespace payabletest
