#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "BoletoExemplo.h"
#include "ReceivableSupport.h"
#include "frame/Uclsfin_except.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "report/Boletos.h"
#include "report/TRelatorio.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/ZTCore.h"
#include "sdk/fin/RFin_ValidarLinhaDigitavel.h"
#include "support/Failure.h"
#include "support/TestHost.h"

// Issuing slips end to end: sale conditions, payers, banks, the PDF folder rules and files, every
// printed barcode scanned back from the page.
namespace {

namespace fs = std::filesystem;
using receivabletest::FaltaFerramenta;
using receivabletest::Saida;

std::string Conteudo(const fs::path& arquivo) {
  std::ifstream entrada(arquivo, std::ios::binary);
  return {std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
}

constexpr const char* kInacessivel =
    "Não foi possível gerar os boletos, o diretório para geração dos arquivos\rPDF dos boletos informado no parâmetro "
    "\"3910 - Diretório para boletos PDF\",\rnão está acessível, ou usuário não possui permissão para gravação!";

class BoletosTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    // The slip templates the build installs.
    FProdAnterior = DiretorioProd(-1);
    DefinirDiretorios(QUORVIN_PROD_DIR, DiretorioSpool(-1));
    FPasta = (fs::temp_directory_path() / "quorvin-boletos-XXXXXX").string();
    ASSERT_NE(::mkdtemp(FPasta.data()), nullptr);
    // Bank 6375 issues Bradesco slips, 341 Itaú ones; 6376 is no bank the package can generate for.
    Exec(
        "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, CODCEDENTE, CODCOMPENSACAO) "
        "SELECT 9831, 'BANCO 6375', 6375, '1172-0', '0403005-2', '09', '0403005-2', '237' FROM DUAL UNION ALL "
        "SELECT 9832, 'ITAU', 341, '0057', '12345-7', '109', '12345-7', '341' FROM DUAL UNION ALL "
        "SELECT 9833, 'BANCO 6376', 6376, '1', '1', '1', '1', '237' FROM DUAL");
    Exec(
        "INSERT INTO ZTFILIAL (CODIGO, RAZAOSOCIAL, CGC) VALUES ('83', 'DISTRIBUIDORA DOS BOLETOS LTDA', "
        "'11222333000181')");
    Exec(
        "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, CGCENT, ENDERCOB, ENDERENT, BAIRROENT, MUNICENT, ESTENT, CEPENT, "
        "SACADOELETRONICO) VALUES (98301, 'MERCADO PAGADOR', '11444777000161', 'O MESMO', 'RUA DA ENTREGA, 10', "
        "'CENTRO', 'RECIFE', 'PE', '50000000', 'N')");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, SACADOELETRONICO) VALUES (98302, 'PAGADOR ELETRONICO', 'S')");
    Exec(
        "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BL01', 'S', 9831), ('BL02', 'S', 9832), "
        "('BL03', 'S', 9833), ('BLNB', 'N', 9831)");
    SetParametro("GERARARQUIVOSPDFBOLETOS", "S");
    SetParametro("DIRETORIOARQUIVOSPDFBOLETOS", FPasta);
  }
  void TearDown() override {
    std::error_code ignorado;
    fs::remove_all(FPasta, ignorado);
    report::DefinirVisualizadorPadrao({});
    DefinirDiretorios(FProdAnterior, DiretorioSpool(-1));
    HostTest::TearDown();
  }

  IFin_ContasReceber& Area() { return *Financeiro().GetContasReceber(); }

  // A sale of condition `condicao` and its instalments, each with its charge and value.
  void Venda(double transacao, double condicao, const std::vector<std::array<const char*, 3>>& parcelas,
             double cliente = 98301, const char* tipovenda = "VV") {
    Exec("INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, CONDVENDA, TIPOVENDA) VALUES (" +
         ShortestDecimal(transacao) + ", " + ShortestDecimal(transacao) + ", " + ShortestDecimal(cliente) + ", " +
         ShortestDecimal(condicao) + ", '" + tipovenda + "')");
    for (const auto& [parcela, cobranca, valor] : parcelas) {
      std::string prest;
      for (const char* c = parcela; *c != '\0'; ++c) prest += *c == '\'' ? std::string("''") : std::string(1, *c);
      Exec(
          "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, DTEMISSAO, VALOR) "
          "VALUES (" +
          ShortestDecimal(transacao) + ", '" + prest + "', " + ShortestDecimal(transacao) + ", '83', " +
          ShortestDecimal(cliente) + ", '" + cobranca + "', TO_DATE('2026-12-30', 'YYYY-MM-DD'), " +
          "TO_DATE('2026-12-01', 'YYYY-MM-DD'), " + valor + ")");
    }
  }

  static TFin_GerarBoletos Pedido(double transacao, const std::string& prest = "") {
    TFin_GerarBoletos boleto = receivabletest::Pedido(transacao, prest);
    boleto.getParametros().codigoRotina(1452);
    return boleto;
  }

  bool Emitir(double transacao, const std::string& prest = "") {
    TFin_GerarBoletos boleto = Pedido(transacao, prest);
    return Area().EmitirBoletosBancarios(boleto, false);
  }

  [[nodiscard]] std::set<std::string> Arquivos() const {
    std::set<std::string> nomes;
    for (const auto& entrada : fs::directory_iterator(FPasta)) nomes.insert(entrada.path().filename().string());
    return nomes;
  }

  std::string Coluna(const std::string& coluna, double transacao, const std::string& prest) {
    return Scalar("SELECT " + coluna + " FROM ZTPREST WHERE NUMTRANSVENDA = " + ShortestDecimal(transacao) +
                  " AND PREST = '" + prest + "'");
  }

  std::string FPasta;
  std::string FProdAnterior;
};

