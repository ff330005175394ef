#include "costcenter/Uclsfin_parametrosrateio.h"

void DefinirCamposRateio(TClientDataSet& dataset, std::span<const TCampoRateio> campos) {
  dataset.Close();
  dataset.ClearFieldDefs();
  for (const TCampoRateio& campo : campos) dataset.AddFieldDef(campo.Nome, campo.Tipo, campo.Tamanho);
  dataset.CreateDataSet();
}

TParametrosRateio::~TParametrosRateio() = default;

TClientDataSet& TParametrosRateio::cdsRateios() {
  if (FCdsRateios == nullptr) {
    if (!FCdsRateiosProprio) {
      FCdsRateiosProprio = std::make_unique<TClientDataSet>();
      DefinirCamposRateio(*FCdsRateiosProprio, FCampos);
    }
    FCdsRateios = FCdsRateiosProprio.get();
  }
  return *FCdsRateios;
}

void TParametrosRateio::SetcdsRateios(TClientDataSet* dataset) {
  FCdsRateios = dataset;
}

void TParametrosRateio::CancelarRateios() {
  StatusCentroCusto = false;
  cdsRateios().CancelUpdates();
}

void TParametrosRateio::LimparRateios() {
  TClientDataSet& rateios = cdsRateios();
  rateios.SetFiltered(false);
  rateios.SetFilter("");
  DefinirCamposRateio(rateios, FCampos);
  StatusCentroCusto = false;
  ShowForm = false;
  CodFilial.clear();
  ValorLancto = 0;
  CodConta.clear();
  FazCloneRegistroPrincipal = false;
  DesdobramentoZTLanc = false;
}
