#pragma once

// Area interface IFin_ContratoEmprestimo, declared by the host. Its operations come with the area.
class IFin_ContratoEmprestimo {
 public:
  static constexpr const char* InterfaceName = "IFin_ContratoEmprestimo";
  virtual ~IFin_ContratoEmprestimo();
};
