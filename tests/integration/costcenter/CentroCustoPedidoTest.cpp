#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CentroCustoFixture.h"
#include "oradb/TClientDataSet.h"
#include "rtl/Formatacao.h"

namespace {

// Branch 9 apportions consumption orders (parameter 3919); the accounts and cost centers are
// those of the payable fixture. Account 910003 puts everything on T1, whose March 2026 budget in
// branch 9 is 1,000.00; installments of other orders already realized 700.00 of it in March.
class PedidoTest : public costcenter_it::CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    SetParametro("REALIZARATEIOPEDIDOCOMPRACONSUMO", "S", "9");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910003, 'ORCADA', 'S')");
    Exec("INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (910003, 'T1', 100)");
    Exec("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (910003, '9', 2026, 5000)");
    Exec(
        "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
        "VALUES (2026, 3, '9', 910003, 'T1', 20, 1000)");
    RateioPedido(700, "1", 910003, "T1", 100, 400, "2026-03-02");
    RateioPedido(701, "1", 910003, "T1", 100, 300, "2026-03-20");
    RateioPedido(702, "1", 910003, "T1", 100, 999, "2026-04-01");  // another month
  }

  IFin_CentroCustoPedidoCompraConsumo& Pedido() { return *Financeiro().GetCentroCustoPedidoCompraConsumo(); }
  TStringList& ValidadorPedido() { return dynamic_cast<TBaseSubModulo&>(Pedido()).GetValidador(); }

  void RateioPedido(int numped, const std::string& prest, int conta, const std::string& cc, double perc, double valor,
                    const std::string& data = "2026-03-10") {
    Exec(
        "INSERT INTO ZTRATEIOCENTROCUSTOZTLANC3 (NUMPED, PREST, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR, "
        "CODFILIAL, DTLANC) VALUES (" +
        std::to_string(numped) + ", '" + prest + "', " + std::to_string(conta) + ", '" + cc + "', " +
        std::to_string(perc) + ", " + std::to_string(valor) + ", '9', TO_DATE('" + data + "', 'YYYY-MM-DD'))");
  }
  // The saved rows of an installment as "CC:value ..." in cost-center order.
  std::string LinhasPedido(int numped, const std::string& prest, const std::string& colunas = "VALOR") {
    return Todas("SELECT CODIGOCENTROCUSTO, " + colunas + " FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = " +
                 std::to_string(numped) + " AND PREST = '" + prest + "' ORDER BY 1");
  }

  struct Prestacao {
    double numped = 500;
    std::string prest = "1";
    double valor = 100;
    std::string conta = "910001";
    std::string filial = "9";
    bool form = false;
    bool pelo_pedido = false;
    TDateTime data = Data(2026, 3, 10);
  };
  bool Processar(const Prestacao& p) {
    return Pedido().ProcessoCentroCusto(false, p.filial, p.conta, p.valor, p.numped, p.prest, p.data, p.form,
                                        p.pelo_pedido);
  }
  // The visible rows of the form as "CC:percentage:value ...".
  std::string Formulario() {
    TClientDataSet& rateios = *Pedido().GetCdsRateios();
    std::string texto;
    for (rateios.First(); !rateios.Eof(); rateios.Next()) {
      texto += (texto.empty() ? "" : " ") + rateios.FieldByName("CODIGOCENTROCUSTO").AsString() + ":" +
               ShortestDecimal(rateios.FieldByName("PERCRATEIO").AsFloat()) + ":" +
               ShortestDecimal(rateios.FieldByName("VALOR").AsFloat());
    }
    return texto;
  }
};

// Without the form the installment takes the account's standard apportionment, to the cent, and a
// second run replaces its rows instead of adding to them.
TEST_F(PedidoTest, WithoutTheFormTheStandardSplitIsSavedOncePerInstallment) {
  EXPECT_TRUE(Processar({}));
  EXPECT_EQ(LinhasPedido(500, "1", "PERCRATEIO, VALOR, CODCONTA, CODFILIAL, TO_CHAR(DTLANC, 'YYYY-MM-DD')"),
            "T1:33.33:33.33:910001:9:2026-03-10 T2:33.33:33.33:910001:9:2026-03-10 T3:33.34:33.34:910001:9:2026-03-10");
  EXPECT_TRUE(Processar({.valor = 10}));
  EXPECT_TRUE(Processar({.prest = "2", .valor = 10}));
  EXPECT_EQ(LinhasPedido(500, "1"), "T1:3.33 T2:3.33 T3:3.34") << "replaced, not added";
  EXPECT_EQ(LinhasPedido(500, "2"), "T1:3.33 T2:3.33 T3:3.34");
  EXPECT_FALSE(Pedido().GetStatusCentroCusto()) << "saving forgets the installment";
}

