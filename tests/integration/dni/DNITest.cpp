#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "DNIFixture.h"
#include "frame/Uclsfin_except.h"
#include "oradb/RoundTrips.h"
#include "support/Failure.h"

namespace {

using dnitest::Banco;
using dnitest::kBanco;
using dnitest::kCliente;
using dnitest::kOutroCliente;

class BaixaVerbaComDNI : public dnitest::DNITest {};

// Allowance 100 over deposits of 70 and 50: the list walks the smaller one first, both are cleared
// by reconciled debits, and the 20 over the allowance stays open, tied as the 70 deposit was.
TEST_F(BaixaVerbaComDNI, TwoDepositsCoverTheAllowanceAndTheExcessStaysOpen) {
  const double setenta = Deposito(70, 5501, kCliente);
  const double cinquenta = Deposito(50);
  const double outro = Deposito(200);
  Escolher({setenta, cinquenta});
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 77, 100));

  EXPECT_EQ(Movimentos("NUMCARR = 77"), "D 50 OK, D 70 OK, C 20 -");
  // The consumed deposits are reconciled with the clearing date; the one left out stays open.
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTMOVCR WHERE CONCILIACAO = 'OK' AND TRUNC(DTCOMPENSACAO) = "
                   "TO_DATE('2026-11-20', 'YYYY-MM-DD') "
                   "AND NVL(NUMCARR, 0) = 0 AND CODBANCO = " +
                   Banco()),
            "2");
  EXPECT_EQ(Contar("NUMTRANS = " + ShortestDecimal(outro) + " AND CONCILIACAO IS NULL"), 1);
  EXPECT_EQ(Scalar("SELECT HISTORICO || '|' || HISTORICO2 || '|' || INDICE || '|' || CODROTINALANC || '|' || "
                   "NVL(TO_CHAR(NUMASSOCDNI), '-') FROM ZTMOVCR WHERE TIPO = 'D' AND NUMCARR = 77 AND VALOR = 70"),
            "BAIXA DE DNI COM VERBA N.: 77|NUMTRANS DNI ORIGEM.:" + ShortestDecimal(setenta) + "|B|1803|5501");
  EXPECT_EQ(Scalar("SELECT HISTORICO || '|' || HISTORICO2 || '|' || NUMASSOCDNI || '|' || CODCLI || '|' || "
                   "CODFUNCDNICLI || '|' || TO_CHAR(DTASSOCIADNICLI, 'YYYY-MM-DD') FROM ZTMOVCR WHERE TIPO = 'C' "
                   "AND NUMCARR = 77"),
            "DIF. BAIXA DE DNI COM VERBA N.: 77|NUMTRANS DNI ORIGEM.:" + ShortestDecimal(setenta) +
                "|5501|8801|42|2026-11-10");
  EsperarSaldoCoerente();
  EXPECT_DOUBLE_EQ(SaldoDNI(), -220);
}

// A deposit of 100 with titles of 30 tied to it: the whole deposit is cleared, the 30 stays open
// under the same association (listed again, with nothing available) and 70 covers the allowance.
TEST_F(BaixaVerbaComDNI, TheTiedPartOfADepositStaysOpenWithItsTitles) {
  const double cem = Deposito(100, 5502, kCliente);
  Titulo(940001, 5502, 10);
  Titulo(940002, 5502, 20);
  Escolher({cem});
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 78, 70));

  EXPECT_EQ(Movimentos("NUMCARR = 78"), "D 100 OK, C 30 -");
  EXPECT_EQ(Scalar("SELECT HISTORICO FROM ZTMOVCR WHERE TIPO = 'C' AND NUMCARR = 78"),
            "DESDOBRAMENTO NA BAIXA DE DNI COM VERBA N.: 78 - VALOR DNI: 100,00 - VALOR ASSOCIADO: 30,00 - VALOR "
            "DISPONIVEL: 70,00");
  EXPECT_EQ(Scalar("SELECT NUMASSOCDNI || '|' || CODCLI FROM ZTMOVCR WHERE TIPO = 'C' AND NUMCARR = 78"), "5502|8801");
  EsperarSaldoCoerente();
  EXPECT_DOUBLE_EQ(SaldoDNI(), -30);

  // The window showed the deposit with its tied and available values; the reopened part offers nothing.
  ASSERT_EQ(Janela.Linhas.size(), 1U);
  EXPECT_EQ(Janela.Linhas[0].Celulas[3], "100,00");
  EXPECT_EQ(Janela.Linhas[0].Celulas[4], "30,00");
  EXPECT_EQ(Janela.Linhas[0].Celulas[5], "70,00");
  Host().SetSeletorDNI({});
  EXPECT_FAILS_WITH(Area().BaixarVerbaComDNI(kCliente, kBanco, 79, 1),
                    "ExErroAoBaixarVerbaComDNI: Operação cancelada pelo usuário");
}

