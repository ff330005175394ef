#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>

#include "CentroCustoFixture.h"
#include "frame/Uclsfin_except.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "oradb/TClientDataSet.h"
#include "rtl/Exception.h"

namespace {

using costcenter_it::CentroCustoTest;

TEST_F(CentroCustoTest, ANewEntryIsSavedWithItsAccountsStandardApportionmentToTheCent) {
  EXPECT_TRUE(Apportion(5001, 10.00));
  // T4 is inactive and T5 is not the user's: neither is proposed.
  EXPECT_EQ(Linhas(5001,
                   "PERCRATEIO, VALOR, CODFILIAL, CODCONTA, CONTRAPARTIDA, NVL(ORCAMENTOEXCEDIDO, '-'), "
                   "TO_CHAR(DTLANC, 'YYYY-MM-DD')"),
            "T1:33.33:3.33:9:910001:N:-:2026-03-10 T2:33.33:3.33:9:910001:N:-:2026-03-10 "
            "T3:33.34:3.34:9:910001:N:-:2026-03-10");
  // Saving forgets the entry: the next one starts from empty rows.
  EXPECT_TRUE(Area().GetCdsRateios()->IsEmpty());
  EXPECT_EQ(Area().GetCodConta(), "");
}

// An invoice's entries (with its freight bill's) and a sale's entries are apportioned one by one;
// paid entries are left out unless the payment was reversed.
TEST_F(CentroCustoTest, EntriesOfAnInvoiceWithItsFreightAndOfASaleAreApportionedOneByOne) {
  for (const auto& [recnum, valor] : {std::pair{7201, 10}, {7202, 20}, {7203, -30}, {7204, 40}, {7205, 50}}) {
    Lancamento(recnum, 910001, valor);
  }
  Lancamento(7301, 910001, 10);
  Lancamento(7302, 910009, 10);  // its account does not work with cost centers
  Exec("UPDATE ZTLANC SET NUMTRANSENT = 4444 WHERE RECNUM IN (7201, 7202, 7203)");
  Exec(
      "UPDATE ZTLANC SET DTPAGTO = DTVENC, CODROTINABAIXA = CASE RECNUM WHEN 7203 THEN 1301 END "
      "WHERE RECNUM IN (7202, 7203)");
  Exec(
      "UPDATE ZTLANC SET NUMTRANSENT = 5555, LOCALIZACAO = CASE RECNUM WHEN 7204 THEN 'CTE 321' ELSE 'CTE 999' END "
      "WHERE RECNUM IN (7204, 7205)");
  Exec("INSERT INTO ZTNFENTFRETE (NUMTRANSENTNF, NUMTRANSENT) VALUES (4444, 5555)");
  Exec("UPDATE ZTLANC SET NUMTRANSVENDA = 8888 WHERE RECNUM > 7300");
  const TDateTime data = Data(2026, 3, 10);
  EXPECT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, 4444, 321, false, data, data));
  EXPECT_FALSE(Area().ProcessoCentroCusto(false, tlFinanceiro, 4445, 321, false, data, data));
  EXPECT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, 8888, false, data, data));
  EXPECT_EQ(Todas("SELECT RECNUM, SUM(VALOR) FROM ZTRATEIOCENTROCUSTO GROUP BY RECNUM ORDER BY 1"),
            "7201:10 7203:-30 7204:40 7301:10");
  EXPECT_EQ(Linhas(7204), "T1:13.33 T2:13.33 T3:13.34");
}

// One entry without a branch does not stop the run of a sale's entries.
TEST_F(CentroCustoTest, AnEntryWithoutABranchIsSkippedAndTheSaleRunGoesOn) {
  Lancamento(7401, 910001, 10);
  Lancamento(7402, 910001, 20);
  Exec("UPDATE ZTLANC SET NUMTRANSVENDA = 8889, CODFILIAL = CASE RECNUM WHEN 7401 THEN NULL ELSE '9' END");
  const TDateTime data = Data(2026, 3, 10);
  EXPECT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, 8889, false, data, data));
  EXPECT_EQ(Todas("SELECT RECNUM, SUM(VALOR) FROM ZTRATEIOCENTROCUSTO GROUP BY RECNUM ORDER BY 1"), "7402:20");
  EXPECT_EQ(Validador()[0], "Filial não trabalha com Centro de Custo!");
}

