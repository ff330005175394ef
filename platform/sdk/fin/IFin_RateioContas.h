#pragma once

// Area interface IFin_RateioContas, declared by the host. Its operations come with the area.
class IFin_RateioContas {
 public:
  static constexpr const char* InterfaceName = "IFin_RateioContas";
  virtual ~IFin_RateioContas();
};
