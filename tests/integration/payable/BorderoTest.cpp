#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PayableFixture.h"
#include "frame/Uclsfin_except.h"

// Settlement of borderos, automatic settlement of one entry, freight-bill reversal and closed
// periods against the database. Entries live in branch "1"; side entries go to the accounts of the
// three host parameters below; cash moves on bank 9201, collection "D".
namespace {

using namespace payabletest;
using testsupport::Failure;

constexpr double kBanco = 9201;

class BorderoTest : public PayableTest {
 protected:
  void SetUp() override {
    PayableTest::SetUp();
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (3201, 'DESCONTOS OBTIDOS', 'S')");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (3202, 'JUROS PAGOS', 'N')");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (3203, 'VARIACAO CAMBIAL', 'S')");
    SetParametro("CON_CODCONTANTPAG", "3201");
    SetParametro("CON_CODCONTPAGJUR", "3202");
    SetParametro("CON_CODCONTACAMBIAL", "3203");
  }

  // An open entry in the database, on bordero `bordero`, with the amounts the record carries.
  RFin_IncluirContasPagar Aberto(double valor, double bordero, double desconto = 0, double juros = 0,
                                 double variacao = 0) {
    RFin_IncluirContasPagar registro = Valida();
    registro.VALOR = valor;
    registro.NUMBORDERO = bordero;
    registro.DESCONTOFIN = desconto;
    registro.TXPERM = juros;
    registro.VLVARIACAOCAMBIAL = variacao;
    registro.LOCALIZACAO = "";
    EXPECT_TRUE(ContasPagar().GetDALContasPagar().IncluirLancamento(registro, false, false));
    return registro;
  }

  std::string Baixar(double bordero, double numtrans, double valor, std::vector<RFin_IncluirContasPagar>& lancamentos,
                     const std::string& historico = "") {
    return ContasPagar().BaixarBordero(bordero, numtrans, valor, kBanco, "D", lancamentos, historico);
  }

  // The side entries of an entry: value, account, history, routine, source, bordero.
  Textos Adicionais(double recnum) {
    Textos linhas;
    TOraQuery q(&Session());
    q.SQL.Add("SELECT VALOR, CODCONTA, HISTORICO, CODROTINACAD, RECNUMBAIXA, NUMBORDERO, VPAGO, VPAGOBORDERO,");
    q.SQL.Add("       CODFORNEC, TO_CHAR(DTLANC, 'YYYY-MM-DD') = TO_CHAR(SYSDATE, 'YYYY-MM-DD') HOJE");
    q.SQL.Add("  FROM ZTLANC WHERE RECNUMBAIXA = " + ShortestDecimal(recnum) + " ORDER BY RECNUM");
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      std::string linha;
      for (std::size_t i = 0; i < q.FieldCount(); ++i) linha += (i == 0 ? "" : "|") + q.Fields(i).AsString();
      linhas.push_back(linha);
    }
    return linhas;
  }

  int Movimentos() {
    return static_cast<int>(ScalarNumber("SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = " + ShortestDecimal(kBanco)));
  }
};