// Three titles of two banks, one request each: one PDF per title, named after sale and invoice, the
// second instalment of an invoice taking the "A" suffix; each page's barcode scans back to the
// title's stored CODBARRA, and the files carry the slip's author and the calling routine.
TEST_F(BoletosTest, EveryIssuedPdfScansBackToItsTitlesBarcode) {
  if (const std::string falta = FaltaFerramenta({"pdftoppm", "zbarimg", "pdfinfo"}); !falta.empty()) {
    GTEST_SKIP() << falta << " is not installed";
  }
  Venda(983001, 14, {{{"1", "BL01", "19.99"}}, {{"2", "BL01", "1234.56"}}});
  Venda(983002, 1, {{{"1", "BL02", "80"}}});
  ASSERT_TRUE(Emitir(983001));
  ASSERT_TRUE(Emitir(983002, "1"));

  const std::vector<std::array<std::string, 3>> esperados = {{"983001-983001.pdf", "983001", "1"},
                                                             {"983001-983001A.pdf", "983001", "2"},
                                                             {"983002-983002.pdf", "983002", "1"}};
  ASSERT_EQ(Arquivos(), (std::set<std::string>{"983001-983001.pdf", "983001-983001A.pdf", "983002-983002.pdf"}));
  for (const auto& [arquivo, transacao, prest] : esperados) {
    SCOPED_TRACE(arquivo);
    const std::string pdf = FPasta + "/" + arquivo;
    const std::string codigo = Coluna("CODBARRA", std::stod(transacao), prest);
    ASSERT_EQ(codigo.size(), 44u);
    Saida("pdftoppm -r 300 -gray -png -singlefile '" + pdf + "' '" + pdf + "'");
    EXPECT_EQ(Saida("zbarimg --quiet --raw -Sdisable -Si25.enable '" + pdf + ".png'"), codigo + "\n");
    const std::string informacao = Saida("pdfinfo '" + pdf + "'");
    EXPECT_NE(informacao.find("Author:          ZT Informática."), std::string::npos) << informacao;
    EXPECT_NE(informacao.find("Subject:         Gerado pela rotina: 1452"), std::string::npos) << informacao;
    EXPECT_NE(informacao.find("Pages:           1"), std::string::npos) << informacao;
  }
  // The folder came from the parameter: the titles keep none of their own.
  EXPECT_EQ(Coluna("PASTAARQUIVOBOLETO", 983001, "1"), "");
}

