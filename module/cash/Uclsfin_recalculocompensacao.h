#pragma once

#include <vector>

#include "rtl/TDateTime.h"

// Walk directions of the monthly clearing-date rebuild.
inline constexpr int kDirecaoMesesAnteriores = 0;
inline constexpr int kDirecaoMesesPosteriores = 1;

// The sums of one month's reconciled movements by clearing date.
struct TMesCompensacao {
  int Ano = 0;
  int Mes = 0;
  double ValorDebito = 0;
  double ValorCredito = 0;
};

// One write of the monthly clearing-date rebuild, in the order it must be done.
struct TGravacaoCompensacao {
  enum class TTipo {
    MesSemMovimento,  // zero sums, SALDOINICIAL = SALDO = the carried balance
    MesComMovimento,  // the month's sums and its two balances
    LimparMeses,      // every month after (direction 1) or before (direction 0) Ano/Mes: zero sums
  };
  TTipo Tipo = TTipo::MesSemMovimento;
  int Ano = 0;
  int Mes = 0;
  double ValorDebito = 0;
  double ValorCredito = 0;
  double SaldoInicial = 0;
  double Saldo = 0;
  int Direcao = kDirecaoMesesPosteriores;

  bool operator==(const TGravacaoCompensacao&) const = default;
};

// The month walk of the clearing-date rebuild as a plan, without the database: from the start
// date, the starting balance and the months read (newest first for direction 0, oldest first for
// direction 1), the writes that give every month its sums and balances. Months without movements
// between two months read get zero sums and the carried balance, across year ends too.
// Throws Exception for a month out of 1..12 or out of the walk's order.
[[nodiscard]] std::vector<TGravacaoCompensacao> PlanejarRecalculoCompensacao(TDateTime DataInicial, double SaldoInicial,
                                                                             int Direcao,
                                                                             const std::vector<TMesCompensacao>& Meses);
