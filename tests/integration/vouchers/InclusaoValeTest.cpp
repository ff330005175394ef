#include <gtest/gtest.h>

#include <string>

#include "ValesFixture.h"
#include "frame/Uclsfin_except.h"
#include "support/Failure.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

using valestest::Textos;
using valestest::ValesTest;

class InclusaoVale : public ValesTest {
 protected:
  [[nodiscard]] std::string Vale(double numvale, const std::string& colunas) {
    return Scalar("SELECT " + colunas + " FROM ZTCORREN WHERE NUMVALE = " + ShortestDecimal(numvale));
  }
  [[nodiscard]] Textos Movimentos(double numvale) {
    return Linhas(
        "SELECT CODCOB, TIPO, VALOR, NUMCARR, NUMTRANS, HISTORICO, HISTORICO2, CODCONTADEB, CODCONTACRED, INDICE "
        "FROM ZTMOVCR WHERE CODBANCO = 9941 AND NUMCARR = " +
        ShortestDecimal(numvale) + " ORDER BY ROWID");
  }
  [[nodiscard]] Textos Lancamentos(double numtrans) {
    return Linhas(
        "SELECT CODCONTA, CODFORNEC, TIPOPARCEIRO, VALOR, VPAGO, HISTORICO, HISTORICO2, NUMNOTA, LOCALIZACAO, "
        "TIPOLANC, NUMTRANS, MOEDA, INDICE, TO_CHAR(DTLANC, 'DD/MM/YYYY'), TO_CHAR(DTCOMPETENCIA, 'DD/MM/YYYY'), "
        "NUMBANCO, NOMEFUNC, CODFILIAL FROM ZTLANC WHERE NUMTRANS = " +
        ShortestDecimal(numtrans) + " ORDER BY RECNUM");
  }
};

// A voucher whose numbers are left to the module: they are drawn once, used for the row and its
// movement, and handed back; the row carries what the ledger expects of an insert.
TEST_F(InclusaoVale, DrawsItsNumbersUsesThemAndWritesThemBack) {
  RFin_ParametrosInclusaoVale p = Inclusao(kProfissional, "P");
  p.HISTORICO = "ADIANTAMENTO PARA DESPESAS DE VIAGEM À REGIÃO DE CAMPINAS E SÃO PAULO";  // 68 characters
  p.HISTORICO2 = "";
  p.MOVIMENTARCONTAVALE = true;
  p.PAGOEMDINHEIRO = true;
  p.CONSIDERABASECALCULOIMPOSTO = true;
  p.ORIGEMLANCAMENTO = "ROTINA 614";
  ASSERT_TRUE(Vales().IncluirVale(p));
  ASSERT_GT(p.NUMVALE, 0);
  ASSERT_GT(p.RECNUM, 0);
  ASSERT_GT(p.NUMTRANS, 0);
  EXPECT_EQ(Vale(p.NUMVALE, "RECNUM || '|' || NUMTRANS"),
            ShortestDecimal(p.RECNUM) + "|" + ShortestDecimal(p.NUMTRANS));
  EXPECT_EQ(
      Vale(p.NUMVALE,
           "TIPOFUNC || '|' || HISTORICO || '|' || NVL(HISTORICO2, '-') || '|' || TIPOLANC || '|' || VALOR || "
           "'|' || TO_CHAR(DTVENC, 'DD/MM/YYYY') || '|' || TO_CHAR(DTVENCORIG, 'DD/MM/YYYY') || '|' || "
           "TO_CHAR(DTLANC, 'DD/MM/YYYY HH24:MI') || '|' || TO_CHAR(DTDOC, 'DD/MM/YYYY') || '|' || CODEMITE || "
           "'|' || CODEMITEORIG || '|' || CODFUNCORIG || '|' || NVL(COBJUROS, '-') || '|' || INDICE || '|' || "
           "NVL(TO_CHAR(DTBAIXAVALE), '-') || '|' || NVL(TO_CHAR(NUMTRANSBAIXA), '-') || '|' || "
           "CONSIDERABASECALCULOIMPOSTO || '|' || VALEEXPORTADO || '|' || ORIGEMLANCAMENTO || '|' || "
           "NVL(TO_CHAR(CODIGOCOMRCA), '-') || '|' || CODBANCO"),
      "R|ADIANTAMENTO PARA DESPESAS DE VIAGEM À R|-|D|100.00|30/03/2026|30/03/2026|02/03/2026 00:00|01/03/2026|1|1|"
      "7704|-|A|-|-|S|N|ROTINA 614|-|9941");
  // The movements are numbered by the voucher; the empty second history of the movements was
  // filled from the voucher's (empty as well) and handed back.
  EXPECT_EQ(Movimentos(p.NUMVALE),
            (Textos{"VALE|D|100|" + ShortestDecimal(p.NUMVALE) + "|" + ShortestDecimal(p.NUMTRANS) +
                        "|ADIANTAMENTO PARA DESPESAS DE VIAGEM À R||||A",
                    "D|C|100|" + ShortestDecimal(p.NUMVALE) + "|" + ShortestDecimal(p.NUMTRANS) +
                        "|ADIANTAMENTO PARA DESPESAS DE VIAGEM À R||||A"}));
  EXPECT_EQ(Lancamentos(p.NUMTRANS), Textos{});
  // Hour and minute are the server's when the row was written.
  const double minutos =
      ScalarNumber("SELECT HORA * 60 + MINUTO FROM ZTCORREN WHERE NUMVALE = " + ShortestDecimal(p.NUMVALE));
  const double agora =
      ScalarNumber("SELECT TO_NUMBER(TO_CHAR(SYSDATE, 'HH24')) * 60 + TO_NUMBER(TO_CHAR(SYSDATE, 'MI')) FROM DUAL");
  EXPECT_LE(std::abs(agora - minutos), 1.0);
}

