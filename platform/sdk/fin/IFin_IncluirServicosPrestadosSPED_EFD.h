#pragma once

// Area interface IFin_IncluirServicosPrestadosSPED_EFD, declared by the host. Its operations come with the area.
class IFin_IncluirServicosPrestadosSPED_EFD {
 public:
  static constexpr const char* InterfaceName = "IFin_IncluirServicosPrestadosSPED_EFD";
  virtual ~IFin_IncluirServicosPrestadosSPED_EFD();
};
