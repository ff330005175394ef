#include <gtest/gtest.h>

#include <string>

#include "report/Boletos.h"
#include "report/ERelatorio.h"
#include "report/TModeloRelatorio.h"
#include "support/Failure.h"

namespace {

using report::LerModelo;
using report::LerModeloBoleto;

// A template of one detail band holding `elementos` (JSON of the list's items).
std::string Modelo(const std::string& elementos, const std::string& extra = "") {
  return R"({"formato": "quorvin-relatorio/1", "pipelinePrincipal": "BDEBoleta", )" + extra +
         R"("bandas": [{"tipo": "detalhe", "altura": 100, "elementos": [)" + elementos + "]}]}";
}

struct CasoModelo {
  const char* Nome;
  std::string Texto;
  const char* Falha;
};

TEST(ModeloRelatorio, EachMalformedTemplateIsRefusedWithWhereAndWhy) {
  const CasoModelo casos[] = {
      {"not JSON", "{\"formato\": ",
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: o texto não é JSON válido (byte 13)."},
      {"not an object", "[1, 2]", "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: : esperado um objeto."},
      {"other format", R"({"formato": "rtm-binario", "pipelinePrincipal": "X", "bandas": []})",
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: formato: esperado \"quorvin-relatorio/1\", recebido "
       "\"rtm-binario\"."},
      {"no bands", R"({"formato": "quorvin-relatorio/1", "pipelinePrincipal": "BDEBoleta"})",
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas: propriedade obrigatória ausente."},
      {"two detail bands",
       R"({"formato": "quorvin-relatorio/1", "pipelinePrincipal": "BDEBoleta", "bandas": [{"tipo": "detalhe", "altura": 10, "elementos": []}, {"tipo": "detalhe", "altura": 10, "elementos": []}]})",
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas: o modelo precisa de exatamente uma banda "
       "\"detalhe\"."},
      {"misspelt property", Modelo(R"({"tipo": "caixa", "x": 0, "y": 0, "largura": 10, "altura": 5, "espesura": 1})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].espesura: propriedade "
       "desconhecida."},
      {"text where a number goes", Modelo(R"({"tipo": "caixa", "x": "0", "y": 0, "largura": 10, "altura": 5})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].x: esperado um número."},
      {"unknown element", Modelo(R"({"tipo": "imagem"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].tipo: tipo de elemento "
       "desconhecido \"imagem\" (texto, campo, linha, caixa ou codigoBarras)."},
      {"unknown format",
       Modelo(R"({"tipo": "campo", "x": 0, "y": 0, "largura": 10, "altura": 5, "campo": "BDEBoleta.VALOR:moeda"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].campo: formato desconhecido "
       "\"moeda\"."},
      {"field without pipeline",
       Modelo(R"({"tipo": "campo", "x": 0, "y": 0, "largura": 10, "altura": 5, "campo": "VALOR"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].campo: referência de campo "
       "\"VALOR\" fora da forma PIPELINE.CAMPO[:formato]."},
      {"unclosed placeholder",
       Modelo(R"({"tipo": "texto", "x": 0, "y": 0, "largura": 10, "altura": 5, "texto": "R$ {BDEBoleta.VALOR"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].texto: \"{\" sem o \"}\" que "
       "fecha o campo."},
      {"element below its band", Modelo(R"({"tipo": "caixa", "x": 0, "y": 98, "largura": 10, "altura": 5})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0]: passa da altura da banda (100 "
       "mm)."},
      {"barcode wider than the page",
       Modelo(R"({"tipo": "codigoBarras", "x": 100, "y": 0, "campo": "BDEBoleta.CODBARRA"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0]: passa da largura útil da "
       "página (190 mm)."},
      {"barcode module out of range",
       Modelo(R"({"tipo": "codigoBarras", "x": 0, "y": 0, "larguraModulo": 0.1, "campo": "BDEBoleta.CODBARRA"})"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: bandas[0].elementos[0].larguraModulo: esperado um "
       "número entre 0.19 e 0.5, recebido 0.1."},
      {"other paper", Modelo("", R"("pagina": {"papel": "Carta"}, )"),
       "EModeloInvalido: Modelo de relatório \"B.rtm\" inválido: pagina.papel: só o papel \"A4\" é suportado."},
  };
  for (const CasoModelo& caso : casos) {
    EXPECT_FAILS_WITH(LerModelo(caso.Texto, "B.rtm"), caso.Falha) << caso.Nome;
  }
}

TEST(ModeloRelatorio, TextsMixLiteralsFieldsAndEscapedBraces) {
  const auto modelo = LerModelo(
      Modelo(
          R"({"tipo": "texto", "x": 0, "y": 0, "largura": 10, "altura": 5, "texto": "{{R$}} {BDEBoleta.valor:valor} até {BDEBoleta.DTVENC:data}"})"),
      "B.rtm");
  const auto campos = modelo.Campos();
  ASSERT_EQ(campos.size(), 2U);
  EXPECT_EQ(campos[0].Campo, "VALOR");  // field names are matched in upper case
  EXPECT_EQ(campos[0].Formato, report::TFormato::fmValor);
  EXPECT_EQ(campos[1].Formato, report::TFormato::fmData);
  const auto& texto = std::get<report::TElementoTexto>(modelo.Bandas[0].Elementos[0]).Texto;
  EXPECT_EQ(texto.Partes.front().Literal, "{R$} ");
  EXPECT_EQ(texto.Partes[2].Literal, " até ");
}

TEST(ModeloBoleto, PipelinesAreTheSixOfASlip) {
  EXPECT_FAILS_WITH(
      LerModeloBoleto(
          Modelo(R"({"tipo": "campo", "x": 0, "y": 0, "largura": 10, "altura": 5, "campo": "BDECliente.NOME"})"),
          "Boleta1.rtm"),
      "EModeloInvalido: Modelo de boleto \"Boleta1.rtm\" inválido: o pipeline \"BDECliente\" não existe; use "
      "BDEBoleta, "
      "BDEZTBANCO, BDEZTBANCO_AUXPorCod, BDEDATA, BDEDATA1 ou BDEdsFILIAL.");
  EXPECT_FAILS_WITH(
      LerModeloBoleto(
          R"({"formato": "quorvin-relatorio/1", "pipelinePrincipal": "BDEZTBANCO", "bandas": [{"tipo": "detalhe", "altura": 10, "elementos": []}]})",
          "Boleta1.rtm"),
      "EModeloInvalido: Modelo de boleto \"Boleta1.rtm\" inválido: o pipeline principal deve ser "
      "\"BDEBoleta\", e não \"BDEZTBANCO\".");
}

TEST(ModeloBoleto, TheShippedLayoutReads) {
  const auto modelo = report::CarregarModeloBoleto(QUORVIN_SOURCE_DIR "/platform/report/templates/BoletoPadrao.rtm");
  EXPECT_EQ(modelo.Nome, "BoletoPadrao.rtm");
  EXPECT_EQ(modelo.Titulo, "Boleto bancário");
  // BDEZTBANCO_AUXPorCod and BDEDATA1 are bound for the bank layouts that read them; this one does not.
  EXPECT_EQ(modelo.Pipelines(), (std::vector<std::string>{"BDEBoleta", "BDEZTBANCO", "BDEdsFILIAL", "BDEDATA"}));
}

TEST(ModeloBoleto, TemplateNameComesFromTheBankAndStaysInsideTheFolders) {
  EXPECT_EQ(report::NomeModeloBoleto("  BoletaItau.rtm ", 341), "BoletaItau.rtm");
  EXPECT_EQ(report::NomeModeloBoleto("", 237), "Boleta237.rtm");
  EXPECT_EQ(report::NomeModeloBoleto("   ", 6375), "Boleta6375.rtm");
  EXPECT_EQ(report::NomeModeloBoleto("C:\\Quorvin\\Boletos\\Boleta1.rtm", 1), "Boleta1.rtm");
  EXPECT_EQ(report::NomeModeloBoleto("../../etc/passwd", 1), "passwd");
  EXPECT_FAILS_WITH(report::LocalizarModelo("Boleta999.rtm", {"/nao/existe/", "/tmp/"}),
                    "EModeloInvalido: Modelo de relatório \"Boleta999.rtm\" não encontrado em: /nao/existe/, /tmp/.");
  EXPECT_FAILS_WITH(report::LocalizarModelo("..", {"/tmp/"}),
                    "EModeloInvalido: Modelo de relatório \"..\" não encontrado.");
  EXPECT_EQ(
      report::LocalizarModelo("BoletoPadrao.rtm", {"/nao/existe", QUORVIN_SOURCE_DIR "/platform/report/templates"})
          .filename(),
      "BoletoPadrao.rtm");
}

}  // namespace