// With the flag the proposal is what the same order and installment already has (its
// percentages on the new value); without saved rows, or without the flag, the account's.
TEST_F(PedidoTest, TheOrdersSavedRowsAreProposedWhenAsked) {
  RateioPedido(500, "1", 910001, "T1", 60, 60);
  RateioPedido(500, "1", 910001, "T2", 40, 40);
  EXPECT_FALSE(Processar({.valor = 50, .form = true, .pelo_pedido = true}));
  EXPECT_EQ(Formulario(), "T1:60:30 T2:40:20");
  Pedido().LimparDadosUltimoLancto();
  // 16.665 is rounded to the even cent; the cent left goes to the last row.
  EXPECT_FALSE(Processar({.valor = 50, .form = true}));
  EXPECT_EQ(Formulario(), "T1:33.33:16.66 T2:33.33:16.66 T3:33.34:16.68");
  Pedido().LimparDadosUltimoLancto();
  EXPECT_TRUE(Processar({.prest = "3", .valor = 50, .pelo_pedido = true}));
  EXPECT_EQ(LinhasPedido(500, "3"), "T1:16.66 T2:16.66 T3:16.68");
  EXPECT_EQ(LinhasPedido(500, "1"), "T1:60 T2:40") << "another installment's rows stay";
}

// The host loads an installment's saved rows itself; the last row takes what the others leave
// of the (changed) value.
TEST_F(PedidoTest, SavedRowsLoadedByTheHostTotalTheInstallment) {
  RateioPedido(500, "1", 910001, "T1", 50, 50);
  RateioPedido(500, "1", 910001, "T2", 50, 50);
  RateioPedido(500, "1", 910001, "T4", 0, 0);  // inactive: never loaded
  EXPECT_FALSE(Processar({.valor = 120, .conta = "910002", .form = true}));
  EXPECT_EQ(Formulario(), "");
  Pedido().InsereRegistrosLancto(500, "1");
  EXPECT_EQ(Formulario(), "T1:50:50 T2:50:60");
  EXPECT_TRUE(Pedido().ValidaDadosInformados_Inclusao());
  EXPECT_EQ(Formulario(), "T1:50:60 T2:50:60");
  EXPECT_TRUE(Pedido().InsertCentroCusto_Banco());
  EXPECT_EQ(LinhasPedido(500, "1"), "T1:60 T2:60");
}

struct CasoPrecondicao {
  const char* nome;
  std::string conta, filial, prest;
  double valor, numped;
  const char* resposta;  // "false", or the failure as "Class: message"
  const char* mensagem;  // what the validator holds
};

