#pragma once

#include "sdk/TBase.h"
#include "sdk/fin/IFin_CancelarDesdobramento.h"
#include "sdk/fin/TModo.h"

// Undoes the splitting of titles, on receivable titles (ZTPREST mode) or payable entries (ZTLANC
// mode). It keeps, for its whole life, the user and routine it was created for.
class TCancelarDesdobramento : public TBaseSubModulo, public IFin_CancelarDesdobramento {
 public:
  TCancelarDesdobramento(TComponent* owner, int codigo_usuario, int codigo_rotina, TModo modo);
  ~TCancelarDesdobramento() override;

  [[nodiscard]] int CodigoUsuario() const noexcept { return FCodigoUsuario; }
  [[nodiscard]] int CodigoRotina() const noexcept { return FCodigoRotina; }
  [[nodiscard]] TModo Modo() const noexcept { return FModo; }

 private:
  int FCodigoUsuario;
  int FCodigoRotina;
  TModo FModo;
};
