#include "accountsplit/Uclsfin_parametrosrateiocontas.h"

#include <array>

namespace {

struct TCampo {
  const char* Nome;
  TFieldType Tipo;
  int Tamanho;
};

constexpr int kDescricao = static_cast<int>(TParametrosRateioContas::kLarguraDescricao);

// The fields of the account rows, in the order they are defined.
constexpr std::array<TCampo, 18> kCamposContas = {{
    {"ROWID", TFieldType::ftString, 50},
    {"RECNUM", TFieldType::ftFloat, 0},
    {"CODCONTA", TFieldType::ftFloat, 0},
    {"VALOR", TFieldType::ftFloat, 0},
    {"PERCRATEIO", TFieldType::ftFloat, 0},
    {"DTLANC", TFieldType::ftDateTime, 0},
    {"CONTRAPARTIDA", TFieldType::ftString, 1},
    {"RECNUMPRINC", TFieldType::ftFloat, 0},
    {"CODFILIAL", TFieldType::ftString, 2},
    {"CODRATEIOCONTA", TFieldType::ftFloat, 0},
    {"CONTATEMPERMISSAO_ZTLIB", TFieldType::ftString, 1},
    {"GRUPOCONTA", TFieldType::ftFloat, 0},
    {"DESCRICAO_GRUPO", TFieldType::ftString, kDescricao},
    {"DESCRICAO_CONTA", TFieldType::ftString, kDescricao},
    {"USARATEIOCENTROCUSTO", TFieldType::ftString, 1},
    {"DESCONTOFIN", TFieldType::ftFloat, 0},
    {"TXPERM", TFieldType::ftFloat, 0},
    {"VALORDEVOL", TFieldType::ftFloat, 0},
}};

// The fields of the cost-center rows, in the order they are defined.
constexpr std::array<TCampo, 12> kCamposCentroCusto = {{
    {"ROWID", TFieldType::ftString, 50},
    {"RECNUM", TFieldType::ftFloat, 0},
    {"CODCONTA", TFieldType::ftFloat, 0},
    {"VALOR", TFieldType::ftFloat, 0},
    {"PERCRATEIO", TFieldType::ftFloat, 0},
    {"DTLANC", TFieldType::ftDateTime, 0},
    {"CONTRAPARTIDA", TFieldType::ftString, 1},
    {"RECNUMPRINC", TFieldType::ftFloat, 0},
    {"CODFILIAL", TFieldType::ftString, 2},
    {"CODIGOCENTROCUSTO", TFieldType::ftString, 40},
    {"CCTEMPERMISSAO_ZTLIB", TFieldType::ftString, 1},
    {"DESCCENTROCUSTO", TFieldType::ftString, kDescricao},
}};

template <std::size_t N>
void Criar(TClientDataSet& dataset, const std::array<TCampo, N>& campos) {
  dataset.Close();
  dataset.SetFiltered(false);
  dataset.SetFilter("");
  dataset.ClearFieldDefs();
  for (const TCampo& campo : campos) dataset.AddFieldDef(campo.Nome, campo.Tipo, campo.Tamanho);
  dataset.CreateDataSet();
}

}  // namespace

TParametrosRateioContas::TParametrosRateioContas() = default;
TParametrosRateioContas::~TParametrosRateioContas() = default;

void TParametrosRateioContas::CriarCdsContasRateio(TClientDataSet& dataset) {
  Criar(dataset, kCamposContas);
}

void TParametrosRateioContas::CriarCdsCentroCustoConta(TClientDataSet& dataset) {
  Criar(dataset, kCamposCentroCusto);
}

TClientDataSet& TParametrosRateioContas::CdsContasRateioPadrao() {
  if (!FCdsContasRateioPadrao) {
    FCdsContasRateioPadrao = std::make_unique<TClientDataSet>();
    CriarCdsContasRateio(*FCdsContasRateioPadrao);
  }
  return *FCdsContasRateioPadrao;
}

TClientDataSet& TParametrosRateioContas::CdsCentroCustoContaPadrao() {
  if (!FCdsCentroCustoContaPadrao) {
    FCdsCentroCustoContaPadrao = std::make_unique<TClientDataSet>();
    CriarCdsCentroCustoConta(*FCdsCentroCustoContaPadrao);
  }
  return *FCdsCentroCustoContaPadrao;
}
