#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <set>
#include <string>

#include "ReceivableSupport.h"
#include "febraban/Boleto.h"
#include "febraban/FatorVencimento.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/TFin_GerarBoletos.h"
#include "support/Failure.h"
#include "support/TestHost.h"

// Bank data generation against the database package: every code it writes is read back through the
// FEBRABAN codes library, so the PL/pgSQL arithmetic and the C++ one cannot drift apart.
namespace {

using namespace std::chrono;
using testsupport::CausaDoBanco;

constexpr year_month_day kHoje{year{2026}, January, day{15}};

// Banks no other test uses: one per layout, one internal number (6111) issuing Itaú slips, one
// listed bank without a layout here, one unlisted number, one without compensation code.
constexpr const char* kBancos = R"sql(
INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, NUMCONVENIO, CODCOMPENSACAO, NUMDIASPROTESTO)
SELECT 9801, 'BRADESCO', 237, '1172-0', '0403005-2', '19', NULL, '237', 5 FROM DUAL UNION ALL
SELECT 9802, 'ITAU', 6111, '0057', '12345-7', '110', NULL, '341', NULL FROM DUAL UNION ALL
SELECT 9803, 'BANCO DO BRASIL', 1, '1234-5', '12345-6', '18', '1234567', '001', NULL FROM DUAL UNION ALL
SELECT 9804, 'HSBC', 399, '1', '1', '1', NULL, '399', NULL FROM DUAL UNION ALL
SELECT 9805, 'OUTRO', 6376, '1', '1', '1', NULL, '237', NULL FROM DUAL UNION ALL
SELECT 9806, 'SEM COMPENSACAO', 237, '1', '1', '1', NULL, NULL, NULL FROM DUAL
)sql";

class DadosBancariosTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Exec(kBancos);
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, ISENTOTXBOLETO) VALUES (98001, 'PAGADOR', 'N')");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, ISENTOTXBOLETO) VALUES (98002, 'ISENTO', 'S')");
    for (const char* cobranca : {"BK01", "BK02", "BK03", "BK04", "BK05", "BK06"}) {
      const std::string banco = std::string("980") + cobranca[3];
      Exec(std::string("INSERT INTO ZTCOB (CODCOB, BOLETO, SOMATXBOLETO, CODBANCO) VALUES ('") + cobranca +
           "', 'S', 'S', " + banco + ")");
    }
    Exec("INSERT INTO ZTCOB (CODCOB, BOLETO) VALUES ('BKSB', 'S')");
  }

  IFin_GeracaoDadosBancarios& Area() {
    return *dynamic_cast<IFin_GeracaoDadosBancarios*>(Financeiro().GetContasReceber());
  }

  void Titulo(double transacao, const std::string& prest, const std::string& cobranca, const std::string& vencimento,
              const std::string& valor, const std::string& extra_colunas = "", const std::string& extra_valores = "") {
    Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR" + extra_colunas +
         ") VALUES (" + ShortestDecimal(transacao) + ", '" + prest + "', " + ShortestDecimal(transacao) +
         ", '1', 98001, '" + cobranca + "', " +
         (vencimento.empty() ? std::string("NULL") : "TO_DATE('" + vencimento + "', 'YYYY-MM-DD')") + ", " + valor +
         extra_valores + ")");
  }

  bool Gerar(double transacao, const std::string& prest = "", bool bruto = false) {
    TFin_GerarBoletos boleto = receivabletest::Pedido(transacao, prest, false);
    boleto.getParametros().geraLinhaDigitavelValorBruto(bruto);
    return Area().GerarDadosBancarios(boleto);
  }

  std::string Coluna(const std::string& coluna, double transacao, const std::string& prest) {
    return Scalar("SELECT " + coluna + " FROM ZTPREST WHERE NUMTRANSVENDA = " + ShortestDecimal(transacao) +
                  " AND PREST = '" + prest + "'");
  }

  std::string Contador(double banco) {
    return Scalar("SELECT ULTIMONOSSONUMERO FROM ZTBANCONOSSONUMERO WHERE CODBANCO = " + ShortestDecimal(banco));
  }

  // The title's barcode read by the codes library, its line checked against it.
  febraban::BoletoLido Lido(double transacao, const std::string& prest) {
    const std::string codigo = Coluna("CODBARRA", transacao, prest);
    const febraban::BoletoLido lido = febraban::LerCodigoBarrasBoleto(codigo, kHoje);
    EXPECT_EQ(Coluna("LINHADIG", transacao, prest), lido.LinhaDigitavel);
    EXPECT_EQ(febraban::LerLinhaDigitavelBoleto(Coluna("LINHADIG", transacao, prest), kHoje).CodigoBarras, codigo);
    return lido;
  }
};

