#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BoletoExemplo.h"
#include "Cli.h"
#include "report/Boletos.h"
#include "report/ERelatorio.h"
#include "report/TRelatorio.h"
#include "sdk/ZTCore.h"
#include "support/Failure.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kModeloPadrao = QUORVIN_SOURCE_DIR "/platform/report/templates/BoletoPadrao.rtm";

// A folder of its own for each test, removed afterwards.
class Relatorio : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modelo = (fs::temp_directory_path() / "quorvin-relatorio-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modelo.data()), nullptr);
    FPasta = modelo;
    // The command line's runtime installs a process-wide screen viewer; these tests start from none.
    report::DefinirVisualizadorPadrao({});
  }
  void TearDown() override {
    std::error_code erro;
    fs::permissions(FPasta, fs::perms::owner_all, erro);
    fs::remove_all(FPasta, erro);
  }

  [[nodiscard]] report::TRelatorio Boleto(cli::TBoletoExemplo& dados) const {
    report::TRelatorio relatorio(report::CarregarModeloBoleto(kModeloPadrao));
    dados.Ligar(relatorio);
    return relatorio;
  }

  // What a command prints; the arguments are this test's own paths.
  static std::string Saida(const std::string& comando, bool com_erros = true) {
    std::string saida;
    if (FILE* tubo = ::popen((comando + (com_erros ? " 2>&1" : " 2>/dev/null")).c_str(), "r")) {
      std::array<char, 512> bloco{};
      while (std::fgets(bloco.data(), bloco.size(), tubo) != nullptr) saida += bloco.data();
      ::pclose(tubo);
    }
    return saida;
  }

  static bool Ferramentas() {
    for (const char* ferramenta : {"pdftoppm", "zbarimg", "pdfinfo", "pdftotext"}) {
      if (Saida(std::string("command -v ") + ferramenta).empty()) return false;
    }
    return true;
  }

  [[nodiscard]] std::vector<std::string> ArquivosDaPasta() const {
    std::vector<std::string> nomes;
    for (const auto& entrada : fs::directory_iterator(FPasta)) nomes.push_back(entrada.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
  }

  fs::path FPasta;
};

// The slip as a payer's bank reads it: rendered at 300 dpi, its barcode scanned back to the 44
// digits stored for the title, and the document information of a slip PDF.
TEST_F(Relatorio, SlipPdfScansBackToItsBarcodeAndCarriesItsDocumentInformation) {
  if (!Ferramentas()) GTEST_SKIP() << "pdftoppm, zbarimg and pdfinfo are installed by scripts/deps.sh";
  cli::TBoletoExemplo dados(2);
  const std::vector<std::string> codigos = dados.CodigosBarras();
  report::TRelatorio relatorio = Boleto(dados);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
  relatorio.Impressao().ArquivoPDF = (FPasta / "900001-40001.pdf").string();
  relatorio.Impressao().Autor = report::kAutorPdfBoleto;
  relatorio.Impressao().Assunto = report::AssuntoPdfBoleto(1452);
  relatorio.Imprimir();
  EXPECT_EQ(relatorio.Paginas(), 2);

  const std::string pdf = (FPasta / "900001-40001.pdf").string();
  const std::string informacao = Saida("pdfinfo '" + pdf + "'");
  EXPECT_NE(informacao.find("Title:           Boleto bancário\n"), std::string::npos) << informacao;
  EXPECT_NE(informacao.find("Author:          ZT Informática.\n"), std::string::npos) << informacao;
  EXPECT_NE(informacao.find("Subject:         Gerado pela rotina: 1452\n"), std::string::npos) << informacao;
  EXPECT_NE(informacao.find("Pages:           2\n"), std::string::npos) << informacao;
  EXPECT_NE(informacao.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos) << informacao;

  for (int pagina = 1; pagina <= 2; ++pagina) {
    const std::string png = (FPasta / ("pagina-" + std::to_string(pagina))).string();
    Saida("pdftoppm -r 300 -gray -png -singlefile -f " + std::to_string(pagina) + " -l " + std::to_string(pagina) +
          " '" + pdf + "' '" + png + "'");
    const std::string lido = Saida("zbarimg --quiet --raw -Sdisable -Si25.enable '" + png + ".png'", false);
    EXPECT_EQ(lido, codigos[pagina - 1] + "\n") << "page " << pagina;
  }
  // The typeable line and the values are on the page as text.
  const std::string texto = Saida("pdftotext -f 1 -l 1 '" + pdf + "' -");
  EXPECT_NE(texto.find("23791.23405 90002.026004 01001.234507"), std::string::npos) << texto;
  EXPECT_NE(texto.find("1.234,56"), std::string::npos);
  EXPECT_NE(texto.find("11.222.333/0001-81"), std::string::npos);
  EXPECT_NE(texto.find("30/12/2026"), std::string::npos);
  EXPECT_NE(texto.find("237-2"), std::string::npos);
}

