#include <gtest/gtest.h>

#include <string>

#include "ValesFixture.h"
#include "frame/Uclsfin_except.h"
#include "support/Failure.h"

namespace {

using valestest::Textos;
using valestest::ValesTest;

class BaixaVale : public ValesTest {
 protected:
  // A voucher included with its paid payable entry (the write-off's entries point to it).
  RFin_ParametrosInclusaoVale Incluir(const std::string& natureza = "D", double parceiro = kFuncionario,
                                      const std::string& tipo = "F") {
    RFin_ParametrosInclusaoVale p = Inclusao(parceiro, tipo);
    p.NATUREZA = natureza;
    p.LANCARCONTASPAGAR = true;
    p.RECNUMLANC = Host().ProximoRecNum();
    EXPECT_TRUE(Vales().IncluirVale(p));
    return p;
  }

  // The voucher's rows (histories as the insert stores them, cut to 40 characters): nature, value, open or closed,
  // account, transaction (T for the write-off's own, V for the voucher's), row number (R for the voucher's, S for a
  // shared new one, + for another), histories, commission, write-off transaction.
  Textos Razao(const RFin_ParametrosInclusaoVale& vale) {
    const std::string n = ShortestDecimal(vale.NUMVALE);
    const std::string t = "(SELECT MAX(NUMTRANS) FROM ZTCORREN WHERE NUMVALE = " + n + ")";
    const std::string s = "(SELECT MAX(RECNUM) FROM ZTCORREN WHERE NUMVALE = " + n + " AND NUMTRANS = " + t + ")";
    return Linhas(
        "SELECT TIPOLANC, VALOR, DECODE(DTBAIXAVALE, NULL, 'aberto', 'baixado'), CODBANCO, "
        "DECODE(NUMTRANS, NULL, '-', " +
        ShortestDecimal(vale.NUMTRANS) + ", 'V', " + t + ", 'T', TO_CHAR(NUMTRANS)), DECODE(RECNUM, " +
        ShortestDecimal(vale.RECNUM) + ", 'R', " + s +
        ", 'S', '+'), HISTORICO, HISTORICO2, NVL(TO_CHAR(CODIGOCOMRCA), '-'), "
        "NVL(TO_CHAR(NUMTRANSBAIXA), '-') FROM ZTCORREN WHERE NUMVALE = " +
        n + " ORDER BY RECNUM, TIPOLANC");
  }

