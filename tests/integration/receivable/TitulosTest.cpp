#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/Failure.h"
#include "support/TestHost.h"

// Insertion of receivable titles and the questions about one title, on the server.
namespace {

using testsupport::Failure;

constexpr double kVenda = 977001;

class TitulosTest : public testsupport::HostTest {
 protected:
  IFin_ContasReceber& Area() { return *Financeiro().GetContasReceber(); }

  static TContasReceberZTPrest Valido() {
    TContasReceberZTPrest t;
    t.CODFILIAL = "1";
    t.NUMTRANSVENDA = kVenda;
    t.DUPLIC = 5501;
    t.DTVENC = TDateTime::EncodeDate(2027, 3, 10);
    t.CODCOB = "D";
    t.VALOR = 150.456;
    t.CODCLI = 97701;
    t.CODUSUR = 12;
    return t;
  }

  std::string Coluna(const std::string& coluna, const std::string& prest) {
    return Scalar("SELECT " + coluna + " FROM ZTPREST WHERE NUMTRANSVENDA = " + ShortestDecimal(kVenda) +
                  " AND PREST = '" + prest + "'");
  }
  double Titulos() {
    return ScalarNumber("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = " + ShortestDecimal(kVenda));
  }
  void Parametros(const char* roteiriza, const char* baixaComRota, const char* rotaNaVenda) {
    SetParametro("UTILIZAROTEIRIZACAO", roteiriza);
    SetParametro("USABAIXATITULOCOMROTRCA", baixaComRota);
    SetParametro("ATUALIZAROTANOMOMENTOVENDA", rotaNaVenda);
  }
};

// Each case breaks its own field and every field checked after it, so only a check made in the
// designed order reports the case's message. Nothing is written by a refused title.
TEST_F(TitulosTest, InsertionChecksRunInOrderAndWriteNothing) {
  using Mudar = std::function<void(TContasReceberZTPrest&)>;
  const std::vector<std::pair<Mudar, std::string>> checks = {
      {[](auto& t) { t.CODFILIAL = "  "; }, "ExCodigoFilialNaoPreenchido: Deve ser informado o código filial."},
      {[](auto& t) { t.NUMTRANSVENDA = 0; },
       "ExErroAoInserirZTPrest: Deve ser informado o número de transação de venda"},
      {[](auto& t) { t.DUPLIC = -1; }, "ExErroAoInserirZTPrest: Deve ser informado o número da nota fiscal"},
      {[](auto& t) { t.DTVENC = TDateTime(); }, "ExDataVencimentoNaoInformada: Data de Vencimento não informada"},
      {[](auto& t) { t.CODCOB = ""; }, "ExErroAoInserirZTPrest: Deve ser informado o código da cobrança"},
      {[](auto& t) { t.VALOR = 0.004; },  // nothing once rounded to cents
       "ExValorZerado: O valor informado não pode estar vazio ou igual a zero."},
      {[](auto& t) { t.CODCLI = 0; }, "ExCodigoClienteObrigatorio: É necessário informar o código do cliente"},
      {[](auto& t) { t.CODUSUR = 0; }, "ExErroAoInserirZTPrest: Deve ser informado o código do RCA da venda"},
  };
  for (std::size_t i = 0; i < checks.size(); ++i) {
    TContasReceberZTPrest titulo = Valido();
    for (std::size_t j = i; j < checks.size(); ++j) checks[j].first(titulo);
    const TContasReceberZTPrest antes = titulo;
    EXPECT_EQ(Failure([&] { Area().Incluir(titulo); }), checks[i].second) << "check " << i + 1;
    EXPECT_EQ(titulo.STATUS, antes.STATUS) << "the record stays as it was";
    EXPECT_TRUE(titulo.DTEMISSAO.IsZero());
  }
  EXPECT_EQ(Titulos(), 0);
}

TEST_F(TitulosTest, InsertionRefusedOutsideATransaction) {
  Session().Rollback();
  TContasReceberZTPrest titulo = Valido();
  EXPECT_EQ(Failure([&] { Area().Incluir(titulo); }).rfind("ExTransacaoNaoIniciada: ", 0), 0u);
  Session().StartTransaction();
  EXPECT_EQ(Titulos(), 0);
}

// Unset fields take their defaults, given ones are kept, the amount is stored in cents, and each
// insertion takes the instalment after the highest numeric one of the sale.
TEST_F(TitulosTest, InsertionFillsDefaultsAndTakesTheNextInstalment) {
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (977001, '1', 1)");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (977001, 'A', 1)");
  TContasReceberZTPrest primeiro = Valido();
  Area().Incluir(primeiro);
  EXPECT_EQ(primeiro.PREST, "2");
  EXPECT_EQ(primeiro.VALOR, 150.46);
  EXPECT_EQ(primeiro.VALORORIG, 150.46);
  EXPECT_EQ(primeiro.STATUS, "A");
  EXPECT_EQ(primeiro.CODCOBORIG, "D");
  EXPECT_EQ(primeiro.DTVENCORIG, primeiro.DTVENC);
  EXPECT_EQ(primeiro.DTEMISSAO, Host().DataServidor());
  EXPECT_EQ(primeiro.DTEMISSAOORIG, primeiro.DTEMISSAO);
  EXPECT_EQ(Coluna("VALOR || '/' || VALORORIG || '/' || STATUS || '/' || CODCOBORIG || '/' || CODUSUR", "2"),
            "150.46/150.46/A/D/12");
  EXPECT_EQ(Coluna("TO_CHAR(DTVENCORIG, 'YYYY-MM-DD') || '/' || CODFUNCULTALTER || '/' || NVL(OBS2, '-')", "2"),
            "2027-03-10/1/-");