// Routine 3424 apportions a material request's entry by its item ("request;product" in HISTORICO2);
// without ";" the account's standard apportionment is used.
TEST_F(CentroCustoTest, MaterialRequestEntriesOfRoutine3424UseTheirItemsApportionment) {
  Host().SetCodigoRotina(3424);
  Exec(
      "INSERT INTO ZTCONTACENTROCUSTOITEMSOLMAT (CODCONTA, NUMEROSOLICITACAO, CODPRODUTO, CODIGOCENTROCUSTO, "
      "PERCRATEIO) VALUES (910001, 1234, 567, 'T2', 100)");
  Lancamento(7001, 910001, 80);
  Lancamento(7002, 910001, 10);
  Exec("UPDATE ZTLANC SET HISTORICO2 = CASE RECNUM WHEN 7001 THEN '1234;567' ELSE '1234 567' END");
  ASSERT_TRUE(Apportion(7001, 80));
  EXPECT_EQ(Linhas(7001), "T2:80");
  ASSERT_TRUE(Apportion(7002, 10));
  EXPECT_EQ(Linhas(7002), "T1:3.33 T2:3.33 T3:3.34");
}

// The counterpart copies its principal's rows negated, with no final adjustment even when the
// apportionment must total the entry; the principal is found with or without its ZTLANC row.
TEST_F(CentroCustoTest, ACounterpartCopiesItsPrincipalNegatedEvenWhenTheApportionmentMustTotal) {
  SetParametro("RATEIOTOTALCC", "S");
  Lancamento(5010, 910001, 10);
  Rateio(5010, 910001, "T1", 33.33, 3.33);
  Rateio(5010, 910001, "T2", 66.67, 6.67);
  Rateio(5012, 910001, "T2", 100, 7);  // a principal whose entry is not in ZTLANC
  Host().SetCodigoRotina(749);
  const auto contrapartida = [this](double recnum, double valor, int principal) {
    return Area().ProcessoCentroCusto(false, tlFinanceiro, "9", "910001", recnum, valor, Data(2026, 3, 10), false, "S",
                                      principal, false, {}, {}, false);
  };
  ASSERT_TRUE(contrapartida(5011, -10, 5010));
  EXPECT_EQ(Linhas(5011, "VALOR, CONTRAPARTIDA, RECNUMPRINC"), "T1:-3.33:S:5010 T2:-6.67:S:5010");
  ASSERT_TRUE(contrapartida(5013, 7, 5012));
  EXPECT_EQ(Linhas(5013, "VALOR, CONTRAPARTIDA, RECNUMPRINC"), "T2:-7:S:5012");
}

// Mended: held rows were written again next to the old ones.
TEST_F(CentroCustoTest, HeldRowsAreTheOnesReloadedAndRewrittenWhileThePayableAreaPostsHeldEntries) {
  Lancamento(5020, 910001, 50, "2026-03-10", "ZTLANCBLOQ");
  Rateio(5020, 910001, "T2", 100, 50, "ZTRATEIOCENTROCUSTOBLOQ");
  ContasPagar().SetLancarZTLancBloqGeral(true);
  SetParametro("TRABSUPLORC", "S", "9");
  ASSERT_TRUE(Apportion(5020, 50));
  EXPECT_EQ(Linhas(5020, "VALOR", "ZTRATEIOCENTROCUSTOBLOQ"), "T2:50");
  EXPECT_EQ(Linhas(5020), "");
}

