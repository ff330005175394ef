#pragma once

// Area interface IFin_CancelarDesdobramento, declared by the host. Its operations come with the area.
class IFin_CancelarDesdobramento {
 public:
  static constexpr const char* InterfaceName = "IFin_CancelarDesdobramento";
  virtual ~IFin_CancelarDesdobramento();
};
