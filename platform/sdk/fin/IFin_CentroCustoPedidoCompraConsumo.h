#pragma once

// Area interface IFin_CentroCustoPedidoCompraConsumo, declared by the host. Its operations come with the area.
class IFin_CentroCustoPedidoCompraConsumo {
 public:
  static constexpr const char* InterfaceName = "IFin_CentroCustoPedidoCompraConsumo";
  virtual ~IFin_CentroCustoPedidoCompraConsumo();
};
