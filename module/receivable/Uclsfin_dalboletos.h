#pragma once

#include <string>

// The part of a slip request the data access needs to read a title's print data.
struct TFiltroImpressaoBoleto {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  // The barcode of the title was generated on its gross value (value plus returns), so the printed
  // value must be the same one.
  bool UtilizaValorBruto = false;
};