TEST_F(BaixaVerbaComDNI, TheWindowShowsTheAllowanceTheCustomerAndTheGrid) {
  const double numtrans = Deposito(12.5);
  Host().SetSeletorDNI([this](const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI&) {
    Janela = janela;
    return TModalResult::mrCancel;
  });
  EXPECT_FAILS_WITH(Area().BaixarVerbaComDNI(kCliente, kBanco, 80, 1234.5),
                    "ExErroAoBaixarVerbaComDNI: Operação cancelada pelo usuário");
  EXPECT_EQ(Janela.Titulo, "Baixa de verbas com DNI");
  ASSERT_EQ(Janela.Campos.size(), 4U);
  EXPECT_EQ(Janela.Campos[0].Valor, Banco() + " - DNI");
  EXPECT_EQ(Janela.Campos[1].Valor, "8801 - MERCADO BOA VISTA");
  EXPECT_EQ(Janela.Campos[2].Valor, "1.234,50");
  EXPECT_EQ(Janela.Campos[3].Titulo, "Número verba");
  EXPECT_EQ(Janela.TituloGrade, "Lista de DNIs");
  std::string titulos;
  for (const auto& coluna : Janela.Colunas) titulos += coluna.Titulo + ";";
  EXPECT_EQ(titulos,
            "X;Data lanc.;Numtrans;Valor;Valor associado;Valor disponível;Núm. assoc. DNI;Data assoc. DNI;Núm. "
            "documento;Histórico;");
  ASSERT_EQ(Janela.Linhas.size(), 1U);
  EXPECT_EQ(Janela.Linhas[0].Celulas[0], "N");
  EXPECT_EQ(Janela.Linhas[0].Celulas[1], "03/11/2026");
  EXPECT_EQ(Janela.Linhas[0].Celulas[2].size(), 7U);
  EXPECT_EQ(std::stod(Janela.Linhas[0].Celulas[2]), numtrans);
  // Nothing was written by a cancelled window.
  EXPECT_EQ(Contar("NVL(NUMCARR, 0) <> 0"), 0);
}

// Refusals before any write: each leaves the bank's movements and balances as they were, and
// reaches the caller as the settlement's failure with the rule's text (the rule's own class nested).
TEST_F(BaixaVerbaComDNI, RefusalsComeBeforeAnyWrite) {
  const double trinta = Deposito(30);
  const double quarenta = Deposito(40);
  const double alheio = Deposito(60, 0, kOutroCliente);
  const std::string antes = Movimentos();
  struct Caso {
    std::vector<double> Escolha;
    TDateTime Data;
    std::string Falha;
  };
  const TDateTime dia = TDateTime::EncodeDate(2026, 11, 20);
  const Caso casos[] = {
      {{trinta, quarenta},
       dia,
       "ExErroAoBaixarVerbaComDNI: O valor da verba (100,00) é maior que o total dos DNIs selecionados (70,00).\r"
       "Informe o valor até o limite disponível em DNI para baixa."},
      {{},
       dia,
       "ExErroAoBaixarVerbaComDNI: O valor da verba (100,00) é maior que o total dos DNIs selecionados (0,00).\r"
       "Informe o valor até o limite disponível em DNI para baixa."},
      {{trinta}, TDateTime(), "ExErroAoBaixarVerbaComDNI: Favor informar a data de compensação"},
      {{trinta},
       TDateTime::EncodeDate(1850, 1, 1),
       "ExErroAoBaixarVerbaComDNI: Data de compensação inválida: 01/01/1850."},
      {{trinta, trinta},
       dia,
       "ExErroAoBaixarVerbaComDNI: O DNI de numtrans " + ShortestDecimal(trinta) + " foi selecionado mais de uma vez."},
      {{alheio},
       dia,
       "ExErroAoBaixarVerbaComDNI: O DNI de numtrans " + ShortestDecimal(alheio) +
           " não está na lista de DNIs do banco informado."},
  };
  for (const Caso& caso : casos) {
    Escolher(caso.Escolha, caso.Data);
    EXPECT_FAILS_WITH(Area().BaixarVerbaComDNI(kCliente, kBanco, 81, 100), caso.Falha);
    EXPECT_EQ(Movimentos(), antes);
  }
  EsperarSaldoCoerente();
}

