#include <functional>
#include <ostream>
#include <string>

#include "PayableFixture.h"

namespace payabletest {
namespace {

constexpr const char* kTextoOrcamento =
    "Lançamentos da Conta 3101 para 05/2030 na Filial 1 ultrapassou o Valor Orçado !\r\n"
    "Lançamentos já realizados: 999,99\r\n"
    "Valor Orçado: 1.000,00\r\n"
    "Saldo disponível: 0,01";

// Account 3101 of branch "1" has 1.000,00 for May 2030, of which 999,99 is already due.
class PayableBudget : public PayableTest {
 protected:
  void SetUp() override {
    PayableTest::SetUp();
    Host().SetCodigoRotina(749);
    Orcamento(1000);
    Lancado("ZTLANC", 999.99, "DTVENC = TO_DATE('2030-05-25', 'YYYY-MM-DD')");
  }

  // A row already posted (outside the module) in account 3101 of branch "1"; `datas` sets the rest.
  double Lancado(const std::string& tabela, double valor, const std::string& datas) {
    const double recnum = Host().ProximoRecNum();
    Exec("INSERT INTO " + tabela + " (RECNUM, CODCONTA, CODFILIAL, VALOR) VALUES (" + ShortestDecimal(recnum) +
         ", 3101, '1', " + ShortestDecimal(valor) + ")");
    Exec("UPDATE " + tabela + " SET " + datas + " WHERE RECNUM = " + ShortestDecimal(recnum));
    return recnum;
  }

  void TrabalhaComSuplementacao() { SetParametro("TRABSUPLORC", "S", "1"); }
  void BloqueiaAcimaDoOrcado() { SetParametro("FIL_BLOQDESPVLRORC", "S", "1"); }

  [[nodiscard]] RFin_IncluirContasPagar Despesa(double valor) {
    RFin_IncluirContasPagar registro = Valida();
    registro.VALOR = valor;
    registro.NOMEFUNC = "MARIA";
    return registro;
  }

  [[nodiscard]] RFin_ValidarOrcamento Pergunta(double valor, double recnum = 0) {
    RFin_ValidarOrcamento pergunta;
    pergunta.Inicializar();
    pergunta.RECNUM = recnum;
    pergunta.CODFILIAL = "1";
    pergunta.CODCONTA = kConta;
    pergunta.VALOR = valor;
    pergunta.DTVENC = Dia(20);
    pergunta.DTCOMPETENCIA = Dia(20);
    return pergunta;
  }

  // An entry held for supplementation through Incluir (the user confirms).
  double Reter(const std::function<void(RFin_IncluirContasPagar&)>& ajustar = {}) {
    TrabalhaComSuplementacao();
    AnswerConfirmations(TModalResult::mrOk);
    RFin_IncluirContasPagar registro = Despesa(0.02);
    if (ajustar) ajustar(registro);
    EXPECT_TRUE(ContasPagar().Incluir(registro));
    EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 1);
    Host().LimparConfirmacoes();
    return registro.RECNUM;
  }
};

TEST_F(PayableBudget, LastCentOfTheBudgetIsPostedNormally) {
  TrabalhaComSuplementacao();
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Despesa(0.01);
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 0);
  EXPECT_TRUE(Host().Confirmacoes().empty());
  EXPECT_FALSE(ContasPagar().GetSuplementacao());
  ASSERT_EQ(centro_custo.Chamadas.size(), 1U);
  EXPECT_FALSE(centro_custo.Chamadas[0].LancarZTLancBloq);
}

TEST_F(PayableBudget, OneCentOverIsHeldForSupplementationOnceTheUserConfirms) {
  TrabalhaComSuplementacao();
  AnswerConfirmations(TModalResult::mrOk);
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  RFin_IncluirContasPagar registro = Despesa(0.02);
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 0);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 1);
  ASSERT_EQ(Host().Confirmacoes().size(), 1U);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto,
            std::string(kTextoOrcamento) +
                "\r\nConfirma geração de lançamento acima do orçamento para a suplementação orçamentária?");
  EXPECT_TRUE(ContasPagar().GetSuplementacao());
  EXPECT_TRUE(ContasPagar().GetOrcamentoExcedido());
  // Its apportionment goes to the held tables too.
  EXPECT_TRUE(ContasPagar().GetLancarZTLancBloqGeral());
  ASSERT_EQ(centro_custo.Chamadas.size(), 1U);
  EXPECT_TRUE(centro_custo.Chamadas[0].LancarZTLancBloq);
}

