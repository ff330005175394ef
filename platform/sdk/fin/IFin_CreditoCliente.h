#pragma once

// Area interface IFin_CreditoCliente, declared by the host. Its operations come with the area.
class IFin_CreditoCliente {
 public:
  static constexpr const char* InterfaceName = "IFin_CreditoCliente";
  virtual ~IFin_CreditoCliente();
};