// A file already in the folder is never replaced: the second and third issues of one slip take the
// next free suffixes, and the first file is left byte for byte as it was.
TEST_F(BoletosTest, AnExistingPdfIsNeverOverwritten) {
  Venda(983011, 14, {{{"1", "BL01", "50"}}});
  ASSERT_TRUE(Emitir(983011));
  const std::string primeiro = Conteudo(FPasta + "/983011-983011.pdf");
  ASSERT_FALSE(primeiro.empty());
  ASSERT_TRUE(Emitir(983011));
  ASSERT_TRUE(Emitir(983011));
  EXPECT_EQ(Arquivos(), (std::set<std::string>{"983011-983011.pdf", "983011-983011A.pdf", "983011-983011B.pdf"}));
  EXPECT_EQ(Conteudo(FPasta + "/983011-983011.pdf"), primeiro);

  // With every name taken (no suffix up to "Z" is free) the issue is refused as a folder that cannot
  // be written, and nothing is replaced.
  for (char sufixo = 'C'; sufixo <= 'Z'; ++sufixo) {
    std::ofstream(FPasta + "/983011-983011" + sufixo + ".pdf") << "ocupado";
  }
  EXPECT_FAILS_WITH(Emitir(983011), std::string("Exception: ") + kInacessivel + "\rCobrança: BL01");
  EXPECT_EQ(Conteudo(FPasta + "/983011-983011Z.pdf"), "ocupado");
}

// Which sales are issued slips: conditions 1, 5, 7, 9 and 14; any other only for a supplier return
// or from routine 1213. A sale that is not is answered true with nothing written.
TEST_F(BoletosTest, OnlyTheSlipConditionsAreIssued) {
  struct Caso {
    double Condicao;
    const char* TipoVenda;
    double Rotina;
    bool Emite;
  };
  const Caso casos[] = {{1, "VV", 1452, true},  {5, "VV", 1452, true},  {7, "VV", 1452, true}, {9, "VV", 1452, true},
                        {14, "VV", 1452, true}, {2, "VV", 1452, false}, {2, "DF", 1452, true}, {2, "VV", 1213, true}};
  double transacao = 983020;
  for (const Caso& caso : casos) {
    SCOPED_TRACE("condition " + ShortestDecimal(caso.Condicao) + " " + caso.TipoVenda + ", routine " +
                 ShortestDecimal(caso.Rotina));
    Venda(++transacao, caso.Condicao, {{{"1", "BL01", "10"}}}, 98301, caso.TipoVenda);
    TFin_GerarBoletos boleto = Pedido(transacao);
    boleto.getParametros().codigoRotina(caso.Rotina);
    const std::size_t antes = Arquivos().size();
    EXPECT_TRUE(Area().EmitirBoletosBancarios(boleto, false));
    EXPECT_EQ(Arquivos().size() - antes, caso.Emite ? 1u : 0u);
    EXPECT_EQ(Coluna("NVL(CODBARRA, 'sem')", transacao, "1") != "sem", caso.Emite);
  }
}

// Refusals: each with its class and exact text, and nothing written (no bank data, no file).
struct CasoRecusa {
  const char* Nome;
  const char* Preparo;  // SQL, or "pasta:" and the folder parameter's value
  const char* Falha;
};

void PrintTo(const CasoRecusa& caso, std::ostream* out) {
  *out << caso.Nome;
}

class BoletosRecusa : public BoletosTest, public ::testing::WithParamInterface<CasoRecusa> {};

