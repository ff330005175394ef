#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "ReceivableSupport.h"
#include "oradb/TClientDataSet.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/TCancDesdQry.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"
#include "support/TestHost.h"

// The title listing under its filters and payment tracking, on titles of sales 66000 and up written
// in the test's own transaction (rolled back).
namespace {

using F = RFin_FiltrosOpcoesContasReceber;
using S = TStatusRastreamentoTitulos;

std::string Centavos(double valor) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%.2f", valor);
  return texto;
}

class ContasReceberListagemBase : public testsupport::HostTest {
 protected:
  TContasReceber& Area() { return dynamic_cast<TContasReceber&>(*Financeiro().GetContasReceber()); }

  void Titulo(long long venda, const std::string& prest, const std::string& colunas, const std::string& valores,
              bool comDeposito = true) {
    Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, " + colunas + ") VALUES (" + std::to_string(venda) + ", '" +
         prest + "', " + valores + ")");
    if (comDeposito) {
      Exec("INSERT INTO ZTPRESTDNI (NUMTRANSVENDA, PREST, NUMDOC) VALUES (" + std::to_string(venda) + ", '" + prest +
           "', " + std::to_string(venda % 1000) + ")");
    }
  }
  // A title settled by a split, with the copy the split keeps (unless told otherwise).
  void Desdobrado(long long venda, const std::string& prest, double valor, bool comCopia = true) {
    Titulo(venda, prest, "DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB",
           std::to_string(venda % 10000) + ", '1', 86601, " + std::to_string(valor) + ", " + std::to_string(valor) +
               ", DATE '2026-03-01', 'DESD'",
           false);
    if (comCopia) {
      Exec("INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST, VALOR, CODCOB, OPERACAODESD, QTREPLICAS) VALUES (" +
           std::to_string(venda) + ", '" + prest + "', " + std::to_string(valor) + ", 'BK', 'TONormal', 0)");
    }
  }
  // A title born of splits, paid by the customer.
  void Pago(long long venda, const std::string& prest, double valor, double pago) {
    Titulo(venda, prest, "DUPLIC, CODFILIAL, CODCLI, VALOR, VPAGO, DTPAG, CODCOB, TXPERM",
           std::to_string(venda % 10000) + ", '1', 86601, " + std::to_string(valor) + ", " + std::to_string(pago) +
               ", DATE '2026-03-20', 'BK', 1.5");
  }
  void Ligar(long long orig, const std::string& po, long long dest, const std::string& pd) {
    Exec("INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" +
         std::to_string(orig) + ", '" + po + "', " + std::to_string(dest) + ", '" + pd + "')");
  }
  void Nota(long long venda, double total) {
    Exec("INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, VLTOTGER) VALUES (" + std::to_string(venda) + ", " +
         std::to_string(venda % 10000) + ", " + std::to_string(total) + ")");
  }

  std::vector<std::string> Listar(const F& filtros) {
    TCancDesdQry query(&Session());
    Area().CarregarTitulos(query, filtros);
    std::vector<std::string> titulos;
    for (query.First(); !query.Eof(); query.Next()) {
      titulos.push_back(query.FieldByName("NUMTRANSVENDA").AsString() + "-" + query.FieldByName("PREST").AsString());
    }
    return titulos;
  }

  // Tracking rows as "NUMNOTA RASTREAVEL VLRPAGO", sorted.
  std::vector<std::string> Rastrear(const F& filtros, TPersistenciaDados persistencia, S status = S::srtTodos) {
    TClientDataSet resultado;
    Area().CarregarPagamentos(Session(), filtros, status, TTipoRegistrosRastreamento::trrConsulta, persistencia,
                              resultado);
    std::vector<std::string> linhas;
    for (resultado.First(); !resultado.Eof(); resultado.Next()) {
      linhas.push_back(resultado.FieldByName("NUMNOTA").AsString() + " " +
                       resultado.FieldByName("RASTREAVEL").AsString() + " " +
                       Centavos(resultado.FieldByName("VLRPAGO").AsFloat()));
    }
    std::sort(linhas.begin(), linhas.end());
    return linhas;
  }

  static F DosClientes() {
    F f;
    f.Clientes = "86601, 86602";
    return f;
  }
};

