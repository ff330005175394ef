#include <gtest/gtest.h>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "payable/Uclsfin_contaspagar.h"
#include "sdk/Exception.h"
#include "support/MemoryHost.h"

namespace {

using testsupport::MemoryHost;

// A host's own implementation of an area, installed through the facade.
class TContasPagarDoHost : public TContasPagar {
 public:
  using TContasPagar::TContasPagar;
};

TEST(Facade, NeedsTheHostServicesFromItsOwner) {
  TComponent sem_servicos(nullptr);
  EXPECT_THROW(TGerenteFinanceiro facade(&sem_servicos), Exception);
  EXPECT_EQ(sem_servicos.ComponentCount(), 0u);
}

TEST(Facade, AreasAreCreatedOnFirstUseOwnedByTheHostAndKept) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  const std::size_t owned_before = host.ComponentCount();
  IFin_ContasPagar* contas = facade->GetContasPagar();
  IFin_CentroCusto* centros = facade->GetCentroCusto();
  IFin_MovimentacaoNumerarios* numerarios = facade->GetMovimentacaoNumerarios();
  ASSERT_NE(contas, nullptr);
  ASSERT_NE(centros, nullptr);
  ASSERT_NE(numerarios, nullptr);
  EXPECT_NE(dynamic_cast<TContasPagar*>(contas), nullptr);
  EXPECT_EQ(facade->GetContasPagar(), contas);
  EXPECT_EQ(facade->GetCentroCusto(), centros);
  EXPECT_EQ(facade->GetMovimentacaoNumerarios(), numerarios);
  EXPECT_EQ(host.ComponentCount(), owned_before + 3);
}

TEST(Facade, SetterReplacesTheAreaAndAnEmptyReferenceMakesTheNextGetBuildAFreshOne) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  auto* do_host = new TContasPagarDoHost(&host);
  facade->SetContasPagar(do_host);
  EXPECT_EQ(facade->GetContasPagar(), do_host);
  facade->SetContasPagar(nullptr);
  IFin_ContasPagar* novo = facade->GetContasPagar();
  EXPECT_NE(novo, nullptr);
  EXPECT_NE(novo, do_host);
  // The replaced object is not freed by the facade: its owner still holds it.
  EXPECT_EQ(host.ComponentCount(), 3u);
  EXPECT_EQ(do_host->Owner(), &host);
}

TEST(Facade, CancelSplittingKeepsOneSubModulePerModeWithTheUserOfItsFirstUse) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  const std::size_t owned_before = host.ComponentCount();

  host.matricula = 11;
  host.rotina = 1203;
  IFin_CancelarDesdobramento* titulos = facade->CancelarDesdobramento(tmZTPrest);
  host.matricula = 22;
  host.rotina = 614;
  IFin_CancelarDesdobramento* lancamentos = facade->CancelarDesdobramento(tmZTLanc);
  ASSERT_NE(titulos, nullptr);
  ASSERT_NE(lancamentos, nullptr);
  EXPECT_NE(titulos, lancamentos);
  EXPECT_EQ(host.ComponentCount(), owned_before + 2);  // owned by the host component, not the facade

  host.matricula = 33;
  EXPECT_EQ(facade->CancelarDesdobramento(tmZTPrest), titulos);
  const auto* first = dynamic_cast<TCancelarDesdobramento*>(titulos);
  const auto* second = dynamic_cast<TCancelarDesdobramento*>(lancamentos);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->CodigoUsuario(), 11);
  EXPECT_EQ(first->CodigoRotina(), 1203);
  EXPECT_EQ(first->Modo(), tmZTPrest);
  EXPECT_EQ(second->CodigoUsuario(), 22);
  EXPECT_EQ(second->CodigoRotina(), 614);
  EXPECT_EQ(second->Modo(), tmZTLanc);
}

TEST(Facade, CancelSplittingOfAnUnknownModeCreatesNothing) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  const std::size_t owned_before = host.ComponentCount();
  EXPECT_EQ(facade->CancelarDesdobramento(tmNenhum), nullptr);
  EXPECT_EQ(facade->CancelarDesdobramento(static_cast<TModo>(3)), nullptr);
  EXPECT_EQ(host.ComponentCount(), owned_before);
}

TEST(Facade, SubModulesOutliveTheFacadeUntilTheHostComponentGoes) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  IFin_CancelarDesdobramento* sub = facade->CancelarDesdobramento(tmZTLanc);
  delete facade;
  ASSERT_EQ(host.ComponentCount(), 1u);
  EXPECT_EQ(dynamic_cast<TCancelarDesdobramento*>(sub)->Modo(), tmZTLanc);
}

TEST(BoletoOptions, StartClearedAndKeepWhatIsSet) {
  TFin_ParamentrosGerarBoleto opcoes;
  EXPECT_FALSE(opcoes.gerarBoletos());
  EXPECT_EQ(opcoes.codigoRotina(), 0.0);
  opcoes.gerarDadosBancarios(true);
  opcoes.codigoRotina(1441);
  opcoes.matriculaUsuario(12.0);
  EXPECT_TRUE(opcoes.gerarDadosBancarios());
  EXPECT_EQ(opcoes.codigoRotina(), 1441.0);
  EXPECT_EQ(opcoes.matriculaUsuario(), 12.0);
}

}  // namespace