TEST_F(BaixaVerbaComDNI, ArgumentChecksInOrderWrappedWithTheirClassKept) {
  Deposito(10);
  Escolher({});
  struct Caso {
    double Cliente;
    int Banco;
    double Verba;
    double Valor;
    std::string Falha;
    std::string Causa;
  };
  const Caso casos[] = {
      {0, 0, 0, 0, "É necessário informar o código do cliente", "ExCodigoClienteObrigatorio"},
      {kCliente, 0, 0, 0, "Código do banco não informado. É necessário informar.", "ExCodigoBancoNaoInformado"},
      {kCliente, kBanco, 0, 0, "É necessário informar o número da verba.", "ExNumeroVerbaObrigatorio"},
      {kCliente, kBanco, 82, 0.004, "O valor informado não pode estar vazio ou igual a zero.", "ExValorZerado"},
      {kCliente, 9812, 82, 10, "Não foram localizados DNIs para o banco informado.", "Exception"},
  };
  for (const Caso& caso : casos) {
    try {
      Area().BaixarVerbaComDNI(caso.Cliente, caso.Banco, caso.Verba, caso.Valor);
      ADD_FAILURE() << caso.Falha;
    } catch (const ExErroAoBaixarVerbaComDNI& falha) {
      EXPECT_EQ(falha.Message(), caso.Falha);
      try {
        std::rethrow_if_nested(falha);
        ADD_FAILURE() << "no cause: " << caso.Falha;
      } catch (const Exception& causa) {
        EXPECT_STREQ(causa.ClassName(), caso.Causa.c_str());
      }
    }
  }
  // Out of the deposit routine the reconciliation would move the plain DNI balance a second time.
  Host().SetCodigoRotina(746);
  EXPECT_FAILS_WITH(Area().BaixarVerbaComDNI(kCliente, kBanco, 82, 10),
                    "ExErroAoBaixarVerbaComDNI: A baixa de verbas com DNI é feita pela rotina 1803; a rotina atual é "
                    "746.");
  Session().Rollback();
  EXPECT_FAILS_WITH(Area().BaixarVerbaComDNI(kCliente, kBanco, 82, 10),
                    "ExErroAoBaixarVerbaComDNI: Transação não iniciada.");
}

// A deposit reconciled since the window was filled is never consumed twice; what the failed
// confirmation had posted is undone, and confirming again with other picks settles once.
TEST_F(BaixaVerbaComDNI, AFailedConfirmationLeavesNothingAndTheUserMayConfirmAgain) {
  const double primeiro = Deposito(40);
  const double tomado = Deposito(60);
  const double terceiro = Deposito(80);
  std::vector<std::string> falhas;
  Host().SetSeletorDNI([&](const TJanelaSelecaoDNI&, const TConfirmarSelecaoDNI& confirmar) {
    // Another process reconciles a deposit while the window is open.
    Exec("UPDATE ZTMOVCR SET CONCILIACAO = 'OK', DTCONCIL = SYSDATE WHERE NUMTRANS = " + ShortestDecimal(tomado));
    for (const std::vector<double>& escolha :
         {std::vector<double>{primeiro, tomado}, std::vector<double>{primeiro, terceiro}}) {
      try {
        confirmar(TSelecaoDNI{escolha, TDateTime::EncodeDate(2026, 11, 21)});
        return TModalResult::mrOk;
      } catch (const std::exception& falha) {
        falhas.push_back(testsupport::ClassAndMessage(falha));
      }
    }
    return TModalResult::mrCancel;
  });
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 83, 100));
  ASSERT_EQ(falhas.size(), 1U);
  EXPECT_EQ(falhas[0], "ExErroAoBaixarVerbaComDNI: O DNI de numtrans " + ShortestDecimal(tomado) +
                           " não está mais em aberto: foi conciliado por outro processo.");
  EXPECT_EQ(Movimentos("NUMCARR = 83"), "D 40 OK, D 80 OK, C 20 -");
  EXPECT_EQ(Contar("NUMTRANS = " + ShortestDecimal(primeiro) + " AND CONCILIACAO = 'OK'"), 1);
}

