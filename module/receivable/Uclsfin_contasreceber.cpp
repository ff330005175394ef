#include "receivable/Uclsfin_contasreceber.h"

#include <algorithm>
#include <array>
#include <exception>
#include <map>

#include "frame/Uclsfin_except.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Formatacao.h"

namespace {

constexpr std::array<double, 12> kBancosComDadosBancarios{1, 33, 41, 104, 237, 341, 399, 422, 748, 756, 6111, 6375};

}  // namespace

bool BancoDisponivelParaGerarDadosBancarios(double NUMBANCO) {
  return std::find(kBancosComDadosBancarios.begin(), kBancosComDadosBancarios.end(), NUMBANCO) !=
         kBancosComDadosBancarios.end();
}

TContasReceber::TContasReceber(TComponent* owner) : TBaseSubModulo(owner) {}

TContasReceber::~TContasReceber() = default;

TDALContasReceber& TContasReceber::GetDALContasReceber() {
  if (fDALContasReceber == nullptr) fDALContasReceber = new TDALContasReceber(Owner());
  return *fDALContasReceber;
}

std::vector<TTituloDadosBancarios> TContasReceber::LocalizarTitulos(const TFin_GerarBoletos& Boleto) {
  TDALContasReceber& dal = GetDALContasReceber();
  std::vector<TTituloDadosBancarios> titulos = Trim(Boleto.PREST).empty()
                                                   ? dal.LocalizarTituloSomenteNUMTRANSVENDA(Boleto.NUMTRANSVENDA)
                                                   : dal.LocalizarTitulo(Boleto.NUMTRANSVENDA, Trim(Boleto.PREST));
  if (titulos.empty()) throw ExRegistroContasReceberNaoEncontrado();
  return titulos;
}

double TContasReceber::BancoDaCobranca(const std::string& CODCOB) {
  const double codigo = GetDALContasReceber().RetornarBancoCobranca(CODCOB);
  if (codigo == 0) throw ExCodigoBancoNaoInformado522();
  return codigo;
}

// Every check and every lock comes before the first title is written: the banks of all titles are
// known, available and locked first, so a refusal leaves nothing half-generated.
bool TContasReceber::GerarDadosBancarios(TFin_GerarBoletos& Boleto) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  if (Boleto.NUMTRANSVENDA <= 0) throw Exception("Informe a transação de venda (NUMTRANSVENDA) do título.");

  const std::vector<TTituloDadosBancarios> titulos = LocalizarTitulos(Boleto);
  TDALContasReceber& dal = GetDALContasReceber();

  // The request's bank, or the bank of each title's charge, looked up again when the charge changes.
  std::vector<double> bancoDoTitulo;
  std::map<double, TBancoDadosBancarios> bancos;
  std::string cobrancaAnterior;
  double banco = Boleto.CODBANCO;
  for (std::size_t i = 0; i < titulos.size(); ++i) {
    if (Boleto.CODBANCO == 0 && (i == 0 || titulos[i].CODCOB != cobrancaAnterior)) {
      banco = BancoDaCobranca(titulos[i].CODCOB);
    }
    cobrancaAnterior = titulos[i].CODCOB;
    if (bancos.find(banco) == bancos.end()) {
      TBancoDadosBancarios dados;
      if (!dal.BuscarInformacoesBanco(banco, dados)) {
        throw Exception("Não foi encontrado o banco " + ShortestDecimal(banco) + " (ZTBANCO).");
      }
      if (!BancoDisponivelParaGerarDadosBancarios(dados.NUMBANCO)) {
        throw ExBancoNaoDisponivelParaGerarDadosBancarios(ShortestDecimal(dados.NUMBANCO));
      }
      bancos.emplace(banco, dados);
    }
    bancoDoTitulo.push_back(banco);
  }

  std::vector<double> codigos;
  for (const auto& [codigo, dados] : bancos) codigos.push_back(codigo);
  const bool bloqueado = codigos.size() == 1 ? dal.BloquearRegistroBancarioNoBancoDeDados(codigos.front())
                                             : dal.BloquearRegistroBancarioNoBancoDeDados(codigos);
  if (!bloqueado) throw ExNaoFoiPossivelBloqueiRegistroBancario();

  const TFin_ParamentrosGerarBoleto& opcoes = Boleto.getParametros();
  for (std::size_t i = 0; i < titulos.size(); ++i) {
    const TTituloDadosBancarios& titulo = titulos[i];
    TParametrosGerarDadosBancarios parametros;
    parametros.CODFILIAL = titulo.CODFILIAL;
    parametros.CODCOB = titulo.CODCOB;
    parametros.CODBANCO = bancoDoTitulo[i];
    parametros.NUMTRANSVENDA = titulo.NUMTRANSVENDA;
    parametros.NUMDIASPROTESTO = bancos.at(bancoDoTitulo[i]).NUMDIASPROTESTO;
    parametros.PREST = titulo.PREST;
    parametros.FilialVirtual = opcoes.filialVirtual();
    parametros.UtilizaValorBruto = opcoes.geraLinhaDigitavelValorBruto();
    parametros.PrimeiraImpressao = true;
    try {
      dal.GerarDadosBancarios(parametros);
    } catch (const std::exception& falha) {
      const auto* conhecida = dynamic_cast<const Exception*>(&falha);
      const std::string mensagem = conhecida != nullptr ? conhecida->Message() : falha.what();
      std::throw_with_nested(Exception(mensagem + "\rCobrança: " + titulo.CODCOB));
    }
  }
  return true;
}