TEST_F(Relatorio, DataThatDoNotFitTheTemplateAreRefusedBeforeAnythingIsWritten) {
  cli::TBoletoExemplo dados;
  const std::string arquivo = (FPasta / "boleto.pdf").string();
  const auto imprimir = [&](report::TRelatorio& relatorio) {
    relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
    relatorio.Impressao().ArquivoPDF = arquivo;
    relatorio.Imprimir();
  };
  {
    report::TRelatorio relatorio(report::CarregarModeloBoleto(kModeloPadrao));
    relatorio.DefinirPipeline("BDEBoleta", dados.Boleta);
    EXPECT_FAILS_WITH(imprimir(relatorio),
                      "EDadosRelatorio: Relatório \"BoletoPadrao.rtm\": o pipeline \"BDEZTBANCO\" não foi ligado a um "
                      "conjunto de dados.");
  }
  {
    report::TRelatorio relatorio = Boleto(dados);
    TClientDataSet filial;
    filial.AddFieldDef("CODIGO", TFieldType::ftString);
    filial.CreateDataSet();
    relatorio.DefinirPipeline("BDEdsFILIAL", filial);
    EXPECT_FAILS_WITH(imprimir(relatorio),
                      "EDadosRelatorio: Relatório \"BoletoPadrao.rtm\": o campo \"RAZAOSOCIAL\" não existe no pipeline "
                      "\"BDEdsFILIAL\".");
  }
  {
    // One wrong digit in the stored barcode: the general digit no longer checks.
    dados.Boleta.Edit();
    std::string codigo = dados.Boleta.FieldByName("CODBARRA").AsString();
    codigo[30] = codigo[30] == '9' ? '0' : static_cast<char>(codigo[30] + 1);
    dados.Boleta.FieldByName("CODBARRA").SetAsString(codigo);
    dados.Boleta.Post();
    report::TRelatorio relatorio = Boleto(dados);
    const std::string falha = testsupport::Failure([&] { imprimir(relatorio); });
    EXPECT_EQ(falha.rfind("EDadosRelatorio: Relatório \"BoletoPadrao.rtm\": o campo BDEBoleta.CODBARRA do registro 1 "
                          "não é um código de barras de boleto válido (",
                          0),
              0U)
        << falha;
    dados.Boleta.Edit();
    dados.Boleta.FieldByName("CODBARRA").Clear();
    dados.Boleta.Post();
    EXPECT_FAILS_WITH(imprimir(relatorio),
                      "EDadosRelatorio: Relatório \"BoletoPadrao.rtm\": o campo BDEBoleta.CODBARRA do registro 1 não é "
                      "um código de barras de boleto válido (o código de barras tem 0 caracteres, e não 44 dígitos).");
  }
  {
    dados.Boleta.EmptyDataSet();
    report::TRelatorio relatorio = Boleto(dados);
    EXPECT_FAILS_WITH(imprimir(relatorio),
                      "EDadosRelatorio: Relatório \"BoletoPadrao.rtm\": não há registros para imprimir no pipeline "
                      "\"BDEBoleta\".");
  }
  EXPECT_TRUE(ArquivosDaPasta().empty());
}

TEST_F(Relatorio, TheCurrentRecordAlonePrintsOnePageAndTheCursorStaysPut) {
  cli::TBoletoExemplo dados(3);
  report::TRelatorio relatorio = Boleto(dados);
  dados.Boleta.First();
  dados.Boleta.Next();
  relatorio.Impressao().Intervalo = report::TIntervalo::irRegistroAtual;
  EXPECT_EQ(relatorio.GerarPDF().rfind("%PDF-", 0), 0U);
  EXPECT_EQ(relatorio.Paginas(), 1);
  EXPECT_EQ(dados.Boleta.RecNo(), 2U);
  relatorio.Impressao().Intervalo = report::TIntervalo::irTodos;
  (void)relatorio.GerarPDF();
  EXPECT_EQ(relatorio.Paginas(), 3);
  EXPECT_EQ(dados.Boleta.RecNo(), 2U);
}