// A bordero of three entries: each paid with what it owes, its discount, interest and exchange
// variation posted as side entries on the parameters' accounts (a negative variation as a
// "DESAGIO" of its negative value), the side entries of cost-center accounts apportioned once each,
// and one cash movement for the total.
TEST_F(BorderoTest, SettlesEveryEntryWithItsSideEntriesAndOneCashMovement) {
  CentroCustoDeTeste& centro_custo = InstalarCentroCusto();
  Host().SetCodigoRotina(740);
  std::vector<RFin_IncluirContasPagar> lancamentos = {Aberto(1000, 77, 25.5), Aberto(500, 77, 0, 12.35, 40),
                                                      Aberto(300, 77, 0, 0, -18.2)};
  centro_custo.Chamadas.clear();

  EXPECT_EQ(Baixar(77, 5001, 1808.65, lancamentos, "PAGAMENTO FORNECEDORES"),
            "Títulos baixados com sucesso. Movimetação Finaceira gerada com sucesso.");

  const double a = lancamentos[0].RECNUM;
  const double b = lancamentos[1].RECNUM;
  const double c = lancamentos[2].RECNUM;
  EXPECT_EQ(Valores("ZTLANC", a,
                    {"VPAGO", "VPAGOBORDERO", "NUMTRANS", "LOCALIZACAO", "CODROTINABAIXA", "OBSRETORNO",
                     "TO_CHAR(DTPAGTO, 'YYYY-MM-DD') = TO_CHAR(SYSDATE, 'YYYY-MM-DD')"}),
            (Textos{"1000", "974.5", "5001", "5001", "740", "BAIXA AUTOM. - ROTINA 740", "True"}));
  EXPECT_EQ(Valores("ZTLANC", b, {"VPAGOBORDERO"}), Textos{"552.35"});
  EXPECT_EQ(Valores("ZTLANC", c, {"VPAGOBORDERO"}), Textos{"281.8"});
  EXPECT_EQ(Adicionais(a), (Textos{"-25.5|3201|DESCONTO FINANC. PAG. DUPLICATA|740|" + ShortestDecimal(a) +
                                   "|77|-25.5|-25.5|501|True"}));
  EXPECT_EQ(Adicionais(b),
            (Textos{"12.35|3202|JUROS PAG. DUPLICATA|740|" + ShortestDecimal(b) + "|77|12.35|12.35|501|True",
                    "40|3203|VARIACAO CAMBIAL AGIO|740|" + ShortestDecimal(b) + "|77|40|40|501|True"}));
  EXPECT_EQ(Adicionais(c),
            (Textos{"-18.2|3203|VARIACAO CAMBIAL DESAGIO|740|" + ShortestDecimal(c) + "|77|-18.2|-18.2|501|True"}));

  // Accounts 3201 and 3203 use cost centers, 3202 does not: three side entries apportioned, once each.
  std::vector<double> rateados;
  for (const ChamadaCentroCusto& chamada : centro_custo.Chamadas) rateados.push_back(chamada.ValorLancto);
  std::sort(rateados.begin(), rateados.end());
  EXPECT_EQ(rateados, (std::vector<double>{-25.5, -18.2, 40}));
  for (const ChamadaCentroCusto& chamada : centro_custo.Chamadas) EXPECT_EQ(chamada.ContraPartida, "N");

  EXPECT_EQ(Scalar("SELECT VALOR || '|' || TIPO || '|' || HISTORICO || '|' || NUMCARR || '|' || NUMTRANS || '|' || "
                   "CODCOB FROM ZTMOVCR WHERE CODBANCO = 9201"),
            "1808.65|C|PAGAMENTO FORNECEDORES|77|5001|D");
}

// A bordero settled twice, or holding an entry paid before, is refused naming the entry, and
// leaves nothing of itself: no side entry, no payment of its other entries, no cash movement.
TEST_F(BorderoTest, AnAlreadyPaidEntryRefusesTheWholeBorderoBeforeAnyMoneyMoves) {
  std::vector<RFin_IncluirContasPagar> primeiro = {Aberto(200, 81, 10)};
  (void)Baixar(81, 6001, 190, primeiro);
  ASSERT_EQ(Movimentos(), 1);

  std::vector<RFin_IncluirContasPagar> de_novo = primeiro;
  EXPECT_EQ(Failure([&] { (void)Baixar(81, 6002, 190, de_novo); }),
            "Exception: Não foi possível baixar o borderô nº 81. O lançamento RECNUM " +
                ShortestDecimal(primeiro[0].RECNUM) + " já está baixado ou não existe.");

  std::vector<RFin_IncluirContasPagar> misto = {Aberto(300, 82, 0, 5), primeiro[0]};
  EXPECT_EQ(Failure([&] { (void)Baixar(82, 6003, 495, misto); }),
            "Exception: Não foi possível baixar o borderô nº 82. O lançamento RECNUM " +
                ShortestDecimal(primeiro[0].RECNUM) + " já está baixado ou não existe.");
  EXPECT_EQ(Adicionais(primeiro[0].RECNUM).size(), 1u);
  EXPECT_EQ(Adicionais(misto[0].RECNUM).size(), 0u);
  EXPECT_EQ(Valores("ZTLANC", misto[0].RECNUM, {"DTPAGTO", "VPAGO"}), (Textos{"", ""}));
  EXPECT_EQ(Movimentos(), 1);
}