TEST_F(CentroCustoTest, BadInputIsRefusedWithItsExceptionAndOnlyThisRunsMessageAndNothingIsWritten) {
  // The call, the exception's class and message (none: it answers false), the validator's message.
  const std::tuple<std::function<bool()>, const char*, const char*, const char*> casos[] = {
      {[this]() { return Apportion(6001, 10, " "); }, "ExCodigoContaVazio", "Código de conta não informado.",
       "Favor informar a conta para lançamento do Centro de Custo!"},
      // An entry without a branch is answered by the branch switch, without an exception.
      {[this]() { return Processar({.recnum = 6001, .valor = 10, .filial = ""}); }, nullptr, nullptr,
       "Filial não trabalha com Centro de Custo!"},
      {[this]() { return Processar({.recnum = 6001, .valor = 0, .filial = "  "}); }, nullptr, nullptr,
       "Filial não trabalha com Centro de Custo!"},
      {[this]() { return Apportion(6001, 0); }, "ExValorNaoInformado", "Valor não informado.",
       "Favor informar o valor para lançamento do Centro de Custo!"},
      {[this]() { return Apportion(0, 10); }, "ExNumeroLanctoZerado", "Número de lançamento não informado.",
       "É necessário o Número da Transação de contas a pagar para lançamento do Centro de Custo!"},
      {[this]() { return Apportion(-1, 10); }, "ExNumeroLanctoZerado", "Número de lançamento não informado.",
       "É necessário o Número da Transação de contas a pagar para lançamento do Centro de Custo!"},
      {[this]() { return Processar({.recnum = 6001, .valor = 10, .filial = "8"}); }, nullptr, nullptr,
       "Filial não trabalha com Centro de Custo!"},
      {[this]() { return Apportion(6001, 10, "910009"); }, nullptr, nullptr,
       "Conta gerencial não trabalha com Centro de Custo!"},
  };
  for (const auto& [chamada, classe, mensagem, validador] : casos) {
    SCOPED_TRACE(validador);
    const std::function<bool()>& processar = chamada;
    bool aceito = false;
    EXPECT_FAILS_WITH(aceito = processar(),
                      classe == nullptr ? std::string("(no exception)") : std::string(classe) + ": " + mensagem);
    EXPECT_FALSE(aceito);
    ASSERT_EQ(Validador().Count(), 1u);  // earlier runs' messages are gone
    EXPECT_EQ(Validador()[0], validador);
    EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO"), 0);
    Area().LimparDadosUltimoLancto();
  }
}

// Routine 755 may open an entry without a number, but rows are never saved for entry 0; a negative
// number is refused from any routine.
TEST_F(CentroCustoTest, RowsAreNeverSavedForEntryZeroOrBelow) {
  Host().SetCodigoRotina(755);
  EXPECT_FAILS_WITH(Apportion(0, 10),
                    "Exception: Não foi possível inserir lançamentos de centro de custo! \r\rMensagem original: Número "
                    "de lançamento inválido para o rateio de Centro de Custo: 0!");
  EXPECT_THROW((void)Apportion(-1, 10), ExNumeroLanctoZerado);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM <= 0"), 0);
}

