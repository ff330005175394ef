#include "BoletoExemplo.h"

#include <chrono>
#include <ostream>

#include "febraban/Boleto.h"
#include "report/Boletos.h"
#include "report/TRelatorio.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/ZTCore.h"

namespace cli {

namespace {

using namespace std::chrono;

constexpr int kNumBanco = 237;
constexpr year_month_day kVencimento{year{2026}, December, day{30}};

void Linha(TClientDataSet& dados, const std::vector<std::pair<const char*, std::string>>& valores) {
  dados.Append();
  for (const auto& [campo, valor] : valores) dados.FieldByName(campo).SetAsString(valor);
  dados.Post();
}

void Definir(TClientDataSet& dados, const std::vector<std::pair<const char*, TFieldType>>& campos) {
  for (const auto& [campo, tipo] : campos) dados.AddFieldDef(campo, tipo, 0);
  dados.CreateDataSet();
}

// Free field of the sample: agency 1234, wallet 09, bank number of 11 digits, account 0012345, 0.
std::string CampoLivre(int titulo) {
  return "1234"
         "09" +
         ZeroPad(20260000 + titulo, 11) +
         "0012345"
         "0";
}

}  // namespace

TBoletoExemplo::TBoletoExemplo(int titulos) {
  Definir(Boleta, {{"NUMTRANSVENDA", TFieldType::ftFloat},
                   {"PREST", TFieldType::ftString},
                   {"DUPLIC", TFieldType::ftFloat},
                   {"MDUPLICPREST", TFieldType::ftString},
                   {"DTEMISSAO", TFieldType::ftDate},
                   {"DTVENC", TFieldType::ftDate},
                   {"VALOR", TFieldType::ftFloat},
                   {"VALORDESC", TFieldType::ftFloat},
                   {"DTDESCONTO", TFieldType::ftDate},
                   {"CALCJUROSDIARIO", TFieldType::ftFloat},
                   {"NOSSONUMBCO", TFieldType::ftString},
                   {"CODBARRA", TFieldType::ftString},
                   {"LINHADIG", TFieldType::ftString},
                   {"OBSNFCOBRANCA", TFieldType::ftString},
                   {"CLIENTE", TFieldType::ftString},
                   {"CNPJCPFCLIENTE", TFieldType::ftString},
                   {"ENDERECOCOBRANCA", TFieldType::ftString},
                   {"BAIRROCOBRANCA", TFieldType::ftString},
                   {"CIDADECOBRANCA", TFieldType::ftString},
                   {"UFCOBRANCA", TFieldType::ftString},
                   {"CEPCOBRANCA", TFieldType::ftString}});
  for (int titulo = 1; titulo <= titulos; ++titulo) {
    const double valor = 1234.56 + (titulo - 1) * 0.01;
    const febraban::PartesBoleto partes = febraban::NovoBoleto(kNumBanco, kVencimento, valor, CampoLivre(titulo));
    const std::string duplic = std::to_string(40000 + titulo);
    Linha(Boleta, {{"NUMTRANSVENDA", std::to_string(900000 + titulo)},
                   {"PREST", "1"},
                   {"DUPLIC", duplic},
                   {"MDUPLICPREST", "1" + ZeroPad(40000 + titulo, 7) + "1"},
                   {"DTEMISSAO", "2026-12-01"},
                   {"DTVENC", "2026-12-30"},
                   {"VALOR", ShortestDecimal(valor)},
                   {"VALORDESC", "12.35"},
                   {"DTDESCONTO", "2026-12-20"},
                   {"CALCJUROSDIARIO", "0.82"},
                   {"NOSSONUMBCO", "09/" + ZeroPad(20260000 + titulo, 11) + "-P"},
                   {"CODBARRA", febraban::CodigoBarrasBoleto(partes)},
                   {"LINHADIG", febraban::LinhaDigitavelBoleto(partes)},
                   {"OBSNFCOBRANCA", "Referente à nota fiscal " + duplic +
                                         ". Em caso de dúvida, fale com o nosso financeiro: (11) 4000-1234."},
                   {"CLIENTE", "MERCADO MODELO DO BAIRRO LTDA"},
                   {"CNPJCPFCLIENTE", "12345678000195"},
                   {"ENDERECOCOBRANCA", "RUA DAS ACÁCIAS, 250, SALA 3"},
                   {"BAIRROCOBRANCA", "JARDIM DAS FLORES"},
                   {"CIDADECOBRANCA", "SÃO PAULO"},
                   {"UFCOBRANCA", "SP"},
                   {"CEPCOBRANCA", "04567000"}});
  }
  Boleta.First();
  const std::vector<std::pair<const char*, TFieldType>> banco = {
      {"CODBANCO", TFieldType::ftFloat},        {"NOME", TFieldType::ftString},
      {"NUMBANCO", TFieldType::ftFloat},        {"AGENCIA", TFieldType::ftString},
      {"CONTA", TFieldType::ftString},          {"NUMCARTEIRA", TFieldType::ftString},
      {"CODCEDENTE", TFieldType::ftString},     {"NOMERTM", TFieldType::ftString},
      {"NUMDIASPROTESTO", TFieldType::ftFloat}, {"CODCOMPENSACAO", TFieldType::ftString}};
  const std::vector<std::pair<const char*, std::string>> linha_banco = {
      {"CODBANCO", "12"},          {"NOME", "BANCO EXEMPLO"}, {"NUMBANCO", std::to_string(kNumBanco)},
      {"AGENCIA", "1234-5"},       {"CONTA", "0012345-6"},    {"NUMCARTEIRA", "09"},
      {"CODCEDENTE", "0012345-6"}, {"NUMDIASPROTESTO", "5"},  {"CODCOMPENSACAO", "237"}};
  for (TClientDataSet* dados : {&Banco, &BancoAuxPorCod}) {
    Definir(*dados, banco);
    Linha(*dados, linha_banco);
  }
  for (TClientDataSet* dados : {&Data, &Data1}) {
    Definir(*dados, {{"DATA", TFieldType::ftDate}, {"HORA", TFieldType::ftString}});
    Linha(*dados, {{"DATA", "2026-12-07"}, {"HORA", "14:30"}});
  }
  Definir(Filial, {{"CODIGO", TFieldType::ftString},
                   {"RAZAOSOCIAL", TFieldType::ftString},
                   {"CGC", TFieldType::ftString},
                   {"ENDERECO", TFieldType::ftString},
                   {"BAIRRO", TFieldType::ftString},
                   {"CIDADE", TFieldType::ftString},
                   {"UF", TFieldType::ftString},
                   {"CEP", TFieldType::ftString}});
  Linha(Filial, {{"CODIGO", "1"},
                 {"RAZAOSOCIAL", "DISTRIBUIDORA EXEMPLO DE ALIMENTOS LTDA"},
                 {"CGC", "11222333000181"},
                 {"ENDERECO", "AV. INDUSTRIAL, 1000"},
                 {"BAIRRO", "DISTRITO INDUSTRIAL"},
                 {"CIDADE", "CAMPINAS"},
                 {"UF", "SP"},
                 {"CEP", "13050000"}});
}

void TBoletoExemplo::Ligar(report::TRelatorio& relatorio) {
  relatorio.DefinirPipeline(report::kPipelineBoleta, Boleta);
  relatorio.DefinirPipeline(report::kPipelineBanco, Banco);
  relatorio.DefinirPipeline(report::kPipelineBancoAuxPorCod, BancoAuxPorCod);
  relatorio.DefinirPipeline(report::kPipelineData, Data);
  relatorio.DefinirPipeline(report::kPipelineData1, Data1);
  relatorio.DefinirPipeline(report::kPipelineFilial, Filial);
}

std::vector<std::string> TBoletoExemplo::CodigosBarras() {
  std::vector<std::string> codigos;
  for (Boleta.First(); !Boleta.Eof(); Boleta.Next()) codigos.push_back(Boleta.FieldByName("CODBARRA").AsString());
  Boleta.First();
  return codigos;
}

int CommandBoletoExemplo(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 1 || args[0].empty() || args[0].front() == '-') {
    throw Exception("uso: quorvin-fin boleto-exemplo ARQUIVO.pdf");
  }
  const std::string nome = report::NomeModeloBoleto("", kNumBanco);
  const auto caminho = report::LocalizarModelo(nome, {DiretorioProd(-1)});
  report::TRelatorio relatorio(report::CarregarModeloBoleto(caminho));
  TBoletoExemplo exemplo;
  exemplo.Ligar(relatorio);
  relatorio.Impressao().Dispositivo = report::TDispositivo::dvPDF;
  relatorio.Impressao().ArquivoPDF = args[0];
  relatorio.Impressao().Autor = report::kAutorPdfBoleto;
  relatorio.Impressao().Assunto = report::AssuntoPdfBoleto(0);
  relatorio.Imprimir();
  out << "Boleto de exemplo gravado em " << args[0] << " (modelo " << caminho.string() << ", " << relatorio.Paginas()
      << " página).\n";
  return 0;
}

}  // namespace cli
