#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

class TOraSession;

namespace cli {

class Runtime;

// Runs one statement of a chapter's own set-up on the demo session.
void Executar(TOraSession& sessao, const std::string& sql);

// One chapter of the demo story: a title and what it does and prints.
struct DemoStep {
  std::string Title;
  std::function<void(Runtime&, std::ostream&)> Run;
};

// The chapters in order (frame first, then each area's, see demo/*Demo.cpp).
void AddFrameDemo(std::vector<DemoStep>& steps);
void AddCashDemo(std::vector<DemoStep>& steps);
void AddCentroCustoDemo(std::vector<DemoStep>& steps);
void AddContasPagarDemo(std::vector<DemoStep>& steps);
void AddContratoEmprestimoDemo(std::vector<DemoStep>& steps);
void AddRateioContasDemo(std::vector<DemoStep>& steps);
void AddValesDemo(std::vector<DemoStep>& steps);
void AddContasReceberDemo(std::vector<DemoStep>& steps);
void AddContasReceberTitulosDemo(std::vector<DemoStep>& steps);
void AddContasReceberListagemDemo(std::vector<DemoStep>& steps);
void AddCentroCustoPedidoDemo(std::vector<DemoStep>& steps);
void AddCreditoClienteDemo(std::vector<DemoStep>& steps);
void AddBorderoDemo(std::vector<DemoStep>& steps);
void AddDNIDemo(std::vector<DemoStep>& steps);
void AddBoletosDemo(std::vector<DemoStep>& steps);
void AddCancelarDesdobramentoDemo(std::vector<DemoStep>& steps);

// A message as a terminal shows it: each line break of the module ("\r\n" or "\r") becomes a new
// line that starts with `indent`.
[[nodiscard]] std::string ParaTerminal(const std::string& texto, const std::string& indent = "");

// Runs the story on the configured database (after `db reset` and `db seed`).
int RunDemo(std::ostream& out);

}  // namespace cli