TEST_F(PayableBudget, AnEntryWithinBudgetIsNeverHeldBecauseThePreviousOneWas) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  Reter();
  RFin_IncluirContasPagar seguinte = Despesa(0.01);
  ASSERT_TRUE(ContasPagar().Incluir(seguinte));
  EXPECT_EQ(Linhas("ZTLANC", seguinte.RECNUM), 1);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", seguinte.RECNUM), 0);
  EXPECT_FALSE(ContasPagar().GetSuplementacao());
  EXPECT_FALSE(ContasPagar().GetLancarZTLancBloqGeral());
  ASSERT_EQ(centro_custo.Chamadas.size(), 2U);
  EXPECT_FALSE(centro_custo.Chamadas[1].LancarZTLancBloq);
}

TEST_F(PayableBudget, CancelledConfirmationAbortsWithNothingWritten) {
  TrabalhaComSuplementacao();
  AnswerConfirmations(TModalResult::mrCancel);
  RFin_IncluirContasPagar registro = Despesa(0.02);
  EsperarFalha([&] { ContasPagar().Incluir(registro); }, "ExValidarOrcamentoExcedido",
               "Validação de Orçamento! \rSuplementação orçamentária! \r\nAção abortada pelo usuário!");
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 0);
  EXPECT_EQ(Linhas("ZTLANCBLOQ", registro.RECNUM), 0);
}

TEST_F(PayableBudget, BlockingBranchRefusesTheCentOverAndPostsTheLastCent) {
  BloqueiaAcimaDoOrcado();
  RFin_IncluirContasPagar acima = Despesa(0.02);
  EsperarFalha([&] { ContasPagar().Incluir(acima); }, "ExValidarOrcamentoExcedido",
               std::string("Validação de Orçamento! \r") + kTextoOrcamento +
                   "\r\nUsuário sem permissão para lançar acima do orçamento.");
  EXPECT_TRUE(Host().Confirmacoes().empty());
  RFin_IncluirContasPagar dentro = Despesa(0.01);
  EXPECT_TRUE(ContasPagar().Incluir(dentro));
}

TEST_F(PayableBudget, ApprovedEntryOverBudgetIsAskedAboutAndPostedNotHeld) {
  TrabalhaComSuplementacao();
  AnswerConfirmations(TModalResult::mrOk);
  RFin_IncluirContasPagar registro = Despesa(0.02);
  registro.DENTROAPROVACAOORCAMENTO = true;
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
  ASSERT_EQ(Host().Confirmacoes().size(), 1U);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto,
            std::string(kTextoOrcamento) + "\r\nConfirma geração de lançamento acima do orçamento?");
}

TEST_F(PayableBudget, TheEntryItselfIsLeftOutOfWhatTheMonthHolds) {
  TrabalhaComSuplementacao();
  const double ja_lancado = ScalarNumber("SELECT MAX(RECNUM) FROM ZTLANC");
  // Re-checking the 999,99 entry with a new value of 1.000,00: its own 999,99 does not count.
  RFin_ValidarOrcamento propria = Pergunta(1000, ja_lancado);
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(propria));
  RFin_ValidarOrcamento outra = Pergunta(1000, ja_lancado + 1);
  EXPECT_TRUE(ContasPagar().VerificarOrcamentoExcedido(outra));
  EXPECT_TRUE(ContasPagar().GetOrcamentoExcedido());
}

struct Consumo {
  const char* nome;
  const char* tabela;
  double valor;
  const char* colunas;  // the row's dates and other columns
  double conta;         // what the row takes from the month's 1.000,00
};

// Test names instead of bytes in failure reports.
void PrintTo(const Consumo& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableBudgetConsumption : public PayableBudget, public ::testing::WithParamInterface<Consumo> {
 protected:
  void SetUp() override {
    PayableBudget::SetUp();
    Exec("DELETE FROM ZTLANC");
    TrabalhaComSuplementacao();
  }
};

TEST_P(PayableBudgetConsumption, CountsWhatTheMonthReallyHolds) {
  const Consumo& caso = GetParam();
  Lancado(caso.tabela, caso.valor, caso.colunas);
  RFin_ValidarOrcamento resto = Pergunta(RoundTo(1000 - caso.conta, 2));
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(resto));
  RFin_ValidarOrcamento centavo_a_mais = Pergunta(RoundTo(1000 - caso.conta + 0.01, 2));
  EXPECT_TRUE(ContasPagar().VerificarOrcamentoExcedido(centavo_a_mais));
}