// Round trips of a settlement of one deposit, after an earlier one in the same transaction prepared
// its statements and read the server's clock (which the host then answers for the whole
// transaction): the list and the customer's name (2); the deposit's check, with the savepoint in
// front and its Parse with it though its text (with the row's address) is new each time (1); the
// balance moved and read back (1); the deposit reconciled, its new text unnamed with its Parse in
// the same trip (1); the cash movement (2). The savepoint's release waits for the caller's next
// request. The debit is reconciled at the transaction's moment.
TEST_F(BaixaVerbaComDNI, ASettlementOfOneDepositTakesItsCountedRoundTrips) {
  Escolher({Deposito(100)});
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 91, 100));
  Escolher({Deposito(100)});
  const std::uint64_t antes = oradb::RoundTrips(Session());
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 92, 100));
  EXPECT_EQ(oradb::RoundTrips(Session()) - antes, 7U);

  EXPECT_EQ(Movimentos("NUMCARR = 92"), "D 100 OK");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTMOVCR WHERE NUMCARR = 92 AND DTCONCIL IS NOT NULL AND DTCOMPENSACAO = "
                   "DATA AND TRUNC(DTCONCIL) = DATA AND CODFUNCCONCIL = CODFUNC"),
            "1");
  EsperarSaldoCoerente();
}

class EstornoVerbaComDNI : public dnitest::DNITest {};

// A reversal gives the allowance's value back as an open deposit and marks the settlement reversed,
// so a second reversal finds nothing and posts nothing.
TEST_F(EstornoVerbaComDNI, ReversesOnceAndKeepsTheBalance) {
  const double setenta = Deposito(70, 5503, kCliente);
  const double cinquenta = Deposito(50);
  Escolher({setenta, cinquenta});
  ASSERT_TRUE(Area().BaixarVerbaComDNI(kCliente, kBanco, 84, 100));
  ASSERT_TRUE(Area().EstornarBaixaDNIComVerba(84, 100));

  EXPECT_EQ(Movimentos("NUMCARR = 84"), "D 50 OK, D 70 OK, C 20 -, C 100 -");
  EXPECT_EQ(Contar("NUMCARR = 84 AND TIPO = 'D' AND DTESTORNO IS NOT NULL"), 2);
  EXPECT_EQ(Scalar("SELECT HISTORICO || '|' || HISTORICO2 || '|' || INDICE FROM ZTMOVCR WHERE NUMCARR = 84 AND "
                   "HISTORICO LIKE 'ESTORNO%'"),
            "ESTORNO BAIXA DE DNI COM VERBA N.: 84|NUMTRANS DNI ORIGEM.:" +
                Scalar("SELECT MIN(NUMTRANS) FROM ZTMOVCR WHERE TIPO = 'D' AND NUMCARR = 84") + "|B");
  EsperarSaldoCoerente();
  EXPECT_DOUBLE_EQ(SaldoDNI(), -120);

  const std::string antes = Movimentos();
  EXPECT_FAILS_WITH(Area().EstornarBaixaDNIComVerba(84, 100),
                    "ExErroAoEstornarVerbaBaixadaComDNI: Não foi possível localizar a baixa para estorno da verba n.: "
                    "84 - Valor.: 100,00");
  EXPECT_EQ(Movimentos(), antes);
}

TEST_F(EstornoVerbaComDNI, RefusesWhatWasNeverSettledAndBadArguments) {
  Deposito(70);
  EXPECT_FAILS_WITH(Area().EstornarBaixaDNIComVerba(85, 1234.5),
                    "ExErroAoEstornarVerbaBaixadaComDNI: Não foi possível localizar a baixa para estorno da verba n.: "
                    "85 - Valor.: 1.234,50");
  EXPECT_FAILS_WITH(Area().EstornarBaixaDNIComVerba(0, 10),
                    "ExErroAoEstornarVerbaBaixadaComDNI: É necessário informar o número da verba.");
  EXPECT_FAILS_WITH(Area().EstornarBaixaDNIComVerba(85, -1),
                    "ExErroAoEstornarVerbaBaixadaComDNI: O valor informado não pode estar vazio ou igual a zero.");
  EXPECT_EQ(Contar("NVL(NUMCARR, 0) <> 0"), 0);
  Session().Rollback();
  EXPECT_FAILS_WITH(Area().EstornarBaixaDNIComVerba(85, 10),
                    "ExErroAoEstornarVerbaBaixadaComDNI: Transação não iniciada.");
}

}  // namespace
