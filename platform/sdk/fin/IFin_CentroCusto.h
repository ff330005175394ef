#pragma once

// Area interface IFin_CentroCusto, declared by the host. Its operations come with the area.
class IFin_CentroCusto {
 public:
  static constexpr const char* InterfaceName = "IFin_CentroCusto";
  virtual ~IFin_CentroCusto();
};
