#pragma once

// Area interface IFin_MovimentacaoNumerarios, declared by the host. Its operations come with the area.
class IFin_MovimentacaoNumerarios {
 public:
  static constexpr const char* InterfaceName = "IFin_MovimentacaoNumerarios";
  virtual ~IFin_MovimentacaoNumerarios();
};
