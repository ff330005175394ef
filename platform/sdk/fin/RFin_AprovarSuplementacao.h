#pragma once

#include <string>

#include "sdk/RecordFields.h"

// Approval of one entry held in ZTLANCBLOQ for a budget supplementation.
struct RFin_AprovarSuplementacao {
  double RECNUM = 0;
  std::string MENSAGEM;  // written back: why nothing was approved
  bool Inicializado = false;

  void Inicializar();
};

[[nodiscard]] FieldTable<RFin_AprovarSuplementacao> CamposAprovarSuplementacao();
