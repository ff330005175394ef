#pragma once

#include <vector>

#include "sdk/fin/TFin_GerarBoletos.h"

// Area interface IFin_ContasReceber, declared by the host. Its operations come with the area.
class IFin_ContasReceber {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasReceber";
  virtual ~IFin_ContasReceber();

  // Bank slips: generates the bank data of the request's titles and prints their slips (printer,
  // screen or one PDF file per title). `VerificarCobrancaBoleto` first asks that the title's charge
  // issue slips. True when done or when there was nothing to do.
  virtual bool EmitirBoletosBancarios(TFin_GerarBoletos& Boleto, bool VerificarCobrancaBoleto) = 0;
  // The same for a batch: the checks once, with the first request's options, and every bank of every
  // title locked before the first one is written.
  virtual bool EmitirBoletosBancarios(std::vector<TFin_GerarBoletos>& Boletos, bool VerificarCobrancaBoleto) = 0;
};