// Each precondition in its order, with its message; nothing is written.
TEST_F(PedidoTest, PreconditionsInTheirOrderWithTheirTexts) {
  SetParametro("REALIZARATEIOPEDIDOCOMPRACONSUMO", "N", "8");
  const CasoPrecondicao casos[] = {
      {"EmptyAccount", " ", "9", "1", 100, 500, "ExCodigoContaVazio",
       "Favor informar a conta para lançamento do Centro de Custo!"},
      {"BranchDoesNotApportion", "910001", "8", "1", 100, 500, "false", "Filial não trabalha com Centro de Custo!"},
      {"AccountWithoutCostCenters", "910009", "9", "1", 100, 500, "false",
       "Conta gerencial não trabalha com Centro de Custo!"},
      {"ZeroValue", "910001", "9", "1", 0, 500, "ExValorNaoInformado",
       "Favor informar o valor para lançamento do Centro de Custo!"},
      {"NoOrderNumber", "910001", "9", "1", 100, 0, "Exception: Número de pedido não informado.",
       "É necessário o número do pedido de compra de consumo para lançamento do Centro de Custo!"},
      {"NegativeOrderNumber", "910001", "9", "1", 100, -3,
       "Exception: Número de pedido inválido para o rateio de Centro de Custo: -3!",
       "Número de pedido inválido para o rateio de Centro de Custo: -3!"},
      {"FractionalOrderNumber", "910001", "9", "1", 100, 5.5,
       "Exception: Número de pedido inválido para o rateio de Centro de Custo: 5.5!",
       "Número de pedido inválido para o rateio de Centro de Custo: 5.5!"},
      {"NoInstallment", "910001", "9", "  ", 100, 500, "Exception: Prestação não informada.",
       "É necessário informar a prestação para lançamento do Centro de Custo!"},
      {"OverWideInstallment", "910001", "9", "123", 100, 500,
       "Exception: Prestação \"123\" inválida para o rateio de Centro de Custo: informe até 2 caracteres!",
       "Prestação \"123\" inválida para o rateio de Centro de Custo: informe até 2 caracteres!"},
  };
  for (const CasoPrecondicao& caso : casos) {
    SCOPED_TRACE(caso.nome);
    Pedido().LimparDadosUltimoLancto();
    bool resposta = true;
    const std::string falha = testsupport::Failure([&] {
      resposta = Pedido().ProcessoCentroCusto(false, caso.filial, caso.conta, caso.valor, caso.numped, caso.prest,
                                              Data(2026, 3, 10), false, false);
    });
    if (std::string(caso.resposta) == "false") {
      EXPECT_EQ(falha, "(no exception)");
      EXPECT_FALSE(resposta);
    } else {
      EXPECT_EQ(falha.rfind(caso.resposta, 0), 0u) << falha;
    }
    EXPECT_EQ(ValidadorPedido().Text(), caso.mensagem);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = 500"), "0");
  }
}

std::string Excedido(const char* realizado, const char* saldo, const char* mes = "03") {
  return std::string("Exception: Lançamentos do centro de custo T1 para ") + mes +
         "/2026 na filial 9 ultrapassou o valor orçado na rotina 755!\rValor dos lançamentos: " + realizado +
         "\rValor orçado: 1.000,00\rSaldo disponível: " + saldo + "\r";
}

// With parameter 3921 the share of T1 is checked against its month: 300.00 fills it, a cent
// more is refused with the amounts; without the parameter nothing is compared.
TEST_F(PedidoTest, TheBudgetOfACostCenterRefusesTheInstallmentThatExceedsIt) {
  const auto confirmar = [&](double valor) {
    Pedido().LimparDadosUltimoLancto();
    EXPECT_FALSE(Processar({.valor = valor, .conta = "910003", .form = true}));
    return testsupport::Failure([&] { Pedido().ValidaDadosInformados_Inclusao(); });
  };
  EXPECT_EQ(confirmar(300.01), "(no exception)");
  SetParametro("BLOQLANCACIMAORCADOCENTROCUSTO", "S", "9");
  EXPECT_EQ(confirmar(300.00), "(no exception)");
  EXPECT_EQ(confirmar(300.01), Excedido("700,00", "300,00"));
  EXPECT_EQ(Pedido().GetCdsRateios()->RecordCount(), 1u) << "the rows stay for the user to correct";
  // Without the form the same refusal, before anything is written.
  Pedido().LimparDadosUltimoLancto();
  EXPECT_EQ(testsupport::Failure([&] { (void)Processar({.valor = 300.01, .conta = "910003"}); }),
            Excedido("700,00", "300,00"));
  EXPECT_EQ(LinhasPedido(500, "1"), "");
  Pedido().LimparDadosUltimoLancto();
  EXPECT_TRUE(Processar({.valor = 300, .conta = "910003"}));
  EXPECT_EQ(LinhasPedido(500, "1"), "T1:300");
}

