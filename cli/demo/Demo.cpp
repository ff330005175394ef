#include "demo/Demo.h"

#include <ostream>

#include "Call.h"
#include "Runtime.h"
#include "host/TPackageLoader.h"
#include "host/TSchema.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TQuorvinIoC.h"

namespace cli {

void Executar(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.SetText(sql);
  consulta.ExecSQL();
}

namespace {

std::vector<DemoStep> Steps() {
  std::vector<DemoStep> steps;
  AddFrameDemo(steps);
  AddCashDemo(steps);
  AddCentroCustoDemo(steps);
  AddContasPagarDemo(steps);
  AddRateioContasDemo(steps);
  AddContratoEmprestimoDemo(steps);
  AddValesDemo(steps);
  AddContasReceberDemo(steps);
  AddContasReceberTitulosDemo(steps);
  AddContasReceberListagemDemo(steps);
  AddCentroCustoPedidoDemo(steps);
  AddCreditoClienteDemo(steps);
  AddBorderoDemo(steps);
  AddDNIDemo(steps);
  AddBoletosDemo(steps);
  AddCancelarDesdobramentoDemo(steps);
  return steps;
}

}  // namespace

std::string ParaTerminal(const std::string& texto, const std::string& indent) {
  std::string saida = indent;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '\r' || texto[i] == '\n') {
      if (texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
      saida += "\n" + indent;
    } else {
      saida += texto[i];
    }
  }
  return saida;
}

void AddFrameDemo(std::vector<DemoStep>& steps) {
  steps.push_back({"O módulo como plug-in", [](Runtime& runtime, std::ostream& out) {
                     IGerenteFinanceiro& financeiro = runtime.Financeiro();
                     out << "Pacote carregado: " << runtime.Loader().Path() << "\n";
                     out << "Unidades, na ordem de inicialização:";
                     for (const auto& unit : runtime.Loader().Units()) out << ' ' << unit;
                     out << "\nRegistros no container:\n";
                     for (const auto& [key, classe] : TQuorvinIoC::DefaultContainer().Registrations()) {
                       out << "  " << key << " -> " << classe << "\n";
                     }
                     out << "Fachada resolvida, versão " << financeiro.GetVersao() << "\n";
                     out << "Áreas disponíveis:\n";
                     const auto show = [&out](const char* area, bool available) {
                       out << "  " << area << ": " << (available ? "sim" : "ainda não") << "\n";
                     };
                     show("ContasPagar", financeiro.GetContasPagar() != nullptr);
                     show("CentroCusto", financeiro.GetCentroCusto() != nullptr);
                     show("RateioContas", financeiro.GetRateioContas() != nullptr);
                     show("MovimentacaoNumerarios", financeiro.GetMovimentacaoNumerarios() != nullptr);
                     show("CancelarDesdobramento (ZTPREST)", financeiro.CancelarDesdobramento(tmZTPrest) != nullptr);
                     show("CancelarDesdobramento (ZTLANC)", financeiro.CancelarDesdobramento(tmZTLanc) != nullptr);
                   }});
}

int RunDemo(std::ostream& out) {
  CallFlags flags;
  flags.Matricula = 1;
  Runtime runtime(flags);
  {
    // The rows the story is told with (idempotent): a database just reset needs no separate seed.
    const auto files = host::TSchema().Seed(runtime.Host().Sessao());
    out << "Dados de demonstração conferidos (" << files.size() << " arquivos).\n";
  }
  int chapter = 0;
  for (const DemoStep& step : Steps()) {
    out << "\n== " << ++chapter << ". " << step.Title << " ==\n";
    TOraSession& session = runtime.Host().Sessao();
    TOraTransaction transaction(session);
    runtime.Host().LimparConfirmacoes();  // each chapter shows only what it asked
    try {
      step.Run(runtime, out);
      transaction.Commit();
    } catch (const Exception& error) {
      out << "Falhou: " << error.ClassName() << ": " << error.Message() << "\n";
      return kExitBusiness;
    }
  }
  out << "\nFim da demonstração.\n";
  return kExitOk;
}

}  // namespace cli
