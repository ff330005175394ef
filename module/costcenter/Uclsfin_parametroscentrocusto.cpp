#include "costcenter/Uclsfin_parametroscentrocusto.h"

#include <array>
#include <charconv>
#include <cmath>

#include "rtl/Formatacao.h"

namespace {

// The fields of the apportionment rows, in the order they are defined.
constexpr std::array<TCampoRateio, 17> kCamposRateio = {{
    {"CODFILIAL", TFieldType::ftString, 2},
    {"RECNUMPRINC", TFieldType::ftFloat, 0},
    {"CODCONTA", TFieldType::ftFloat, 0},
    {"VALOR", TFieldType::ftFloat, 0},
    {"PERCRATEIO", TFieldType::ftFloat, 0},
    {"DTLANC", TFieldType::ftDateTime, 0},
    {"DESCCENTROCUSTO", TFieldType::ftString, 80},
    {"CODIGOCENTROCUSTO", TFieldType::ftString, 40},
    {"CONTRAPARTIDA", TFieldType::ftString, 1},
    {"ROWID", TFieldType::ftString, 50},
    {"NATUREZA", TFieldType::ftString, 1},
    {"RECNUM", TFieldType::ftFloat, 0},
    {"NUMTRANSLANCTO", TFieldType::ftFloat, 0},
    {"ANO", TFieldType::ftFloat, 0},
    {"MES", TFieldType::ftFloat, 0},
    {"CCTEMPERMISSAO_ZTLIB", TFieldType::ftString, 1},
    {"ORCAMENTOEXCEDIDO", TFieldType::ftString, 1},
}};

}  // namespace

TParametrosCentroCusto::TParametrosCentroCusto() : TParametrosRateio(kCamposRateio) {}
TParametrosCentroCusto::~TParametrosCentroCusto() = default;

void TParametrosCentroCusto::CriarCdsRateios(TClientDataSet& dataset) {
  DefinirCamposRateio(dataset, kCamposRateio);
}

TClientDataSet& TParametrosCentroCusto::cdsRateiosAReplicar() {
  if (FCdsRateiosAReplicar == nullptr) {
    if (!FCdsRateiosAReplicarProprio) {
      FCdsRateiosAReplicarProprio = std::make_unique<TClientDataSet>();
      CriarCdsRateios(*FCdsRateiosAReplicarProprio);
    }
    FCdsRateiosAReplicar = FCdsRateiosAReplicarProprio.get();
  }
  return *FCdsRateiosAReplicar;
}

void TParametrosCentroCusto::SetcdsRateiosAReplicar(TClientDataSet* dataset) {
  FCdsRateiosAReplicar = dataset;
}

void TParametrosCentroCusto::DefinirTipoLancamento(TTipoLancamento tipo) noexcept {
  LanctoFinanceiro = tipo == tlFinanceiro;
  LanctoContabil = tipo == tlContabil;
  LanctoOrcamento = tipo == tlOrcamento;
}

void TParametrosCentroCusto::SetaProviderFlags() {
  FProviderFlags.clear();
  const TProviderFlags usado{true, true};
  for (const TCampoRateio& campo : kCamposRateio) FProviderFlags[campo.Nome] = TProviderFlags{};
  for (const char* campo : {"CODFILIAL", "VALOR", "PERCRATEIO", "CODIGOCENTROCUSTO"}) FProviderFlags[campo] = usado;
  if (LanctoFinanceiro) {
    for (const char* campo : {"CODCONTA", "RECNUM", "DTLANC", "CONTRAPARTIDA", "RECNUMPRINC"}) {
      FProviderFlags[campo] = usado;
    }
  }
  if (LanctoContabil) {
    for (const char* campo : {"NUMTRANSLANCTO", "NATUREZA"}) FProviderFlags[campo] = usado;
  }
  if (LanctoOrcamento) {
    for (const char* campo : {"CODCONTA", "ANO", "MES"}) FProviderFlags[campo] = usado;
  }
}

TProviderFlags TParametrosCentroCusto::ProviderFlags(const std::string& field) const {
  const auto found = FProviderFlags.find(UpperAscii(field));
  return found == FProviderFlags.end() ? TProviderFlags{} : found->second;
}

double TextoParaNumero(const std::string& texto) {
  const std::string limpo = Trim(texto);
  if (limpo.empty()) return 0;
  const char* inicio = limpo.data();
  if (*inicio == '+') ++inicio;
  double valor = 0;
  const auto result = std::from_chars(inicio, limpo.data() + limpo.size(), valor);
  if (result.ec != std::errc() || result.ptr != limpo.data() + limpo.size() || !std::isfinite(valor)) return 0;
  return valor;
}