// The seed of the filter cases: two customers (one in a market area of route 77), two RCAs, a card
// charge, and titles that each stand out on some filter.
class ContasReceberFiltros : public ContasReceberListagemBase {
 protected:
  void SetUp() override {
    ContasReceberListagemBase::SetUp();
    Exec("INSERT INTO ZTPRACA (CODPRACA, CODROTA) VALUES (8661, 77)");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, CODPRACA, CODCLIPRINC) VALUES (86601, 'ZULU', 8661, 86600)");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (86602, 'ALFA')");
    Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME) VALUES (86611, 'ANA')");
    Exec("INSERT INTO ZTUSUARI (CODUSUR, NOME) VALUES (86612, 'BETO')");
    Exec("INSERT INTO ZTCOB (CODCOB, CARTAO) VALUES ('CRT6', 'S')");
    const std::string colunas =
        "CODFILIAL, CODCLI, CODUSUR, CODCOB, VALOR, VPAGO, DTPAG, TIPO, PERMITEESTORNO, "
        "DTCANCEL, NUMNOTA, CODPORTADOR, TIPOPORTADOR";
    Titulo(66001, "1", colunas, "'1', 86601, 86611, 'BK', 100, NULL, NULL, 'M', NULL, NULL, 7001, 9, 'R'");
    Titulo(66002, "1", colunas, "'2', 86601, 86612, 'CRT6', 50, 50, DATE '2031-03-10', NULL, 'N', NULL, 0, 0, NULL");
    Titulo(66003, "1", colunas, "'1', 86602, NULL, 'ESTR', 50, 0, NULL, NULL, NULL, NULL, 0, 0, NULL");
    Titulo(66004, "1", colunas, "'1', 86602, NULL, 'CANC', 70, NULL, NULL, NULL, NULL, DATE '2031-03-02', 0, 0, NULL");
    Titulo(66005, "1", colunas, "'1', 86601, NULL, 'BK', 10, NULL, NULL, NULL, NULL, NULL, 0, 0, NULL", false);
    Titulo(66006, "1", colunas, "'1', 86601, NULL, 'DESD', 30, 30, NULL, NULL, NULL, NULL, 0, 0, NULL");
    Titulo(66007, "1", colunas, "'1', 86601, NULL, 'BK', 30, NULL, NULL, NULL, NULL, NULL, 0, 0, NULL");
    Ligar(66006, "1", 66007, "1");
  }
};

// A filter clause and the titles it leaves of the seed's two customers.
struct Clausula {
  const char* Nome;
  std::function<void(F&)> Ajuste;
  std::set<std::string> Titulos;
  friend void PrintTo(const Clausula& c, std::ostream* out) { *out << c.Nome; }
};

class ContasReceberFiltrosTest : public ContasReceberFiltros, public ::testing::WithParamInterface<Clausula> {};

