#pragma once

#include <vector>

#include "report/TRelatorio.h"
#include "report/internal/Desenho.h"

namespace report::internal {

// The laid-out pages of a report, for the benchmark's floor (the same pages drawn by cairo alone).
class TAcessoRelatorio {
 public:
  [[nodiscard]] static std::vector<TPaginaPosta> Diagramar(TRelatorio& relatorio) {
    relatorio.ConferirDados();
    return relatorio.Diagramar();
  }
};

}  // namespace report::internal