INSTANTIATE_TEST_SUITE_P(
    ByDueAndPaymentMonth, PayableBudgetConsumption,
    ::testing::Values(
        Consumo{"OpenDueInTheMonth", "ZTLANC", 50, "DTVENC = TO_DATE('2030-05-31', 'YYYY-MM-DD')", 50},
        Consumo{"OpenDueNextMonth", "ZTLANC", 50, "DTVENC = TO_DATE('2030-06-01', 'YYYY-MM-DD')", 0},
        Consumo{"PaidInTheMonthCountsWhatWasPaid", "ZTLANC", 500,
                "DTPAGTO = TO_DATE('2030-05-31 18:00:00', 'YYYY-MM-DD HH24:MI:SS'), VPAGO = 450, "
                "DTVENC = TO_DATE('2030-04-01', 'YYYY-MM-DD')",
                450},
        Consumo{"PaidInAnotherMonth", "ZTLANC", 40,
                "DTPAGTO = TO_DATE('2030-04-30', 'YYYY-MM-DD'), VPAGO = 40, DTVENC = TO_DATE('2030-05-02', "
                "'YYYY-MM-DD')",
                0},
        Consumo{"RejectedSupplementation", "ZTLANC", 30,
                "DTVENC = TO_DATE('2030-05-03', 'YYYY-MM-DD'), DTREJEICAOSUPLORC = TO_DATE('2030-05-04', "
                "'YYYY-MM-DD')",
                0},
        Consumo{"OtherBranch", "ZTLANC", 30, "DTVENC = TO_DATE('2030-05-03', 'YYYY-MM-DD'), CODFILIAL = '2'", 0},
        Consumo{"OtherAccount", "ZTLANC", 30, "DTVENC = TO_DATE('2030-05-03', 'YYYY-MM-DD'), CODCONTA = 3102", 0},
        // Held entries count only when budgets are consumed by accrual.
        Consumo{"HeldByDueDate", "ZTLANCBLOQ", 30, "DTVENC = TO_DATE('2030-05-03', 'YYYY-MM-DD')", 0}),
    [](const ::testing::TestParamInfo<Consumo>& info) { return info.param.nome; });

TEST_F(PayableBudget, ByAccrualHeldEntriesCountUntilRejected) {
  TrabalhaComSuplementacao();
  SetParametro("ORCREGCOMPETENCIA", "S", "1");
  // By accrual, May holds the 700,00 accrued in May, wherever due, and the held 299,99.
  Exec("UPDATE ZTLANC SET DTCOMPETENCIA = TO_DATE('2030-04-30', 'YYYY-MM-DD')");
  Lancado("ZTLANC", 700,
          "DTVENC = TO_DATE('2030-07-01', 'YYYY-MM-DD'), DTCOMPETENCIA = TO_DATE('2030-05-02', "
          "'YYYY-MM-DD')");
  Lancado("ZTLANC", 500,
          "DTCOMPETENCIA = TO_DATE('2030-05-02', 'YYYY-MM-DD'), DTDESD = TO_DATE('2030-05-03', "
          "'YYYY-MM-DD')");
  const double retido = Lancado("ZTLANCBLOQ", 299.99, "DTCOMPETENCIA = TO_DATE('2030-05-09', 'YYYY-MM-DD')");
  RFin_ValidarOrcamento pergunta = Pergunta(0.02);
  EXPECT_TRUE(ContasPagar().VerificarOrcamentoExcedido(pergunta));
  RFin_ValidarOrcamento ultimo_centavo = Pergunta(0.01);
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(ultimo_centavo));

  Exec("UPDATE ZTLANCBLOQ SET DTREJEICAOSUPLORC = TO_DATE('2030-05-10', 'YYYY-MM-DD') WHERE RECNUM = " +
       ShortestDecimal(retido));
  RFin_ValidarOrcamento depois = Pergunta(300);
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(depois));
}

TEST_F(PayableBudget, RoutineWithoutBudgetControlNeverSupplements) {
  TrabalhaComSuplementacao();
  Host().SetCodigoRotina(614);
  RFin_ValidarOrcamento pergunta = Pergunta(500);
  EXPECT_FALSE(ContasPagar().VerificarOrcamentoExcedido(pergunta));
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(pergunta));
  EXPECT_FALSE(ContasPagar().GetOrcamentoExcedido());
  RFin_IncluirContasPagar registro = Despesa(500);
  ASSERT_TRUE(ContasPagar().Incluir(registro));
  EXPECT_EQ(Linhas("ZTLANC", registro.RECNUM), 1);
}

