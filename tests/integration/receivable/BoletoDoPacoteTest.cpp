#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BoletoExemplo.h"
#include "oradb/TOraQuery.h"
#include "report/Boletos.h"
#include "report/TRelatorio.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/RFin_ValidarLinhaDigitavel.h"
#include "sdk/fin/TFin_GerarBoletos.h"
#include "support/TestHost.h"

// What the bank data package writes is what a payer pays with: each title's typeable line and
// barcode are accepted by the payable side's slip check for the title's own value and due date, and
// the slip printed with them scans back to the stored barcode.
namespace {

namespace fs = std::filesystem;

struct TituloGerado {
  std::string Prest;
  std::string CodBarra;
  std::string LinhaDig;
  double Valor;
  TDateTime Vencimento;
};

std::string Saida(const std::string& comando) {
  std::string saida;
  if (FILE* tubo = ::popen((comando + " 2>/dev/null").c_str(), "r")) {
    std::array<char, 512> bloco{};
    while (std::fgets(bloco.data(), bloco.size(), tubo) != nullptr) saida += bloco.data();
    ::pclose(tubo);
  }
  return saida;
}

class BoletoDoPacote : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    // One bank per layout: Bradesco (237), Itaú under an internal number (6111), and a 7-digit
    // agreement of bank 001.
    Exec(
        "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, NUMCONVENIO, CODCOMPENSACAO) "
        "SELECT 9811, 'B237', 237, '1172-0', '0403005-2', '09', NULL, '237' FROM DUAL UNION ALL "
        "SELECT 9812, 'B341', 6111, '0057', '12345-7', '109', NULL, '341' FROM DUAL UNION ALL "
        "SELECT 9813, 'B001', 1, '1234-5', '12345-6', '17', '7654321', '001' FROM DUAL");
    Exec("INSERT INTO ZTCLIENT (CODCLI, CLIENTE, ISENTOTXBOLETO) VALUES (98101, 'PAGADOR', 'S')");
    Exec("INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BP01', 'S', 9811)");
    Exec("INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BP02', 'S', 9812)");
    Exec("INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BP03', 'S', 9813)");
  }

  // A sale whose instalments fall on each side of the due-date factor's 2025 restart, with values
  // that a float truncation would get wrong.
  std::vector<TituloGerado> Gerar() {
    const char* titulos[][4] = {{"1", "BP01", "2025-02-21", "19.99"},
                                {"2", "BP01", "2025-02-22", "0.29"},
                                {"3", "BP02", "2026-12-30", "1234.56"},
                                {"4", "BP03", "2027-06-01", "99999999.99"}};
    for (const auto& titulo : titulos) {
      Exec(
          std::string("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, DTVENC, VALOR) ") +
          "VALUES (981001, '" + titulo[0] + "', 981001, '1', 98101, '" + titulo[1] + "', TO_DATE('" + titulo[2] +
          "', 'YYYY-MM-DD'), " + titulo[3] + ")");
    }
    TFin_GerarBoletos boleto;
    boleto.NUMTRANSVENDA = 981001;
    boleto.getParametros().gerarDadosBancarios(true);
    EXPECT_TRUE(
        dynamic_cast<IFin_GeracaoDadosBancarios&>(*Financeiro().GetContasReceber()).GerarDadosBancarios(boleto));

    std::vector<TituloGerado> gerados;
    TOraQuery consulta(&Session());
    consulta.SQL.SetText(
        "SELECT PREST, CODBARRA, LINHADIG, VALOR, DTVENC FROM ZTPREST WHERE NUMTRANSVENDA = 981001 ORDER BY PREST");
    consulta.Open();
    for (; !consulta.Eof(); consulta.Next()) {
      gerados.push_back({consulta.FieldByName("PREST").AsString(), consulta.FieldByName("CODBARRA").AsString(),
                         consulta.FieldByName("LINHADIG").AsString(), consulta.FieldByName("VALOR").AsFloat(),
                         consulta.FieldByName("DTVENC").AsDateTime()});
    }
    return gerados;
  }

  bool Conferir(const TituloGerado& titulo, int formato, RFin_ValidarLinhaDigitavel& registro) {
    registro.Inicializar();
    registro.TIPODOCUMENTO = 0;
    registro.FORMATO = formato;
    registro.CODIGO = formato == 0 ? titulo.CodBarra : titulo.LinhaDig;
    registro.VALOR = titulo.Valor;
    registro.DTVENC = titulo.Vencimento;
    return Financeiro().GetContasPagar()->ValidarLinhaDigitavel(registro);
  }
};

TEST_F(BoletoDoPacote, EveryGeneratedSlipIsAcceptedByTheSlipCheckAndScansBack) {
  const std::vector<TituloGerado> gerados = Gerar();
  ASSERT_EQ(gerados.size(), 4u);
  for (const TituloGerado& titulo : gerados) {
    SCOPED_TRACE("instalment " + titulo.Prest);
    ASSERT_EQ(titulo.CodBarra.size(), 44u);
    for (int formato : {0, 1}) {
      RFin_ValidarLinhaDigitavel registro;
      EXPECT_TRUE(Conferir(titulo, formato, registro)) << "format " << formato << ": " << registro.MENSAGEM;
      EXPECT_EQ(registro.CODIGOBARRAS, titulo.CodBarra) << "format " << formato;
    }
    // The same slip for one cent more is not this title's.
    TituloGerado outro = titulo;
    outro.Valor += 0.01;
    RFin_ValidarLinhaDigitavel registro;
    EXPECT_FALSE(Conferir(outro, 1, registro));
  }

  for (const char* ferramenta : {"pdftoppm", "zbarimg"}) {
    if (Saida(std::string("command -v ") + ferramenta).empty()) GTEST_SKIP() << ferramenta << " is not installed";
  }
  // The sample slip's pipelines carrying the package's codes, printed with the installed template.
  cli::TBoletoExemplo dados(static_cast<int>(gerados.size()));
  std::size_t indice = 0;
  for (dados.Boleta.First(); !dados.Boleta.Eof(); dados.Boleta.Next(), ++indice) {
    dados.Boleta.Edit();
    dados.Boleta.FieldByName("CODBARRA").SetAsString(gerados[indice].CodBarra);
    dados.Boleta.FieldByName("LINHADIG").SetAsString(gerados[indice].LinhaDig);
    dados.Boleta.Post();
  }
  std::string pasta = (fs::temp_directory_path() / "quorvin-boleto-pacote-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pasta.data()), nullptr);
  report::TRelatorio relatorio(
      report::CarregarModeloBoleto(report::LocalizarModelo("Boleta237.rtm", {QUORVIN_PROD_DIR})));
  dados.Ligar(relatorio);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
  relatorio.Impressao().ArquivoPDF = pasta + "/boletos.pdf";
  relatorio.Imprimir();
  for (std::size_t pagina = 1; pagina <= gerados.size(); ++pagina) {
    const std::string numero = std::to_string(pagina);
    const std::string png = pasta + "/pagina-" + numero;
    Saida("pdftoppm -r 300 -gray -png -singlefile -f " + numero + " -l " + numero + " '" + pasta + "/boletos.pdf' '" +
          png + "'");
    EXPECT_EQ(Saida("zbarimg --quiet --raw -Sdisable -Si25.enable '" + png + ".png'"),
              gerados[pagina - 1].CodBarra + "\n")
        << "page " << pagina;
  }
  fs::remove_all(pasta);
}

}  // namespace