TEST_P(ContasReceberFiltrosTest, ClauseSelectsItsTitlesOnTheServer) {
  F f = DosClientes();
  GetParam().Ajuste(f);
  const std::vector<std::string> titulos = Listar(f);
  EXPECT_EQ(std::set<std::string>(titulos.begin(), titulos.end()), GetParam().Titulos);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Clausulas, ContasReceberFiltrosTest,
    ::testing::Values(
        Clausula{"none", [](F&) {}, {"66001-1", "66002-1", "66003-1", "66004-1", "66007-1"}},
        Clausula{"title", [](F& f) { f.NUMTRANSVENDA = 66001, f.PREST = "1"; }, {"66001-1"}},
        Clausula{"invoice", [](F& f) { f.NUMNOTA = 7001; }, {"66001-1"}},
        Clausula{"quotedBranch", [](F& f) { f.Filiais = "'2'"; }, {"66002-1"}},
        Clausula{"numericBranch", [](F& f) { f.Filiais = "1"; }, {"66001-1", "66003-1", "66004-1", "66007-1"}},
        Clausula{"charges", [](F& f) { f.Cobrancas = "'BK'"; }, {"66001-1", "66007-1"}},
        Clausula{"rca", [](F& f) { f.RCAs = "'86612'"; }, {"66002-1"}},
        Clausula{"route", [](F& f) { f.Rotas = "77"; }, {"66001-1", "66002-1", "66007-1"}},
        Clausula{"mainCustomer", [](F& f) { f.ClientesPrincipais = "86600"; }, {"66001-1", "66002-1", "66007-1"}},
        Clausula{"bearerRca", [](F& f) { f.CODPORTADOR = "9", f.TipoPortador = 2; }, {"66001-1"}},
        Clausula{"bearerSupplier", [](F& f) { f.CODPORTADOR = "9", f.TipoPortador = 0; }, {}},
        Clausula{"professional", [](F& f) { f.CODPROFISSIONAL = "86612"; }, {"66002-1"}},
        Clausula{"document", [](F& f) { f.NUMDOC = 2; }, {"66002-1"}},
        Clausula{"card", [](F& f) { f.DesconsiderarCartao = true; }, {"66001-1", "66003-1", "66004-1", "66007-1"}},
        Clausula{"reversed", [](F& f) { f.DesconsiderarEstornados = true; }, {"66001-1", "66004-1", "66007-1"}},
        Clausula{"reversedBoth", [](F& f) { f.DesconsiderarEstornados = f.DesconsiderarEstornadosContraPartida = true; }, {"66001-1", "66004-1", "66007-1"}},
        Clausula{"cancelled", [](F& f) { f.DesconsiderarCancelados = true; }, {"66001-1", "66002-1", "66003-1", "66007-1"}},
        Clausula{"kindM", [](F& f) { f.TipoTitulo = 0; }, {"66001-1"}},
        Clausula{"kindNotM", [](F& f) { f.TipoTitulo = 1; }, {"66002-1", "66003-1", "66004-1", "66007-1"}},
        Clausula{"open", [](F& f) { f.SomenteAbertos = true; }, {"66001-1", "66003-1", "66004-1", "66007-1"}},
        Clausula{"paidPeriod", [](F& f) { f.DTPAGINI = f.DTPAGFIM = TDateTime::EncodeDate(2031, 3, 10); }, {"66002-1"}},
        Clausula{"counterpart", [](F& f) { f.DesconsiderarContraPartidaEstorno = true; }, {"66001-1", "66002-1", "66004-1", "66007-1"}}),
    [](const auto& info) { return std::string(info.param.Nome); });
// clang-format on

TEST_F(ContasReceberFiltros, OrderingAndSplitFlagAndOtherOverloads) {
  F f = DosClientes();
  f.OrdenacaoColuna = 7;  // by value, then customer code
  f.OrdenacaoModo = 2;
  EXPECT_EQ(Listar(f), (std::vector<std::string>{"66007-1", "66002-1", "66003-1", "66004-1", "66001-1"}));
  f.OrdenacaoColuna = 6;  // by RCA name, then customer name: RCA-less titles last, ALFA before ZULU
  f.OrdenacaoModo = 3;
  const std::vector<std::string> porNome = Listar(f);
  ASSERT_EQ(porNome.size(), 5u);
  EXPECT_EQ(porNome[0], "66001-1");
  EXPECT_EQ(porNome[1], "66002-1");
  EXPECT_EQ(porNome[4], "66007-1");

  TCancDesdQry query(&Session());
  Area().CarregarTitulos(query, 66007, "1");
  ASSERT_EQ(query.RecordCount(), 1u);
  EXPECT_EQ(query.FieldByName("EXISTE").AsString(), "S");
  EXPECT_TRUE(query.FieldByName("VPAGO").IsNull());
  Area().CarregarTitulos(query, 66006, "1");  // split into another: never listed
  EXPECT_TRUE(query.IsEmpty());

  Area().CarregarTitulos(query, "'1','2'",
                         RFin_PeriodoData{TDateTime::EncodeDate(2031, 3, 1), TDateTime::EncodeDate(2031, 3, 31)});
  ASSERT_EQ(query.RecordCount(), 1u);
  EXPECT_EQ(query.FieldByName("NUMTRANSVENDA").AsString(), "66002");
  EXPECT_EQ(query.FieldByName("EXISTE").AsString(), "N");
}

class ContasReceberRastreio : public ContasReceberListagemBase {
 protected:
  void SetUp() override {
    ContasReceberListagemBase::SetUp();
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (86601, 'ZULU')");
  }
};

class ContasReceberRastreioTest : public ContasReceberRastreio,
                                  public ::testing::WithParamInterface<TPersistenciaDados> {};