TEST_F(PayableBudget, BranchWithoutBudgetControlPostsAnything) {
  RFin_ValidarOrcamento pergunta = Pergunta(5000);
  EXPECT_TRUE(ContasPagar().VerificarOrcamentoExcedido(pergunta));
  EXPECT_TRUE(ContasPagar().GetOrcamentoExcedido());
  EXPECT_FALSE(ContasPagar().GetLancarZTLancBloqGeral());
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(pergunta));
}

TEST_F(PayableBudget, NegativeEntriesAndOtherRoutinesAreNotSupplemented) {
  TrabalhaComSuplementacao();
  RFin_ValidarOrcamento estorno = Pergunta(-500);
  estorno.NEGATIVO = true;
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(estorno));
  Host().SetCodigoRotina(746);
  RFin_ValidarOrcamento outra_rotina = Pergunta(500);
  EXPECT_FALSE(ContasPagar().LancarSuplementacao(outra_rotina));
  Host().SetCodigoRotina(631);
  EXPECT_TRUE(ContasPagar().LancarSuplementacao(outra_rotina));
}

TEST_F(PayableBudget, QuestionsNeedAnInitialisedRecord) {
  RFin_ValidarOrcamento pergunta;
  EsperarFalha([&] { (void)ContasPagar().VerificarOrcamentoExcedido(pergunta); }, "ExParametrosNaoInicializados",
               "Parâmetros não inicializados.");
}

struct Bloqueio {
  const char* nome;
  const char* filial;
  const char* geral;      // CON_BLOQDESPVLRORC, "" = unset
  const char* da_filial;  // FIL_BLOQDESPVLRORC of branch "1", "" = unset
  bool bloqueia;
};

// Test names instead of bytes in failure reports.
void PrintTo(const Bloqueio& caso, std::ostream* os) {
  *os << caso.nome;
}

class PayableBlocking : public PayableTest, public ::testing::WithParamInterface<Bloqueio> {};

TEST_P(PayableBlocking, BranchValueWinsOverTheGeneralOne) {
  const Bloqueio& caso = GetParam();
  if (*caso.geral != '\0') SetParametro("CON_BLOQDESPVLRORC", caso.geral);
  if (*caso.da_filial != '\0') SetParametro("FIL_BLOQDESPVLRORC", caso.da_filial, "1");
  EXPECT_EQ(ContasPagar().BloquearDespesaAcimaDoValorOrcado(caso.filial), caso.bloqueia);
}

INSTANTIATE_TEST_SUITE_P(Cases, PayableBlocking,
                         ::testing::Values(Bloqueio{"NothingSet", "1", "", "", false},
                                           Bloqueio{"GeneralOnly", "1", "S", "", true},
                                           Bloqueio{"BranchSaysNo", "1", "S", "N", false},
                                           Bloqueio{"BranchSaysYes", "1", "N", "S", true},
                                           Bloqueio{"Branch99ReadsTheGeneral", "99", "S", "N", true},
                                           Bloqueio{"BlankBranchReadsTheGeneral", " ", "N", "S", false}),
                         [](const ::testing::TestParamInfo<Bloqueio>& info) { return info.param.nome; });

class PayableApproval : public PayableBudget {
 protected:
  void SetUp() override {
    PayableBudget::SetUp();
    Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (901, 'MARIA DAS COMPRAS', 'MARIA')");
  }

  void RateioRetido(double recnum, const std::string& centro, double valor) {
    Exec(
        "INSERT INTO ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, "
        "CONTRAPARTIDA, CODFILIAL, ORCAMENTOEXCEDIDO) VALUES (" +
        ShortestDecimal(recnum) + ", 3101, '" + centro + "', " + ShortestDecimal(valor) +
        ", 50, TO_DATE('2030-05-10', 'YYYY-MM-DD'), 'N', '1', 'S')");
  }

  [[nodiscard]] RFin_AprovarSuplementacao Aprovacao(double recnum) {
    RFin_AprovarSuplementacao aprovacao;
    aprovacao.Inicializar();
    aprovacao.RECNUM = recnum;
    return aprovacao;
  }
};

