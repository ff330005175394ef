#pragma once

#include "oradb/TOraQuery.h"

// The host's query of the split-cancellation and title screens: a query that opens through
// OpenSaveOrLoad and whose bound controls can be switched off while code walks it.
class TCancDesdQry : public TOraQuery {
 public:
  using TOraQuery::TOraQuery;

  void OpenSaveOrLoad() { Open(); }
  void DisableControls() noexcept { FControlesDesativados = true; }
  void EnableControls() noexcept { FControlesDesativados = false; }
  [[nodiscard]] bool ControlesDesativados() const noexcept { return FControlesDesativados; }

 private:
  bool FControlesDesativados = false;
};