  TContasReceberZTPrest segundo = Valido();
  segundo.DTVENCORIG = TDateTime::EncodeDate(2027, 1, 5);
  segundo.DTEMISSAO = TDateTime::EncodeDate(2026, 11, 30);
  segundo.CODCOBORIG = "BK";
  segundo.VALORORIG = 99;
  segundo.STATUS = "P";
  segundo.OBS2 = "TITULO AVULSO";
  Area().Incluir(segundo);
  EXPECT_EQ(segundo.PREST, "3");
  EXPECT_EQ(Coluna("TO_CHAR(DTVENCORIG, 'YYYY-MM-DD') || '/' || TO_CHAR(DTEMISSAOORIG, 'YYYY-MM-DD') || '/' || "
                   "CODCOBORIG || '/' || VALORORIG || '/' || STATUS || '/' || OBS2",
                   "3"),
            "2027-01-05/2026-11-30/BK/99.00/P/TITULO AVULSO");
}

// Equal dates divide by one day, as does a span shorter than a day; the order of the dates does not
// change the days.
TEST_F(TitulosTest, DsrDividesByTheWholeDaysBetweenTheDates) {
  auto* area = dynamic_cast<TContasReceber*>(&Area());
  ASSERT_NE(area, nullptr);
  const TDateTime dia = TDateTime::EncodeDate(2026, 12, 1);
  struct Caso {
    TDateTime ini, fim;
    double esperado;
  };
  const Caso casos[] = {
      {dia, dia, 3000},
      {dia, TDateTime::EncodeDateTime(2026, 12, 1, 18, 0, 0), 3000},
      {dia, TDateTime::EncodeDate(2026, 12, 31), 100},
      {TDateTime::EncodeDate(2026, 12, 31), dia, 100},
  };
  for (const Caso& c : casos) {
    EXPECT_DOUBLE_EQ(area->CalcularDSR(1000, c.ini, c.fim, 3), c.esperado) << c.ini.ToIso() << " " << c.fim.ToIso();
  }
}

TEST_F(TitulosTest, QuestionsRefuseABadTitleKey) {
  for (const bool rota : {false, true}) {
    SCOPED_TRACE(rota ? "route question" : "sales-force split question");
    const auto pergunta = [&](double numero, const std::string& prest) {
      return rota ? Area().TituloEstaNaRotaDeAlgumRCA(numero, prest)
                  : Area().TituloDesdobradoPeloForcaVendas(numero, prest);
    };
    EXPECT_FAILS_WITH(pergunta(0, "1"),
                      "ExNumtransvendaInvalido: Número de transação de venda (numtransvenda) inválido.");
    EXPECT_FAILS_WITH(pergunta(kVenda, " "), "ExPrestInvalida: Prestação (prest) inválida.");
  }
}