// A title born of two instalments of one sale is traced to both, each with its share of the payment;
// with an invoice the share follows the invoice total, without one the title's value.
TEST_P(ContasReceberRastreioTest, SplitTitleIsTracedToItsOrigins) {
  Desdobrado(66101, "1", 100);
  Desdobrado(66101, "2", 200);
  Pago(66102, "1", 300, 300);
  Ligar(66101, "1", 66102, "1");
  Ligar(66101, "2", 66102, "1");
  EXPECT_EQ(Rastrear(DosClientes(), GetParam()), (std::vector<std::string>{"6101 S 100.00", "6101 S 200.00"}));
  Nota(66101, 300);
  EXPECT_EQ(Rastrear(DosClientes(), GetParam()), (std::vector<std::string>{"6101 S 150.00", "6101 S 150.00"}));

  TClientDataSet resultado;
  Area().CarregarPagamentos(Session(), 66102, "1", S::srtRastreado, TTipoRegistrosRastreamento::trrConsulta, GetParam(),
                            resultado);
  ASSERT_EQ(resultado.RecordCount(), 2u);
  EXPECT_EQ(resultado.FieldCount(), 15u);
  EXPECT_EQ(resultado.FieldByName("DOCBAIXA").AsString(), "66102-1");
  EXPECT_EQ(resultado.FieldByName("NUMTRANSVENDA").AsString(), "66101");
  EXPECT_EQ(resultado.FieldByName("VLRNOTA").AsFloat(), 300);
  EXPECT_EQ(resultado.FieldByName("VLRPARCELA").AsFloat(), 300);
  EXPECT_EQ(resultado.FieldByName("VLRJUROSDESPS").AsFloat(), 1.5);
  EXPECT_EQ(resultado.FieldByName("DTPAG").AsDateTime().ToIso(true), "2026-03-20");
}

// Each paying title is apportioned over its own origins: a second title keeps its whole payment, and
// three equal origins share 100.00 to the cent.
TEST_P(ContasReceberRastreioTest, ApportionmentRestartsForEachPayingTitle) {
  Pago(66301, "1", 100, 100);
  Pago(66302, "1", 40, 40);
  EXPECT_EQ(Rastrear(DosClientes(), GetParam()), (std::vector<std::string>{"6301 S 100.00", "6302 S 40.00"}));

  for (const char* prest : {"1", "2", "3"}) {
    Desdobrado(66303, prest, 50);
    Ligar(66303, prest, 66304, "1");
  }
  Pago(66304, "1", 150, 100);
  F f;
  f.NUMTRANSVENDA = 66304, f.PREST = "1";
  EXPECT_EQ(Rastrear(f, GetParam()), (std::vector<std::string>{"6303 S 33.33", "6303 S 33.33", "6303 S 33.34"}));
}

// Origins of different sales, or an origin the splitting cannot undo, leave the invoice untraced: one
// row per invoice however many of its titles meet it. The paying title being paid is no reason.
TEST_P(ContasReceberRastreioTest, UntracedInvoiceGivesOneRow) {
  Desdobrado(66203, "1", 50);
  Desdobrado(66204, "1", 50);
  Pago(66202, "1", 50, 50);
  Pago(66202, "2", 50, 50);
  for (const char* prest : {"1", "2"}) {
    Ligar(66203, "1", 66202, prest);
    Ligar(66204, "1", 66202, prest);
  }
  EXPECT_EQ(Rastrear(DosClientes(), GetParam()), (std::vector<std::string>{"6202 N 0.00"}));

  Desdobrado(66401, "1", 80, false);  // split by a routine that keeps no copy
  Pago(66402, "1", 80, 80);
  Ligar(66401, "1", 66402, "1");
  F f;
  f.NUMTRANSVENDA = 66402, f.PREST = "1";
  EXPECT_EQ(Rastrear(f, GetParam()), (std::vector<std::string>{"6401 N 0.00"}));
  EXPECT_EQ(Rastrear(DosClientes(), GetParam(), S::srtRastreado), std::vector<std::string>{});
  EXPECT_EQ(Rastrear(DosClientes(), GetParam(), S::srtNaoRastreado),
            (std::vector<std::string>{"6202 N 0.00", "6401 N 0.00"}));
}

INSTANTIATE_TEST_SUITE_P(Persistencia, ContasReceberRastreioTest,
                         ::testing::Values(TPersistenciaDados::tpdTabelaTemporaria, TPersistenciaDados::tpdMemoria),
                         [](const auto& info) {
                           return info.param == TPersistenciaDados::tpdMemoria ? std::string("Memoria")
                                                                               : std::string("TabelaTemporaria");
                         });

