// A receivable title settled as paid with customer credit, and the credit services on the database.
#include <gtest/gtest.h>

#include "CreditoClienteFixture.h"
#include "support/Failure.h"

namespace creditotest {
namespace {

using BaixaTituloComoCredito = CreditoClienteTest;
using ServicosCredito = CreditoClienteTest;

const char* const kJaBaixado =
    "ExErroAoBaixarCreditoCliente: O título 101-1 já foi baixado por outro usuário !\rNão é permitido baixar mais de "
    "uma vez o mesmo título.\rA Baixa do Título será encerrada.";

TEST_F(BaixaTituloComoCredito, InterestIsRoundedOnceAndTheTitleIsPaidOnce) {
  Titulo(880101, "1", 100, kCliente, ", CODFUNCCX, CODFUNCFECHA", ", 41, 42");
  TContasReceberZTPrest t = Registro(880101, "1", 100);
  t.TXPERM = 10.456;
  t.VLROUTROSACRESC = 1.5;
  t.CODFUNCCX = 41;
  ASSERT_TRUE(BaixaTitulo().BaixarTituloComoCredito(t, false));
  EXPECT_EQ(Linhas("SELECT VPAGO, TXPERM, CODCOB, CODCOBORIG, CODBAIXA, CODFUNCULTALTER, "
                   "DECODE(DTPAG, TRUNC(SYSDATE), 'hoje', '?'), DECODE(DTCXMOT, NULL, '-', 'cx'), CODFUNCCXMOT, "
                   "DECODE(DTFECHA, NULL, '-', 'f') FROM ZTPREST WHERE NUMTRANSVENDA = 880101"),
            Textos{"111.96|10.46|CRED|BK|1|1|hoje|cx|1|-"});
  EXPECT_EQ(testsupport::Failure([&] { BaixaTitulo().BaixarTituloComoCredito(t, false); }), kJaBaixado);
}

TEST_F(BaixaTituloComoCredito, RefusalsNameTheTitle) {
  Titulo(880101, "1", 100);
  TContasReceberZTPrest dni = Registro(880101, "1", 100);
  dni.NUMASSOCDNI = 5;
  EXPECT_EQ(testsupport::Failure([&] { BaixaTitulo().BaixarTituloComoCredito(dni, false); }),
            "ExErroAoBaixarCreditoCliente: Esse título está associado a um DNI e não pode ser baixado com créditos. "
            "Favor fazer baixa do mesmo pela rotina 1207.");
  TContasReceberZTPrest custodia = Registro(880101, "1", 100);
  custodia.VLDESCCUSTODIA = 3;
  EXPECT_EQ(testsupport::Failure([&] { BaixaTitulo().BaixarTituloComoCredito(custodia, false); }),
            "ExErroAoBaixarCreditoCliente: O título (cheque) 101-1 já foi descontado na custódia !\rA baixa manual "
            "deste título não é permitida.");
  TContasReceberZTPrest zerado = Registro(880101, "1", 0);
  EXPECT_EQ(testsupport::Failure([&] { BaixaTitulo().BaixarTituloComoCredito(zerado, false); }),
            "ExErroAoBaixarCreditoCliente: Não é permitido a baixa de título com Valor Recebido zerado.");
  // A title that does not exist is never reported as settled.
  EXPECT_EQ(testsupport::Failure([&] { BaixaTitulo().BaixarTituloComoCredito(Registro(880199, "9", 10), false); }),
            "ExErroAoBaixarCreditoCliente: O título 199-9 não foi encontrado.");
  EXPECT_EQ(Scalar("SELECT NVL(TO_CHAR(DTPAG), 'aberto') FROM ZTPREST WHERE NUMTRANSVENDA = 880101"), "aberto");
}

TEST_F(BaixaTituloComoCredito, TheDiscountIsPostedOrDropped) {
  SetParametro("CON_CODCONTDESCCONC", "3101");
  Titulo(880101, "1", 100, kCliente, ", VALORDESC, PERDESC", ", 7.5, 7.5");
  Titulo(880102, "1", 100, kCliente, ", VALORDESC, PERDESC", ", 7.5, 7.5");
  TContasReceberZTPrest com = Registro(880101, "1", 100);
  com.VALORDESC = 7.5;
  TContasReceberZTPrest sem = Registro(880102, "1", 100);
  sem.VALORDESC = 7.5;
  ASSERT_TRUE(BaixaTitulo().BaixarTituloComoCredito(com, true));
  ASSERT_TRUE(BaixaTitulo().BaixarTituloComoCredito(sem, false));
  EXPECT_EQ(Linhas("SELECT NUMTRANSVENDA, VPAGO, VALORDESC, PERDESC FROM ZTPREST WHERE NUMTRANSVENDA IN (880101, "
                   "880102) ORDER BY 1"),
            (Textos{"880101|92.5|7.5|7.5", "880102|100|0|0"}));
  // The entry carries the discount, not the whole title.
  EXPECT_EQ(Linhas("SELECT CODCONTA, CODFORNEC, NUMNOTA, VALOR, VPAGO, HISTORICO FROM ZTLANC WHERE CODFORNEC = 8801"),
            Textos{"3101|8801|101|7.5|7.5|INCLUSAO MANUAL DE CREDITO CLIENTE"});
}

TEST_F(ServicosCredito, OneTitleWithTwoCreditsKeepsTheRestAsANewLinkedCredit) {
  Titulo(880101, "1", 100);
  const double primeiro = Incluido(60);
  const double segundo = Incluido(50);
  std::string mensagem;
  TCreditoCliente a;
  a.CODIGO = primeiro;
  TCreditoCliente b;
  b.CODIGO = segundo;
  ASSERT_TRUE(Credito().BaixarUmTituloComUmOuVariosCreditos(Registro(880101, "1", 100), {a, b}, false, mensagem));
  EXPECT_EQ(Linhas("SELECT VPAGO, CODCOB, CODCOBORIG FROM ZTPREST WHERE NUMTRANSVENDA = 880101"),
            Textos{"100|CRED|BK"});
  EXPECT_EQ(Linhas("SELECT VALOR, DECODE(DTDESCONTO, NULL, 'aberto', 'usado'), NUMTRANSVENDADESC, PRESTRESTCLI "
                   "FROM ZTCRECLI WHERE CODCLI = 8801 ORDER BY CODIGO"),
            (Textos{"60|usado|880101|1", "40|usado|880101|1", "10|aberto||"}));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTDESDCRECLI WHERE CODIGOORIG = " + ShortestDecimal(segundo)), "1");
  EXPECT_TRUE(ArquivoSalvo(TDALCreditoCliente::kArquivoBaixarUmTituloVariosCreditos));

  // Reversing the title reopens it and gives its credits back.
  ASSERT_TRUE(Credito().EstornarTituloBaixadoComCredito(880101, "1", mensagem));
  EXPECT_EQ(Linhas("SELECT NVL(TO_CHAR(DTPAG), 'aberto'), CODCOB FROM ZTPREST WHERE NUMTRANSVENDA = 880101"),
            Textos{"aberto|BK"});
  EXPECT_EQ(Scalar("SELECT SUM(VALOR) FROM ZTCRECLI WHERE CODCLI = 8801 AND DTDESCONTO IS NULL"), "110");
  EXPECT_EQ(testsupport::Failure([&] {
              Credito().EstornarTituloBaixadoComCredito(880101, "1", mensagem);
            }).rfind("ExErroAoBaixarCreditoCliente: ", 0),
            0u);
}

TEST_F(ServicosCredito, CreditsThatDoNotCoverTheTitleSettleNothing) {
  Titulo(880101, "1", 100);
  TCreditoCliente a;
  a.CODIGO = Incluido(30);
  std::string mensagem;
  const std::string falha = testsupport::Failure(
      [&] { Credito().BaixarUmTituloComUmOuVariosCreditos(Registro(880101, "1", 100), {a}, false, mensagem); });
  EXPECT_NE(falha.find("Os créditos informados não cobrem o valor do título 101-1: faltam 70"), std::string::npos)
      << falha;
  EXPECT_EQ(Creditos(), Textos{"30|aberto|-|DEVOLUCAO " + FMarca});
  EXPECT_EQ(Scalar("SELECT NVL(TO_CHAR(DTPAG), 'aberto') FROM ZTPREST WHERE NUMTRANSVENDA = 880101"), "aberto");
  EXPECT_EQ(testsupport::Failure([&] {
              Credito().BaixarUmTituloComUmOuVariosCreditos(Registro(880101, "1", 100), {}, false, mensagem);
            }),
            "ExErroAoBaixarCreditoCliente: É necessário informar pelo menos um crédito para fazer a baixa.");
}

TEST_F(ServicosCredito, OneCreditPaysSeveralTitlesOfItsCustomerOnly) {
  Titulo(880101, "1", 40);
  Titulo(880101, "2", 35);
  Titulo(880102, "1", 10, kOutroCliente);
  TCreditoCliente c;
  c.CODIGO = Incluido(100);
  std::string mensagem;
  ASSERT_TRUE(Credito().BaixarUmCreditoComUmOuVariosTitulos(c, {Registro(880101, "1", 40), Registro(880101, "2", 35)},
                                                            false, mensagem));
  EXPECT_EQ(Linhas("SELECT VALOR, DECODE(DTDESCONTO, NULL, 'aberto', 'usado'), PRESTRESTCLI FROM ZTCRECLI WHERE "
                   "CODCLI = 8801 ORDER BY CODIGO"),
            (Textos{"40|usado|1", "35|usado|2", "25|aberto|"}));
  EXPECT_TRUE(ArquivoSalvo(TDALCreditoCliente::kArquivoBaixarUmCreditoVariosTitulos));
  TCreditoCliente resto;
  resto.CODIGO = ScalarNumber("SELECT CODIGO FROM ZTCRECLI WHERE CODCLI = 8801 AND DTDESCONTO IS NULL");
  const std::string falha = testsupport::Failure(
      [&] { Credito().BaixarUmCreditoComUmOuVariosTitulos(resto, {Registro(880102, "1", 10)}, false, mensagem); });
  EXPECT_NE(falha.find("não é do cliente 8801"), std::string::npos) << falha;
  EXPECT_EQ(Scalar("SELECT NVL(TO_CHAR(DTPAG), 'aberto') FROM ZTPREST WHERE NUMTRANSVENDA = 880102"), "aberto");
}

TEST_F(ServicosCredito, CounterEntryReversesOnceAndLinksAreKept) {
  const double codigo = Incluido(80);
  ASSERT_TRUE(Credito().ApenasGerarContraPartidaCredito(codigo, 4321, 10, 880101));
  const std::string historico = "DESDOBRAMENTO EM BAIXA NF.: 10 - NUMTRANSVENDA.: 880101";
  EXPECT_EQ(Creditos(), (Textos{"80|usado|estornado|" + historico, "-80|usado|estornado|" + historico}));
  EXPECT_TRUE(ArquivoSalvo(TDALCreditoCliente::kArquivoContraPartida));
  // A credit is never reversed twice.
  const std::string falha = testsupport::Failure([&] { Credito().ApenasGerarContraPartidaCredito(codigo, 1, 10, 1); });
  EXPECT_EQ(falha.rfind("Exception: Erro ao gerar contra-partida em ZTCRECLI: \r", 0), 0u) << falha;
  EXPECT_NE(falha.find("já está estornado"), std::string::npos) << falha;

  const double outro = Incluido(5);
  ASSERT_TRUE(Credito().InserirRegistroDesdobramentoCreditoCliente(codigo, outro));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTDESDCRECLI WHERE CODIGOORIG = " + ShortestDecimal(codigo)), "1");
  EXPECT_EQ(testsupport::Failure([&] {
              Credito().InserirRegistroDesdobramentoCreditoCliente(codigo, 1e9 - 7);
            }).rfind("Exception: Erro ao gerar registro em ZTDESDCRECLI: \r", 0),
            0u);
}

TEST_F(ServicosCredito, RetailUseConfirmationAndReversal) {
  const double codigo = Incluido(100);
  std::string gerados;
  ASSERT_TRUE(Credito().BaixarCreditoClienteVarejo(codigo, 30, 555, "ECF'01", 3, 9876, "VENDA 'BALCAO'", "1", gerados));
  ASSERT_FALSE(gerados.empty());
  EXPECT_EQ(
      Linhas("SELECT VALOR, SITUACAO, NUMSERIEEQUIP, OBS FROM ZTCRECLI WHERE CODIGO = " + ShortestDecimal(codigo)),
      Textos{"30|P|ECF'01|VENDA 'BALCAO'"});
  EXPECT_EQ(Scalar("SELECT VALOR FROM ZTCRECLI WHERE CODIGO = " + gerados), "70");
  ASSERT_TRUE(Credito().AtualizarBaixarCreditoClienteVarejo(codigo));
  EXPECT_EQ(testsupport::Failure([&] {
              Credito().AtualizarBaixarCreditoClienteVarejo(codigo);
            }).rfind("ExErroAoBaixarCreditoCliente: ", 0),
            0u);
  // More than the credit's value is never used.
  EXPECT_NE(testsupport::Failure([&] {
              Credito().BaixarCreditoClienteVarejo(std::stod(gerados), 70.01, 0, "", 0, 0, "", "1", gerados);
            }).find("não pode ser maior que o seu valor"),
            std::string::npos);

  // A credit used by a sale is given back as a new open credit, once.
  TCreditoCliente uso;
  uso.CODIGO = std::stod(gerados);
  uso.NUMTRANSVENDADESC = 880150;
  uso.CODFILIALDESC = "1";
  std::string mensagem;
  ASSERT_TRUE(Credito().ApenasBaixarCredito(uso, mensagem));
  ASSERT_TRUE(Credito().EstornarBaixaCreditoClienteVarejo(880150));
  EXPECT_EQ(Scalar("SELECT SUM(VALOR) FROM ZTCRECLI WHERE CODCLI = 8801 AND DTDESCONTO IS NULL"), "70");
  ASSERT_TRUE(Credito().EstornarBaixaCreditoClienteVarejo(880150));
  EXPECT_EQ(Scalar("SELECT SUM(VALOR) FROM ZTCRECLI WHERE CODCLI = 8801 AND DTDESCONTO IS NULL"), "70");
}

TEST_F(ServicosCredito, EmptyArgumentsAreRefusedWithTheirTexts) {
  std::string mensagem;
  EXPECT_EQ(testsupport::Failure([&] { Credito().EstornarTituloBaixadoComCredito(0, "1", mensagem); }),
            "ExErroAoBaixarCreditoCliente: É necessário informar o número de transação de venda do título a ser "
            "estornado.");
  EXPECT_EQ(testsupport::Failure([&] { Credito().EstornarTituloBaixadoComCredito(1, " ", mensagem); }),
            "ExErroAoBaixarCreditoCliente: É necessário informar o número de prestação do título a ser estornado.");
  EXPECT_EQ(testsupport::Failure(
                [&] { Credito().BaixarUmCreditoComUmOuVariosTitulos(TCreditoCliente(), {}, false, mensagem); }),
            "ExErroAoBaixarCreditoCliente: É necessário informar pelo menos um título para fazer a baixa.");
}

}  // namespace
}  // namespace creditotest
