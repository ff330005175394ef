#include <gtest/gtest.h>

#include <string>

#include "ValesFixture.h"
#include "frame/Uclsfin_except.h"
#include "support/Failure.h"

namespace {

using valestest::Textos;
using valestest::ValesTest;

class TransferenciaVale : public ValesTest {
 protected:
  RFin_ParametrosInclusaoVale Incluir(bool lancar_contas_pagar) {
    RFin_ParametrosInclusaoVale p = Inclusao();
    p.LANCARCONTASPAGAR = lancar_contas_pagar;
    p.HISTORICO2FUNCIONARIO = "JOSE DA SILVA";
    EXPECT_TRUE(Vales().IncluirVale(p));
    return p;
  }
  bool Transferir(const RFin_ParametrosInclusaoVale& p, double destino, const std::string& tipo,
                  const std::string& nome) {
    return Vales().TransferirVales(p.RECNUM, destino, p.NUMTRANS, p.NUMDOC, tipo, nome, p.DTLANC);
  }
  std::string Linha(const RFin_ParametrosInclusaoVale& p) {
    return Scalar(
        "SELECT CODFUNC || '|' || TIPOFUNC || '|' || CODEMITE || '|' || CODFUNCORIG || '|' || CODEMITEORIG || '|' "
        "|| DECODE(TRUNC(DTTRANSF), TRUNC(SYSDATE), 'hoje', TO_CHAR(DTTRANSF)) FROM ZTCORREN WHERE RECNUM = " +
        ShortestDecimal(p.RECNUM) + " AND DTBAIXAVALE IS NULL");
  }
  Textos Lancamentos(const RFin_ParametrosInclusaoVale& p) {
    return Linhas(
        "SELECT CODFORNEC, TIPOPARCEIRO, VALOR, VPAGO, HISTORICO, HISTORICO2, NUMNOTA, TO_CHAR(DTLANC, 'DD/MM/YYYY'), "
        "NUMBANCO, CODFILIAL, TIPOLANC FROM ZTLANC WHERE LOCALIZACAO = '" +
        ShortestDecimal(p.NUMTRANS) + "' ORDER BY RECNUM");
  }
};

// The open voucher and its payable entry move to the representative: the entry is reversed on
// the employee and posted again on the destination, tagged as before; the first partner and
// issuer stay on the row.
TEST_F(TransferenciaVale, MovesTheVoucherAndItsPayableEntry) {
  const RFin_ParametrosInclusaoVale p = Incluir(true);
  ASSERT_TRUE(Transferir(p, kRCA, "R", "ANA REPRESENTANTE"));
  EXPECT_EQ(Linha(p), "7703|R|1|7701|1|hoje");
  EXPECT_EQ(Lancamentos(p), (Textos{"0|O|-100|-100|ADIANTAMENTO DE VIAGEM|JOSE DA SILVA|4455|02/03/2026|9941|1|C",
                                    "0|O|100|100|ADIANTAMENTO DE VIAGEM|JOSE DA SILVA|4455|02/03/2026|9941|1|C",
                                    "7703|R|-100|-100|ADIANTAMENTO DE VIAGEM|7703-ANA REPRESENTANTE|4455|02/03/2026|"
                                    "9941|1|C"}));
  // Moved once: a second transfer is refused and changes nothing.
  EXPECT_FAILS_WITH(
      Transferir(p, kMotorista, "M", "CARLOS"),
      "ExValeJaTransferido: Processo de transferência de vales cancelado! Foi selecionado um ou mais vales já "
      "transferidos anteriormente.");
  EXPECT_EQ(Linha(p), "7703|R|1|7701|1|hoje");
  EXPECT_EQ(Lancamentos(p).size(), 3u);
}

// Without a payable entry only the ledger row moves, and only the open one: a closed row that
// shares the voucher's row number (a settlement) stays with its partner.
TEST_F(TransferenciaVale, WithoutAPayableEntryOnlyTheOpenLedgerRowMoves) {
  const RFin_ParametrosInclusaoVale p = Incluir(false);
  Exec("INSERT INTO ZTCORREN (RECNUM, CODFUNC, TIPOFUNC, TIPOLANC, VALOR, NUMVALE, DTBAIXAVALE) VALUES (" +
       ShortestDecimal(p.RECNUM) + ", 7701, 'F', 'C', 10, 990099, SYSDATE)");
  ASSERT_TRUE(Transferir(p, kProfissional, "P", "PAULO PROFISSIONAL"));
  EXPECT_EQ(Linha(p), "7704|R|1|7701|1|hoje");
  EXPECT_EQ(Lancamentos(p), Textos{});
  EXPECT_EQ(Scalar("SELECT CODFUNC || TIPOFUNC || NVL(TO_CHAR(DTTRANSF), '-') FROM ZTCORREN WHERE NUMVALE = 990099"),
            "7701F-");
}

// Refusals change neither the row nor its payable entries.
TEST_F(TransferenciaVale, RefusalsChangeNothing) {
  const struct {
    const char* nome;
    double destino;
    const char* tipo;
    void (*ajustar)(RFin_ParametrosInclusaoVale&);
    const char* esperado;  // "%R" stands for the voucher's row number
  } casos[] = {
      {"ToTheSamePartner", 7701, "F", [](RFin_ParametrosInclusaoVale&) {},
       "ExNaoTransferirValeEntreMesmoParceiro: O processo de transferência de vales somente poderá ser feito "
       "entre parceiros diferentes. Favor selecionar os registros que sejam diferentes do parceiro de "
       "destino!"},
      {"UnknownRow", 7703, "R", [](RFin_ParametrosInclusaoVale& p) { p.RECNUM = 999999999; },
       "Exception: Nenhum vale em aberto com o RECNUM %R: a transferência não foi feita."},
      {"AnotherVouchersDocument", 7703, "R", [](RFin_ParametrosInclusaoVale& p) { p.NUMDOC = 1; },
       "Exception: A transação, o documento ou a data de lançamento informados não são os do vale de RECNUM %R."},
      {"AnotherDate", 7703, "R", [](RFin_ParametrosInclusaoVale& p) { p.DTLANC = TDateTime::EncodeDate(2026, 3, 3); },
       "Exception: A transação, o documento ou a data de lançamento informados não são os do vale de RECNUM %R."},
      {"NoDestination", 0, "R", [](RFin_ParametrosInclusaoVale&) {},
       "ExCodigoParceiroObrigatorio: Favor informar o código do parceiro."},
      {"DestinationTypeUnknown", 7703, "", [](RFin_ParametrosInclusaoVale&) {},
       "ExTipoParceiroObrigatorio: Favor informar o tipo do parceiro."},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nome);
    RFin_ParametrosInclusaoVale p = Incluir(true);
    const std::string antes = Linha(p);
    const Textos lancamentos = Lancamentos(p);
    RFin_ParametrosInclusaoVale pedido = p;
    caso.ajustar(pedido);
    std::string esperado = caso.esperado;
    if (const std::size_t r = esperado.find("%R"); r != std::string::npos) {
      esperado.replace(r, 2, ShortestDecimal(pedido.RECNUM));
    }
    EXPECT_FAILS_WITH(Transferir(pedido, caso.destino, caso.tipo, "DESTINO"), esperado);
    EXPECT_EQ(Linha(p), antes);
    EXPECT_EQ(Lancamentos(p), lancamentos);
  }
}

