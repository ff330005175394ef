#include "sdk/fin/TStatusCobrancaSupplierCard.h"

const char* NomeStatusCobrancaSupplierCard(TStatusCobrancaSupplierCard status) noexcept {
  switch (status) {
    case TStatusCobrancaSupplierCard::scNaoEnviado:
      return "NaoEnviado";
    case TStatusCobrancaSupplierCard::scAguardandoRetorno:
      return "AguardandoRetorno";
    case TStatusCobrancaSupplierCard::scRecusado:
      return "Recusado";
    case TStatusCobrancaSupplierCard::scAprovado:
      return "Aprovado";
  }
  return "";
}