// Each layout's free field carries the bank's agency, account, wallet and the own number drawn from
// the bank's counter, with the check digits of the banks' own manuals; the barcode carries the
// compensation code (6111 is no bank on a barcode), the factor of the due date across the 2025
// restart, and the value in whole cents.
TEST_F(DadosBancariosTest, EachLayoutWritesCodesTheLibraryReadsBack) {
  Exec("INSERT INTO ZTBANCONOSSONUMERO (CODBANCO, ULTIMONOSSONUMERO) VALUES (9801, 1)");
  Exec("INSERT INTO ZTBANCONOSSONUMERO (CODBANCO, ULTIMONOSSONUMERO) VALUES (9802, 12345677)");
  Titulo(980001, "1", "BK01", "2025-02-21", "19.99");
  Titulo(980001, "2", "BK01", "2025-02-22", "1234.56");
  Titulo(980002, "1", "BK02", "2026-03-10", "100");
  Titulo(980003, "1", "BK03", "", "0.01");
  ASSERT_TRUE(Gerar(980001));
  ASSERT_TRUE(Gerar(980002, "1"));
  ASSERT_TRUE(Gerar(980003));

  // Bradesco: wallet 19 and own number 00000000002 give check digit 8 (the manual's example).
  const febraban::BoletoLido bradesco = Lido(980001, "1");
  EXPECT_EQ(bradesco.Partes.Banco, 237);
  EXPECT_EQ(bradesco.Partes.Fator, 9999);
  EXPECT_EQ(bradesco.Vencimento, (year_month_day{year{2025}, February, day{21}}));
  EXPECT_EQ(bradesco.Partes.ValorCentavos, 1999);
  EXPECT_EQ(bradesco.Partes.CampoLivre, std::string("1172") + "19" + "00000000002" + "0403005" + "0");
  EXPECT_EQ(Coluna("NOSSONUMBCO || '-' || DVCOB || '|' || CODBANCOCM", 980001, "1"), "00000000002-8|9801");
  const febraban::BoletoLido seguinte = Lido(980001, "2");
  EXPECT_EQ(seguinte.Partes.Fator, 1000);
  EXPECT_EQ(seguinte.Vencimento, (year_month_day{year{2025}, February, day{22}}));
  EXPECT_EQ(seguinte.Partes.ValorCentavos, 123456);
  EXPECT_EQ(Coluna("NOSSONUMBCO", 980001, "2"), "00000000003");
  EXPECT_EQ(Contador(9801), "3");

  // Itaú: agency 0057, account 12345, wallet 110, own number 12345678 give DAC 8; agency and
  // account give 7.
  const febraban::BoletoLido itau = Lido(980002, "1");
  EXPECT_EQ(itau.Partes.Banco, 341);
  EXPECT_EQ(itau.Vencimento, (year_month_day{year{2026}, March, day{10}}));
  EXPECT_EQ(itau.Partes.ValorCentavos, 10000);
  EXPECT_EQ(itau.Partes.CampoLivre, std::string("110") + "12345678" + "8" + "0057" + "12345" + "7" + "000");
  EXPECT_EQ(Coluna("NOSSONUMBCO || '-' || DVCOB", 980002, "1"), "12345678-8");

  // Banco do Brasil, 7-digit agreement: the own number starts with the agreement and has no digit.
  const febraban::BoletoLido bb = Lido(980003, "1");
  EXPECT_EQ(bb.Partes.Banco, 1);
  EXPECT_EQ(bb.Partes.Fator, 0);
  EXPECT_FALSE(bb.Vencimento.has_value());
  EXPECT_EQ(bb.Partes.ValorCentavos, 1);
  EXPECT_EQ(bb.Partes.CampoLivre, std::string("000000") + "12345670000000001" + "18");
  EXPECT_EQ(Coluna("NOSSONUMBCO || '|' || NVL(DVCOB, '-')", 980003, "1"), "12345670000000001|-");
}

