#pragma once

// Payable entries (the payable area).
class IFin_ContasPagar {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasPagar";
  virtual ~IFin_ContasPagar();

  // Whether entries go to ZTLANCBLOQ (held for budget supplementation), as set by the caller.
  [[nodiscard]] virtual bool GetLancarZTLancBloqGeral() = 0;
  virtual void SetLancarZTLancBloqGeral(bool value) = 0;
};