// A side entry on an account parameter that is not set is refused naming the parameter, before
// the entry is paid.
TEST_F(BorderoTest, ASideEntryOnAnUnsetAccountParameterIsRefusedNamingIt) {
  SetParametro("CON_CODCONTPAGJUR", "0");
  std::vector<RFin_IncluirContasPagar> lancamentos = {Aberto(200, 83, 0, 3)};
  EXPECT_EQ(Failure([&] { (void)Baixar(83, 6004, 203, lancamentos); }),
            "Exception: O parâmetro CON_CODCONTPAGJUR (conta do lançamento de juros) não está informado: não é "
            "possível gerar o lançamento adicional.");
  EXPECT_EQ(Valores("ZTLANC", lancamentos[0].RECNUM, {"DTPAGTO"}), Textos{""});
  EXPECT_EQ(Movimentos(), 0);
}

// Discounts that came from allowances go to the allowance's account; returns and the rest of the
// discount to the discount parameter's account.
TEST_F(BorderoTest, AllowanceDiscountsGoToTheirOwnAccounts) {
  RFin_IncluirContasPagar lancamento = Aberto(1000, 84, 30);
  const std::string recnum = ShortestDecimal(lancamento.RECNUM);
  Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA) VALUES (3301, 'VERBAS COMERCIAIS')");
  Exec(
      "INSERT INTO ZTVERBA (NUMVERBA, CODFORNEC, TIPO, ORIGEM, CODCONTA, VALOR) VALUES (90001, 501, 'C', 'C', 3301, "
      "12)");
  Exec("INSERT INTO ZTMOVCRFOR (NUMVERBA, NUMLANC, TIPO, VALOR) VALUES (90001, " + recnum + ", 'C', 12)");
  Exec("INSERT INTO ZTMOVCRFOR (NUMVERBA, NUMLANC, TIPO, VALOR, DTESTORNO) VALUES (90001, " + recnum +
       ", 'C', 99, SYSDATE)");
  std::vector<RFin_IncluirContasPagar> lancamentos = {lancamento};
  (void)Baixar(84, 6005, 970, lancamentos);
  const Textos adicionais = Adicionais(lancamento.RECNUM);
  ASSERT_EQ(adicionais.size(), 2u);
  EXPECT_EQ(adicionais[0].substr(0, 9), "-12|3301|");
  EXPECT_EQ(adicionais[1].substr(0, 9), "-18|3201|");
}

// The copy of an entry keeps a history with quotes as typed, cut to 40 characters (not bytes); an
// empty history keeps the source's own.
TEST_F(BorderoTest, SideEntryHistoriesWithQuotesAreStoredAsTyped) {
  const RFin_IncluirContasPagar fonte = Aberto(100, 85);
  TDALContasPagar& dal = ContasPagar().GetDALContasPagar();
  const double aspas = dal.IncluirLancamentoAdicional(fonte.RECNUM, 5, 3201, "TAXA D'AGUA '); DELETE FROM ZTLANC; --");
  const double longo = dal.IncluirLancamentoAdicional(fonte.RECNUM, 6, 3201, Repetir("ÇÃ", 30));
  const double vazio = dal.IncluirLancamentoAdicional(fonte.RECNUM, 7, 3201, "");
  EXPECT_EQ(Valores("ZTLANC", aspas, {"HISTORICO"}), Textos{"TAXA D'AGUA '); DELETE FROM ZTLANC; --"});
  EXPECT_EQ(Valores("ZTLANC", longo, {"HISTORICO"}), Textos{Repetir("ÇÃ", 20)});
  EXPECT_EQ(Valores("ZTLANC", vazio, {"HISTORICO", "VALOR", "CODCONTA", "RECNUMBAIXA"}),
            (Textos{"MATERIAL DE ESCRITORIO", "7", "3201", ShortestDecimal(fonte.RECNUM)}));
  EXPECT_EQ(Linhas("ZTLANC", fonte.RECNUM), 1);
}