  // The write-off's money side: movements and payable entries of its transaction.
  Textos Dinheiro(const RFin_ParametrosInclusaoVale& vale) {
    const std::string n = ShortestDecimal(vale.NUMVALE);
    const std::string t = "(SELECT MAX(NUMTRANS) FROM ZTCORREN WHERE NUMVALE = " + n + ")";
    Textos linhas =
        Linhas("SELECT 'mov', CODCOB, TIPO, VALOR, NUMCARR - " + n +
               ", HISTORICO2, NVL(TO_CHAR(CODCONTACRED), '-') FROM ZTMOVCR WHERE NUMTRANS = " + t + " ORDER BY ROWID");
    for (const std::string& l :
         Linhas("SELECT 'cp', CODFORNEC, TIPOPARCEIRO, VALOR, VPAGO, HISTORICO2, DECODE(LOCALIZACAO, TO_CHAR(" + t +
                "), 'T', LOCALIZACAO), DECODE(RECNUMPRINC, " + ShortestDecimal(vale.RECNUMLANC) +
                ", 'principal', TO_CHAR(RECNUMPRINC)), NUMNOTA, TIPOLANC FROM ZTLANC WHERE NUMTRANS = " + t +
                " ORDER BY RECNUM")) {
      linhas.push_back(l);
    }
    return linhas;
  }
};

// A debit voucher of 100 written off by 30: the voucher closes as "E", leaves the ledger whole,
// the 30 settled are a pair of rows sharing one transaction and one row number, and the 70 that
// remain are a new open voucher with the same number. The voucher movement settles 30 and the
// paid entry of 30 points to the voucher's first entry; the routine-1266 rule does not apply.
TEST_F(BaixaVale, PartialWriteOffOfADebitVoucherLeavesTheDesignedRows) {
  Host().SetCodigoRotina(1266);
  const RFin_ParametrosInclusaoVale vale = Incluir();
  RFin_ParamBaixaVale baixa = Baixa(vale, 30);
  baixa.CODBANCOVALE = 9943;
  TStringList lista;
  ASSERT_TRUE(Vales().BaixarValeIndividual(baixa, &lista));
  EXPECT_EQ(
      Razao(vale),
      (Textos{"E|100|baixado|9941|V|R|ADIANTAMENTO DE VIAGEM|VIAGEM A CAMPINAS|-|880001",
              "E|-100|baixado|9943|-|+|ACERTO DE VIAGEM|DEVOLUCAO|12|880001",
              "C|30|baixado|9941|T|S|ACERTO DE VIAGEM|DEVOLUCAO|-|880001",
              "D|30|baixado|9941|T|S|ACERTO DE VIAGEM|DEVOLUCAO|-|880001",
              "D|70|aberto|9941|-|+|VALE GERADO A PARTIR DO PROCESSO DE BAIX|NUMERO TRANSACAO BAIXA: 880001|-|-"}));
  EXPECT_EQ(Dinheiro(vale), (Textos{"mov|VALE|C|30|0|DEVOLUCAO|-", "cp|0|O|30|30|JOSE DA SILVA|T|principal|4455|C"}));
  ASSERT_EQ(lista.Count(), 1u);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTLANC WHERE RECNUM = " + lista[0] + " AND VALOR = 30"), "1");
  // The balance the partner owes is what is still open.
  EXPECT_EQ(Scalar("SELECT SUM(DECODE(TIPOLANC, 'D', VALOR, 'C', -VALOR, 0)) FROM ZTCORREN WHERE NUMVALE = " +
                   ShortestDecimal(vale.NUMVALE)),
            "70");
}

// Equal to or above the voucher's value, the write-off settles the voucher's value: the voucher
// closes with its own nature, one closed settlement row, the voucher movement and either the cash
// movement (which needs no accounting account) or the paid entry. Routine 1266 names the partner
// in the voucher movement.
TEST_F(BaixaVale, AFullWriteOffSettlesTheVouchersValue) {
  const struct {
    const char* nome;
    double valor;
    bool dinheiro;
    int rotina;
    Textos esperado;
  } casos[] = {
      {"EqualThroughThePayables",
       100,
       false,
       614,
       {"mov|VALE|C|100|0|DEVOLUCAO|-", "cp|0|O|100|100|JOSE DA SILVA|T|principal|4455|C"}},
      {"GreaterSettlesOnlyTheVoucher",
       130,
       false,
       614,
       {"mov|VALE|C|100|0|DEVOLUCAO|-", "cp|0|O|100|100|JOSE DA SILVA|T|principal|4455|C"}},
      {"InCash", 100, true, 614, {"mov|VALE|C|100|0|DEVOLUCAO|-", "mov|D|D|100|0|DEVOLUCAO|-"}},
      {"Routine1266NamesThePartner",
       100,
       true,
       1266,
       {"mov|VALE|C|100|0|7701 - JOSE DA SILVA|-", "mov|D|D|100|0|DEVOLUCAO|-"}},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    Host().SetCodigoRotina(caso.rotina);
    const RFin_ParametrosInclusaoVale vale = Incluir();
    RFin_ParamBaixaVale baixa = Baixa(vale, caso.valor);
    baixa.PAGOEMDINHEIRO = caso.dinheiro;
    if (caso.dinheiro) baixa.CODCONTA = 0;
    TStringList lista;
    ASSERT_TRUE(Vales().BaixarValeIndividual(baixa, &lista));
    EXPECT_EQ(Razao(vale), (Textos{"D|100|baixado|9941|V|R|ADIANTAMENTO DE VIAGEM|VIAGEM A CAMPINAS|-|880001",
                                   "C|100|baixado|9941|T|S|ACERTO DE VIAGEM|DEVOLUCAO|12|880001"}));
    EXPECT_EQ(Dinheiro(vale), caso.esperado);
    EXPECT_EQ(lista.Count(), caso.dinheiro ? 0u : 1u);
  }
}

// A representative's credit voucher: the settlement is a debit and the paid entry is negative,
// on the partner, with the voucher's second history.
TEST_F(BaixaVale, FullWriteOffOfARepresentativesCreditVoucher) {
  const RFin_ParametrosInclusaoVale vale = Incluir("C", kProfissional, "P");
  ASSERT_TRUE(Vales().BaixarValeIndividual(Baixa(vale, 100), nullptr));
  EXPECT_EQ(Razao(vale), (Textos{"C|100|baixado|9941|V|R|ADIANTAMENTO DE VIAGEM|VIAGEM A CAMPINAS|-|880001",
                                 "D|100|baixado|9941|T|S|ACERTO DE VIAGEM|DEVOLUCAO|12|880001"}));
  EXPECT_EQ(Dinheiro(vale),
            (Textos{"mov|VALE|D|100|0|DEVOLUCAO|-", "cp|7704|R|-100|-100|DEVOLUCAO|T|principal|4455|C"}));
  EXPECT_EQ(
      Scalar("SELECT TIPOFUNC FROM ZTCORREN WHERE NUMVALE = " + ShortestDecimal(vale.NUMVALE) + " AND TIPOLANC = 'D'"),
      "R");
}

// A voucher is written off once: the second attempt changes nothing and reports the first.
TEST_F(BaixaVale, AVoucherAlreadyWrittenOffFailsWithTheInnerMessage) {
  const RFin_ParametrosInclusaoVale vale = Incluir();
  ASSERT_TRUE(Vales().BaixarValeIndividual(Baixa(vale, 40), nullptr));
  const Textos depois_da_primeira = Razao(vale);
  const std::string contagem = Contagem();
  TStringList lista;
  lista.Add("77");
  EXPECT_FAILS_WITH(
      Vales().BaixarValeIndividual(Baixa(vale, 40), &lista),
      "ExProcessoBaixaVale: Ocorreu um problema durante o processo de baixa de vale. Erro: \rVale número " +
          ShortestDecimal(vale.NUMVALE) + " já baixado.");
  EXPECT_EQ(Razao(vale), depois_da_primeira);
  EXPECT_EQ(Contagem(), contagem);
  EXPECT_EQ(lista.Lines(), (std::vector<std::string>{"77"}));
  // The open row of the remaining balance belongs to its partner: another partner finds no open row.
  RFin_ParamBaixaVale outro = Baixa(vale, 10);
  outro.RECNUM = ScalarNumber("SELECT RECNUM FROM ZTCORREN WHERE DTBAIXAVALE IS NULL AND NUMVALE = " +
                              ShortestDecimal(vale.NUMVALE));
  outro.CODPARCEIRO = kMotorista;
  EXPECT_FAILS_WITH(
      Vales().BaixarValeIndividual(outro, nullptr),
      "ExProcessoBaixaVale: Ocorreu um problema durante o processo de baixa de vale. Erro: \rVale número " +
          ShortestDecimal(vale.NUMVALE) + " já baixado.");
  outro.CODPARCEIRO = kFuncionario;
  outro.VALORVALE = 60;
  EXPECT_TRUE(Vales().BaixarValeIndividual(outro, nullptr));
}

// A failure half-way (the payable area's insert refused by the database) undoes the whole
// write-off: the voucher is open again and its cash movement is gone.
TEST_F(BaixaVale, AFailureHalfWayLeavesTheVoucherOpen) {
  const RFin_ParametrosInclusaoVale vale = Incluir();
  const Textos antes = Razao(vale);
  const std::string contagem = Contagem();
  Session().ExecuteScript(
      "CREATE FUNCTION pg_temp.recusa_lancamento() RETURNS trigger LANGUAGE plpgsql AS "
      "$$BEGIN RAISE EXCEPTION 'conta encerrada para testes'; END$$;"
      "CREATE TRIGGER recusa_lancamento BEFORE INSERT ON ZTLANC FOR EACH ROW EXECUTE FUNCTION "
      "pg_temp.recusa_lancamento();");
  try {
    Vales().BaixarValeIndividual(Baixa(vale, 30), nullptr);
    FAIL() << "written off";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "ExProcessoBaixaVale");
    EXPECT_EQ(e.Message().rfind("Ocorreu um problema durante o processo de baixa de vale. Erro: \r"
                                "Erro ao inserir registro na ZTLANC:\r",
                                0),
              0u)
        << e.Message();
    EXPECT_NE(e.Message().find("conta encerrada para testes"), std::string::npos) << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e));
  }
  EXPECT_EQ(Razao(vale), antes);
  EXPECT_EQ(Contagem(), contagem);
}

