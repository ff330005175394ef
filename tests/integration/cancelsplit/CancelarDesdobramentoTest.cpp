#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace {

namespace MC = MensagensCancelamento;

std::vector<std::string> Descricoes(const std::vector<TAcaoDefinidaPtr>& acoes) {
  std::vector<std::string> descricoes;
  for (const auto& acao : acoes) descricoes.push_back(acao->Registro->Descricao());
  return descricoes;
}

// Titles of sales 65400 and up, in the test's own transaction (rolled back). A split title is
// settled by the split (charge "DESD", paid) and keeps its copy as it was: open, charge "BK", due
// on 2026-01-10; the titles born of it are open.
class CancelarDesdobramentoTest : public testsupport::HostTest {
 protected:
  void Titulo(long long venda, double valor, const std::string& tabela = "ZTPREST", const std::string& colunas = "",
              const std::string& valores = "") {
    Exec("INSERT INTO " + tabela + " (NUMTRANSVENDA, PREST, DUPLIC, CODCLI, VALOR, CODCOB, DTVENC" + colunas +
         ") VALUES (" + std::to_string(venda) + ", '1', " + std::to_string(venda % 10000) + ", 8201, " +
         std::to_string(valor) + ", 'BK', TO_DATE('2026-01-10', 'YYYY-MM-DD')" + valores + ")");
  }
  void Desdobrado(long long venda, double valor, const std::string& operacao = "TONormal",
                  const std::string& codcoborig = "") {
    Titulo(venda, valor);
    Titulo(venda, valor, "ZTDESDPREST", ", OPERACAODESD, QTREPLICAS", ", '" + operacao + "', 0");
    Exec("UPDATE ZTPREST SET CODCOB = 'DESD', DTPAG = TRUNC(SYSDATE), VPAGO = VALOR, CODCOBORIG = " +
         (codcoborig.empty() ? std::string("NULL") : "'" + codcoborig + "'") +
         " WHERE NUMTRANSVENDA = " + std::to_string(venda));
  }
  void Ligar(long long orig, long long dest) {
    Exec("INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" +
         std::to_string(orig) + ", '1', " + std::to_string(dest) + ", '1')");
  }
  // Title `venda` split in two of 60 and 40.
  void Dividido(long long venda) {
    Desdobrado(venda, 100);
    Titulo(venda + 1, 60);
    Titulo(venda + 2, 40);
    Ligar(venda, venda + 1);
    Ligar(venda, venda + 2);
  }
  static TRegistroPtr T(long long venda) { return std::make_shared<TRegistroZtPrest>(venda, "1"); }
  TCancelarDesdobramento& Canc(TModo modo = tmZTPrest) {
    return dynamic_cast<TCancelarDesdobramento&>(*Financeiro().CancelarDesdobramento(modo));
  }
  void ConfirmarVencimentos(TListaAcoes& lista) {
    for (const auto& acao : lista.Vencimentos) acao->Confirmar(acao->DTVENC);
  }
};

TEST_F(CancelarDesdobramentoTest, ListsEveryPartAndReloadsForANewSelection) {
  Dividido(65401);
  TListaAcoes& lista = Canc().ListaAcoes({T(65401)});
  EXPECT_NE(dynamic_cast<TListaAcoesZTPrest*>(&lista), nullptr);
  EXPECT_EQ(Descricoes(lista.Afetados), (std::vector<std::string>{"65402-1", "65403-1", "65401-1"}));
  EXPECT_EQ(Descricoes(lista.Raizes), std::vector<std::string>{"65401-1"});
  EXPECT_EQ(Descricoes(lista.Folhas), (std::vector<std::string>{"65402-1", "65403-1"}));
  ASSERT_EQ(lista.Vencimentos.size(), 1u);  // due 2026-01-10, before today
  EXPECT_EQ(lista.Vencimentos[0]->DTVENC, TDateTime::EncodeDate(2026, 1, 10));
  EXPECT_FALSE(lista.TodosVencimentosConfirmados());
  EXPECT_TRUE(lista.DesdobramentosAMaior.empty());
  EXPECT_TRUE(lista.Impeditivas.empty());
  EXPECT_EQ(lista.Dados.RecordCount(), 3u);
  EXPECT_EQ(lista.Dados.HASHCALCULADO(*T(65401)).size(), 40u);
  EXPECT_EQ(Canc().Passo(), TPasso::tpAcoesListadas);

  // A second split, listed while the first is still listed, is loaded for itself.
  Dividido(65411);
  TListaAcoes& outra = Canc().ListaAcoes({T(65411)});
  EXPECT_EQ(Descricoes(outra.Raizes), std::vector<std::string>{"65411-1"});
  EXPECT_EQ(&Canc().ListaAcoes(), &outra);
}

struct KindCase {
  const char* codcoborig;
  const char* classe;  // "" when refused
  TZTPrestFK tabela;
};

class ExcessKindTest : public CancelarDesdobramentoTest, public ::testing::WithParamInterface<KindCase> {};

// JUR, CRTR and ACRE put the excess into payable entries, CRED into customer credits.
TEST_P(ExcessKindTest, ChargeOfTheRootNamesTheActionAndItsTable) {
  const KindCase c = GetParam();
  Desdobrado(65421, 100, "1", c.codcoborig);  // the number of the kind "excess"
  Titulo(65422, 50);
  Titulo(65423, 50);
  Ligar(65421, 65422);
  Ligar(65421, 65423);
  if (std::string(c.classe).empty()) {
    EXPECT_FAILS_WITH(Canc().ListaAcoes({T(65421)}), std::string("Exception: ") + MC::kCobrancaInvalida);
    EXPECT_EQ(Canc().Passo(), TPasso::tpFalhou);
    return;
  }
  TListaAcoes& lista = Canc().ListaAcoes({T(65421)});
  ASSERT_EQ(lista.DesdobramentosAMaior.size(), 1u);
  const TAcaoDesdobramentoAMaiorZTPrest& acao = *lista.DesdobramentosAMaior[0];
  EXPECT_EQ(acao.CODCOBORIG(), c.codcoborig);
  EXPECT_EQ(acao.Tabela(), c.tabela);
  EXPECT_EQ(dynamic_cast<const TAcaoDesdobramentoAMaiorZTPrestZTLanc*>(&acao) != nullptr,
            c.tabela == TZTPrestFK::zpfZTLanc);
  EXPECT_FALSE(lista.TodosAMaiorConfirmados());
}

INSTANTIATE_TEST_SUITE_P(
    Charges, ExcessKindTest,
    ::testing::Values(KindCase{"JUR", "JUR", TZTPrestFK::zpfZTLanc}, KindCase{"CRTR", "CRTR", TZTPrestFK::zpfZTLanc},
                      KindCase{"ACRE", "ACRE", TZTPrestFK::zpfZTLanc},
                      KindCase{"CRED", "CRED", TZTPrestFK::zpfZTCreCli}, KindCase{"BK", "", TZTPrestFK::zpfZTLanc}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.codcoborig); });

}  // namespace