TEST_F(InclusaoVale, GivenNumbersAreKept) {
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.NUMVALE = 990001;
  p.RECNUM = 990002;
  p.NUMTRANS = 990003;
  p.HISTORICO2MOVIMENTO = "MOVIMENTO";
  ASSERT_TRUE(Vales().IncluirVale(p));
  EXPECT_EQ(p.NUMVALE, 990001);
  EXPECT_EQ(p.RECNUM, 990002);
  EXPECT_EQ(p.NUMTRANS, 990003);
  EXPECT_EQ(p.HISTORICO2MOVIMENTO, "MOVIMENTO");
  EXPECT_EQ(Vale(990001, "RECNUM || '|' || NUMTRANS || '|' || TIPOFUNC"), "990002|990003|F");
  EXPECT_EQ(Movimentos(990001), Textos{});
}

// Not paid in cash: the voucher movement credits the given account and debits the cash account's
// accounting account; the paid payable entry of an employee's debit voucher is negative, has no
// supplier, and carries the employee's second history and the voucher's tags.
TEST_F(InclusaoVale, EmployeesDebitVoucherPostsItsMovementAndANegativePaidEntry) {
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.MOVIMENTARCONTAVALE = true;
  p.LANCARCONTASPAGAR = true;
  p.HISTORICO2FUNCIONARIO = "JOSE DA SILVA";
  p.HISTORICO2MOVIMENTO = "MOV 2";
  p.VALOR = 100.005;  // to cents once: 100.00 everywhere
  ASSERT_TRUE(Vales().IncluirVale(p));
  EXPECT_EQ(Movimentos(p.NUMVALE), Textos{"VALE|D|100|" + ShortestDecimal(p.NUMVALE) + "|" +
                                          ShortestDecimal(p.NUMTRANS) + "|ADIANTAMENTO DE VIAGEM|MOV 2|11101|3101|A"});
  const std::string hoje = Host().DataServidor().ToBrazilian();
  EXPECT_EQ(Lancamentos(p.NUMTRANS),
            Textos{"3101|0|O|-100|-100|ADIANTAMENTO DE VIAGEM|JOSE DA SILVA|4455|" + ShortestDecimal(p.NUMTRANS) +
                   "|C|" + ShortestDecimal(p.NUMTRANS) + "|R|A|02/03/2026|02/03/2026|9941|OPERADOR UM|1"});
  EXPECT_EQ(Scalar("SELECT TO_CHAR(DTPAGTO, 'DD/MM/YYYY') || '|' || TO_CHAR(DTEMISSAO, 'DD/MM/YYYY') FROM ZTLANC "
                   "WHERE NUMTRANS = " +
                   ShortestDecimal(p.NUMTRANS)),
            hoje.substr(0, 10) + "|" + hoje.substr(0, 10));
  EXPECT_EQ(Scalar("SELECT VALOR FROM ZTESTCR WHERE CODCOB = 'VALE' AND CODBANCO = 9941"), "100");
}

TEST_F(InclusaoVale, RepresentativesCreditVoucherPostsAPositiveEntryToThePartner) {
  RFin_ParametrosInclusaoVale p = Inclusao(kProfissional, "P");
  p.NATUREZA = "C";
  p.LANCARCONTASPAGAR = true;
  p.RECNUMLANC = 990010;
  ASSERT_TRUE(Vales().IncluirVale(p));
  EXPECT_EQ(Lancamentos(p.NUMTRANS),
            Textos{"3101|7704|R|100|100|ADIANTAMENTO DE VIAGEM|VIAGEM A CAMPINAS|4455|" + ShortestDecimal(p.NUMTRANS) +
                   "|C|" + ShortestDecimal(p.NUMTRANS) + "|R|A|02/03/2026|02/03/2026|9941|OPERADOR UM|1"});
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTLANC WHERE RECNUM = 990010"), "1");
  EXPECT_EQ(Movimentos(p.NUMVALE), Textos{});
}