TEST_P(BoletosRecusa, IsRefusedWithNothingWritten) {
  const CasoRecusa& caso = GetParam();
  Venda(983031, 14, {{{"1", "BL01", "10"}}, {{"2", "BL01", "20"}}});
  const std::string preparo = caso.Preparo;
  if (preparo.rfind("pasta:", 0) == 0) {
    SetParametro("DIRETORIOARQUIVOSPDFBOLETOS", preparo.substr(6));
  } else {
    for (std::size_t inicio = 0; inicio < preparo.size();) {
      const std::size_t fim = std::min(preparo.find(';', inicio), preparo.size());
      Exec(preparo.substr(inicio, fim - inicio));
      inicio = fim + 1;
    }
  }
  EXPECT_FAILS_WITH(Emitir(983031), caso.Falha);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 983031 AND CODBARRA IS NOT NULL"), "0");
  EXPECT_TRUE(Arquivos().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Recusas, BoletosRecusa,
    ::testing::Values(
        // The second title is paid: it has no print data, and the first one's slip goes too.
        CasoRecusa{"PaidTitle",
                   "UPDATE ZTPREST SET DTPAG = SYSDATE, VPAGO = VALOR WHERE NUMTRANSVENDA = 983031 AND "
                   "PREST = '2'",
                   "Exception: Não foi encontrado o registro do contas a receber.\rCobrança: BL01"},
        CasoRecusa{"BankWithoutALayout", "UPDATE ZTPREST SET CODCOB = 'BL03' WHERE NUMTRANSVENDA = 983031",
                   "Exception: O banco 6376 não está disponivel para geração de dados bancários.\rFavor entrar em "
                   "contato com o suporte da ZT Sistemas.\rCobrança: BL03"},
        // A later charge without a bank is never generated for bank 0.
        CasoRecusa{
            "ChargeWithoutBankInTheLoop",
            "INSERT INTO ZTCOB (CODCOB, BOLETO) VALUES ('BLSB', 'S'); UPDATE ZTPREST SET CODCOB = 'BLSB' WHERE "
            "NUMTRANSVENDA = 983031 AND PREST = '2'",
            "Exception: É necessário informar o código do banco para essa cobrança. Favor entrar na rotina 522 e "
            "informar o código do banco.\rCobrança: BLSB"},
        CasoRecusa{"NoTitle", "DELETE FROM ZTPREST WHERE NUMTRANSVENDA = 983031",
                   "ExRegistroContasReceberNaoEncontrado: Não foi encontrado o registro do contas a receber."},
        CasoRecusa{"ParameterFolderNotSet", "pasta:",
                   "Exception: Não será possivel realizar a geração dos arquivos PDF dos boletos,\ro parâmetro \"3910 "
                   "- Diretório para boletos PDF\" não foi informado!\rCobrança: BL01"},
        CasoRecusa{
            "ParameterFolderMissing", "pasta:/nao/existe/quorvin",
            "Exception: Não será possivel realizar a geração dos arquivos PDF dos boletos, o\rdiretório informado "
            "no parâmetro \"3910 - Diretório para boletos PDF\"\rnão existe ou não é válido!\rCobrança: BL01"},
        CasoRecusa{"TitleFolderMissing", "UPDATE ZTPREST SET PASTAARQUIVOBOLETO = '/nao/existe/quorvin'",
                   "Exception: Não será possivel realizar a geração dos arquivos PDF dos boletos, o diretório\rgravado "
                   "no registro do título (ZTPREST) não existe ou não é válido!\rCobrança: BL01"}),
    [](const auto& info) { return std::string(info.param.Nome); });

TEST_F(BoletosTest, TheRequestsFolderMustExistAndIsKeptOnTheTitles) {
  Venda(983041, 14, {{{"1", "BL01", "10"}}, {{"2", "BL01", "20"}}});
  TFin_GerarBoletos boleto = Pedido(983041);
  boleto.PastaPDF = "/nao/existe/quorvin";
  EXPECT_FAILS_WITH(Area().EmitirBoletosBancarios(boleto, false),
                    "Exception: Não será possivel realizar a geração dos arquivos PDF dos boletos, o diretório\r"
                    "informado originalmente via rotina 1452 não existe ou não é válido!\rCobrança: BL01");

  // A folder without its separator gets one; the title keeps the folder as the request gave it.
  const std::string propria = FPasta + "/pedido";
  fs::create_directory(propria);
  boleto.PastaPDF = propria;
  ASSERT_TRUE(Area().EmitirBoletosBancarios(boleto, false));
  EXPECT_TRUE(fs::exists(propria + "/983041-983041.pdf"));
  EXPECT_TRUE(fs::exists(propria + "/983041-983041A.pdf"));
  EXPECT_EQ(
      Scalar("SELECT COUNT(*) FROM ZTPREST WHERE NUMTRANSVENDA = 983041 AND PASTAARQUIVOBOLETO = '" + propria + "'"),
      "2");
}

// An electronic payer gets its bank data (the bank sends the slip) but no printed slip; a charge
// that does not issue slips, when the caller asks it to be checked, gets neither.
TEST_F(BoletosTest, ElectronicPayersGetBankDataButNoSlip) {
  Venda(983051, 14, {{{"1", "BL01", "10"}}}, 98302);
  ASSERT_TRUE(Emitir(983051));
  EXPECT_EQ(Coluna("LENGTH(CODBARRA)", 983051, "1"), "44");
  EXPECT_TRUE(Arquivos().empty());

  Venda(983052, 14, {{{"1", "BLNB", "10"}}});
  TFin_GerarBoletos boleto = Pedido(983052, "1");
  EXPECT_TRUE(Area().EmitirBoletosBancarios(boleto, true));
  EXPECT_EQ(Coluna("NVL(CODBARRA, 'sem')", 983052, "1"), "sem");
  EXPECT_TRUE(Arquivos().empty());
}

// The access check runs first, in its designed order, against ZTCONTROI.
TEST_F(BoletosTest, TheAccessCheckComesFirstInItsOrder) {
  Venda(983061, 14, {{{"1", "BL01", "10"}}});
  const auto emitir = [&](double rotina, double permissao, double usuario) {
    TFin_GerarBoletos boleto = Pedido(983061);
    boleto.getParametros().validarPermissaoParaGerarDadosBancarios(true);
    boleto.getParametros().codigoRotina(rotina);
    boleto.getParametros().numeroPermissao(permissao);
    boleto.getParametros().matriculaUsuario(usuario);
    return Area().EmitirBoletosBancarios(boleto, false);
  };
  EXPECT_FAILS_WITH(emitir(0, 0, 0),
                    "ExRotinaNaoInformada: O número da rotina, para validação de permissão de "
                    "acesso, não foi informado.");
  EXPECT_EQ(testsupport::Failure([&] { (void)emitir(1452, 0, 0); }).rfind("ExNumeroPermissaoAcessoNaoInformado: ", 0),
            0u);
  EXPECT_EQ(testsupport::Failure([&] { (void)emitir(1452, 530, 0); }).rfind("ExUsuarioNaoInformado: ", 0), 0u);
  EXPECT_EQ(testsupport::Failure([&] { (void)emitir(1452, 530, 7); }).rfind("ExUsuarioSemPermissaoGerarDados", 0), 0u);
  Exec("INSERT INTO ZTCONTROI (CODROTINA, CODCONTROLE, CODUSUARIO, ACESSO) VALUES (1452, 530, 7, 'N')");
  EXPECT_EQ(testsupport::Failure([&] { (void)emitir(1452, 530, 7); }).rfind("ExUsuarioSemPermissaoGerarDados", 0), 0u);
  EXPECT_TRUE(Arquivos().empty());
  Exec("UPDATE ZTCONTROI SET ACESSO = 'S' WHERE CODUSUARIO = 7");
  EXPECT_TRUE(emitir(1452, 530, 7));
  EXPECT_EQ(Arquivos().size(), 1u);
}

// Without PDF files: a printer name that could smuggle options or lines into the print command is
// refused before anything is written; without a printer the slips go to the host's screen.
TEST_F(BoletosTest, PrinterAndScreen) {
  SetParametro("GERARARQUIVOSPDFBOLETOS", "N");
  Venda(983071, 14, {{{"1", "BL01", "10"}}});
  TFin_GerarBoletos boleto = Pedido(983071);
  boleto.Impressora = "laser\n-o outra";
  EXPECT_EQ(testsupport::Failure([&] {
              (void)Area().EmitirBoletosBancarios(boleto, false);
            }).rfind("Exception: O nome da impressora informado é inválido: ", 0),
            0u);
  EXPECT_EQ(Coluna("NVL(CODBARRA, 'sem')", 983071, "1"), "sem");

  std::vector<report::TOpcoesTela> mostrados;
  report::DefinirVisualizadorPadrao([&](const std::string& pdf, const report::TOpcoesTela& opcoes) {
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    mostrados.push_back(opcoes);
  });
  boleto.Impressora.clear();
  ASSERT_TRUE(Area().EmitirBoletosBancarios(boleto, false));
  ASSERT_EQ(mostrados.size(), 1u);
  EXPECT_TRUE(mostrados[0].MostrarDialogoImpressao);
  EXPECT_TRUE(mostrados[0].PermitirArquivo);
  EXPECT_TRUE(Arquivos().empty());
}

// The batch: every request's titles, the checks once, and a folder that cannot be written named in
// the message.
TEST_F(BoletosTest, TheBatchIssuesEveryRequest) {
  Venda(983081, 14, {{{"1", "BL01", "10"}}});
  Venda(983082, 5, {{{"1", "BL02", "20"}}, {{"2", "BL01", "30"}}});
  std::vector<TFin_GerarBoletos> boletos{Pedido(983081), Pedido(983082)};
  ASSERT_TRUE(Area().EmitirBoletosBancarios(boletos, false));
  EXPECT_EQ(Arquivos(), (std::set<std::string>{"983081-983081.pdf", "983082-983082.pdf", "983082-983082A.pdf"}));
  EXPECT_EQ(Coluna("CODBANCOCM", 983082, "1"), "9832");
  EXPECT_EQ(Coluna("CODBANCOCM", 983082, "2"), "9831");

  for (char sufixo = 'A'; sufixo <= 'Z'; ++sufixo) {
    std::ofstream(FPasta + "/983081-983081" + sufixo + ".pdf") << "ocupado";
  }
  std::vector<TFin_GerarBoletos> outra{Pedido(983081)};
  EXPECT_FAILS_WITH(
      Area().EmitirBoletosBancarios(outra, false),
      std::string("Exception: ") + kInacessivel + "\rDiretório informado: " + FPasta + "/\rCobrança: BL01");
}

// Print data holding titles of different charges and banks print each title by itself, with its own
// bank's row and template; the filter that picks a title quotes its instalment.
TEST_F(BoletosTest, TitlesOfDifferentChargesAndBanksPrintEachWithItsOwnBank) {
  if (!FaltaFerramenta({"pdftotext"}).empty()) GTEST_SKIP() << "pdftotext is not installed";
  Venda(983091, 14, {{{"1", "BL01", "10"}}, {{"B'", "BL02", "20"}}});
  TFin_GerarBoletos boleto = Pedido(983091);
  boleto.getParametros().gerarBoletos(false);
  ASSERT_TRUE(Area().EmitirBoletosBancarios(boleto, false));
  ASSERT_TRUE(Arquivos().empty());

  auto& receber = dynamic_cast<TContasReceber&>(Area());
  std::string sql = TDALContasReceber::GetSQLBuscarInformacoesParaImprimirBoleto().Text();
  const std::string filtro = "AND ZTPREST.PREST = :PREST";
  sql.replace(sql.find(filtro), filtro.size(), "AND ZTPREST.PREST IN ('1', 'B''')");
  TOraQuery dados(&Session());
  dados.SQL.SetText(sql);
  dados.ParamByName("NUMTRANSVENDA").SetAsFloat(983091);
  dados.ParamByName("UTILIZAVALORBRUTO").SetAsString("N");
  dados.Open();
  ASSERT_EQ(dados.RecordCount(), 2u);
  TOraQuery banco(&Session());
  receber.GetDALContasReceber().BuscarInformacoesBanco(banco, 9831);
  receber.ImprimirBoleto(dados, banco, boleto);

  ASSERT_EQ(Arquivos(), (std::set<std::string>{"983091-983091.pdf", "983091-983091A.pdf"}));
  const std::string primeiro = Saida("pdftotext '" + FPasta + "/983091-983091.pdf' -");
  const std::string segundo = Saida("pdftotext '" + FPasta + "/983091-983091A.pdf' -");
  EXPECT_NE(primeiro.find("BANCO 6375"), std::string::npos) << primeiro;
  EXPECT_NE(segundo.find("ITAU"), std::string::npos) << segundo;
  EXPECT_EQ(segundo.find("BANCO 6375"), std::string::npos) << segundo;
}

// What the bank data package writes is what a payer pays with: each title's typeable line and
// barcode are accepted by the payable side's slip check for the title's own value and due date (and
// refused one cent off), and the slip printed with them scans back to the stored barcode. The
// instalments fall on each side of the due-date factor's 2025 restart, with values a float
// truncation would get wrong, on one bank per layout: Bradesco (237), Itaú under an internal number
// (6111), and a 7-digit agreement of bank 001.
TEST_F(BoletosTest, EveryGeneratedSlipIsAcceptedByTheSlipCheckAndScansBack) {
  Exec(
      "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, NUMCONVENIO, CODCOMPENSACAO) "
      "VALUES (9811, 'B237', 237, '1172-0', '0403005-2', '09', NULL, '237'), "
      "(9812, 'B341', 6111, '0057', '12345-7', '109', NULL, '341'), "
      "(9813, 'B001', 1, '1234-5', '12345-6', '17', '7654321', '001')");
  Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, ISENTOTXBOLETO) VALUES (98101, 'PAGADOR', 'S')");
  Exec(
      "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BP01', 'S', 9811), ('BP02', 'S', 9812), "
      "('BP03', 'S', 9813)");
  const char* titulos[][4] = {{"1", "BP01", "2025-02-21", "19.99"},
                              {"2", "BP01", "2025-02-22", "0.29"},
                              {"3", "BP02", "2026-12-30", "1234.56"},
                              {"4", "BP03", "2027-06-01", "99999999.99"}};
  for (const auto& titulo : titulos) {
    Exec(std::string("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) ") +
         "VALUES (981001, '" + titulo[0] + "', 981001, '1', 98101, '" + titulo[1] + "', TO_DATE('" + titulo[2] +
         "', 'YYYY-MM-DD'), " + titulo[3] + ")");
  }
  TFin_GerarBoletos pedido = receivabletest::Pedido(981001, "", false);
  ASSERT_TRUE(dynamic_cast<IFin_GeracaoDadosBancarios&>(Area()).GerarDadosBancarios(pedido));

  TOraQuery gerados(&Session());
  gerados.SQL.SetText(
      "SELECT PREST, CODBARRA, LINHADIG, VALOR, DTVENC FROM ZTPREST WHERE NUMTRANSVENDA = 981001 ORDER BY PREST");
  gerados.Open();
  ASSERT_EQ(gerados.RecordCount(), 4u);
  std::vector<std::array<std::string, 2>> codigos;
  for (; !gerados.Eof(); gerados.Next()) {
    SCOPED_TRACE("instalment " + gerados.FieldByName("PREST").AsString());
    codigos.push_back({gerados.FieldByName("CODBARRA").AsString(), gerados.FieldByName("LINHADIG").AsString()});
    ASSERT_EQ(codigos.back()[0].size(), 44u);
    for (const int formato : {0, 1}) {
      for (const double centavo : {0.0, 0.01}) {
        RFin_ValidarLinhaDigitavel registro;
        registro.Inicializar();
        registro.TIPODOCUMENTO = 0;
        registro.FORMATO = formato;
        registro.CODIGO = codigos.back()[static_cast<std::size_t>(formato)];
        registro.VALOR = gerados.FieldByName("VALOR").AsFloat() + centavo;
        registro.DTVENC = gerados.FieldByName("DTVENC").AsDateTime();
        const bool aceito = Financeiro().GetContasPagar()->ValidarLinhaDigitavel(registro);
        EXPECT_EQ(aceito, centavo == 0) << "format " << formato << " +" << centavo << ": " << registro.MENSAGEM;
        if (centavo == 0) {
          EXPECT_EQ(registro.CODIGOBARRAS, codigos.back()[0]) << "format " << formato;
        }
      }
    }
  }

  if (const std::string falta = FaltaFerramenta({"pdftoppm", "zbarimg"}); !falta.empty()) {
    GTEST_SKIP() << falta << " is not installed";
  }
  // The sample slip's pipelines carrying the package's codes, printed with the installed template.
  cli::TBoletoExemplo dados(static_cast<int>(codigos.size()));
  std::size_t indice = 0;
  for (dados.Boleta.First(); !dados.Boleta.Eof(); dados.Boleta.Next(), ++indice) {
    dados.Boleta.Edit();
    dados.Boleta.FieldByName("CODBARRA").SetAsString(codigos[indice][0]);
    dados.Boleta.FieldByName("LINHADIG").SetAsString(codigos[indice][1]);
    dados.Boleta.Post();
  }
  report::TRelatorio relatorio(
      report::CarregarModeloBoleto(report::LocalizarModelo("Boleta237.rtm", {QUORVIN_PROD_DIR})));
  dados.Ligar(relatorio);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
  relatorio.Impressao().ArquivoPDF = FPasta + "/boletos.pdf";
  relatorio.Imprimir();
  for (std::size_t pagina = 1; pagina <= codigos.size(); ++pagina) {
    const std::string numero = std::to_string(pagina);
    const std::string png = FPasta + "/pagina-" + numero;
    Saida("pdftoppm -r 300 -gray -png -singlefile -f " + numero + " -l " + numero + " '" + FPasta + "/boletos.pdf' '" +
          png + "'");
    EXPECT_EQ(Saida("zbarimg --quiet --raw -Sdisable -Si25.enable '" + png + ".png'"), codigos[pagina - 1][0] + "\n")
        << "page " << pagina;
  }
}

}  // namespace
