#pragma once

// The kind of entry a cost-center apportionment belongs to (host enumeration). The cost-center
// area knows three of them: payable entries, accounting entries and monthly budget lines; the
// others maintain an account's standard or priority apportionment.
enum TTipoLancamento : int {
  tlFinanceiro = 0,
  tlContabil = 1,
  tlContaPadrao = 2,
  tlContaPrioritaria = 3,
  tlOrcamento = 4,
};