// Reversal, replication and the account change refuse what names no record, a source that does
// not exist or has no rows, and a target that already has rows (a replay), before writing or
// committing anything.
TEST_F(CentroCustoTest, ReversalReplicationAndAccountChangeRefuseBadRecordsAndReplays) {
  Lancamento(5100, 910001, 10);
  Rateio(5100, 910001, "T1", 60, 6);
  Rateio(5100, 910001, "T2", 40, 4);
  Lancamento(5101, 910001, 10);
  Rateio(5101, 910001, "T1", 100, 10);
  Lancamento(5102, 910001, 10);         // no rows
  Rateio(5103, 910001, "T1", 100, 10);  // rows of an entry not in ZTLANC
  const std::string distintos_estorno =
      "Para estornar o rateio de Centro de Custo, informe lançamentos distintos do lançamento de origem!";
  const auto invalido = [](const char* numero) {
    return std::string("Número de lançamento inválido para o rateio de Centro de Custo: ") + numero + "!";
  };
  const std::pair<std::function<void()>, std::string> casos[] = {
      {[this] { Area().estornarRateio(5100, -1, -1); }, invalido("-1")},
      {[this] { Area().estornarRateio(0, 5200, -1); }, invalido("0")},
      {[this] { Area().estornarRateio(5100, 5200, 0); }, invalido("0")},
      {[this] { Area().estornarRateio(5100, 5200, -2); }, invalido("-2")},
      {[this] { Area().estornarRateio(5100, 5200, 5200); }, distintos_estorno},
      {[this] { Area().estornarRateio(5100, 5100, -1); }, distintos_estorno},
      {[this] { Area().estornarRateio(5999, 5200, -1); }, "Lançamento 5999 não encontrado em contas a pagar!"},
      {[this] { Area().estornarRateio(5103, 5200, -1); }, "Lançamento 5103 não encontrado em contas a pagar!"},
      {[this] { Area().estornarRateio(5102, 5200, -1); },
       "Lançamento 5102 não possui rateio de Centro de Custo para estornar!"},
      {[this] { Area().estornarRateio(5100, 5101, -1); }, "Lançamento 5101 já possui rateio de Centro de Custo!"},
      {[this] { Area().estornarRateio(5100, 5200, 5101); }, "Lançamento 5101 já possui rateio de Centro de Custo!"},
      {[this] { Area().ReplicarRateio(-5, 5200); }, invalido("-5")},
      {[this] { Area().ReplicarRateio(5100, 0); }, invalido("0")},
      {[this] { Area().ReplicarRateio(5100, 5100); },
       "Para replicar o rateio de Centro de Custo, informe lançamentos distintos do lançamento de origem!"},
      {[this] { Area().ReplicarRateio(5999, 5200); }, "Lançamento 5999 não encontrado em contas a pagar!"},
      {[this] { Area().ReplicarRateio(5102, 5200); },
       "Lançamento 5102 não possui rateio de Centro de Custo para replicar!"},
      {[this] { Area().ReplicarRateio(5100, 5101); }, "Lançamento 5101 já possui rateio de Centro de Custo!"},
      {[this] { Area().AlterarContaCentroCusto(5100, 0, "9"); }, "Conta gerencial 0 não cadastrada!"},
      {[this] { Area().AlterarContaCentroCusto(5100, -1, "9"); }, "Conta gerencial -1 não cadastrada!"},
      {[this] { Area().AlterarContaCentroCusto(5100, 919999, "9"); }, "Conta gerencial 919999 não cadastrada!"},
      {[this] { Area().AlterarContaCentroCusto(0, 910002, "9"); }, invalido("0")},
      {[this] { Area().AlterarContaCentroCusto(-1, 910002, "9"); }, invalido("-1")},
  };
  const std::string antes =
      Todas("SELECT RECNUM, CODIGOCENTROCUSTO, VALOR, CODCONTA FROM ZTRATEIOCENTROCUSTO ORDER BY 1, 2");
  for (const auto& [chamada, mensagem] : casos) {
    SCOPED_TRACE(mensagem);
    // The refusal is a plain Exception, none of the catalogue's classes.
    EXPECT_EQ(testsupport::Failure(chamada), "Exception: " + mensagem);
    ASSERT_TRUE(Session().InTransaction()) << "a recusa encerrou a transação";
    EXPECT_EQ(Todas("SELECT RECNUM, CODIGOCENTROCUSTO, VALOR, CODCONTA FROM ZTRATEIOCENTROCUSTO ORDER BY 1, 2"), antes);
  }
}

// ---------------------------------------------------------------------------------------------
// The form