// The package's arithmetic against the codes library over many codes: barcodes and lines built from
// the same parts are the same text, with general digits from every remainder (0, 1 and 10 all
// becoming 1), and due dates across the factor's restarts give the same factor.
TEST_F(DadosBancariosTest, TheDatabaseArithmeticAgreesWithTheCodesLibrary) {
  std::mt19937_64 sorteio(20260115);
  std::set<int> restos;
  for (int i = 0; i < 300; ++i) {
    febraban::PartesBoleto partes;
    partes.Banco = static_cast<int>(sorteio() % 1000);
    partes.Fator = i % 10 == 0 ? 0 : 1000 + static_cast<int>(sorteio() % 9000);
    partes.ValorCentavos = 1 + static_cast<std::int64_t>(sorteio() % (i % 3 == 0 ? 100000 : 9999999999ULL));
    for (std::size_t d = 0; d < febraban::kDigitosCampoLivre; ++d) {
      partes.CampoLivre += static_cast<char>('0' + sorteio() % 10);
    }
    char banco[16];
    std::snprintf(banco, sizeof banco, "%03d", partes.Banco);
    const std::string valor = std::to_string(partes.ValorCentavos / 100) + "." +
                              std::string(partes.ValorCentavos % 100 < 10 ? "0" : "") +
                              std::to_string(partes.ValorCentavos % 100);
    const std::string codigo =
        Scalar(std::string("SELECT PKG_DADOSBANCARIOS.F_CODIGOBARRAS('") + banco + "', " +
               std::to_string(partes.Fator) + ", " + valor + ", '" + partes.CampoLivre + "') FROM DUAL");
    ASSERT_EQ(codigo, febraban::CodigoBarrasBoleto(partes)) << valor;
    EXPECT_EQ(Scalar("SELECT PKG_DADOSBANCARIOS.F_LINHADIGITAVEL('" + codigo + "') FROM DUAL"),
              febraban::LinhaDigitavelBoleto(partes));
    std::string sem_digito = codigo;
    sem_digito.erase(4, 1);
    const int soma_resto =
        static_cast<int>(ScalarNumber("SELECT PKG_DADOSBANCARIOS.F_RESTOMODULO11('" + sem_digito + "', 9) FROM DUAL"));
    restos.insert(soma_resto);
  }
  EXPECT_EQ(restos.size(), 11U);
  for (const year_month_day dia :
       {year_month_day{year{2000}, July, day{3}}, year_month_day{year{2025}, February, day{21}},
        year_month_day{year{2025}, February, day{22}}, year_month_day{year{2026}, March, day{10}},
        year_month_day{year{2049}, October, day{13}}, year_month_day{year{2049}, October, day{14}},
        year_month_day{year{2060}, December, day{31}}}) {
    char data[32];
    std::snprintf(data, sizeof data, "%04d-%02u-%02u", static_cast<int>(dia.year()), static_cast<unsigned>(dia.month()),
                  static_cast<unsigned>(dia.day()));
    EXPECT_EQ(ScalarNumber(std::string("SELECT PKG_DADOSBANCARIOS.F_FATORVENCIMENTO(TO_DATE('") + data +
                           "', 'YYYY-MM-DD')) FROM DUAL"),
              febraban::FatorVencimento(dia))
        << data;
  }
}

// Without an instalment the request covers every slip-charged title that answers for the sale, its
// own or by the second transaction, each with the bank of its own charge: both banks are locked and
// each title carries its bank's code. A charge that issues no slips is left out.
TEST_F(DadosBancariosTest, EachTitleOfTheSaleGetsTheBankOfItsCharge) {
  Exec("INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BKNB', 'N', 9801)");
  Titulo(980071, "1", "BK01", "2026-02-01", "10");
  Titulo(980071, "2", "BK02", "2026-03-01", "20");
  Titulo(980071, "3", "BKNB", "2026-04-01", "30");
  Titulo(980072, "1", "BK03", "2026-05-01", "40", ", NUMTRANSVENDAST", ", 980071");
  ASSERT_TRUE(Gerar(980071));
  EXPECT_EQ(Lido(980071, "1").Partes.Banco, 237);
  EXPECT_EQ(Lido(980071, "2").Partes.Banco, 341);
  EXPECT_EQ(Lido(980072, "1").Partes.Banco, 1);
  EXPECT_EQ(Coluna("CODBANCOCM", 980071, "1") + Coluna("CODBANCOCM", 980071, "2") + Coluna("CODBANCOCM", 980072, "1"),
            "980198029803");
  EXPECT_EQ(Coluna("NVL(CODBARRA, 'sem boleto')", 980071, "3"), "sem boleto");
}

