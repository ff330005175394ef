#include <gtest/gtest.h>

#include <vector>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "payable/Uclsfin_contaspagar.h"
#include "rtl/Exception.h"
#include "support/MemoryHost.h"

namespace {

using testsupport::MemoryHost;

// The facade needs the host services from its owner; its areas are created on first use, owned by
// the host component, and handed out again afterwards.
TEST(Facade, AreasAreCreatedOnFirstUseOwnedByTheHostAndKept) {
  TComponent sem_servicos(nullptr);
  EXPECT_THROW(TGerenteFinanceiro facade(&sem_servicos), Exception);
  EXPECT_EQ(sem_servicos.ComponentCount(), 0u);
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  EXPECT_EQ(host.ComponentCount(), 1u);  // the facade alone
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
  EXPECT_EQ(host.ComponentCount(), 4u);
  // An emptied reference makes the next get build a fresh area; the old one stays with its owner.
  facade->SetContasPagar(nullptr);
  EXPECT_NE(facade->GetContasPagar(), contas);
  EXPECT_EQ(host.ComponentCount(), 5u);
  IFin_CentroCustoPedidoCompraConsumo* pedidos = facade->GetCentroCustoPedidoCompraConsumo();
  ASSERT_NE(pedidos, nullptr);
  EXPECT_EQ(facade->GetCentroCustoPedidoCompraConsumo(), pedidos);
  EXPECT_EQ(host.ComponentCount(), 6u);
}

// One sub-module per mode, keeping the user and routine of its first use; it belongs to the host
// component and outlives the facade.
TEST(Facade, CancelSplittingKeepsOneSubModulePerModeWithTheUserOfItsFirstUse) {
  MemoryHost host;
  auto* facade = new TGerenteFinanceiro(&host);
  EXPECT_EQ(facade->CancelarDesdobramento(tmNenhum), nullptr);
  EXPECT_EQ(facade->CancelarDesdobramento(static_cast<TModo>(3)), nullptr);
  host.matricula = 11;
  host.rotina = 1203;
  IFin_CancelarDesdobramento* titulos = facade->CancelarDesdobramento(tmZTPrest);
  host.matricula = 22;
  host.rotina = 614;
  IFin_CancelarDesdobramento* lancamentos = facade->CancelarDesdobramento(tmZTLanc);
  host.matricula = 33;
  EXPECT_EQ(facade->CancelarDesdobramento(tmZTPrest), titulos);
  const auto* first = dynamic_cast<TCancelarDesdobramento*>(titulos);
  const auto* second = dynamic_cast<TCancelarDesdobramento*>(lancamentos);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(host.ComponentCount(), 3u);
  delete facade;
  ASSERT_EQ(host.ComponentCount(), 2u);
  EXPECT_EQ(std::vector<int>(
                {first->CodigoUsuario(), first->CodigoRotina(), second->CodigoUsuario(), second->CodigoRotina()}),
            std::vector<int>({11, 1203, 22, 614}));
  EXPECT_EQ(first->Modo(), tmZTPrest);
  EXPECT_EQ(second->Modo(), tmZTLanc);
}

}  // namespace
