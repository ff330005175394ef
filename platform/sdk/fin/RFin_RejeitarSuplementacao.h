#pragma once

#include <string>

#include "sdk/RecordFields.h"

// Rejection of one entry held in ZTLANCBLOQ for a budget supplementation.
struct RFin_RejeitarSuplementacao {
  double RECNUM = 0;
  std::string HISTORICOREJEICAO;  // why it was rejected; sent to the requester
  double CODSERVICO = 0;          // SPED EFD service row created with the entry, removed with it
  double NUMTRANSENT = 0;         // entry invoice: an entry tied to one is not rejected here
  bool Inicializado = false;

  void Inicializar();
};

[[nodiscard]] FieldTable<RFin_RejeitarSuplementacao> CamposRejeitarSuplementacao();