TEST_F(BaixaVale, EachPayableEntryIsAddedToTheCallersList) {
  const RFin_ParametrosInclusaoVale primeiro = Incluir();
  const RFin_ParametrosInclusaoVale segundo = Incluir("C", kRCA, "R");
  TStringList lista;
  ASSERT_TRUE(Vales().BaixarValeIndividual(Baixa(primeiro, 100), &lista));
  ASSERT_TRUE(Vales().BaixarValeIndividual(Baixa(segundo, 10), &lista));
  ASSERT_EQ(lista.Count(), 2u);
  EXPECT_EQ(lista[1].rfind(", ", 0), 0u);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTLANC WHERE RECNUM IN (" + lista[0] + lista[1] + ")"), "2");
}

// Each check in its order; a value of nothing to settle is refused with the others, before the
// voucher is touched.
TEST_F(BaixaVale, RefusalsComeBeforeTheVoucherIsTouched) {
  const struct {
    const char* nome;
    void (*ajustar)(RFin_ParamBaixaVale&);
    const char* esperado;
  } casos[] = {
      {"NoHistoryCodeComesFirst",
       [](RFin_ParamBaixaVale& b) {
         b.CODHIST = 0;
         b.HISTORICO = " ";
         b.VALORBAIXA = 0;
       },
       "ExCodigoHistoricoObrigatorio: Favor informar o código do histórico principal."},
      {"BlankHistory",
       [](RFin_ParamBaixaVale& b) {
         b.HISTORICO = " \t";
         b.CODBANCOBAIXA = 0;
       },
       "ExHistoricoObrigatorio: Favor informar o histórico complementar."},
      {"NoWriteOffAccount",
       [](RFin_ParamBaixaVale& b) {
         b.CODBANCOBAIXA = -1;
         b.CODCONTA = 0;
       },
       "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco."},
      {"NoAccountingAccountOutsideCash", [](RFin_ParamBaixaVale& b) { b.CODCONTA = 0; },
       "ExCodigoContaObrigatorio: Favor informar o código da conta. Campo obrigatório para lançamento sem "
       "movimentação de numerário!"},
      {"ZeroValue", [](RFin_ParamBaixaVale& b) { b.VALORBAIXA = 0.004; },
       "ExValorBaixarValeCreditoDebitoObrigatorio: O valor a baixar não pode ser nulo ou menor que zero"},
      {"NegativeValueInCash",
       [](RFin_ParamBaixaVale& b) {
         b.VALORBAIXA = -30;
         b.PAGOEMDINHEIRO = true;
         b.CODCONTA = 0;
       },
       "ExValorBaixarValeCreditoDebitoObrigatorio: O valor a baixar não pode ser nulo ou menor que zero"},
      {"UnknownPartnerType", [](RFin_ParamBaixaVale& b) { b.TIPOPARCEIRO = "X"; },
       "ExTipoParceiroObrigatorio: Favor informar o tipo do parceiro."},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    const RFin_ParametrosInclusaoVale vale = Incluir();
    const Textos antes = Razao(vale);
    const std::string contagem = Contagem();
    RFin_ParamBaixaVale baixa = Baixa(vale, 30);
    caso.ajustar(baixa);
    EXPECT_FAILS_WITH(Vales().BaixarValeIndividual(baixa, nullptr), caso.esperado);
    EXPECT_EQ(Razao(vale), antes);
    EXPECT_EQ(Contagem(), contagem);
  }
}

}  // namespace