// A written-off voucher has no open row: the transfer answers an error, never true.
TEST_F(TransferenciaVale, AWrittenOffVoucherIsNotTransferred) {
  const RFin_ParametrosInclusaoVale p = Incluir(false);
  RFin_ParamBaixaVale baixa = Baixa(p, 100);
  baixa.PAGOEMDINHEIRO = true;
  ASSERT_TRUE(Vales().BaixarValeIndividual(baixa, nullptr));
  EXPECT_FAILS_WITH(Transferir(p, kRCA, "R", "ANA"), "Exception: Nenhum vale em aberto com o RECNUM " +
                                                         ShortestDecimal(p.RECNUM) +
                                                         ": a transferência não foi feita.");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTCORREN WHERE CODFUNC = 7703"), "0");
}

// ---- Edit

TEST_F(ValesTest, EditStoresTheWholeHistoryTheDueDateAndTheEditor) {
  RFin_ParametrosInclusaoVale p = Inclusao();
  ASSERT_TRUE(Vales().IncluirVale(p));
  const std::string historico(60, 'H');
  EXPECT_TRUE(Vales().EditarVales(historico, "S", Dia(15, 4), p.RECNUM));
  EXPECT_EQ(Scalar("SELECT LENGTH(HISTORICO) || '|' || TO_CHAR(DTVENC, 'DD/MM/YYYY') || '|' || "
                   "TO_CHAR(DTVENCORIG, 'DD/MM/YYYY') || '|' || CODFUNCPRORROG || '|' || CONSIDERABASECALCULOIMPOSTO "
                   "FROM ZTCORREN WHERE RECNUM = " +
                   ShortestDecimal(p.RECNUM)),
            "60|15/04/2026|30/03/2026|1|S");
  EXPECT_FALSE(Vales().EditarVales("X", "N", Dia(15, 4), 999999999));
  EXPECT_FAILS_WITH(Vales().EditarVales("X", "s", Dia(15, 4), p.RECNUM),
                    "Exception: Informe \"S\" ou \"N\" para o vale compor a base de cálculo de impostos.");
  try {
    Vales().EditarVales(std::string(201, 'H'), "N", Dia(15, 4), p.RECNUM);
    FAIL() << "edited";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "ExErroEditandoZTCORREN");
    EXPECT_EQ(e.Message().rfind("Erro ao editar registro na ZTCORREN:\rORA-12899", 0), 0u) << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e));
  }
}

}  // namespace
