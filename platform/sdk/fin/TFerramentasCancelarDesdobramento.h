#pragma once

// The host's tools of a split-cancellation screen, one kind per mode. A run creates the one of
// its mode when it is created and keeps it for its life; each names the tables of its mode.
class TFerramentasCancelarDesobramento {
 public:
  virtual ~TFerramentasCancelarDesobramento() = default;
  // The table of the mode's records and the table of their copies taken before a split.
  [[nodiscard]] virtual const char* Tabela() const noexcept = 0;
  [[nodiscard]] virtual const char* TabelaReplica() const noexcept = 0;
};

class TFerramentasCancelarDesobramentoZTPREST final : public TFerramentasCancelarDesobramento {
 public:
  [[nodiscard]] const char* Tabela() const noexcept override { return "ZTPREST"; }
  [[nodiscard]] const char* TabelaReplica() const noexcept override { return "ZTDESDPREST"; }
};

class TFerramentasCancelarDesobramentoZTLANC final : public TFerramentasCancelarDesobramento {
 public:
  [[nodiscard]] const char* Tabela() const noexcept override { return "ZTLANC"; }
  [[nodiscard]] const char* TabelaReplica() const noexcept override { return "ZTDESDLANCOPERACAO"; }
};
