#pragma once

// Area interface IFin_ContasReceber, declared by the host. Its operations come with the area.
class IFin_ContasReceber {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasReceber";
  virtual ~IFin_ContasReceber();
};