TEST_F(PayableApproval, HeldEntryAndItsApportionmentMoveAndTheRequesterIsTold) {
  const double recnum = Reter([](RFin_IncluirContasPagar& r) { r.HISTORICO = "CONTA DE ENERGIA"; });
  RateioRetido(recnum, "ADM", 0.01);
  RateioRetido(recnum, "COM", 0.01);
  NumerariosDeTeste& numerarios = InstalarNumerarios();
  const std::string n = ShortestDecimal(recnum);

  RFin_AprovarSuplementacao aprovacao = Aprovacao(recnum);
  ASSERT_TRUE(ContasPagar().AprovarSuplementacao(aprovacao)) << aprovacao.MENSAGEM;

  EXPECT_EQ(Linhas("ZTLANCBLOQ", recnum), 0);
  EXPECT_EQ(Linhas("ZTRATEIOCENTROCUSTOBLOQ", recnum), 0);
  EXPECT_EQ(Scalar("SELECT HISTORICO FROM ZTLANC WHERE RECNUM = " + n), "CONTA DE ENERGIA");
  EXPECT_EQ(ScalarNumber("SELECT VALOR FROM ZTLANC WHERE RECNUM = " + n), 0.02);
  EXPECT_EQ(Scalar("SELECT CODROTINACAD FROM ZTLANC WHERE RECNUM = " + n), "749");
  EXPECT_EQ(ScalarNumber("SELECT CODFUNCAUTSUPLORC FROM ZTLANC WHERE RECNUM = " + n), 1);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANC WHERE TRUNC(DATAAUTSUPLORC) = TRUNC(SYSDATE) AND RECNUM = " + n),
            1);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE CODFUNCAUTSUPLORC = 1 AND ORCAMENTOEXCEDIDO "
                         "= 'S' AND DATAAUTSUPLORC IS NOT NULL AND RECNUM = " +
                         n),
            2);
  EXPECT_TRUE(numerarios.Movimentos.empty());
  EXPECT_EQ(Scalar("SELECT CODFUNCAB || '|' || CODFUNCDEST || '|' || ASSUNTO || '|' || TEXTORECADO FROM ZTRECFUNC"),
            "1|901|Aprovação de suplementação|Lançamento RecNum: " + n + " aprovado. ");
}

TEST_F(PayableApproval, SettledExpenseMovesItsMoneyWhenApproved) {
  Host().SetCodigoRotina(631);
  const double recnum = Reter([](RFin_IncluirContasPagar& r) {
    r.CODROTINABAIXA = 631;
    r.NUMTRANS = 4321;
    r.NUMBANCO = 11;
    r.NUMNOTA = 8899;
    r.INDICE = "B";
    r.HISTORICO2 = "NF 8899";
    r.DTPAGTO = r.DTLANC;
    r.VPAGO = r.VALOR;
  });
  const std::string n = ShortestDecimal(recnum);
  Exec("UPDATE ZTLANCBLOQ SET CODMOEDABAIXA = 'D' WHERE RECNUM = " + n);
  NumerariosDeTeste& numerarios = InstalarNumerarios();

  RFin_AprovarSuplementacao aprovacao = Aprovacao(recnum);
  ASSERT_TRUE(ContasPagar().AprovarSuplementacao(aprovacao)) << aprovacao.MENSAGEM;
  ASSERT_EQ(numerarios.Movimentos.size(), 1U);
  const RFin_IncluirMovimentacaoNumerarios& movimento = numerarios.Movimentos[0];
  EXPECT_EQ(movimento.NUMTRANS, 4321);
  EXPECT_EQ(movimento.CODBANCO, 11);
  EXPECT_EQ(movimento.CODCOB, "D");
  EXPECT_EQ(movimento.VALOR, 0.02);
  EXPECT_EQ(movimento.TIPO, "C");
  EXPECT_EQ(movimento.HISTORICO, "MATERIAL DE ESCRITORIO");
  EXPECT_EQ(movimento.HISTORICO2, "NF 8899");
  EXPECT_EQ(movimento.NUMCARR, 8899);
  EXPECT_EQ(movimento.NUMDOC, n);
  EXPECT_EQ(movimento.INDICE, "B");
  EXPECT_EQ(movimento.CODFUNC, 1);
  EXPECT_EQ(movimento.CODROTINALANC, 631);
  EXPECT_EQ(movimento.DATA, Host().DataServidor());
  EXPECT_TRUE(movimento.Inicializado);
  EXPECT_EQ(Scalar("SELECT TEXTORECADO FROM ZTRECFUNC"),
            "Lançamento RecNum: " + n + " aprovado. \rO lançamento da despesa foi realizado.");
}