// A second run finds nothing to do: no column changes and no own number is drawn. A title that kept
// its own number (its barcode was cleared) gets the barcode around that number, and the counter
// stays where it was.
TEST_F(DadosBancariosTest, SecondRunChangesNothingAndAKeptOwnNumberIsReused) {
  Titulo(980011, "1", "BK01", "2026-02-01", "50");
  Titulo(980011, "2", "BK01", "2026-03-01", "50");
  ASSERT_TRUE(Gerar(980011));
  const auto dados = [&] {
    return Coluna("NOSSONUMBCO || DVCOB || CODBARRA || LINHADIG", 980011, "1") + ";" +
           Coluna("NOSSONUMBCO || DVCOB || CODBARRA || LINHADIG", 980011, "2");
  };
  const std::string antes = dados();
  ASSERT_EQ(Contador(9801), "2");
  ASSERT_TRUE(Gerar(980011));
  EXPECT_EQ(dados(), antes);
  EXPECT_EQ(Contador(9801), "2");

  Exec("UPDATE ZTPREST SET CODBARRA = NULL, LINHADIG = NULL WHERE NUMTRANSVENDA = 980011 AND PREST = '2'");
  Titulo(980012, "1", "BK01", "2026-02-01", "70", ", NOSSONUMBCO", ", '777'");
  ASSERT_TRUE(Gerar(980011));
  ASSERT_TRUE(Gerar(980012));
  EXPECT_EQ(Contador(9801), "2");
  EXPECT_EQ(Lido(980011, "2").Partes.CampoLivre.substr(6, 11), "00000000002");
  EXPECT_EQ(Lido(980012, "1").Partes.CampoLivre.substr(6, 11), "00000000777");
  EXPECT_EQ(Coluna("NOSSONUMBCO", 980012, "1"), "00000000777");
}

// The barcode charges what the slip prints: the vendor fees, the expected interest and the slip fee
// of a charge that adds it (not for an exempt customer), and the returns in the gross form.
TEST_F(DadosBancariosTest, TheBarcodeValueIsTheSlipValue) {
  const std::string colunas = ", VLDEVOL, TXVENDORCLI, VLTXVENDOR, VLTXIOF, TXPERMPREVISTO, VLTXBOLETO";
  Titulo(980021, "1", "BK01", "2026-02-01", "100", colunas, ", 5, 1.5, 2, 0.25, 0.75, 3.10");
  Titulo(980022, "1", "BK01", "2026-02-01", "100", colunas, ", 5, 0, 2, 0.25, 0, 3.10");
  Titulo(980023, "1", "BK01", "2026-02-01", "100", colunas, ", 5, 0, 0, 0, 0, 3.10");
  Exec("UPDATE ZTPREST SET CODCLI = 98002 WHERE NUMTRANSVENDA = 980023");
  ASSERT_TRUE(Gerar(980021));
  ASSERT_TRUE(Gerar(980022, "1", true));
  ASSERT_TRUE(Gerar(980023, "1", true));
  EXPECT_EQ(Lido(980021, "1").Partes.ValorCentavos, 10000 + 200 + 25 + 75 + 310);
  EXPECT_EQ(Lido(980022, "1").Partes.ValorCentavos, 10000 + 500 + 310);
  EXPECT_EQ(Lido(980023, "1").Partes.ValorCentavos, 10000 + 500);
}

// Titles that cannot carry a slip are left alone: paid, without value, grouped, issued elsewhere.
TEST_F(DadosBancariosTest, OnlyOpenTitlesWithValueGetBankData) {
  Titulo(980031, "1", "BK01", "2026-02-01", "10", ", DTPAG", ", TO_DATE('2026-01-02', 'YYYY-MM-DD')");
  Titulo(980031, "2", "BK01", "2026-02-01", "0");
  Titulo(980031, "3", "BK01", "2026-02-01", "10", ", AGRUPADO", ", 'S'");
  Titulo(980031, "4", "BK01", "2026-02-01", "10", ", ORIGEMBOLETO", ", 'B'");
  Titulo(980031, "5", "BK01", "2026-02-01", "10");
  ASSERT_TRUE(Gerar(980031));
  EXPECT_EQ(Scalar("SELECT COUNT(*) || ':' || MAX(PREST) FROM ZTPREST WHERE NUMTRANSVENDA = 980031 "
                   "AND CODBARRA IS NOT NULL"),
            "1:5");
  EXPECT_EQ(Contador(9801), "1");
}

