#include <string>
#include <vector>

#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "sdk/fin/TFin_GerarBoletos.h"

namespace cli {

namespace {

// A slip request: the title, where its slips go and the options of the run.
struct BoletoArgs {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  double CODBANCO = 0;
  std::string Impressora;
  std::string PastaPDF;
  std::string VisualizarPDF;
  bool GerarDadosBancarios = false;
  bool GerarBoletos = false;
  bool ValidarPermissaoParaGerarDadosBancarios = false;
  double CodigoRotina = 0;
  double NumeroPermissao = 0;
  double MatriculaUsuario = 0;
  bool FilialVirtual = false;
  bool GeraLinhaDigitavelValorBruto = false;
  bool VerificarCobrancaBoleto = false;
};

const FieldDef<BoletoArgs> kBoletoArgs[] = {
    fields::Whole("NUMTRANSVENDA", &BoletoArgs::NUMTRANSVENDA, true),
    fields::Text("PREST", &BoletoArgs::PREST, 2),
    fields::Whole("CODBANCO", &BoletoArgs::CODBANCO),
    fields::Text("Impressora", &BoletoArgs::Impressora, 127),
    fields::Text("PastaPDF", &BoletoArgs::PastaPDF, 200),
    fields::Text("VisualizarPDF", &BoletoArgs::VisualizarPDF, 1),
    fields::Flag("GerarDadosBancarios", &BoletoArgs::GerarDadosBancarios),
    fields::Flag("GerarBoletos", &BoletoArgs::GerarBoletos),
    fields::Flag("ValidarPermissaoParaGerarDadosBancarios", &BoletoArgs::ValidarPermissaoParaGerarDadosBancarios),
    fields::Whole("CodigoRotina", &BoletoArgs::CodigoRotina),
    fields::Whole("NumeroPermissao", &BoletoArgs::NumeroPermissao),
    fields::Whole("MatriculaUsuario", &BoletoArgs::MatriculaUsuario),
    fields::Flag("FilialVirtual", &BoletoArgs::FilialVirtual),
    fields::Flag("GeraLinhaDigitavelValorBruto", &BoletoArgs::GeraLinhaDigitavelValorBruto),
    fields::Flag("VerificarCobrancaBoleto", &BoletoArgs::VerificarCobrancaBoleto),
};

// The batch: the check of the charge once, and the requests.
struct LoteArgs {
  bool VerificarCobrancaBoleto = false;
};

const FieldDef<LoteArgs> kLoteArgs[] = {
    fields::Flag("VerificarCobrancaBoleto", &LoteArgs::VerificarCobrancaBoleto),
};

TFin_GerarBoletos Pedido(const BoletoArgs& args) {
  TFin_GerarBoletos boleto;
  boleto.NUMTRANSVENDA = args.NUMTRANSVENDA;
  boleto.PREST = args.PREST;
  boleto.CODBANCO = args.CODBANCO;
  boleto.Impressora = args.Impressora;
  boleto.PastaPDF = args.PastaPDF;
  boleto.VisualizarPDF = args.VisualizarPDF;
  TFin_ParamentrosGerarBoleto& parametros = boleto.getParametros();
  parametros.gerarDadosBancarios(args.GerarDadosBancarios);
  parametros.gerarBoletos(args.GerarBoletos);
  parametros.validarPermissaoParaGerarDadosBancarios(args.ValidarPermissaoParaGerarDadosBancarios);
  parametros.codigoRotina(args.CodigoRotina);
  parametros.numeroPermissao(args.NumeroPermissao);
  parametros.matriculaUsuario(args.MatriculaUsuario);
  parametros.filialVirtual(args.FilialVirtual);
  parametros.geraLinhaDigitavelValorBruto(args.GeraLinhaDigitavelValorBruto);
  return boleto;
}

void LerLote(const Json& request, LoteArgs& args, std::vector<TFin_GerarBoletos>& boletos) {
  Json entrada = request.contains("args") ? request["args"] : Json::object();
  if (!entrada.is_object()) throw UsageError("args: esperado objeto JSON, recebido " + JsonTypeName(entrada) + ".");
  const Json lista = entrada.contains("Boletos") ? entrada["Boletos"] : Json();
  entrada.erase("Boletos");
  ReadRecord(entrada, args, FieldTable<LoteArgs>(kLoteArgs), "args");
  if (!lista.is_array() || lista.empty()) throw UsageError("args.Boletos: esperada lista de pedidos de boleto.");
  for (std::size_t indice = 0; indice < lista.size(); ++indice) {
    BoletoArgs pedido;
    ReadRecord(lista[indice], pedido, FieldTable<BoletoArgs>(kBoletoArgs),
               "args.Boletos[" + std::to_string(indice) + "]");
    boletos.push_back(Pedido(pedido));
  }
}

}  // namespace

void RegisterBoletosOps(OperationRegistry& operations) {
  operations.AddArgs<BoletoArgs>("ContasReceber.EmitirBoletosBancarios", FieldTable<BoletoArgs>(kBoletoArgs),
                                 [](CallContext& context, BoletoArgs& args) {
                                   TFin_GerarBoletos boleto = Pedido(args);
                                   IFin_ContasReceber& area =
                                       RequireArea(context.Financeiro.GetContasReceber(), "ContasReceber");
                                   return Json(area.EmitirBoletosBancarios(boleto, args.VerificarCobrancaBoleto));
                                 });

  Json campos = DescribeTable(FieldTable<LoteArgs>(kLoteArgs));
  campos.push_back({{"name", "Boletos"},
                    {"type", "list"},
                    {"required", true},
                    {"fields", DescribeTable(FieldTable<BoletoArgs>(kBoletoArgs))}});
  operations.Add({"ContasReceber.EmitirBoletosBancariosLote", "args", campos,
                  [](const Json& request) {
                    LoteArgs args;
                    std::vector<TFin_GerarBoletos> boletos;
                    LerLote(request, args, boletos);
                  },
                  [](CallContext& context, const Json& request, Json& answer) {
                    LoteArgs args;
                    std::vector<TFin_GerarBoletos> boletos;
                    LerLote(request, args, boletos);
                    IFin_ContasReceber& area = RequireArea(context.Financeiro.GetContasReceber(), "ContasReceber");
                    answer["result"] = area.EmitirBoletosBancarios(boletos, args.VerificarCobrancaBoleto);
                  }});
}

}  // namespace cli
