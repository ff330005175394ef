#pragma once

#include "sdk/fin/TFerramentasCancelarDesdobramento.h"
#include "sdk/fin/TListaAcoes.h"
#include "sdk/fin/TRegistroDesdobramento.h"

// Area interface IFin_CancelarDesdobramento, declared by the host: the cancellation of splits of
// one mode (receivable titles or payable entries).
class IFin_CancelarDesdobramento {
 public:
  static constexpr const char* InterfaceName = "IFin_CancelarDesdobramento";
  virtual ~IFin_CancelarDesdobramento();

  // The actions cancelling the splits of the selected records implies; the run keeps the list.
  virtual TListaAcoes& ListaAcoes(const TArrayOfRegistro& selecionados) = 0;
  // The list kept; refused when there is none.
  [[nodiscard]] virtual TListaAcoes& ListaAcoes() = 0;
  // Writes the cancellation of the kept list, with the user's decisions on it, in the host's open
  // transaction.
  virtual void Confirmar() = 0;
  [[nodiscard]] virtual TPasso Passo() const = 0;
  // The host's tools of the run's mode, created with the run; the other mode's is null.
  [[nodiscard]] virtual TFerramentasCancelarDesobramentoZTPREST* FerramentasZTPREST() const = 0;
  [[nodiscard]] virtual TFerramentasCancelarDesobramentoZTLANC* FerramentasZTLANC() const = 0;
  // The titles or entries the last confirmation restored, in the order of the roots.
  [[nodiscard]] virtual const TArrayOfRegistro& Restaurados() const = 0;
};
