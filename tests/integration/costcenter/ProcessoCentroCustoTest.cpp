#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "CentroCustoFixture.h"
#include "costcenter/Uclsfin_centrocusto.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TClientDataSet.h"
#include "sdk/Exception.h"

namespace {

using costcenter_it::CentroCustoTest;

TEST_F(CentroCustoTest, ANewEntryIsSavedWithItsAccountsStandardApportionmentToTheCentAndAgainReplaced) {
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
  ASSERT_TRUE(Apportion(5001, 20.00));
  EXPECT_EQ(Linhas(5001), "T1:6.67 T2:6.67 T3:6.66");
}

TEST_F(CentroCustoTest, ACounterpartCopiesItsPrincipalNegatedEvenWhenTheApportionmentMustTotal) {
  SetParametro("RATEIOTOTALCC", "S");
  Lancamento(5010, 910001, 10);
  Rateio(5010, 910001, "T1", 33.33, 3.33);
  Rateio(5010, 910001, "T2", 66.67, 6.67);
  Host().SetCodigoRotina(749);
  ASSERT_TRUE(Processar({.recnum = 5011, .valor = -10, .natureza = "S", .principal = 5010}));
  EXPECT_EQ(Linhas(5011, "VALOR, CONTRAPARTIDA, RECNUMPRINC"), "T1:-3.33:S:5010 T2:-6.67:S:5010");
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
      {[this]() { return Processar({.recnum = 6001, .valor = 10, .filial = ""}); }, "ExFilialNaoInformada",
       "A filial não foi informada.", "Favor informar a filial para o lançamento do Centro de Custo!"},
      {[this]() { return Apportion(6001, 0); }, "ExValorNaoInformado", "Valor não informado.",
       "Favor informar o valor para lançamento do Centro de Custo!"},
      {[this]() { return Apportion(0, 10); }, "ExNumeroLanctoZerado", "Número de lançamento não informado.",
       "É necessário o Número da Transação de contas a pagar para lançamento do Centro de Custo!"},
      {[this]() { return Processar({.recnum = 6001, .valor = 10, .filial = "8"}); }, nullptr, nullptr,
       "Filial não trabalha com Centro de Custo!"},
      {[this]() { return Apportion(6001, 10, "910009"); }, nullptr, nullptr,
       "Conta gerencial não trabalha com Centro de Custo!"},
      {[this]() { return Apportion(6001, 10, "910001' OR '1'='1"); }, nullptr, nullptr,
       "Conta gerencial não trabalha com Centro de Custo!"},
  };
  for (const auto& [chamada, classe, mensagem, validador] : casos) {
    SCOPED_TRACE(validador);
    try {
      EXPECT_FALSE(chamada());
      EXPECT_EQ(classe, nullptr) << "não recusou";
    } catch (const ExFinanceiro& falha) {
      EXPECT_STREQ(falha.ClassName(), classe);
      EXPECT_STREQ(falha.Message().c_str(), mensagem);
    }
    ASSERT_EQ(Validador().Count(), 1u);  // earlier runs' messages are gone
    EXPECT_EQ(Validador()[0], validador);
    EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO"), 0);
    Area().LimparDadosUltimoLancto();
  }
}

// Neither the budget routine nor a budget line needs a transaction number; a run without entry type
// answers false silently.
TEST_F(CentroCustoTest, TheBudgetRoutineAndBudgetLinesNeedNoTransactionNumber) {
  EXPECT_FALSE(Processar({.recnum = 7, .valor = 10, .tipo = tlContaPadrao}));
  EXPECT_EQ(Validador().Count(), 0u);
  for (const double valor : {1000, 2000}) {
    ASSERT_TRUE(Processar({.valor = valor, .tipo = tlOrcamento, .data = Data(2026, 3, 1)}));
  }
  // The second run reloaded the saved rows and replaced them with the new value's shares.
  EXPECT_EQ(Todas("SELECT COUNT(*), SUM(VALOR) FROM ZTORCLANCENTROCUSTO WHERE ANO = 2026 AND MES = 3 AND "
                  "CODFILIAL = '9' AND CODCONTA = 910001"),
            "3:2000");
  Host().SetCodigoRotina(755);
  EXPECT_TRUE(Apportion(0, 10));
  EXPECT_EQ(Linhas(0), "T1:3.33 T2:3.33 T3:3.34");
}

// ---------------------------------------------------------------------------------------------
// Sources of the proposed rows

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
  // Without ";" the account's standard apportionment is used.
  ASSERT_TRUE(Apportion(7002, 10));
  EXPECT_EQ(Linhas(7002), "T1:3.33 T2:3.33 T3:3.34");
}

TEST_F(CentroCustoTest, EntriesOfAnInvoiceWithItsFreightAndOfASaleAreApportionedOneByOne) {
  for (const auto& [recnum, valor] : {std::pair{7201, 10}, {7202, 20}, {7203, -30}, {7204, 40}, {7205, 50}}) {
    Lancamento(recnum, 910001, valor);
  }
  Lancamento(7301, 910001, 10);
  Lancamento(7302, 910009, 10);  // its account does not work with cost centers
  Exec("UPDATE ZTLANC SET NUMTRANSENT = 4444 WHERE RECNUM IN (7201, 7202, 7203)");
  // Paid entries are out, unless the payment was reversed.
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

TEST_F(CentroCustoTest, AnEntryFromASplitTakesEachCostCentersShareOfTheSplitTitles) {
  for (const int recnum : {7401, 7402, 7403}) Lancamento(recnum, 910001, 100);
  Rateio(7401, 910001, "T1", 100, 100);
  Rateio(7402, 910001, "T1", 50, 50);
  Rateio(7402, 910001, "T2", 50, 50);
  Rateio(7403, 910001, "T3", 100, 100);
  TParametrosCentroCusto& parametros = dynamic_cast<TValidaCentroCusto&>(Area()).Parametros();
  parametros.DesdobramentoZTLanc = true;
  parametros.ListaRecNumDesdobramento = "7401,7402,7403";
  parametros.VlrTotalTitulosSelecionadosDesd = 300;
  ASSERT_TRUE(Apportion(7404, 90));
  EXPECT_EQ(Linhas(7404, "PERCRATEIO, VALOR"), "T1:50:45 T2:16.666667:15 T3:33.333333:30");
}

}  // namespace