TEST_F(PayableApproval, MissingEntryWritesNothingAndSaysSo) {
  RFin_AprovarSuplementacao aprovacao = Aprovacao(999999);
  EXPECT_TRUE(ContasPagar().AprovarSuplementacao(aprovacao));
  EXPECT_EQ(aprovacao.MENSAGEM, "RecNum: 999999 não encontrado na tabela ZTLANCBLOQ !");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRECFUNC"), 0);
  EXPECT_EQ(Linhas("ZTLANC", 999999), 0);
}

TEST_F(PayableApproval, FailedCopyIsReportedInTheRecord) {
  const double recnum = Reter();
  Exec("INSERT INTO ZTLANC (RECNUM, VALOR) VALUES (" + ShortestDecimal(recnum) + ", 1)");
  RFin_AprovarSuplementacao aprovacao = Aprovacao(recnum);
  EXPECT_FALSE(ContasPagar().AprovarSuplementacao(aprovacao));
  const std::string prefixo = "Erro ao aprovar a suplementação. \rErro ao tentar Inserir ZTLANC da suplementação. \r";
  EXPECT_EQ(aprovacao.MENSAGEM.substr(0, prefixo.size()), prefixo);
  EXPECT_NE(aprovacao.MENSAGEM.find("ORA-00001"), std::string::npos) << aprovacao.MENSAGEM;
}

TEST_F(PayableApproval, NeedsAnOpenTransaction) {
  RFin_AprovarSuplementacao aprovacao = Aprovacao(1);
  Session().Rollback();
  EsperarFalha([&] { ContasPagar().AprovarSuplementacao(aprovacao); }, "ExTransacaoNaoIniciada",
               "Transação não iniciada.");
}

TEST_F(PayableApproval, RejectionStampsTheEntryDropsItsServiceRowAndTellsTheUser) {
  const double recnum = Reter();
  const std::string n = ShortestDecimal(recnum);
  Exec("INSERT INTO ZTSERVICOSPEDEFD (CODSERVICO, SERIENF) VALUES (42, '1')");
  RFin_RejeitarSuplementacao rejeicao;
  rejeicao.Inicializar();
  rejeicao.RECNUM = recnum;
  rejeicao.HISTORICOREJEICAO = "SEM VERBA NO TRIMESTRE";
  rejeicao.CODSERVICO = 42;
  ASSERT_TRUE(ContasPagar().RejeitarSuplementacao(rejeicao));
  EXPECT_EQ(
      Scalar("SELECT CODFUNCREJEICAOSUPLORC || '|' || HISTORICOREJEICAOSUPLORC FROM ZTLANCBLOQ WHERE RECNUM = " + n),
      "1|SEM VERBA NO TRIMESTRE");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANCBLOQ WHERE TRUNC(DTREJEICAOSUPLORC) = TRUNC(SYSDATE) AND "
                         "RECNUM = " +
                         n),
            1);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTSERVICOSPEDEFD"), 0);
  EXPECT_EQ(Scalar("SELECT CODFUNCDEST || '|' || ASSUNTO || '|' || TEXTORECADO FROM ZTRECFUNC"),
            "1|Rejeição de suplementação|Lançamento RecNum: " + n + " rejeitado. \rSEM VERBA NO TRIMESTRE");
}

TEST_F(PayableApproval, EntryOfAnInvoiceIsNotRejectedHere) {
  const double recnum = Reter();
  Exec("INSERT INTO ZTNFENT (NUMTRANSENT, NUMNOTA) VALUES (77, 123)");
  RFin_RejeitarSuplementacao rejeicao;
  rejeicao.Inicializar();
  rejeicao.RECNUM = recnum;
  rejeicao.NUMTRANSENT = 77;
  EsperarFalha([&] { ContasPagar().RejeitarSuplementacao(rejeicao); }, "ExSuplementacaoZTNFENTVinculada",
               "Suplementação possui ZTNFENT vinculada com numtransent! \rRecNum: " + ShortestDecimal(recnum) +
                   " NumTransEnt: 77");
  EXPECT_EQ(Scalar("SELECT DTREJEICAOSUPLORC FROM ZTLANCBLOQ WHERE RECNUM = " + ShortestDecimal(recnum)), "");
}

}  // namespace
}  // namespace payabletest
