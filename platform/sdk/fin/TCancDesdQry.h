#pragma once

#include <string>

#include "oradb/TOraQuery.h"

// The host's query of the split-cancellation and title screens. OpenSaveOrLoad always reads the
// database; with a copy file named it also writes the rows there (one line per row, columns
// separated by tabs, NULL as "\N"). It never reads a file back, so what a run decides on is always
// the database's current data. Its bound controls can be switched off while code walks it.
class TCancDesdQry : public TOraQuery {
 public:
  using TOraQuery::TOraQuery;

  void OpenSaveOrLoad();
  std::string ArquivoCopia;

  void DisableControls() noexcept { FControlesDesativados = true; }
  void EnableControls() noexcept { FControlesDesativados = false; }
  [[nodiscard]] bool ControlesDesativados() const noexcept { return FControlesDesativados; }

 private:
  bool FControlesDesativados = false;
};