// With accrual budgets the month is the installment's due date in ZTLANC3 (the entry date when it
// has none), and the realized amount counts the rows of installments due in that month.
TEST_F(PedidoTest, AccrualBudgetsTakeTheMonthTheInstallmentFallsDue) {
  SetParametro("BLOQLANCACIMAORCADOCENTROCUSTO", "S", "9");
  SetParametro("ORCREGCOMPETENCIA", "S", "9");
  Exec(
      "INSERT INTO ZTLANC3 (NUMPED, PREST, DTVENC) VALUES (700, '1', DATE '2026-03-25'), "
      "(702, '1', DATE '2026-03-28'), (500, '1', DATE '2026-03-15'), (501, '1', DATE '2026-04-15')");
  // Due in March: 700 (400.00) and 702 (999.00, dated April); 701 is not in ZTLANC3.
  EXPECT_EQ(testsupport::Failure([&] { (void)Processar({.valor = 1, .conta = "910003", .data = Data(2026, 4, 2)}); }),
            Excedido("1.399,00", "0,00"));
  Pedido().LimparDadosUltimoLancto();
  // Installment 501/1 falls due in April, where T1 has no budget.
  EXPECT_TRUE(Processar({.numped = 501, .valor = 5000, .conta = "910003", .data = Data(2026, 3, 10)}));
  // Installment 502/1 is not in ZTLANC3: its entry date's month.
  EXPECT_EQ(testsupport::Failure([&] { (void)Processar({.numped = 502, .valor = 1, .conta = "910003"}); }),
            Excedido("1.399,00", "0,00"));
}

// Writing needs the caller's transaction: refused before anything is read or written.
TEST_F(PedidoTest, WritesOutsideATransactionAreRefused) {
  Session().Rollback();
  EXPECT_FAILS_WITH((void)Processar({}), "ExTransacaoNaoIniciada: Transação não iniciada.");
  EXPECT_FAILS_WITH(Pedido().DeleteTodosRegistrosLancto(700, "1"), "ExTransacaoNaoIniciada: Transação não iniciada.");
  EXPECT_FAILS_WITH(Pedido().AlterarContaCentroCusto(700, "1", 910002, "9"),
                    "ExTransacaoNaoIniciada: Transação não iniciada.");
  Session().StartTransaction();
}

// The account change moves the installment's rows of the branch; an unknown account is refused.
TEST_F(PedidoTest, AccountChangeAndDeletionOfAnInstallmentsRows) {
  Pedido().AlterarContaCentroCusto(700, "1", 910002, "9");
  EXPECT_EQ(LinhasPedido(700, "1", "CODCONTA"), "T1:910002");
  EXPECT_FAILS_WITH(Pedido().AlterarContaCentroCusto(700, "1", 123, "9"),
                    "Exception: Conta gerencial 123 não cadastrada!");
  EXPECT_FAILS_WITH(Pedido().DeleteTodosRegistrosLancto(700, "1' OR '1'='1"),
                    "Exception: Prestação \"1' OR '1'='1\" inválida para o rateio de Centro de Custo: informe até 2 "
                    "caracteres!");
  Pedido().DeleteTodosRegistrosLancto(700, "1");
  EXPECT_EQ(LinhasPedido(700, "1"), "");
  EXPECT_EQ(LinhasPedido(701, "1"), "T1:300");
}

// The form's row checks, with this area's parameter 3919 in check 10.
TEST_F(PedidoTest, FormRowChecksNameParameter3919) {
  EXPECT_FALSE(Processar({.form = true}));
  Pedido().SetParametros(10, 10, "9", "", "T1", "UM", false);
  EXPECT_EQ(Pedido().ValidaCamposInterface(), 6);
  Pedido().SetParametros(10, -10, "9", "", "T5", "ALHEIO", false);
  EXPECT_EQ(Pedido().ValidaCamposInterface(), 9);
  SetParametro("REALIZARATEIOPEDIDOCOMPRACONSUMO", "N", "9");
  Pedido().SetParametros(10, 10, "9", "", "T5", "ALHEIO", false);
  EXPECT_EQ(Pedido().ValidaCamposInterface(), 10);
  EXPECT_EQ(ValidadorPedido().Text(),
            "Centro de Custo T1 já existe!\nFavor o valor do lançamento e do rateio devem ser ambos positivos ou "
            "negativos!\nFilial selecionada não usa Centro de Custo conforme definido no parâmetro 3919 da Rotina "
            "132!");
}

}  // namespace
