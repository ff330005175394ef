#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "BoletoExemplo.h"
#include "oradb/TOraQuery.h"
#include "report/Boletos.h"
#include "report/TRelatorio.h"
#include "rtl/TDateTime.h"
#include "support/TestDatabase.h"

namespace {

// The slip's bank, date and branch pipelines as the printing reads them: open queries of the host's
// session, bound to the template next to the print data.
class BoletoConsultasTest : public testsupport::DatabaseTest {};

std::string TextoDoPdf(const std::string& pdf) {
  const std::string arquivo = (std::filesystem::temp_directory_path() / "quorvin-boleto-consultas.pdf").string();
  if (FILE* saida = std::fopen(arquivo.c_str(), "wb")) {
    std::fwrite(pdf.data(), 1, pdf.size(), saida);
    std::fclose(saida);
  }
  std::string texto;
  if (FILE* tubo = ::popen(("pdftotext '" + arquivo + "' - 2>/dev/null").c_str(), "r")) {
    std::array<char, 512> bloco{};
    while (std::fgets(bloco.data(), bloco.size(), tubo) != nullptr) texto += bloco.data();
    ::pclose(tubo);
  }
  std::filesystem::remove(arquivo);
  return texto;
}

TEST_F(BoletoConsultasTest, OpenQueriesServeAsPipelines) {
  Exec(
      "INSERT INTO ZTFILIAL (CODIGO, RAZAOSOCIAL, CGC, ENDERECO, BAIRRO, CIDADE, UF, CEP) VALUES "
      "('97', 'FILIAL DAS CONSULTAS S.A.', '11444777000161', 'RUA UM, 1', 'CENTRO', 'RECIFE', 'PE', '50000000');"
      "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, AGENCIA, NUMCARTEIRA, CODCEDENTE) VALUES "
      "(9797, 'BANCO DA CONSULTA', 237, '4321-0', '09', '7654321-0');");
  TOraQuery banco(&Session());
  banco.SQL.Add("SELECT CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, NUMCONVENIO, CODCEDENTE, NOMERTM,");
  banco.SQL.Add("       NVL(NUMDIASPROTESTO, 0) NUMDIASPROTESTO");
  banco.SQL.Add("  FROM ZTBANCO WHERE CODBANCO = :CODBANCO");
  banco.ParamByName("CODBANCO").SetAsFloat(9797);
  banco.Open();
  TOraQuery data(&Session());
  data.SQL.Add("SELECT TRUNC(SYSDATE) DATA, TO_CHAR(SYSDATE, 'hh24:mi') HORA FROM DUAL");
  data.Open();
  TOraQuery filial(&Session());
  filial.SQL.Add(
      "SELECT CODIGO, RAZAOSOCIAL, CGC, ENDERECO, BAIRRO, CIDADE, UF, CEP FROM ZTFILIAL WHERE 1 = 1 AND "
      "CODIGO = :CODIGO");
  filial.ParamByName("CODIGO").SetAsString("97");
  filial.Open();

  cli::TBoletoExemplo exemplo;
  // No NOMERTM: the bank prints with Boleta237.rtm of the installation folder.
  const auto modelo = report::LocalizarModelo(
      report::NomeModeloBoleto(banco.FieldByName("NOMERTM").AsString(), banco.FieldByName("NUMBANCO").AsFloat()),
      {"/nao/existe", QUORVIN_PROD_DIR});
  EXPECT_EQ(modelo.filename(), "Boleta237.rtm");
  report::TRelatorio relatorio(report::CarregarModeloBoleto(modelo));
  relatorio.DefinirPipeline(report::kPipelineBoleta, exemplo.Boleta);
  relatorio.DefinirPipeline(report::kPipelineBanco, banco);
  relatorio.DefinirPipeline(report::kPipelineBancoAuxPorCod, banco);
  relatorio.DefinirPipeline(report::kPipelineData, data);
  relatorio.DefinirPipeline(report::kPipelineData1, data);
  relatorio.DefinirPipeline(report::kPipelineFilial, filial);
  const std::string texto = TextoDoPdf(relatorio.GerarPDF());

  EXPECT_NE(texto.find("FILIAL DAS CONSULTAS S.A. - CNPJ 11.444.777/0001-61"), std::string::npos) << texto;
  EXPECT_NE(texto.find("BANCO DA CONSULTA"), std::string::npos);
  EXPECT_NE(texto.find("4321-0 / 7654321-0"), std::string::npos);
  // The processing date is the server's; no protest days configured, no protest line.
  EXPECT_NE(texto.find(data.FieldByName("DATA").AsDateTime().ToBrazilian()), std::string::npos);
  EXPECT_EQ(texto.find("protesto"), std::string::npos);
}

}  // namespace