// Automatic settlement puts one open entry on a bordero of its own and settles it; an entry paid
// or on a bordero already gets the three-line message.
TEST_F(BorderoTest, AutomaticSettlementOfOneEntry) {
  Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (1, 'OPERADOR DE TESTE', 'OPERADOR')");
  RFin_IncluirContasPagar registro = Valida();
  registro.VALOR = 400;
  ASSERT_TRUE(ContasPagar().GetDALContasPagar().IncluirLancamento(registro, false, false));
  EXPECT_TRUE(ContasPagar().BaixarLancamentoAutomaticamente(registro.RECNUM, kBanco, "BAIXA AUTOMATICA", 10, 2.5));
  EXPECT_EQ(Valores("ZTLANC", registro.RECNUM,
                    {"VPAGOBORDERO", "DESCONTOFIN", "TXPERM", "ASSINATURA", "HISTORICO", "NUMSEQBORDERO", "NUMBANCO"}),
            (Textos{"392.5", "10", "2.5", "OPERADOR", "BAIXA AUTOMATICA", "1", "9201"}));
  EXPECT_EQ(Scalar("SELECT VALOR || '|' || NUMCARR FROM ZTMOVCR WHERE CODBANCO = 9201"),
            "392.50|" + Valores("ZTLANC", registro.RECNUM, {"NUMBORDERO"})[0]);
  EXPECT_EQ(Adicionais(registro.RECNUM).size(), 2u);

  EXPECT_EQ(Failure([&] { ContasPagar().BaixarLancamentoAutomaticamente(registro.RECNUM, kBanco, "", 0, 0); }),
            "Exception: Não foi possível fazer a baixa do lançamento nº(RECNUM) " + ShortestDecimal(registro.RECNUM) +
                ". O mesmo pode estar:\rBaixado no sistema.\rVinculado a um borderô. \rNão existir na base de dados.");
  EXPECT_EQ(Failure([&] { ContasPagar().BaixarLancamentoAutomaticamente(0, kBanco, "", 0, 0); }),
            "ExRecNumVazio: O recnum deve estar preenchido.");
  EXPECT_EQ(Failure([&] { ContasPagar().BaixarLancamentoAutomaticamente(registro.RECNUM, 0, "", 0, 0); }),
            "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco.");
}

// The lock check pastes its table into SQL: anything but a table name is refused before it is sent;
// a free table is locked and answered true.
TEST_F(BorderoTest, TheLockCheckRefusesWhatIsNoTableName) {
  TDALContasPagar& dal = ContasPagar().GetDALContasPagar();
  EXPECT_EQ(Failure([&] { (void)dal.ValidarLockRegistro("ZTLANC; DROP TABLE ZTLANC; --", "", "Baixa do borderô."); }),
            "Exception: Nome de tabela inválido: \"ZTLANC; DROP TABLE ZTLANC; --\".");
  EXPECT_TRUE(dal.ValidarLockRegistro("ZTLANC", "RECNUM = -1", "Baixa do borderô."));
  EXPECT_TRUE(dal.ValidarLockRegistro("ZTCONTA", "", "Baixa do borderô."));
  // A caller's own query gets the lock clauses it lacks, once.
  TOraQuery propria(&Session());
  propria.SQL.Add("SELECT RECNUM FROM ZTLANC WHERE RECNUM = -1");
  EXPECT_TRUE(dal.ValidarLockRegistro("ZTLANC", "", "Baixa do borderô.", &propria));
  EXPECT_EQ(propria.SQL.Text(), "SELECT RECNUM FROM ZTLANC WHERE RECNUM = -1\nFOR UPDATE\nNOWAIT");
  TOraQuery travada(&Session());
  travada.SQL.Add("select recnum from ztlanc for update");
  EXPECT_TRUE(dal.ValidarLockRegistro("ZTLANC", "", "Baixa do borderô.", &travada));
  EXPECT_EQ(travada.SQL.Text(), "select recnum from ztlanc for update\nNOWAIT");
}

TEST_F(BorderoTest, ClosedFinancialPeriodsByDay) {
  Exec("INSERT INTO ZTENCERRAMENTOFINANCEIRO (CODFILIAL, ANO, MES, DIA) VALUES ('1', 2030, 5, 31)");
  EXPECT_TRUE(ContasPagar().VerificarPeriodoBloqueado({"1", Dia(31)}));
  EXPECT_FALSE(ContasPagar().VerificarPeriodoBloqueado({"1", Dia(30)}));
  EXPECT_FALSE(ContasPagar().VerificarPeriodoBloqueado({"2", Dia(31)}));
}

// A slip check through the sub-module: the record must be initialised; the title's day stands in
// for a due date the record lacks.
TEST_F(BorderoTest, SlipCheckNeedsAnInitialisedRecord) {
  RFin_ValidarLinhaDigitavel registro;
  registro.CODIGO = "1";
  EXPECT_EQ(Failure([&] { (void)ContasPagar().ValidarLinhaDigitavel(registro); }),
            "ExParametrosNaoInicializados: Parâmetros não inicializados.");
  registro.Inicializar();
  registro.FORMATO = 1;
  registro.CODIGO = "34191.09008 00012.345609 00001.234566 8 13810000001999";
  registro.VALOR = 19.99;
  EXPECT_TRUE(ContasPagar().ValidarLinhaDigitavel(registro)) << registro.MENSAGEM;
}

