#pragma once

// Area interface IFin_DepositoNaoIdentificadoComVerba, declared by the host. Its operations come with the area.
class IFin_DepositoNaoIdentificadoComVerba {
 public:
  static constexpr const char* InterfaceName = "IFin_DepositoNaoIdentificadoComVerba";
  virtual ~IFin_DepositoNaoIdentificadoComVerba();
};
