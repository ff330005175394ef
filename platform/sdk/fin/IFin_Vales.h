#pragma once

// Area interface IFin_Vales, declared by the host. Its operations come with the area.
class IFin_Vales {
 public:
  static constexpr const char* InterfaceName = "IFin_Vales";
  virtual ~IFin_Vales();
};