// Only a receipt that is not cancelled and holds a numbered split not yet carried out counts.
TEST_F(TitulosTest, SalesForceSplitCountsOnlyPendingSplitsOfLiveReceipts) {
  struct Caso {
    const char* prest;
    const char* cancelado;
    const char* efetuado;
    const char* sequencial;
    bool esperado;
  };
  const Caso casos[] = {
      {"1", "NULL", "NULL", "1", true},   {"2", "'S'", "NULL", "1", false}, {"3", "'N'", "'S'", "1", false},
      {"4", "'N'", "'N'", "NULL", false}, {"5", "'N'", "'N'", "7", true},
  };
  for (const Caso& c : casos) {
    Exec(std::string("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (977001, '") + c.prest + "', 1)");
    Exec(std::string("INSERT INTO ZTRECEBIMENTOFV (NUMTRANSVENDA, PREST, CANCELADO) VALUES (977900, '") + c.prest +
         "', " + c.cancelado + ")");
    Exec(std::string("INSERT INTO ZTDESDRECEBIMENTOFV VALUES (977001, '") + c.prest + "', 977900, '" + c.prest + "', " +
         c.sequencial + ", " + c.efetuado + ")");
  }
  for (const Caso& c : casos) {
    EXPECT_EQ(Area().TituloDesdobradoPeloForcaVendas(kVenda, std::string(" ") + c.prest), c.esperado) << c.prest;
  }
  EXPECT_FALSE(Area().TituloDesdobradoPeloForcaVendas(kVenda, "9"));
}

// The question is asked only with parameters 2659 and 3035 on; 2660 chooses the route as updated at
// the sale over the registered one. Today's route of the sale's RCA and customer is in the
// registered table; the sale-time table has them on another weekday until the last case.
TEST_F(TitulosTest, RouteQuestionNeedsBothParametersAndReadsTheTableParameter2660Chooses) {
  const int hoje = DiaDaSemana(Host().DataHoraServidor());
  const int outro = hoje % 7 + 1;
  Exec(
      "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CODUSUR, CONDVENDA) VALUES (977001, 5501, 97701, 12, 14)");
  Exec("INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CODUSUR, CONDVENDA) VALUES (977002, 5502, 97701, 12, 1)");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (977001, '1', 1)");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (977002, '1', 1)");
  Exec("INSERT INTO ZTROTACLI (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA) VALUES (12, 97701, '" + std::to_string(hoje) +
       "', TO_CHAR(SYSDATE, 'W'))");
  Exec("INSERT INTO ZTMOVROTACLI (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA) VALUES (12, 97701, '" + std::to_string(outro) +
       "', TO_CHAR(SYSDATE, 'W'))");
  struct Caso {
    const char* roteiriza;
    const char* baixaComRota;
    const char* rotaNaVenda;
    bool esperado;
  };
  const Caso casos[] = {
      {"N", "S", "N", false},
      {"S", "N", "N", false},
      {"S", "S", "N", true},
      {"S", "S", "S", false},
  };
  for (const Caso& c : casos) {
    Parametros(c.roteiriza, c.baixaComRota, c.rotaNaVenda);
    EXPECT_EQ(Area().TituloEstaNaRotaDeAlgumRCA(kVenda, "1"), c.esperado)
        << c.roteiriza << c.baixaComRota << c.rotaNaVenda;
  }
  Parametros("S", "S", "N");
  EXPECT_FALSE(Area().TituloEstaNaRotaDeAlgumRCA(977002, "1")) << "only sales of sale condition 14";
  Exec("INSERT INTO ZTMOVROTACLI (CODUSUR, CODCLI, DIASEMANA, NUMSEMANA) VALUES (12, 97701, '" + std::to_string(hoje) +
       "', TO_CHAR(SYSDATE, 'W'))");
  Parametros("S", "S", "S");
  EXPECT_TRUE(Area().TituloEstaNaRotaDeAlgumRCA(kVenda, "1"));
}