// Entry 9001 of account 910002 (no standard apportionment) opened in the form.
class FormularioTest : public CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    ASSERT_FALSE(Processar({.recnum = 9001, .valor = 100, .conta = "910002", .form = true}));
    ASSERT_TRUE(Area().GetCdsRateios()->IsEmpty());
  }

  // Gives the form's row and asks whether it may be added; the validator's new message, if any.
  std::uint8_t Verificar(double percentual, double valor, const std::string& centro_custo,
                         const std::string& rateio_padrao = {}, const std::string& filial = "9",
                         bool alterando = false) {
    Validador().Clear();
    Area().SetParametros(percentual, valor, filial, rateio_padrao, centro_custo, "DESC " + centro_custo, alterando);
    return Area().ValidaCamposInterface();
  }
  std::string Mensagem() { return Validador().Count() > 0 ? Validador()[0] : std::string(); }

  void Adicionar(double percentual, double valor, const std::string& centro_custo) {
    ASSERT_EQ(Verificar(percentual, valor, centro_custo), 0) << Mensagem();
    ASSERT_TRUE(Area().InsereCentroCusto_Client());
  }
};

TEST_F(FormularioTest, EachFieldCheckHasItsCodeAndMessage) {
  const std::tuple<double, double, const char*, const char*, int, const char*> casos[] = {
      {10, 10, "T1", "", 1, "Favor informar a filial do Centro de Custo!"},
      {10, 10, "", "9", 3, "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!"},
      {0, 10, "T1", "9", 4, "Favor informar o percentual de rateio do lançamento para inclusão!"},
      {-10, 10, "T1", "9", 7, "Favor informar o percentual de rateio maior que zero!"},
      {10, -10, "T1", "9", 9, "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!"},
      {10, 0, "T1", "9", 5, "Favor informar o valor de rateio do lançamento para inclusão!"},
      {10, 10, "T1", "8", 10,
       "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 2663 da Rotina 132!"},
      {10, 10, "T1", "9", 0, ""},
  };
  for (const auto& [percentual, valor, centro_custo, filial, codigo, mensagem] : casos) {
    EXPECT_EQ(Verificar(percentual, valor, centro_custo, {}, filial), codigo) << mensagem;
    EXPECT_EQ(Mensagem(), mensagem);
  }
  Area().SetCodConta(" ");
  EXPECT_EQ(Verificar(10, 10, "T1"), 2);
  EXPECT_EQ(Mensagem(), "Favor informar a conta do Centro de Custo!");
}

// A cost center is added once but may be replaced in place; a named apportionment adds only the
// cost centers not there yet; Cancel discards the rows.
TEST_F(FormularioTest, ACostCenterIsAddedOnceAndCancelDiscardsTheRows) {
  Exec("INSERT INTO ZTRATEIOPADRAOCC (CODRATEIOCC, DESCRICAO) VALUES ('77', 'METADES')");
  Exec(
      "INSERT INTO ZTITENSRATEIOPADRAOCC (CODRATEIOCC, CODIGOCENTROCUSTO, PERCENTUAL) VALUES ('77', 'T1', 50), "
      "('77', 'T2', 50)");
  Adicionar(40, 40, "T1");
  EXPECT_EQ(Verificar(60, 60, "T1"), 6);
  EXPECT_EQ(Mensagem(), "Centro de Custo T1 já existe!");
  Area().GetCdsRateios()->First();
  EXPECT_EQ(Verificar(60, 60, "T1", {}, "9", true), 0);
  ASSERT_TRUE(Area().InsereCentroCusto_Client());
  EXPECT_EQ(Area().GetCdsRateios()->RecordCount(), 1u);
  EXPECT_EQ(Area().GetCdsRateios()->FieldByName("VALOR").AsFloat(), 60);
  EXPECT_EQ(Verificar(0, 0, "", "77"), 8);
  EXPECT_EQ(Mensagem(), "Centro(s) de Custo(s) 'T1' já existe(m)! Foi inserido apenas os não encontrados.");
  EXPECT_EQ(Verificar(0, 0, "", "78"), 0);  // an unknown code adds nothing
  EXPECT_EQ(Area().GetCdsRateios()->RecordCount(), 2u);
  EXPECT_TRUE(Area().CancelaCentroCusto());
  EXPECT_TRUE(Area().GetCdsRateios()->IsEmpty());
  EXPECT_FALSE(Area().GetStatusCentroCusto());
}

