#pragma once

// Helpers on the in-memory apportionment rows shared by the cost-center sub-modules.
#include <cstddef>
#include <string>

#include "oradb/TClientDataSet.h"
#include "rtl/Formatacao.h"

namespace rateio_linhas {

// A text as a quoted literal of a dataset filter.
inline std::string Aspas(const std::string& texto) {
  std::string resultado = "'";
  for (char c : texto) {
    if (c == '\'') resultado += '\'';
    resultado += c;
  }
  return resultado + "'";
}

inline std::string CentroCustoDaLinha(TDataSet& linha) {
  return Trim(linha.FieldByName("CODIGOCENTROCUSTO").AsString());
}

// Moves to the visible row at `posicao` (0-based).
inline void IrPara(TDataSet& dados, std::size_t posicao) {
  dados.First();
  for (std::size_t i = 0; i < posicao && !dados.Eof(); ++i) dados.Next();
}

// Whether a visible row holds the cost center. The cursor stays on the row it was on: the form
// replaces the current row after asking (AlterandoLancto).
inline bool ContemCentroCusto(TDataSet& rateios, const std::string& centro_custo) {
  const std::size_t posicao = rateios.RecNo();
  bool achou = false;
  for (rateios.First(); !achou && !rateios.Eof(); rateios.Next()) {
    achou = CentroCustoDaLinha(rateios) == centro_custo;
  }
  if (posicao == 0) {
    rateios.First();
  } else {
    IrPara(rateios, posicao - 1);
  }
  return achou;
}

// The rows' filter as it was, put back when the operation ends (also on failure).
class TFiltroGuardado {
 public:
  explicit TFiltroGuardado(TDataSet& dados) : FDados(dados), FFiltro(dados.Filter()), FFiltrado(dados.Filtered()) {}
  ~TFiltroGuardado() {
    if (!FAtivo) return;
    try {
      FDados.SetFiltered(false);
      FDados.SetFilter(FFiltro);
      FDados.SetFiltered(FFiltrado);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor never throws; the filter was valid before
    }
  }
  TFiltroGuardado(const TFiltroGuardado&) = delete;
  TFiltroGuardado& operator=(const TFiltroGuardado&) = delete;
  void Descartar() noexcept { FAtivo = false; }

 private:
  TDataSet& FDados;
  std::string FFiltro;
  bool FFiltrado;
  bool FAtivo = true;
};

}  // namespace rateio_linhas