// The status of a sale's charge from the queue's pair (sent, approved); extensions do not count.
TEST_F(TitulosTest, SupplierCardStatusFollowsTheQueue) {
  struct Caso {
    double venda;
    const char* enviado;  // nullptr: no row
    const char* aprovado;
    std::string esperado;
  };
  const Caso casos[] = {
      {977101, nullptr, "NULL", "NaoEnviado"},
      {977102, "'N'", "NULL", "NaoEnviado"},
      {977103, "NULL", "'S'", "NaoEnviado"},
      {977104, "'S'", "NULL", "AguardandoRetorno"},
      {977105, "'S'", "'N'", "Recusado"},
      {977106, "'S'", "'S'", "Aprovado"},
      {977107, "'S'", "'X'",
       "ExRetornarStatusCobrancaSupplierCard: Erro ao validar status de cobrança SupplierCard. \rSituação de "
       "aprovação desconhecida: X"},
  };
  Exec(
      "INSERT INTO ZTFILASUPPLI (NUMTRANSVENDA, PREST, TIPOINF, ENVIADOSUPPLI, APROVADOSUPPLI) "
      "VALUES (977101, '1', '2', 'S', 'S')");
  for (const Caso& c : casos) {
    if (c.enviado != nullptr) {
      Exec("INSERT INTO ZTFILASUPPLI (NUMTRANSVENDA, TIPOINF, ENVIADOSUPPLI, APROVADOSUPPLI) VALUES (" +
           ShortestDecimal(c.venda) + ", '1', " + c.enviado + ", " + c.aprovado + ")");
    }
    std::string obtido;
    try {
      obtido = NomeStatusCobrancaSupplierCard(Area().RetornarStatusCobrancaSupplierCard(c.venda));
    } catch (const std::exception& falha) {
      obtido = testsupport::ClassAndMessage(falha);
    }
    EXPECT_EQ(obtido, c.esperado) << c.venda;
  }
  EXPECT_FAILS_WITH(Area().RetornarStatusCobrancaSupplierCard(0),
                    "Exception: Número de transação de venda informado inválido!");
}

TEST_F(TitulosTest, SupplierCardExtensionIsQueuedAndChargesAreRecognised) {
  EXPECT_FAILS_WITH(Area().ComunicarProrrogacaoCobrancaSupplierCard(-1, "1"),
                    "Exception: Número de transação de venda informado inválido!");
  EXPECT_FAILS_WITH(Area().ComunicarProrrogacaoCobrancaSupplierCard(977201, ""),
                    "Exception: Número de prestação informada inválida!");
  EXPECT_TRUE(Area().ComunicarProrrogacaoCobrancaSupplierCard(977201, " 2 "));
  EXPECT_EQ(
      Scalar("SELECT PREST || '/' || TIPOINF || '/' || CODROTINACAD || '/' || "
             "CASE WHEN DTHORAINC = TRUNC(SYSDATE) THEN 'hoje' END FROM ZTFILASUPPLI WHERE NUMTRANSVENDA = 977201"),
      "2/2/" + std::to_string(Host().SessaoAtual().Usuario().CodigoRotina()) + "/hoje");
  EXPECT_EQ(NomeStatusCobrancaSupplierCard(Area().RetornarStatusCobrancaSupplierCard(977201)),
            std::string("NaoEnviado"));

  Exec("INSERT INTO ZTCOB (CODCOB, COBSUPPLIERCARD) VALUES ('SPC1', 'S')");
  Exec("INSERT INTO ZTCOB (CODCOB, COBSUPPLIERCARD) VALUES ('SPC2', NULL)");
  EXPECT_TRUE(Area().CobrancaESupplierCard(" SPC1 "));
  EXPECT_FALSE(Area().CobrancaESupplierCard("SPC2"));
  EXPECT_FALSE(Area().CobrancaESupplierCard("SPC9"));
  EXPECT_FAILS_WITH(Area().CobrancaESupplierCard("  "), "Exception: Código de cobrança informado inválido!");
}

// True only at a row whose charge and bank both differ from the first row's; the query is left on
// its first row either way.
TEST_F(TitulosTest, SlipTitlesWithDifferentChargesNeedChargeAndBankBothDifferent) {
  struct Caso {
    const char* linhas;
    bool esperado;
  };
  const Caso casos[] = {
      {"SELECT 'BK01' CODCOB, 1 CODBANCOCM FROM DUAL", false},
      {"SELECT 'BK01' CODCOB, 1 CODBANCOCM FROM DUAL UNION ALL SELECT 'BK02', 1 FROM DUAL", false},
      {"SELECT 'BK01' CODCOB, 1 CODBANCOCM FROM DUAL UNION ALL SELECT 'BK01', 2 FROM DUAL", false},
      {"SELECT 'BK01' CODCOB, 1 CODBANCOCM FROM DUAL UNION ALL SELECT 'BK01', 2 FROM DUAL UNION ALL "
       "SELECT 'BK02', 3 FROM DUAL",
       true},
  };
  for (const Caso& c : casos) {
    TOraQuery query(&Session());
    query.SQL.SetText(c.linhas);
    query.Open();
    EXPECT_EQ(Area().TitulosParaImpressaoBoletoComCobrancasDiferentes(query), c.esperado) << c.linhas;
    EXPECT_EQ(query.RecNo(), 1u) << c.linhas;
  }
}

}  // namespace
