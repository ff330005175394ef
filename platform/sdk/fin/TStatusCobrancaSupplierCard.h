#pragma once

// Where a sale's charge through the SupplierCard card network stands.
enum class TStatusCobrancaSupplierCard {
  scNaoEnviado,         // not queued, or queued and not sent yet
  scAguardandoRetorno,  // sent, no answer yet
  scRecusado,           // sent and refused
  scAprovado,           // sent and approved
};

// The status's name as the host shows it ("NaoEnviado", ...).
[[nodiscard]] const char* NomeStatusCobrancaSupplierCard(TStatusCobrancaSupplierCard status) noexcept;
