#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// One budget question about a payable entry: may it be posted against its account's monthly
// budget, and must it wait for a supplementation?
struct RFin_ValidarOrcamento {
  bool NEGATIVO = false;  // the entry's value is negative (it is negated before the comparison)
  double RECNUM = 0;      // the entry itself, left out of what was already posted
  std::string CODFILIAL;
  double CODCONTA = 0;
  double VALOR = 0;
  TDateTime DTVENC;
  TDateTime DTCOMPETENCIA;
  bool DENTROAPROVACAO = false;   // the entry is already approved: over budget it is posted, not held
  bool PERGUNTARUSUARIO = false;  // ask the user before posting over budget
  bool Inicializado = false;

  void Inicializar();
};

[[nodiscard]] FieldTable<RFin_ValidarOrcamento> CamposValidarOrcamento();