// A refused list stops the run before anything is deleted or written; the other kinds' rows stay.
TEST_F(ContasReceberRastreio, RefusedListRunsNothingAndKindsStayApart) {
  Exec("INSERT INTO ZTCONTASPAGARSPED_TEMP (CODFILIAL, NUMNOTA, TIPO, RASTREAVEL) VALUES ('1', 1, 'C', 'S')");
  Exec("INSERT INTO ZTCONTASPAGARSPED_TEMP (CODFILIAL, NUMNOTA, TIPO, RASTREAVEL) VALUES ('1', 2, 'S', 'S')");
  F f;
  f.Clientes = "1) OR (1=1";
  TClientDataSet resultado;
  EXPECT_FAILS_WITH(Area().CarregarPagamentos(Session(), f, S::srtTodos, TTipoRegistrosRastreamento::trrConsulta,
                                              TPersistenciaDados::tpdTabelaTemporaria, resultado),
                    "Exception: Valor inválido na lista de P.CODCLI: \"1) OR (1=1\".");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCONTASPAGARSPED_TEMP"), "2");
  Pago(66501, "1", 10, 10);
  f.Clientes = "86601";
  Area().CarregarPagamentos(Session(), f, S::srtTodos, TTipoRegistrosRastreamento::trrConsulta,
                            TPersistenciaDados::tpdMemoria, resultado);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = 'C'"), "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCONTASPAGARSPED_TEMP WHERE TIPO = 'S'"), "1");
}

TEST_F(ContasReceberRastreio, RefusedOutsideATransaction) {
  Session().Rollback();
  Session().SetImplicitTransactions(false);
  TClientDataSet resultado;
  EXPECT_EQ(testsupport::Failure([&] {
              Area().CarregarPagamentos(Session(), DosClientes(), S::srtTodos, TTipoRegistrosRastreamento::trrSped,
                                        TPersistenciaDados::tpdMemoria, resultado);
            }).rfind("ExTransacaoNaoIniciada", 0),
            0u);
  EXPECT_EQ(testsupport::Failure([&] {
              Area().ApagarDadosRastreamentoDePagamento(Session(), TTipoRegistrosRastreamento::trrSped);
            }).rfind("ExTransacaoNaoIniciada", 0),
            0u);
}

// The command line answers a listing's rows, and with --explain (or the batch flag) the SQL it ran;
// a refused list is the module's refusal, an unknown tracking status a usage error.
TEST(ContasReceberCli, ListingsAnswerRowsAndOnRequestTheirSql) {
  cli::Json answer;
  const auto run = [&answer](const std::vector<std::string>& args, const std::string& input) {
    const receivabletest::Resposta resposta = receivabletest::Chamar(args, input);
    answer = cli::Json::parse(resposta.Saida);  // one answer: pretty-printed, or one batch line
    return resposta.Codigo;
  };
  const std::string titulo = R"({"args": {"NUMTRANSVENDA": 66999, "PREST": "1"}})";
  EXPECT_EQ(run({"call", "ContasReceber.CarregarTitulo", "--explain"}, titulo), 0);
  EXPECT_EQ(answer["result"]["linhas"], cli::Json::array());
  EXPECT_EQ(answer["result"]["sql"].get<std::string>().rfind("SELECT P.CODFILIAL,", 0), 0u);
  EXPECT_EQ(run({"call", "ContasReceber.CarregarTitulo"}, titulo), 0);
  EXPECT_FALSE(answer["result"].contains("sql"));
  EXPECT_EQ(run({"call", "--batch"}, R"({"op": "ContasReceber.CarregarTitulo", "flags": {"explain": true}, )"
                                     R"("args": {"NUMTRANSVENDA": 1, "PREST": "1"}})"),
            0);
  EXPECT_TRUE(answer["result"].contains("sql"));
  EXPECT_EQ(run({"call", "ContasReceber.CarregarPagamentos"}, R"({"args": {"Filiais": "1 OR 1=1"}})"), 1);
  EXPECT_EQ(answer["message"], "Valor inválido na lista de P.CODFILIAL: \"1 OR 1=1\".");
  EXPECT_EQ(run({"call", "ContasReceber.CarregarPagamentosTitulo"},
                R"({"args": {"NUMTRANSVENDA": 1, "PREST": "1", "Status": 5}})"),
            2);
}

}  // namespace