// An open freight entry is reversed with a counter-entry; a paid one is refunded once, as a
// receivable title of the sale's customer or as an allowance of the supplier; a reversed one, a
// second refund or an unknown mode is refused before anything is written.
TEST_F(BorderoTest, FreightBillReversalInEveryState) {
  Host().SetCodigoRotina(1302);
  RFin_IncluirContasPagar aberto = Valida();
  aberto.NUMNOTA = 4455;
  ASSERT_TRUE(ContasPagar().GetDALContasPagar().IncluirLancamento(aberto, false, false));
  EXPECT_TRUE(ContasPagar().EstornarConhecimentoDeFrete(aberto.RECNUM, 1));
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTLANC WHERE HISTORICO = 'REF. CANC. NF Nº 4455' AND VALOR = -100 AND "
                         "VPAGO = -100 AND DTESTORNOBAIXA IS NOT NULL"),
            1);
  EXPECT_EQ(Failure([&] { ContasPagar().EstornarConhecimentoDeFrete(aberto.RECNUM, 1); }),
            "Exception: O lançamento informado já estornado. \rRecNum informado: " + ShortestDecimal(aberto.RECNUM));

  std::vector<RFin_IncluirContasPagar> pagos = {Aberto(150, 86), Aberto(250, 86)};
  (void)Baixar(86, 6006, 400, pagos);
  const std::string numero = ShortestDecimal(pagos[0].RECNUM);
  EXPECT_TRUE(ContasPagar().EstornarConhecimentoDeFrete(pagos[0].RECNUM, 1));
  EXPECT_EQ(Scalar("SELECT TIPO || '|' || CODFORNEC || '|' || VALOR || '|' || OBS FROM ZTVERBA WHERE HISTORICO = "
                   "'CANC. CONHEC. FRETE N. " +
                   numero + "'"),
            "D|501|150.00|LANC. AUT. VIA SERVIÇO - ROTINA 1302");
  EXPECT_EQ(Failure([&] { ContasPagar().EstornarConhecimentoDeFrete(pagos[0].RECNUM, 1); }),
            "Exception: O lançamento nº " + numero +
                " já havia sido estornado anteriormente. Pois existe uma verba do fornecedor referente ao processo.");

  Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE) VALUES (8801, 'TRANSPORTES DO SUL')");
  Exec(
      "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CODUSUR, CODCOB) VALUES (770001, 5566, 8801, 12, "
      "'BK')");
  Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, VALOR) VALUES (770001, '1', 999)");
  Exec("UPDATE ZTLANC SET NUMTRANSVENDA = 770001 WHERE RECNUM = " + ShortestDecimal(pagos[1].RECNUM));
  EXPECT_TRUE(ContasPagar().EstornarConhecimentoDeFrete(pagos[1].RECNUM, 0));
  EXPECT_EQ(Scalar("SELECT PREST || '|' || DUPLIC || '|' || CODCLI || '|' || CODUSUR || '|' || CODCOB || '|' || VALOR "
                   "|| '|' || OBS2 FROM ZTPREST WHERE NUMTRANSVENDA = 770001 AND PREST <> '1'"),
            "2|5566|8801|12|BK|250.00|ESTORNO DE CONHECIMENTO DE FRETE AUTOMATICO");
  EXPECT_EQ(Failure([&] { ContasPagar().EstornarConhecimentoDeFrete(pagos[1].RECNUM, 0); }),
            "Exception: O lançamento nº " + ShortestDecimal(pagos[1].RECNUM) +
                " - nº de transação de venda 770001 já havia sido estornado anteriormente. Pois existe um título no "
                "contas a receber referente ao processo.");

  EXPECT_EQ(Failure([&] { ContasPagar().EstornarConhecimentoDeFrete(pagos[1].RECNUM, 2); }),
            "Exception: Modo de estorno do conhecimento de frete inválido: 2. Informe 0 (título no contas a receber) "
            "ou 1 (verba do fornecedor).");
  EXPECT_EQ(Failure([&] { ContasPagar().EstornarConhecimentoDeFrete(99999999, 1); }),
            "Exception: Não foi encontrado o registro da tabela ZTLANC referente ao conhecimento de frete. \rRecNum "
            "informado: 99999999");
}

}  // namespace
