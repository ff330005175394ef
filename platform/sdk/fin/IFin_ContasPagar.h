#pragma once

// Area interface IFin_ContasPagar, declared by the host. Its operations come with the area.
class IFin_ContasPagar {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasPagar";
  virtual ~IFin_ContasPagar();
};
