#pragma once

#include <string>

#include "rtl/TDateTime.h"

// A single supplier allowance handed to the purchasing module. The module writes back the number it
// drew, or why it refused.
struct RCom_Verbas_Avulso_Incluir {
  std::string TIPO;  // "D" the supplier owes the amount, "C" it is owed to the supplier
  double CODFORNEC = 0;
  double CODCONTA = 0;
  double VALOR = 0;
  TDateTime DTEMISSAO;
  std::string HISTORICO;
  std::string OBS;
  double NUMLANC = 0;    // the payable entry the allowance refers to
  double NUMVERBA = 0;   // written: the allowance's number
  std::string MENSAGEM;  // written: the refusal
};