TEST_F(Relatorio, AnExistingFileIsReplacedOnlyWhenAllowedAndNothingHalfWrittenRemains) {
  cli::TBoletoExemplo dados;
  report::TRelatorio relatorio = Boleto(dados);
  const std::string arquivo = (FPasta / "900001-40001.pdf").string();
  std::ofstream(arquivo) << "anterior";
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
  relatorio.Impressao().ArquivoPDF = arquivo;
  relatorio.Impressao().SobrescreverArquivo = false;
  EXPECT_FAILS_WITH(relatorio.Imprimir(),
                    "EDispositivoRelatorio: O arquivo \"" + arquivo + "\" já existe e não será substituído.");
  EXPECT_EQ(Saida("cat '" + arquivo + "'"), "anterior");
  relatorio.Impressao().SobrescreverArquivo = true;
  relatorio.Imprimir();
  EXPECT_EQ(Saida("head -c 5 '" + arquivo + "'"), "%PDF-");
  EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"900001-40001.pdf"});

  if (::geteuid() != 0) {  // root writes anywhere
    fs::permissions(FPasta, fs::perms::owner_read | fs::perms::owner_exec);
    relatorio.Impressao().ArquivoPDF = (FPasta / "outro.pdf").string();
    EXPECT_FAILS_WITH(relatorio.Imprimir(), "EDispositivoRelatorio: Não foi possível gravar o arquivo \"" +
                                                (FPasta / "outro.pdf").string() + "\": Permission denied.");
  }
  relatorio.Impressao().ArquivoPDF = (FPasta / "nao-existe" / "x.pdf").string();
  EXPECT_FAILS_WITH(relatorio.Imprimir(), "EDispositivoRelatorio: Não foi possível gravar o arquivo \"" +
                                              (FPasta / "nao-existe" / "x.pdf").string() +
                                              "\": No such file or directory.");
}

// Two slips written under one name at the same moment, neither allowed to replace a file: one wins,
// the other is told the name is taken, and the file is one whole document.
TEST_F(Relatorio, ConcurrentWritersOfOneNameNeverBothWin) {
  const std::string arquivo = (FPasta / "900001-40001.pdf").string();
  for (int rodada = 0; rodada < 5; ++rodada) {
    fs::remove(arquivo);
    std::atomic<int> gravados{0};
    std::atomic<int> recusados{0};
    std::vector<std::thread> escritores;
    for (int escritor = 0; escritor < 4; ++escritor) {
      escritores.emplace_back([&] {
        cli::TBoletoExemplo dados;
        report::TRelatorio relatorio = Boleto(dados);
        relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
        relatorio.Impressao().ArquivoPDF = arquivo;
        relatorio.Impressao().SobrescreverArquivo = false;
        try {
          relatorio.Imprimir();
          ++gravados;
        } catch (const report::EDispositivoRelatorio& erro) {
          if (erro.Message().find("já existe") != std::string::npos) ++recusados;
        }
      });
    }
    for (std::thread& escritor : escritores) escritor.join();
    EXPECT_EQ(gravados.load(), 1);
    EXPECT_EQ(recusados.load(), 3);
    EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"900001-40001.pdf"});
  }
  EXPECT_EQ(Saida("tail -c 6 '" + arquivo + "'"), "%%EOF\n");
}

