#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"

namespace report {
class TRelatorio;
}

namespace cli {

// The six pipelines of a slip filled with sample titles of a fictitious branch and customer: each
// title with a real barcode and typeable line (bank 237, due in 2026), as the bank data package
// would have stored them. Used by `quorvin-fin boleto-exemplo`, the report tests and the benchmark.
struct TBoletoExemplo {
  TClientDataSet Boleta;
  TClientDataSet Banco;
  TClientDataSet BancoAuxPorCod;
  TClientDataSet Data;
  TClientDataSet Data1;
  TClientDataSet Filial;

  // `titulos` titles of increasing values (R$ 1.234,56, then one cent more each).
  explicit TBoletoExemplo(int titulos = 1);
  // Binds the six datasets to a report under their pipeline names.
  void Ligar(report::TRelatorio& relatorio);
  // The barcodes of the titles, in order.
  [[nodiscard]] std::vector<std::string> CodigosBarras();
};

// `quorvin-fin boleto-exemplo ARQUIVO.pdf`: the sample slip rendered with the template the host's
// installation folder holds for bank 237, written as a PDF file.
int CommandBoletoExemplo(const std::vector<std::string>& args, std::ostream& out);

}  // namespace cli
