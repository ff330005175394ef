#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A receivable title (a row of ZTPREST) as the credit operations and the title insertion receive it.
class TContasReceberZTPrest {
 public:
  double NUMTRANSVENDA = 0;
  std::string PREST;
  double VALOR = 0;
  double DUPLIC = 0;
  double NUMASSOCDNI = 0;     // unidentified deposit the title is tied to
  double VLDESCCUSTODIA = 0;  // discount of a cheque in custody
  double TXPERM = 0;          // interest
  double VLROUTROSACRESC = 0;
  double VALORDESC = 0;
  double CODFUNCCX = 0;     // cashier
  double CODFUNCFECHA = 0;  // closing user
  std::string CODCOB;
  double CODCLI = 0;
  std::string CODFILIAL;
  double VALORAPROVEITADOCREDITO = 0;  // the part of the title a credit pays

  // What the insertion of a title writes besides the fields above.
  TDateTime DTVENC;
  TDateTime DTVENCORIG;
  TDateTime DTEMISSAO;
  TDateTime DTEMISSAOORIG;
  std::string CODCOBORIG;
  double VALORORIG = 0;
  std::string STATUS;
  double CODUSUR = 0;
  std::string OBS2;
};

// The title's fields by JSON name.
[[nodiscard]] FieldTable<TContasReceberZTPrest> CamposContasReceberZTPrest();