// The printer is reached by running the CUPS client with an argument list: a name with shell
// syntax is refused or passed as one argument, never interpreted.
TEST_F(Relatorio, PrintingRunsLpWithoutAShellAndReportsItsRefusal) {
  const std::string lp = (FPasta / "lp").string();
  const std::string registro = (FPasta / "argumentos").string();
  std::ofstream(lp) << "#!/bin/sh\n"
                       "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                           registro +
                           "'\n"
                           "case \"$2\" in recusa) echo 'lp: The printer or class does not exist.' >&2; exit 1;; esac\n"
                           "test -s \"${10}\" || exit 3\n";
  fs::permissions(lp, fs::perms::owner_all);
  cli::TBoletoExemplo dados;
  report::TRelatorio relatorio = Boleto(dados);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvImpressora;
  relatorio.Impressao().ComandoImpressao = lp;
  relatorio.Impressao().Impressora = "Fila$(touch${IFS}invadido)";
  relatorio.Imprimir();
  const std::string argumentos = Saida("cat '" + registro + "'");
  EXPECT_EQ(argumentos.substr(0, argumentos.find("/quorvin-relatorio-")),
            "-d\nFila$(touch${IFS}invadido)\n-n\n1\n-o\nmedia=A4\n-t\nBoleto bancário\n--\n" +
                fs::temp_directory_path().string());
  EXPECT_FALSE(fs::exists("invadido"));
  EXPECT_FALSE(fs::exists(FPasta / "invadido"));
  // The temporary document is gone once lp has it.
  const std::string enviado = argumentos.substr(argumentos.rfind('\n', argumentos.size() - 2) + 1);
  EXPECT_FALSE(fs::exists(enviado.substr(0, enviado.size() - 1)));

  relatorio.Impressao().Impressora = "recusa";
  EXPECT_FAILS_WITH(relatorio.Imprimir(), "EDispositivoRelatorio: O comando de impressão \"" + lp +
                                              "\" terminou com o código 1:\rlp: The printer or class does not exist.");
  relatorio.Impressao().Impressora = "fila com espaço; rm -rf /";
  EXPECT_FAILS_WITH(relatorio.Imprimir(),
                    "EDispositivoRelatorio: Impressora \"fila com espaço; rm -rf /\" inválida: nome da impressora com "
                    "espaço, caractere de controle, barra, aspas ou \"#\".");
  relatorio.Impressao().Impressora = "-oraw";
  EXPECT_FAILS_WITH(relatorio.Imprimir(),
                    "EDispositivoRelatorio: Impressora \"-oraw\" inválida: nome da impressora começa com \"-\".");
  relatorio.Impressao().Impressora = "Fila";
  relatorio.Impressao().ComandoImpressao = (FPasta / "sem-lp").string();
  EXPECT_FAILS_WITH(relatorio.Imprimir(), "EDispositivoRelatorio: Não foi possível executar o comando de impressão \"" +
                                              (FPasta / "sem-lp").string() +
                                              "\": No such file or directory. Verifique se o cliente CUPS está "
                                              "instalado.");
}

TEST_F(Relatorio, ScreenGoesThroughTheHostViewer) {
  cli::TBoletoExemplo dados;
  report::TRelatorio relatorio = Boleto(dados);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvTela;
  EXPECT_FAILS_WITH(relatorio.Imprimir(),
                    "EDispositivoRelatorio: Não há visualizador de tela no host para mostrar o relatório "
                    "\"BoletoPadrao.rtm\".");
  std::string recebido;
  report::TOpcoesTela opcoes;
  relatorio.DefinirVisualizador([&](const std::string& pdf, const report::TOpcoesTela& pedidas) {
    recebido = pdf;
    opcoes = pedidas;
  });
  relatorio.Impressao().Tela.Maximizada = true;
  relatorio.Impressao().Tela.MostrarDialogoImpressao = true;
  relatorio.Imprimir();
  EXPECT_EQ(recebido.rfind("%PDF-", 0), 0U);
  EXPECT_EQ(opcoes.Titulo, "Boleto bancário");
  EXPECT_TRUE(opcoes.Maximizada);
  EXPECT_TRUE(opcoes.MostrarDialogoImpressao);
}

}  // namespace

namespace {

// `quorvin-fin boleto-exemplo`: the sample slip with the template the installation folder holds for
// its bank, or a clear refusal.
TEST_F(Relatorio, TheSampleSlipCommandUsesTheInstallationFolder) {
  const std::string prod = DiretorioProd(-1);
  const std::string spool = DiretorioSpool(-1);
  const std::string arquivo = (FPasta / "exemplo.pdf").string();
  const auto executar = [&](const std::vector<std::string>& args, std::string& saida, std::string& erros) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int exit = cli::Main(args, in, out, err);
    saida = out.str();
    erros = err.str();
    return exit;
  };
  std::string saida;
  std::string erros;
  DefinirDiretorios(QUORVIN_PROD_DIR, spool);
  EXPECT_EQ(executar({"boleto-exemplo", arquivo}, saida, erros), 0) << erros;
  EXPECT_EQ(saida, "Boleto de exemplo gravado em " + arquivo + " (modelo " + std::string(QUORVIN_PROD_DIR) +
                       "/Boleta237.rtm, 1 página).\n");
  EXPECT_EQ(Saida("head -c 5 '" + arquivo + "'"), "%PDF-");
  EXPECT_EQ(executar({"boleto-exemplo"}, saida, erros), 2);
  EXPECT_EQ(erros, "quorvin-fin: Exception: uso: quorvin-fin boleto-exemplo ARQUIVO.pdf\n");
  DefinirDiretorios(FPasta.string(), spool);
  EXPECT_EQ(executar({"boleto-exemplo", arquivo}, saida, erros), 2);
  EXPECT_EQ(erros, "quorvin-fin: EModeloInvalido: Modelo de relatório \"Boleta237.rtm\" não encontrado em: " +
                       FPasta.string() + "/.\n");
  DefinirDiretorios(prod, spool);
}

}  // namespace