// Asking whether the new cost center is already there must not move the row being replaced.
TEST_F(FormularioTest, ReplacingTheFirstOfThreeRowsChangesThatRowOnly) {
  Adicionar(20, 20, "T1");
  Adicionar(30, 30, "T2");
  Adicionar(50, 50, "T3");
  TClientDataSet& rateios = *Area().GetCdsRateios();
  rateios.First();
  ASSERT_EQ(Verificar(25, 25, "T5", {}, "9", true), 0) << Mensagem();
  ASSERT_TRUE(Area().InsereCentroCusto_Client());
  std::string linhas;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    linhas += rateios.FieldByName("CODIGOCENTROCUSTO").AsString() + ":" + rateios.FieldByName("VALOR").AsString() + " ";
  }
  EXPECT_EQ(linhas, "T5:25 T2:30 T3:50 ");
}

TEST_F(FormularioTest, AnAccountWithPriorityCostCentersRefusesAnyOther) {
  Exec("INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (CODCONTA, CODIGOCENTROCUSTO) VALUES (910002, 'T2')");
  try {
    (void)Verificar(10, 10, "T1");
    ADD_FAILURE() << "aceitou um centro de custo fora dos prioritários";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message(), "Centro de custo informado não está parametrizado como restrito para a conta gerencial");
    EXPECT_EQ(Mensagem(), falha.Message());
  }
  EXPECT_EQ(Verificar(10, 10, "T2"), 0);
  EXPECT_FALSE(Area().ValidaCentroCustoPrioritario("910001", "T1"));  // an account without a list
  EXPECT_TRUE(Area().ExisteCentroCustoPrioritario("910002' OR '1'='1")->IsEmpty());
}

// Saving an entry's rows replaces the ones it had, except under routine 3421, which adds to them.
TEST_F(CentroCustoTest, SavingReplacesTheEntrysRowsExceptUnderRoutine3421) {
  const std::string novas = "T1:33.33:3.33 T2:33.33:3.33 T3:33.34:3.34";
  for (const auto& [rotina, esperado] : {std::pair{0, novas}, {3420, novas}, {3421, "OLD:100:10 " + novas}}) {
    SCOPED_TRACE(rotina);
    const int recnum = 5020 + rotina % 10;
    Host().SetCodigoRotina(rotina);
    Rateio(recnum, 910001, "OLD", 100, 10);
    EXPECT_TRUE(Apportion(recnum, 10.00));
    EXPECT_EQ(Linhas(recnum, "PERCRATEIO, VALOR"), esperado);
  }
}

// The accounts that work with cost centers are read on the sub-module's first use and kept for its
// life (one read per batch instead of one per entry); another kind of entry reads them again.
TEST_F(CentroCustoTest, TheAccountsWithCostCentersAreReadOnceForTheSubModule) {
  EXPECT_TRUE(Area().ContaTrabalhaCentroCusto("9", "910001", tlFinanceiro));
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("9", "910009", tlFinanceiro));
  Exec("UPDATE ZTCONTA SET USARATEIOCENTROCUSTO = 'S' WHERE CODCONTA = 910009");
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("9", "910009", tlFinanceiro)) << "read again for one entry";
  // A new facade (the next batch, the next process) sees the change.
  auto* outro = new TGerenteFinanceiro(&Host());  // owned by the host component
  EXPECT_TRUE(outro->GetCentroCusto()->ContaTrabalhaCentroCusto("9", "910009", tlFinanceiro));
}

}  // namespace