// The payable area refuses the entry (no history): the voucher row and its movement, already
// written, go with it, the transaction stays usable and the caller's record is as it was.
TEST_F(InclusaoVale, AFailureOfThePayableStepLeavesNothingOfTheVoucher) {
  const std::string antes = Contagem();
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.HISTORICO = "";
  p.MOVIMENTARCONTAVALE = true;
  p.LANCARCONTASPAGAR = true;
  try {
    Vales().IncluirVale(p);
    FAIL() << "included";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "ExErroInserindoZTLANC");
    EXPECT_EQ(e.Message(), "Erro ao inserir registro na ZTLANC:\rO histórico não foi informado.");
  }
  EXPECT_EQ(Contagem(), antes);
  EXPECT_EQ(p.NUMVALE, 0);
  EXPECT_EQ(p.NUMTRANS, 0);
  EXPECT_EQ(p.HISTORICO2MOVIMENTO, "");
  p.HISTORICO = "ADIANTAMENTO";
  EXPECT_TRUE(Vales().IncluirVale(p));
}

TEST_F(InclusaoVale, ADatabaseFailureOfTheInsertKeepsItsTextAndCause) {
  RFin_ParametrosInclusaoVale p = Inclusao();
  p.NUMVALE = 990020;
  ASSERT_TRUE(Vales().IncluirVale(p));
  RFin_ParametrosInclusaoVale outro = Inclusao(kMotorista, "M");
  outro.NUMVALE = 990020;  // already open
  try {
    Vales().IncluirVale(outro);
    FAIL() << "included twice";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message().rfind("Erro ao inserir registro na ZTCORREN:\r", 0), 0u) << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e));
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCORREN WHERE NUMVALE = 990020"), "1");
}

// Each check in its order, before anything is written.
TEST_F(InclusaoVale, RefusalsComeBeforeAnythingIsWritten) {
  const struct {
    const char* nome;
    void (*ajustar)(RFin_ParametrosInclusaoVale&);
    const char* esperado;
  } casos[] = {
      {"NoBranch", [](RFin_ParametrosInclusaoVale& p) { p.CODFILIAL = " "; },
       "ExCodigoFilialObrigatorio: Favor informar o código da filial."},
      {"UnknownPartnerType", [](RFin_ParametrosInclusaoVale& p) { p.TIPOPARCEIRO = "f"; },
       "ExTipoParceiroObrigatorio: Favor informar o tipo do parceiro."},
      {"NoPartner", [](RFin_ParametrosInclusaoVale& p) { p.CODPARCEIRO = 0; },
       "ExCodigoParceiroObrigatorio: Favor informar o código do parceiro."},
      {"NatureNeitherDebitNorCredit", [](RFin_ParametrosInclusaoVale& p) { p.NATUREZA = "E"; },
       "ExNaturezaValeObrigatorio: Favor informar a natureza do vale."},
      {"ValueRoundingToZero", [](RFin_ParametrosInclusaoVale& p) { p.VALOR = 0.004; },
       "ExValorValeObrigatorio: Favor informar o valor do vale."},
      {"NegativeValue", [](RFin_ParametrosInclusaoVale& p) { p.VALOR = -50; },
       "ExValorValeObrigatorio: Favor informar o valor do vale."},
      {"NoEntryDate", [](RFin_ParametrosInclusaoVale& p) { p.DTLANC = TDateTime(); },
       "ExDataLancamentoObrigatorio: Favor informar a data de lançamento."},
      {"MovementWithoutAccount", [](RFin_ParametrosInclusaoVale& p) { p.CODBANCO = 0; },
       "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco."},
      {"PayableEntryWithoutAccount", [](RFin_ParametrosInclusaoVale& p) { p.CODCONTA = 0; },
       "ExCodigoContaObrigatorio: Favor informar o código da conta. Campo obrigatório para lançamento sem "
       "movimentação de numerário!"},
      {"FractionalCashAccount", [](RFin_ParametrosInclusaoVale& p) { p.CODBANCO = 9941.5; },
       "Exception: Código do caixa/banco inválido: 9941.5."},
  };
  const std::string antes = Contagem();
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    RFin_ParametrosInclusaoVale p = Inclusao();
    p.MOVIMENTARCONTAVALE = true;
    p.LANCARCONTASPAGAR = true;
    caso.ajustar(p);
    EXPECT_FAILS_WITH(Vales().IncluirVale(p), caso.esperado);
    EXPECT_EQ(Contagem(), antes);
  }
}

TEST_F(InclusaoVale, InclusionAndWriteOffNeedTheCallersTransaction) {
  Session().Rollback();
  RFin_ParametrosInclusaoVale p = Inclusao();
  EXPECT_FAILS_WITH(Vales().IncluirVale(p), "ExTransacaoNaoIniciada: Transação não iniciada.");
  EXPECT_FAILS_WITH(Vales().BaixarValeIndividual(Baixa(Inclusao(), 10), nullptr),
                    "ExTransacaoNaoIniciada: Transação não iniciada.");
}

}  // namespace