// Refusals name what is wrong and leave every title as it was.
TEST_F(DadosBancariosTest, RefusalsWriteNothing) {
  Titulo(980041, "1", "BK04", "2026-02-01", "10");
  Titulo(980042, "1", "BK05", "2026-02-01", "10");
  Titulo(980043, "1", "BK06", "2026-02-01", "10");
  Titulo(980044, "1", "BKSB", "2026-02-01", "10");
  Titulo(980045, "1", "BK01", "1999-12-31", "10");
  Titulo(980046, "1", "BK01", "2026-02-01", "100000000");

  // The module's refusals, then the package's, which come back with the charge and their database cause.
  struct Recusa {
    double Transacao;
    const char* Prest;
    std::string Falha;
    bool DoBanco;
  };
  const std::string kSemRegistro =
      "ExRegistroContasReceberNaoEncontrado: Não foi encontrado o registro do contas a receber.";
  for (const Recusa& recusa : {
           Recusa{980042, "",
                  "ExBancoNaoDisponivelParaGerarDadosBancarios: O banco 6376 não está disponivel para geração de "
                  "dados bancários.\rFavor entrar em contato com o suporte da ZT Sistemas.",
                  false},
           Recusa{980044, "",
                  "ExCodigoBancoNaoInformado522: É necessário informar o código do banco para essa cobrança. Favor "
                  "entrar na rotina 522 e informar o código do banco.",
                  false},
           Recusa{980047, "", kSemRegistro, false},
           Recusa{980041, "9", kSemRegistro, false},
           Recusa{980041, "",
                  "Exception: ORA-20000: O banco 399 não está disponivel para geração de dados bancários.\rFavor "
                  "entrar em contato com o suporte da ZT Sistemas.\rCobrança: BK04",
                  true},
           Recusa{980043, "",
                  "Exception: ORA-20000: O banco 9806 não tem o código de compensação (ZTBANCO.CODCOMPENSACAO) "
                  "informado.\rInforme os 3 dígitos do banco na compensação antes de gerar os dados "
                  "bancários.\rCobrança: BK06",
                  true},
           Recusa{980045, "",
                  "Exception: ORA-20000: O vencimento 31/12/1999 não tem fator de vencimento no código de barras (o "
                  "primeiro é 03/07/2000).\rCobrança: BK01",
                  true},
           Recusa{980046, "",
                  "Exception: ORA-20000: O valor 100000000.00 não cabe no código de barras (de 0,01 a "
                  "99.999.999,99).\rCobrança: BK01",
                  true},
       }) {
    SCOPED_TRACE(ShortestDecimal(recusa.Transacao) + "-" + recusa.Prest);
    TOraSavepoint recusa_desfeita(Session());
    try {
      Gerar(recusa.Transacao, recusa.Prest);
      ADD_FAILURE() << "no refusal";
    } catch (const Exception& falha) {
      EXPECT_EQ(testsupport::ClassAndMessage(falha), recusa.Falha);
      if (recusa.DoBanco) {
        EXPECT_TRUE(CausaDoBanco(falha));
      }
    }
    recusa_desfeita.Rollback();
  }
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN 980041 AND 980046 "
                   "AND (NOSSONUMBCO IS NOT NULL OR CODBARRA IS NOT NULL)"),
            "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTBANCONOSSONUMERO WHERE CODBANCO BETWEEN 9801 AND 9806"), "0");
}

// A kept own number must fit the bank it is printed for.
TEST_F(DadosBancariosTest, AKeptOwnNumberOfAnotherBankIsRefused) {
  Titulo(980051, "1", "BK01", "2026-02-01", "10", ", NOSSONUMBCO, CODBANCOCM", ", '12345678', 9802");
  {
    TOraSavepoint outro_banco(Session());
    EXPECT_FAILS_WITH(Gerar(980051),
                      "Exception: ORA-20000: O título 980051-1 já tem o nosso número 12345678 do banco "
                      "9802 e não pode receber código de barras do banco 9801.\rCobrança: BK01");
    outro_banco.Rollback();
  }
  Exec("UPDATE ZTPREST SET CODBANCOCM = NULL, NOSSONUMBCO = 'A1' WHERE NUMTRANSVENDA = 980051");
  EXPECT_FAILS_WITH(Gerar(980051),
                    "Exception: ORA-20000: O nosso número A1 do título 980051-1 não serve ao leiaute "
                    "do banco 9801.\rCobrança: BK01");
}

// A bank whose range of own numbers is used up is refused instead of starting again at 1, which would
// give a customer's own number to another slip.
TEST_F(DadosBancariosTest, AnExhaustedOwnNumberRangeIsRefused) {
  Exec("INSERT INTO ZTBANCONOSSONUMERO (CODBANCO, ULTIMONOSSONUMERO) VALUES (9802, 99999998)");
  Titulo(980061, "1", "BK02", "2026-02-01", "10");
  Titulo(980061, "2", "BK02", "2026-03-01", "10");
  EXPECT_FAILS_WITH(Gerar(980061),
                    "Exception: ORA-20000: A numeração do nosso número do banco 9802 se esgotou (8 "
                    "dígitos). Solicite ao banco uma nova faixa.\rCobrança: BK02");
}

}  // namespace
